#include "sitequery/site_info.h"

#include <memory>

#include "pages/fail_words.h"
#include "platform/net/page_client.h"
#include "platform/text/codepage.h"
#include "platform/text/gbk.h"
#include "sitequery/alexa_rank.h"
#include "sitequery/pr_checksum.h"

namespace orlu {

namespace {

constexpr std::string_view kAttrEnd = "\"/>";

bool Has(std::string_view page, std::string_view marker) {
  return page.find(marker) != std::string_view::npos;
}

// The trimmed text between the end of `start` and the first `end` of the
// page (positions both taken in the whole page, as found first), `tail`
// bytes of the end marker included; "0" when either marker is missing.
std::string Between(std::string_view page, const std::string& start, const std::string& end,
                    int tail = 0) {
  const int s = Pos(start, page);
  const int e = Pos(end, page);
  if (s == 0 || e == 0) return "0";
  const int from = s + static_cast<int>(start.size());
  return Trim(Copy(page, from, e - from + tail));
}

// The longest reply each kind takes; a longer one is a failed fetch. Each is
// many times what the service's page needs, and together they keep seven
// groups of a hundred workers well under a gigabyte against servers that
// never stop sending.
// The page-rank answer is one short line (an error page a few KB).
constexpr size_t kPrCap = 64u << 10;
// The ranking data is a few KB of XML.
constexpr size_t kDataPageCap = 1u << 20;
// The archive's listing has a line per stored copy: the one page that grows
// with the site, to a few MB for the most archived ones.
constexpr size_t kArchiveCap = 4u << 20;
// Result pages of the web searches are tens to a few hundred KB.
constexpr size_t kSearchPageCap = 1u << 20;
// The question list (ten questions) and the inbound-link count page are a
// few tens of KB.
constexpr size_t kSmallPageCap = 512u << 10;
constexpr int kBrowserBuffer = 131072;

}  // namespace

// --- Addresses and cuts ---

std::vector<std::string> SiteInfoUrls(int kind, const std::string& domain, const std::string& checkSum) {
  switch (kind) {
    case kKindPr:
      return {"http://toolbarqueries.google.cn/search?client=navclient-auto&features=Rank:&q=info:" +
              domain + "&ch=" + checkSum};
    case kKindAlexa:
      return {AlexaDataUrl(domain)};
    case kKindArchive:
      return {"http://web.archive.org/web/*dc_/http://www." + domain};
    case kKindKeyWord:
      return {"http://www.google.cn/search?complete=1&hl=zh-CN&q=" + domain};
    case kKindBaiduZhidao: {
      const std::string base = "http://zhidao.baidu.com/q?ct=17&pn=0&tn=ikaslist&rn=10&word=";
      return {base + domain, base + "www." + domain};
    }
    case kKindBaiduSite:
      return {"http://www.baidu.com/s?wd=site%3A" + domain};
    case kKindYahooLink:
      return {"http://sitemap.cn.yahoo.com/search?bwm=i&p=www." + domain};
    default:
      return {};
  }
}

std::string ParsePrText(std::string_view page) {
  const size_t colon = page.rfind(':');
  if (colon == std::string_view::npos) return "0";
  return Trim(page.substr(colon + 1));
}

std::string ParseAlexaLinksInText(std::string_view page) {
  constexpr std::string_view kStart = "<LINKSIN NUM=\"";
  const size_t at = page.find(kStart);
  if (at != std::string_view::npos) {
    const std::string_view rest = page.substr(at + kStart.size());
    const size_t end = rest.find(kAttrEnd);
    return end == std::string_view::npos ? std::string() : std::string(rest.substr(0, end));
  }
  bool failed = false;
  return DataPageWithoutValue(page, failed);
}

std::string ParseArchiveText(std::string_view page, CutOutcome& outcome) {
  constexpr std::string_view kCountStart = "<p align=\"right\"><b>";
  constexpr std::string_view kCountEnd = "</b> Results</p>";
  constexpr std::string_view kRow = "<tr bgcolor=\"#EBEBEB\">";
  constexpr size_t kWindow = 38;
  outcome = CutOutcome::Answered;
  const size_t at = page.find(kCountStart);
  if (at != std::string_view::npos) {
    outcome = CutOutcome::Failed;
    const std::string_view rest = page.substr(at + kCountStart.size());
    const size_t countEnd = rest.find(kCountEnd);
    if (countEnd == std::string_view::npos) return WordPieceFailed();
    std::string result(rest.substr(0, countEnd));
    result += '.';
    // The page figure stands in the 38 bytes before the first listing row,
    // between a ">" (and the byte after it) and "pages". The window must lie
    // inside the page; with "pages" too close after the ">", or before it,
    // there is no figure and the count alone is the answer.
    const size_t row = page.find(kRow);
    if (row == std::string_view::npos || row < kWindow) return WordPieceFailed();
    const std::string_view window = page.substr(row - kWindow, kWindow);
    const size_t a = window.find('>');
    const size_t b = window.find("pages");
    if (a == std::string_view::npos || b == std::string_view::npos) return WordPieceFailed();
    if (b > a + 2) result.append(window.substr(a + 2, b - a - 2));
    outcome = CutOutcome::Answered;
    return result;
  }
  if (Has(page, "Sorry, no matches.") || Has(page, "0 pages found for")) return "0";
  if (Has(page, "Data Retrieval Failure")) {
    outcome = CutOutcome::Uncertain;
    return Gbk("不确定");
  }
  outcome = CutOutcome::Failed;
  return WordFailed();
}

std::string ParseKeyWordText(std::string_view page, const std::vector<std::string>& keyWords,
                             CutOutcome& outcome) {
  static const std::string automated = Gbk("该请求通过电脑病毒或间谍软件向我们自动发送");
  if (Has(page, automated)) {
    outcome = CutOutcome::Failed;
    return WordFailed();
  }
  outcome = CutOutcome::Answered;
  std::string result;
  for (const std::string& key : keyWords) {
    // An empty line is never found.
    if (Pos(key, page) > 0) {
      result += key;
      result += ',';
    }
  }
  return result;
}

std::string ParseBaiduZhidaoText(std::string_view page) {
  static const std::string start = Gbk("共搜到相关问题 "), end = Gbk(" 项</div>");
  // Up to and including the end marker's first byte (a blank, trimmed away).
  return Between(page, start, end, 1);
}

std::string ParseBaiduSiteText(std::string_view page) {
  static const std::string none = Gbk("抱歉，没有找到与“"), start = Gbk("找到相关网页"),
                           end = Gbk("篇，用时");
  if (Has(page, none)) return "0";
  return Between(page, start, end);
}

std::string ParseYahooLinkText(std::string_view page) {
  static const std::string error = Gbk("对不起， 你的请求不能正确处理， 原因如下"),
                           start = Gbk("链向该地址的网页： 共 <strong>"), end = Gbk("</strong> 条");
  if (Has(page, error)) return "0";
  return Between(page, start, end);
}

// --- The worker ---

struct CSiteInfoth::Profile {
  bool browser;            // the browser header set and a 128 KB receive buffer
  bool redirects;          // follow redirects
  // The word when the page lacks the domain; null: no check.
  const std::string& (*checkWord)();
  bool reconnect;          // close the connection after a failed page check
  bool fromUtf8;           // convert the page to GBK before the cut
  size_t cap;              // longest page taken
};

CSiteInfoth::CSiteInfoth(bool CreateSuspended, int ThreadIndex, char Kind, ThreadSiteInfoStru& job)
    : FetchWorker(CreateSuspended, ThreadIndex),
      Kind(Kind),
      job_(job),
      cell_(job.CellOf(Kind)),
      generation_(job.Generation) {}

CSiteInfoth::~CSiteInfoth() {
  // Execute uses this object's members: end it while they still exist.
  AbortTransfer();
  StopAndWait();
}

void CSiteInfoth::Execute() {
  switch (Kind) {
    case kKindPr: QueryPr(); break;
    case kKindAlexa: QueryAlexaRank(); break;
    case kKindArchive: QueryArchive(); break;
    case kKindKeyWord: QueryKeyWord(); break;
    case kKindBaiduZhidao: QueryBaiduZhidao(); break;
    case kKindBaiduSite: QueryBaiduSite(); break;
    case kKindYahooLink: QueryYahooLink(); break;
    default: break;  // no service: ends at once
  }
}

void CSiteInfoth::QueryPr() {
  prCalc_ = std::make_unique<PrCalc>();
  RunProfile({false, false, nullptr, false, false, kPrCap});
  prCalc_.reset();
}

void CSiteInfoth::QueryAlexaRank() {
  RunProfile({false, false, &WordOtherPageFailed, false, false, kDataPageCap});
}

void CSiteInfoth::QueryArchive() {
  RunProfile({false, true, &WordOtherPageFailed, false, false, kArchiveCap});
}

void CSiteInfoth::QueryKeyWord() {
  RunProfile({false, false, &WordOtherPageFailed, true, false, kSearchPageCap});
}

void CSiteInfoth::QueryBaiduZhidao() {
  RunProfile({false, false, &WordFailed, true, false, kSmallPageCap});
}

void CSiteInfoth::QueryBaiduSite() {
  RunProfile({true, false, &WordFailed, true, false, kSearchPageCap});
}

void CSiteInfoth::QueryYahooLink() {
  RunProfile({true, false, &WordFailed, true, true, kSmallPageCap});
}

void CSiteInfoth::RunProfile(const Profile& profile) {
  if (cell_ == nullptr) return;
  profile_ = &profile;
  RunRounds(job_.RetryNum, cell_->ThreadCount, job_.Domains);
  profile_ = nullptr;
}

bool CSiteInfoth::RowDone(int row) const { return cell_->Done[row] == 1; }

void CSiteInfoth::SetUpClient(PageClient& client) {
  if (profile_->browser) {
    client.UseBrowserHeaders();
    client.RecvBufferSize = kBrowserBuffer;
  }
  client.HandleRedirects = profile_->redirects;
  client.ReadTimeout = job_.TimeOut;
  client.MaxBody = profile_->cap;
}

// A transfer aborted by the end of the worker is no answer: the row goes
// back to be asked, nothing is shown.
bool CSiteInfoth::AskRow(PageClient& client, int row) {
  const Profile& profile = *profile_;
  Result.clear();
  const std::string domain = job_.Domains[row];
  const std::vector<std::string> urls =
      SiteInfoUrls(Kind, domain, prCalc_ ? prCalc_->CheckSum(domain) : std::string());
  auto show = [this] { ShowResult(); };
  SetDone(1);
  std::vector<std::string> pages;
  try {
    for (const std::string& url : urls) {
      // A second request of the row waits for a pause too.
      if (!pages.empty() && !GoOn()) {
        SetDone(0);
        return false;
      }
      pages.push_back(client.Get(url));
    }
  } catch (...) {
    SetDone(0);
    if (Aborted()) return false;
    Result = WordFailed();
    Synchronize(show);
    NeedRetry = true;
    return true;
  }
  if (pages.empty()) return true;
  if (profile.checkWord != nullptr && Pos(domain, pages[0]) == 0) {
    Result = profile.checkWord();
    SetDone(0);
    Synchronize(show);
    NeedRetry = true;
    if (profile.reconnect) client.Disconnect();
    return true;
  }
  if (profile.fromUtf8) pages[0] = Utf8ToAnsiLenient(pages[0]);
  switch (Kind) {
    case kKindPr: Result = ParsePr(pages[0], domain); break;
    case kKindAlexa: Result = ParseAlexaRank(pages[0], domain); break;
    case kKindArchive: Result = ParseArchive(pages[0], domain); break;
    case kKindKeyWord: Result = ParseKeyWord(pages[0], domain); break;
    case kKindBaiduZhidao:
      // The "www." figure first.
      Result = ParseBaiduZhidao(pages.back(), domain) + "," + ParseBaiduZhidao(pages[0], domain);
      break;
    case kKindBaiduSite: Result = ParseBaiduSite(pages[0], domain); break;
    case kKindYahooLink: Result = ParseYahooLink(pages[0], domain); break;
    default: return true;
  }
  Synchronize(show);
  if (Kind == kKindAlexa) {
    Result = ParseAlexaLinksIn(pages[0], domain);
    Synchronize([this] { ShowAlexaLinksIn(); });
  }
  return true;
}

void CSiteInfoth::SetDone(unsigned char value) {
  if (cell_ != nullptr && ItemIndex >= 0 && ItemIndex < static_cast<int>(cell_->Done.size())) {
    cell_->Done[ItemIndex] = value;
  }
}

std::string CSiteInfoth::ParsePr(const std::string& page, const std::string&) { return ParsePrText(page); }

std::string CSiteInfoth::ParseAlexaRank(const std::string& page, const std::string& domain) {
  bool failed = false;
  std::string text = ParseAlexaRankText(page, domain, failed);
  if (failed) {
    NeedRetry = true;
    SetDone(0);
  }
  return text;
}

std::string CSiteInfoth::ParseAlexaLinksIn(const std::string& page, const std::string&) {
  return ParseAlexaLinksInText(page);
}

std::string CSiteInfoth::ParseArchive(const std::string& page, const std::string&) {
  CutOutcome outcome;
  std::string text = ParseArchiveText(page, outcome);
  if (outcome != CutOutcome::Answered) {
    NeedRetry = true;
    SetDone(outcome == CutOutcome::Uncertain ? 2 : 0);
  }
  return text;
}

std::string CSiteInfoth::ParseKeyWord(const std::string& page, const std::string&) {
  CutOutcome outcome;
  std::string text = ParseKeyWordText(page, job_.KeyWords, outcome);
  if (outcome != CutOutcome::Answered) {
    NeedRetry = true;
    SetDone(0);
  }
  return text;
}

std::string CSiteInfoth::ParseBaiduZhidao(const std::string& page, const std::string&) {
  return ParseBaiduZhidaoText(page);
}

std::string CSiteInfoth::ParseBaiduSite(const std::string& page, const std::string&) {
  return ParseBaiduSiteText(page);
}

std::string CSiteInfoth::ParseYahooLink(const std::string& page, const std::string&) {
  return ParseYahooLinkText(page);
}

void CSiteInfoth::ShowResult() { ShowCell(Kind + 1, true); }

void CSiteInfoth::ShowAlexaLinksIn() { ShowCell(Kind + 2, false); }

// Cell `cell` counts from the domain's column (0); the kind's column is its
// number plus one.
void CSiteInfoth::ShowCell(int cell, bool count) {
  ThreadSiteInfoStru& job = job_;
  if (cell_ == nullptr || generation_ != job.Generation) return;
  const int row = ItemIndex;
  if (row < 0 || row >= static_cast<int>(cell_->Done.size())) return;
  if (job.ShowLv && job.ResultLv != nullptr && row < job.ResultLv->RowCount()) {
    job.ResultLv->SetCell(row, cell, Result);
  }
  if (job.BackupLv != nullptr && row < job.BackupLv->RowCount()) {
    job.BackupLv->SetCell(row, cell, Result);
  }
  if (!count) return;
  if (cell_->Done[row] == 1) {
    ++cell_->SuccessCount;
  } else {
    ++cell_->FailCount;
  }
}

}  // namespace orlu
