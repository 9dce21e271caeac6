// A worker that fetches pages round by round. Worker k of a group of n takes
// the rows i with i mod n = k. Each round opens one page client and asks,
// one by one, every row of the worker's share that is not done yet; a
// further round runs only when the one before asked for it (NeedRetry), up
// to the job's retry count. The worker holds while paused at the start of a
// round and before each request.
//
// It lives here rather than beside Thread because it owns a page client and
// aborts its transfers: the net layer already stands on the thread layer,
// not the other way round.
#pragma once

#include <algorithm>
#include <atomic>
#include <memory>
#include <string>
#include <vector>

#include "platform/net/transfer_abort.h"
#include "platform/thread/thread.h"
#include "platform/thread/worker_group.h"

namespace orlu {

class PageClient;

class FetchWorker : public Thread {
 public:
  int ThreadIndex;          // the worker's share of the rows
  bool NeedRetry = false;   // another round is wanted
  int ItemIndex = 0;        // the current row
  std::string Result;       // the answer for the current row

  // Stop as a page's stop button does: a request in flight is finished and
  // shown, and the worker ends before its next one (a held worker once it is
  // resumed). Kept apart from Terminate, so that a later end of the program
  // still aborts the transfer in flight.
  void StopAfterRequest();
  // Aborts the transfer in flight and every later one (any thread); the row
  // asked is left to be asked again, unshown and uncounted.
  void AbortTransfer();

 protected:
  FetchWorker(bool CreateSuspended, int ThreadIndex);

  // Every other stop (a new start, the end of the job, shutdown) aborts the
  // transfer in flight; its row is left to be asked again.
  void OnTerminate() override;

  // The rounds over `rows`: retryNum + 1 at most, the share taken modulo
  // `threadCount` (no rows at all when it is not positive).
  void RunRounds(int retryNum, int threadCount, const std::vector<std::string>& rows);

  // Whether row `row` is done (skipped by later rounds).
  virtual bool RowDone(int row) const = 0;
  // Asks row `row` through the round's client; false when the worker should
  // end.
  virtual bool AskRow(PageClient& client, int row) = 0;
  // The settings of each round's new client.
  virtual void SetUpClient(PageClient& client) = 0;

  // Holds while paused; false once the worker should end.
  bool GoOn();
  // Whether AbortTransfer has been called.
  bool Aborted();

 private:
  PageClient* OpenClient();
  void CloseClient();

  std::unique_ptr<PageClient> client_;  // the round's client
  TransferAbort transfer_;
  std::atomic<bool> stopRequested_{false};  // the stop button
};

// --- The controls of a job's groups ---
//
// `slots` holds worker k of a group in slot k, or nothing; the group is its
// first `count` slots (at most all of them). Window thread only.

enum class GroupControl { Pause, Resume, StopAfterRequest };

// Pauses (nesting), resumes or stops after the current request every kept
// worker of the group, in slot order.
template <class Slots>
void ControlGroup(Slots& slots, int count, GroupControl control) {
  const int n = std::min(count, static_cast<int>(slots.size()));
  for (int k = 0; k < n; ++k) {
    if (!slots[k]) continue;
    FetchWorker& worker = *slots[k];
    switch (control) {
      case GroupControl::Pause: worker.Suspend(); break;
      case GroupControl::Resume: worker.Resume(); break;
      case GroupControl::StopAfterRequest: worker.StopAfterRequest(); break;
    }
  }
}

// Ends every kept worker of every slot of the groups at once (the stop
// aborts their transfers and lifts their pauses), all of them told before
// the first wait so that they end side by side, then waits for each and
// empties its slot. On the window thread the wait keeps serving their
// Synchronize calls.
template <class Slots>
void EndGroups(const std::vector<Slots*>& groups) {
  for (Slots* slots : groups) {
    for (auto& slot : *slots) {
      if (slot) slot->Terminate();
    }
  }
  for (Slots* slots : groups) JoinSlots(*slots);
}

template <class Slots>
void EndGroup(Slots& slots) {
  EndGroups(std::vector<Slots*>{&slots});
}

}  // namespace orlu
