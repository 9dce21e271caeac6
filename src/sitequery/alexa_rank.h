// The batch ranking worker: asks the ranking service's XML data endpoint for
// the rank of every row of its share, round by round, and hands each answer
// to the window thread.
#pragma once

#include <string>
#include <string_view>

#include "platform/net/fetch_worker.h"
#include "sitequery/alexa_job.h"

namespace orlu {

class PageClient;

// The address asked for a domain: the data host's "/data" with the fixed
// query, then the domain exactly as held (the page client escapes what may
// not stand in an address, on the wire only).
std::string AlexaDataUrl(const std::string& domain);

// The rank cut out of a data page for `domain`. `failed` is set when the page
// is the block page or has none of the markers; the text is then "失败".
std::string ParseAlexaRankText(std::string_view page, std::string_view domain, bool& failed);

// A data page that lacks the value asked: "0" for a site the service does
// not list (or a whole page without it), "失败" with `failed` set for the
// block page or a page cut short.
std::string DataPageWithoutValue(std::string_view page, bool& failed);

class CAlexaInfoth : public FetchWorker {
 public:
  // Works on `job` (the process's AlexaSea unless a test gives another).
  CAlexaInfoth(bool CreateSuspended, int ThreadIndex, ThreadControlStru& job = AlexaSea);
  ~CAlexaInfoth() override;

  // The rank text for `row`; a failed answer also sets NeedRetry and clears
  // the row's done flag.
  std::string ParseAlexaRank(const std::string& page, const std::string& domain, int row);

  // The display callback (window thread): the answer into the row's rank cell
  // of the visible list (when the job shows data) and of the hidden twin, and
  // one success or failure counted. A row that no longer exists, or an answer
  // from an earlier start, is dropped.
  void ShowAlexaRank();

 protected:
  void Execute() override;
  bool RowDone(int row) const override;
  bool AskRow(PageClient& client, int row) override;
  void SetUpClient(PageClient& client) override;

 private:
  ThreadControlStru& job_;
  const unsigned generation_;
};

}  // namespace orlu
