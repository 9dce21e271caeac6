// The site-information workers: one group per service kind, each worker
// asking its service about every row of its share, round by round, cutting
// the figure out of the page and handing it to the window thread.
//
// The cuts are free functions on the page as received (or, for the yLink
// kind, as converted from UTF-8), so they are tested and fuzzed without a
// network.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/net/fetch_worker.h"
#include "sitequery/site_info_job.h"

namespace orlu {

class PageClient;
class PrCalc;

// What a cut makes of its row besides the text.
enum class CutOutcome {
  Answered,   // the row is done
  Failed,     // asked again in a later round
  Uncertain,  // asked again, flagged 2 (the archive's retrieval failure)
};

// The addresses asked for a domain, in order (two for the question-and-answer
// kind, one for the others; none for kinds without a service). The domain
// goes in exactly as held; the page client escapes what may not stand in an
// address, on the wire only. `checkSum` is the page-rank kind's "ch" value.
std::vector<std::string> SiteInfoUrls(int kind, const std::string& domain,
                                      const std::string& checkSum = std::string());

// Kind 0: the text after the last ":" of the page, trimmed; "0" without ":".
std::string ParsePrText(std::string_view page);
// Kind 1, second cut: the inbound-link figure of the ranking data page; "0"
// for the service's nothing-found answers, "失败" for any other page.
std::string ParseAlexaLinksInText(std::string_view page);
// Kind 3: the archive listing's count, ".", and the page figure written
// before "pages" (nothing when "pages" does not follow the ">" by more than
// two bytes); "0" for nothing archived, "p失败" when a piece is missing or the
// figure's window would start before the page, "不确定" for the retrieval
// failure, "失败" otherwise.
std::string ParseArchiveText(std::string_view page, CutOutcome& outcome);
// Kind 4: each keyword line found in the page followed by ","; "失败" for the
// search engine's page for automated queries.
std::string ParseKeyWordText(std::string_view page, const std::vector<std::string>& keyWords,
                             CutOutcome& outcome);
// Kind 5: the count of questions on one result page; "0" without markers.
std::string ParseBaiduZhidaoText(std::string_view page);
// Kind 6: the count of indexed pages; "0" for nothing found or no markers.
std::string ParseBaiduSiteText(std::string_view page);
// Kind 7, on the page converted to GBK: the count of inbound links; "0" for
// the service's error page or no markers.
std::string ParseYahooLinkText(std::string_view page);

class CSiteInfoth : public FetchWorker {
 public:
  // A worker of kind `Kind` with share `ThreadIndex` of its cell of `job`
  // (the process's SiteInfo unless a test gives another).
  CSiteInfoth(bool CreateSuspended, int ThreadIndex, char Kind, ThreadSiteInfoStru& job = SiteInfo);
  ~CSiteInfoth() override;

  char Kind;

  // The query routines: each runs the round loop with its kind's client
  // settings, addresses, page check and cut.
  void QueryPr();
  void QueryAlexaRank();
  void QueryArchive();
  void QueryKeyWord();
  void QueryBaiduZhidao();
  void QueryBaiduSite();
  void QueryYahooLink();

  // The cuts for the current row (ItemIndex); those that can fail also set
  // NeedRetry and the row's done flag.
  std::string ParsePr(const std::string& page, const std::string& domain);
  std::string ParseAlexaRank(const std::string& page, const std::string& domain);
  std::string ParseAlexaLinksIn(const std::string& page, const std::string& domain);
  std::string ParseArchive(const std::string& page, const std::string& domain);
  std::string ParseKeyWord(const std::string& page, const std::string& domain);
  std::string ParseBaiduZhidao(const std::string& page, const std::string& domain);
  std::string ParseBaiduSite(const std::string& page, const std::string& domain);
  std::string ParseYahooLink(const std::string& page, const std::string& domain);

  // The display routines (window thread). ShowResult, for every kind: Result
  // into the row's cell of the kind's column in the visible list (when the
  // job shows data) and in the twin, and one success or failure counted in
  // the kind's cell. A row that no longer exists, or an answer from an
  // earlier start, is dropped.
  void ShowResult();
  // The "ALink" column (the column after the ranking kind's), uncounted.
  void ShowAlexaLinksIn();

 protected:
  void Execute() override;
  bool RowDone(int row) const override;
  // One row: ask, check, cut and show.
  bool AskRow(PageClient& client, int row) override;
  void SetUpClient(PageClient& client) override;

 private:
  struct Profile;
  // The rounds with the kind's client settings, page check and display.
  void RunProfile(const Profile& profile);
  void ShowCell(int cell, bool count);
  void SetDone(unsigned char value);

  ThreadSiteInfoStru& job_;
  SiteInfoCell* const cell_;  // null for a kind without a service
  const unsigned generation_;
  std::unique_ptr<PrCalc> prCalc_;  // the page-rank kind's, while it runs
  const Profile* profile_ = nullptr;  // the kind's, while its rounds run
};

}  // namespace orlu
