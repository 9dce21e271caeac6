#include "sitequery/alexa_rank.h"

#include "pages/fail_words.h"
#include "platform/net/page_client.h"

namespace orlu {

namespace {

constexpr std::string_view kBlockPage = "Please click here to continue using Alexa";
constexpr std::string_view kNoSiteList = "<RLS PREFIX=\"http://\" more=\"0\">";
constexpr std::string_view kDataEnd = "</ALEXA>";
constexpr std::string_view kRankEnd = "\"/>";

// The data page is a few KB; a longer reply is refused (a failed fetch), so a
// hundred workers never hold more than this each.
constexpr size_t kDataPageCap = 1u << 20;

}  // namespace

std::string AlexaDataUrl(const std::string& domain) {
  return "http://data.alexa.com/data?cli=10&dat=snba&url=" + domain;
}

std::string ParseAlexaRankText(std::string_view page, std::string_view domain, bool& failed) {
  failed = false;
  std::string start = "<POPULARITY URL=\"";
  start.append(domain);
  start.append("/\" TEXT=\"");
  const size_t at = page.find(start);
  if (at != std::string_view::npos) {
    const std::string_view rest = page.substr(at + start.size());
    const size_t end = rest.find(kRankEnd);
    if (end == std::string_view::npos) return std::string();
    return std::string(rest.substr(0, end));
  }
  return DataPageWithoutValue(page, failed);
}

std::string DataPageWithoutValue(std::string_view page, bool& failed) {
  if (page.find(kBlockPage) != std::string_view::npos) {
    failed = true;
    return WordFailed();
  }
  if (page.find(kNoSiteList) != std::string_view::npos) return "0";
  if (page.find(kDataEnd) != std::string_view::npos) return "0";
  failed = true;
  return WordFailed();
}

CAlexaInfoth::CAlexaInfoth(bool CreateSuspended, int ThreadIndex, ThreadControlStru& job)
    : FetchWorker(CreateSuspended, ThreadIndex), job_(job), generation_(job.Generation) {}

CAlexaInfoth::~CAlexaInfoth() {
  // Execute uses this object's members: end it while they still exist.
  AbortTransfer();
  StopAndWait();
}

std::string CAlexaInfoth::ParseAlexaRank(const std::string& page, const std::string& domain,
                                         int row) {
  bool failed = false;
  std::string text = ParseAlexaRankText(page, domain, failed);
  if (failed) {
    NeedRetry = true;
    if (row >= 0 && row < static_cast<int>(job_.Done.size())) job_.Done[row] = 0;
  }
  return text;
}

void CAlexaInfoth::ShowAlexaRank() {
  ThreadControlStru& job = job_;
  if (generation_ != job.Generation) return;
  const int row = ItemIndex;
  if (row < 0 || row >= static_cast<int>(job.Done.size())) return;
  if (job.ShowLv && job.ResultLv != nullptr && row < job.ResultLv->RowCount()) {
    job.ResultLv->SetCell(row, 1, Result);
  }
  if (job.ResultBakLv != nullptr && row < job.ResultBakLv->RowCount()) {
    job.ResultBakLv->SetCell(row, 1, Result);
  }
  if (job.Done[row] == 1) {
    ++job.SuccessCount;
  } else {
    ++job.FailCount;
  }
}

void CAlexaInfoth::Execute() { RunRounds(job_.RetryNum, job_.ThreadCount, job_.Domains); }

bool CAlexaInfoth::RowDone(int row) const { return job_.Done[row] == 1; }

void CAlexaInfoth::SetUpClient(PageClient& client) {
  client.ReadTimeout = job_.TimeOut;
  client.MaxBody = kDataPageCap;
}

// One row: mark it taken, ask, and hand the answer over. A transfer aborted
// by a stop is no answer: the row goes back to be asked, nothing is shown,
// and the worker ends.
bool CAlexaInfoth::AskRow(PageClient& client, int row) {
  const std::string domain = job_.Domains[row];
  job_.Done[row] = 1;
  std::string page;
  try {
    page = client.Get(AlexaDataUrl(domain));
  } catch (...) {
    job_.Done[row] = 0;
    if (Aborted()) return false;
    Result = WordFailed();
    Synchronize([this] { ShowAlexaRank(); });
    NeedRetry = true;
    return !Aborted();
  }
  Result = ParseAlexaRank(page, domain, row);
  Synchronize([this] { ShowAlexaRank(); });
  return !Aborted();
}

}  // namespace orlu
