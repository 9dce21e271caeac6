#include "sitequery/single_info.h"

#include <utility>

#include "pages/fail_words.h"
#include "platform/net/page_client.h"
#include "platform/text/codepage.h"
#include "platform/text/gbk.h"
#include "sitequery/alexa_rank.h"
#include "sitequery/pr_checksum.h"

namespace orlu {

SingleInfoStore SingleInfoResults;

namespace {

struct KindAddress {
  const char* host;  // "" for a kind without a query
  const char* path;  // path and query up to the domain
  const char* tail;  // after the domain (kind 0: before the checksum)
  bool fromUtf8;     // the service sends UTF-8: the page is converted to GBK
};

const KindAddress kAddresses[kSingleInfoSlots] = {
    {"toolbarqueries.google.cn", "/search?client=navclient-auto&features=Rank:&q=info:", "&ch=", false},
    {"www.sogou.com", "/web?query=link%3Ahttp://", "", false},
    {"data.alexa.com", "/data?cli=10&dat=snba&url=", "", false},
    {"www.chinarank.org.cn", "/overview/Info.do?url=http://", "", false},
    {"www.baidu.com", "/s?wd=http://", "&ct=0", false},
    {"www.baidu.com", "/s?wd=domain%3A", "", false},
    {"www.baidu.com", "/s?q1=site%3A", "&lm=1", false},
    {"www.baidu.com", "/s?q1=site%3A", "&lm=7", false},
    {"www.baidu.com", "/s?q1=site%3A", "&lm=30", false},
    {"www.baidu.com", "/s?q1=site%3A", "&lm=360", false},
    {"www.baidu.com", "/s?wd=site%3A", "&ct=0", false},
    {"www.google.cn", "/search?hl=zh-CN&q=site%3A",
     "&btnG=Google+%E6%90%9C%E7%B4%A2&meta=&aq=f&oq=", true},
    {"www.google.cn", "/search?hl=zh-CN&q=link%3A", "", true},
    {"search.cn.yahoo.com", "/s?p=site%3A", "&pid=hp&v=web", true},
    {"sitemap.cn.yahoo.com", "/search?bwm=i&p=", "", true},
    {"www.youdao.com", "/search?q=site%3A", "", true},
    {"www.youdao.com", "/search?q=link%3A",
     "&btnIndex=%E6%90%9C+%E7%B4%A2&ue=utf8&keyfrom=web.index", true},
    {"", "", "", false},
    {"", "", "", false},
    {"www.soso.com", "/q?pid=s.idx&w=site%3A", "", false},
    {"www.soso.com", "/q?w=link%3A", "&sc=web&ch=w.ptl&lr=chs", false},
};

// The services' texts, in GBK, made once.
struct Words {
  std::string noSnapshot = Gbk("无收录");
  std::string sogouRating = Gbk("搜狗评级:");
  std::string chinaRankNone = Gbk("您要查询的内容暂时无法找到");
  std::string baiduNone = Gbk("抱歉，没有找到");
  std::string baiduAbout = Gbk("找到相关网页约");
  std::string baiduFound = Gbk("找到相关网页");
  std::string pages = Gbk("篇");
  std::string googleAbout = Gbk("大约 <b>");
  std::string googleNone = Gbk("找不到和您的查询");
  std::string googleAll = Gbk("共有 <b>");
  std::string googleLinks = Gbk("约有 <b>");
  std::string yahooItems = Gbk("条");
  std::string yahooNone = Gbk("对不起，没有找到与");
  std::string yahooLinks = Gbk("链向该地址的网页： 共 <strong>");
  std::string yahooLinksEnd = Gbk("</strong> 条");
  std::string yahooLinksNone = Gbk("没有搜索到结果");
  std::string youdaoAbout = Gbk("搜索到结果约");
  std::string youdaoFound = Gbk("搜索到结果");
  std::string youdaoNone = Gbk("抱歉，没有找到与");
  std::string youdaoNoLinks = Gbk("抱歉，没有找到链接到");
  std::string sosoAbout = Gbk("搜索到约");
  std::string sosoItems = Gbk("项");
  std::string sosoNone = Gbk("抱歉，找不到与");
};

const Words& W() {
  static const Words words;
  return words;
}

constexpr char kChinaRankCell[] =
    "<td height=\"39\" align=\"center\" valign=\"top\" "
    "background=\"../v4/images/cr_bg25.gif\" class=\"y-n3\">";
constexpr char kSnapshotLine[] = "<font color=#008000>";
constexpr char kAlexaRankStart[] = "/\" TEXT=\"";
constexpr char kAlexaRankEnd[] = "\"/>";

// The longest reply a kind takes; a longer one is a failed fetch. The
// page-rank answer is one short line; the ranking data (a few KB of XML),
// the national ranking's overview and the search result pages are tens to a
// few hundred KB.
constexpr size_t kPrCap = 64u << 10;
constexpr size_t kPageCap = 1u << 20;

bool Has(const std::string& page, const std::string& text) {
  return page.find(text) != std::string::npos;
}

// The text after the first `start`, from byte `skip` of it up to the first
// `end` after that; "" when any part is missing.
std::string CutFrom(const std::string& page, const std::string& start, size_t skip,
                    const std::string& end) {
  const size_t at = page.find(start);
  if (at == std::string::npos) return std::string();
  const size_t from = at + start.size() + skip;
  if (from > page.size()) return std::string();
  const size_t stop = page.find(end, from);
  if (stop == std::string::npos) return std::string();
  return page.substr(from, stop - from);
}

// Where the cut of a BoldCut or SnapshotCut starts in the text after
// `start`: past the first `inner`, or `none` bytes in when it has none.
size_t SkipPast(const std::string& page, const std::string& start, const std::string& inner,
                size_t none) {
  const size_t at = page.find(start);
  if (at == std::string::npos) return 0;
  const size_t q = page.find(inner, at + start.size());
  if (q == std::string::npos) return none;
  return q - (at + start.size()) + inner.size();
}

// Cut(S, E): the text after the first S up to the first E after it; "" when
// E does not follow.
std::string CutBetween(const std::string& page, const std::string& start, const std::string& end) {
  return CutFrom(page, start, 0, end);
}

// The bold text after the first `start`: from past its first "<B>" (from its
// third byte when it has none) up to the first "</B>".
std::string BoldCut(const std::string& page, const std::string& start) {
  return CutFrom(page, start, SkipPast(page, start, "<B>", 2), "</B>");
}

// The snapshot date after the first `marker`: from past the first "K " (the
// page size; from its second byte when it has none) up to the first
// "  </font>".
std::string SnapshotCut(const std::string& page, const std::string& marker) {
  return CutFrom(page, marker, SkipPast(page, marker, "K ", 1), "  </font>");
}

// The cut of a count: S to E when the page holds S, else "0" when it holds
// the service's nothing-found text, else a failure.
std::string SimpleCut(const std::string& page, const std::string& start, const std::string& end,
                      const std::string& nothing) {
  if (Has(page, start)) return CutBetween(page, start, end);
  if (Has(page, nothing)) return "0";
  return WordFailed();
}

std::string BaiduCount(const std::string& page) {
  const Words& w = W();
  if (Has(page, w.baiduAbout)) return CutBetween(page, w.baiduAbout, w.pages);
  if (Has(page, w.baiduFound)) return CutBetween(page, w.baiduFound, w.pages);
  if (Has(page, w.baiduNone)) return "0";
  return WordFailed();
}

}  // namespace

unsigned SingleInfoStore::NextGeneration() {
  std::lock_guard lock(mutex_);
  return ++generation_;
}

unsigned SingleInfoStore::Generation() const {
  std::lock_guard lock(mutex_);
  return generation_;
}

void SingleInfoStore::Publish(int slot, std::string text, unsigned generation) {
  if (slot < 0 || slot >= kSingleInfoSlots) return;
  std::lock_guard lock(mutex_);
  if (generation != generation_) return;
  slots_[slot] = std::move(text);
}

std::string SingleInfoStore::Read(int slot) const {
  if (slot < 0 || slot >= kSingleInfoSlots) return std::string();
  std::lock_guard lock(mutex_);
  return slots_[slot];
}

std::string SingleInfoAddress(int kind, const std::string& domain) {
  if (kind < 0 || kind >= kSingleInfoSlots || *kAddresses[kind].host == '\0') return std::string();
  const KindAddress& a = kAddresses[kind];
  std::string url = "http://";
  url.append(a.host).append(a.path).append(domain).append(a.tail);
  if (kind == 0) url.append(PrCalc().CheckSum(domain));
  return url;
}

CSingleDomainInfo::CSingleDomainInfo(bool CreateSuspended, std::string Domain, int Kind,
                                     SingleInfoStore& store)
    : Thread(CreateSuspended),
      Domain(std::move(Domain)),
      Kind(Kind),
      store_(store),
      generation_(store.Generation()) {}

CSingleDomainInfo::~CSingleDomainInfo() {
  // Execute uses this object's members: end it while they still exist.
  AbortTransfer();
  StopAndWait();
}

void CSingleDomainInfo::Execute() {
  switch (Kind) {
    case 0: QueryPr(); break;
    case 1: QuerySogouRank(); break;
    case 2: QueryAlexaRank(); break;
    case 3: QueryChinaRank(); break;
    case 4: QueryBaiduSnapshot(); break;
    case 5: QueryBaiduDomain(); break;
    case 6: QueryBaiduSiteDays(1); break;
    case 7: QueryBaiduSiteDays(7); break;
    case 8: QueryBaiduSiteDays(30); break;
    case 9: QueryBaiduSiteDays(360); break;
    case 10: QueryBaiduSite(); break;
    case 11: QueryGoogleSite(); break;
    case 12: QueryGoogleLink(); break;
    case 13: QueryYahooSite(); break;
    case 14: QueryYahooLink(); break;
    case 15: QueryYoudaoSite(); break;
    case 16: QueryYoudaoLink(); break;
    case 19: QuerySosoSite(); break;
    case 20: QuerySosoLink(); break;
    default: break;
  }
}

void CSingleDomainInfo::QueryPr() { Ask(0, &CSingleDomainInfo::ParsePr); }
void CSingleDomainInfo::QuerySogouRank() { Ask(1, &CSingleDomainInfo::ParseSogouRank); }
void CSingleDomainInfo::QueryAlexaRank() { Ask(2, &CSingleDomainInfo::ParseAlexaRank); }
void CSingleDomainInfo::QueryChinaRank() { Ask(3, &CSingleDomainInfo::ParseChinaRank); }
void CSingleDomainInfo::QueryBaiduSnapshot() { Ask(4, &CSingleDomainInfo::ParseBaiduSnapshot); }
void CSingleDomainInfo::QueryBaiduDomain() { Ask(5, &CSingleDomainInfo::ParseBaiduDomain); }
void CSingleDomainInfo::QueryBaiduSiteDays(int days) {
  const int slot = days == 1 ? 6 : days == 7 ? 7 : days == 30 ? 8 : days == 360 ? 9 : -1;
  if (slot >= 0) Ask(slot, &CSingleDomainInfo::ParseBaiduSiteDays);
}
void CSingleDomainInfo::QueryBaiduSite() { Ask(10, &CSingleDomainInfo::ParseBaiduSite); }
void CSingleDomainInfo::QueryGoogleSite() { Ask(11, &CSingleDomainInfo::ParseGoogleSite); }
void CSingleDomainInfo::QueryGoogleLink() { Ask(12, &CSingleDomainInfo::ParseGoogleLink); }
void CSingleDomainInfo::QueryYahooSite() { Ask(13, &CSingleDomainInfo::ParseYahooSite); }
void CSingleDomainInfo::QueryYahooLink() { Ask(14, &CSingleDomainInfo::ParseYahooLink); }
void CSingleDomainInfo::QueryYoudaoSite() { Ask(15, &CSingleDomainInfo::ParseYoudaoSite); }
void CSingleDomainInfo::QueryYoudaoLink() { Ask(16, &CSingleDomainInfo::ParseYoudaoLink); }
void CSingleDomainInfo::QuerySosoSite() { Ask(19, &CSingleDomainInfo::ParseSosoSite); }
void CSingleDomainInfo::QuerySosoLink() { Ask(20, &CSingleDomainInfo::ParseSosoLink); }

void CSingleDomainInfo::AbortTransfer() { transfer_.Abort(); }

bool CSingleDomainInfo::Aborted() { return transfer_.Aborted(); }

void CSingleDomainInfo::Ask(int slot, Parser parse) {
  // One client serves every try, so the cookies a service sets come back.
  PageClient client;
  client.UseBrowserHeaders();
  client.RecvBufferSize = 131072;
  client.ReadTimeout = 50000;
  client.HandleRedirects = false;
  client.MaxBody = slot == 0 ? kPrCap : kPageCap;
  if (!transfer_.Attach(client)) {
    transfer_.Detach();
    return;
  }
  const std::string& fail = WordFailed();
  for (int t = 0; t < Tries; ++t) {
    Result.clear();
    std::string page;
    bool fetched = true;
    try {
      page = client.Get(SingleInfoAddress(slot, Domain));
    } catch (...) {
      fetched = false;
    }
    // An aborted report publishes nothing more.
    if (Aborted()) break;
    if (!fetched) {
      // A failed fetch is a failure for every kind, never a figure.
      Result = fail;
    } else {
      Result = (this->*parse)(kAddresses[slot].fromUtf8 ? Utf8ToAnsiLenient(page) : page);
    }
    store_.Publish(slot, Result, generation_);
    if (Result != fail) break;
  }
  transfer_.Detach();
}

std::string CSingleDomainInfo::ParsePr(const std::string& page) const {
  const size_t colon = page.rfind(':');
  if (colon == std::string::npos) return "0";
  return Trim(std::string_view(page).substr(colon + 1));
}

std::string CSingleDomainInfo::ParseSogouRank(const std::string& page) const {
  const std::string& marker = W().sogouRating;
  const size_t at = page.find(marker);
  if (at == std::string::npos) return "0";
  const size_t from = at + marker.size();
  const size_t space = page.find("&nbsp;", from);
  if (space == std::string::npos) return "0";
  return page.substr(from, space - from);
}

std::string CSingleDomainInfo::ParseAlexaRank(const std::string& page) const {
  if (Has(page, kAlexaRankStart)) return CutBetween(page, kAlexaRankStart, kAlexaRankEnd);
  bool failed = false;
  return DataPageWithoutValue(page, failed);
}

std::string CSingleDomainInfo::ParseChinaRank(const std::string& page) const {
  return SimpleCut(page, kChinaRankCell, "</td>", W().chinaRankNone);
}

std::string CSingleDomainInfo::ParseBaiduSnapshot(const std::string& page) const {
  if (Has(page, W().baiduNone)) return W().noSnapshot;
  std::string marker = kSnapshotLine + Domain;
  if (Has(page, marker)) return SnapshotCut(page, marker);
  marker = kSnapshotLine;
  marker.append("www.").append(Domain);
  if (Has(page, marker)) return SnapshotCut(page, marker);
  return WordFailed();
}

std::string CSingleDomainInfo::ParseBaiduDomain(const std::string& page) const {
  return BaiduCount(page);
}

std::string CSingleDomainInfo::ParseBaiduSiteDays(const std::string& page) const {
  return BaiduCount(page);
}

std::string CSingleDomainInfo::ParseBaiduSite(const std::string& page) const {
  return BaiduCount(page);
}

std::string CSingleDomainInfo::ParseGoogleSite(const std::string& page) const {
  const Words& w = W();
  if (Has(page, w.googleAbout)) return CutBetween(page, w.googleAbout, "</b>");
  if (Has(page, w.googleNone)) return "0";
  if (Has(page, w.googleAll)) return CutBetween(page, w.googleAll, "</b>");
  return WordFailed();
}

std::string CSingleDomainInfo::ParseGoogleLink(const std::string& page) const {
  return SimpleCut(page, W().googleLinks, "</b>", W().googleNone);
}

std::string CSingleDomainInfo::ParseYahooSite(const std::string& page) const {
  return SimpleCut(page, W().baiduAbout, W().yahooItems, W().yahooNone);
}

std::string CSingleDomainInfo::ParseYahooLink(const std::string& page) const {
  return SimpleCut(page, W().yahooLinks, W().yahooLinksEnd, W().yahooLinksNone);
}

std::string CSingleDomainInfo::ParseYoudaoSite(const std::string& page) const {
  const Words& w = W();
  if (Has(page, w.youdaoAbout)) return BoldCut(page, w.youdaoAbout);
  if (Has(page, w.youdaoNone)) return std::string();
  if (Has(page, w.youdaoFound)) return BoldCut(page, w.youdaoFound);
  return WordFailed();
}

std::string CSingleDomainInfo::ParseYoudaoLink(const std::string& page) const {
  const Words& w = W();
  if (Has(page, w.youdaoAbout)) return BoldCut(page, w.youdaoAbout);
  if (Has(page, w.youdaoFound)) return BoldCut(page, w.youdaoFound);
  if (Has(page, w.youdaoNoLinks)) return "0";
  return WordFailed();
}

std::string CSingleDomainInfo::ParseSosoSite(const std::string& page) const {
  return SimpleCut(page, W().sosoAbout, W().sosoItems, W().sosoNone);
}

std::string CSingleDomainInfo::ParseSosoLink(const std::string& page) const {
  return SimpleCut(page, W().sosoAbout, W().sosoItems, W().sosoNone);
}

void SingleInfoJob::Start(const std::string& domain) {
  // The new generation first: whatever the old workers publish while they
  // end is dropped.
  store_.NextGeneration();
  End();
  InitNetwork();
  for (int kind : kSingleInfoKinds) {
    workers_.Start(std::make_unique<CSingleDomainInfo>(false, domain, kind, store_));
  }
}

void SingleInfoJob::End() {
  workers_.ForEach([](CSingleDomainInfo& worker) { worker.AbortTransfer(); });
  workers_.Stop();
}

bool SingleInfoJob::Running() const { return workers_.Running(); }

}  // namespace orlu
