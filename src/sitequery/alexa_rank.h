// The batch ranking worker: asks the ranking service's XML data endpoint for
// the rank of every row of its share, round by round, and hands each answer
// to the window thread.
#pragma once

#include <atomic>
#include <memory>
#include <string>
#include <string_view>

#include "platform/net/transfer_abort.h"
#include "platform/thread/thread.h"
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

class CAlexaInfoth : public Thread {
 public:
  // Works on `job` (the process's AlexaSea unless a test gives another).
  CAlexaInfoth(bool CreateSuspended, int ThreadIndex, ThreadControlStru& job = AlexaSea);
  ~CAlexaInfoth() override;

  int ThreadIndex;
  std::string Result;  // the answer for the current row
  int ItemIndex = 0;   // the current row
  bool NeedRetry = false;

  // The rank text for `row`; a failed answer also sets NeedRetry and clears
  // the row's done flag.
  std::string ParseAlexaRank(const std::string& page, const std::string& domain, int row);

  // The display callback (window thread): the answer into the row's rank cell
  // of the visible list (when the job shows data) and of the hidden twin, and
  // one success or failure counted. A row that no longer exists, or an answer
  // from an earlier start, is dropped.
  void ShowAlexaRank();

  // Stop as the page's stop button does: a request in flight is finished and
  // shown, and the worker ends before its next one (a held worker once it is
  // resumed). Kept apart from Terminate, so that a later end of the program
  // still aborts the transfer in flight.
  void StopAfterRequest();
  // Aborts the transfer in flight and every later one (any thread); the row
  // asked is left to be asked again, unshown and uncounted.
  void AbortTransfer();

 protected:
  void Execute() override;
  // Every other stop (a new start, the end of the record, shutdown) aborts
  // the transfer in flight; its row is left to be asked again.
  void OnTerminate() override;

 private:
  // Holds while paused; false once the worker should end.
  bool GoOn();
  // Whether AbortTransfer has been called.
  bool Aborted();
  void Fetched(PageClient& client, int row);
  PageClient* OpenClient();
  void CloseClient();

  ThreadControlStru& job_;
  const unsigned generation_;
  std::unique_ptr<PageClient> client_;  // the round's client
  TransferAbort transfer_;
  std::atomic<bool> stopRequested_{false};  // the stop button
};

}  // namespace orlu
