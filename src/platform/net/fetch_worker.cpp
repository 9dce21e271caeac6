#include "platform/net/fetch_worker.h"

#include "platform/net/page_client.h"

namespace orlu {

FetchWorker::FetchWorker(bool CreateSuspended, int ThreadIndex)
    : Thread(CreateSuspended), ThreadIndex(ThreadIndex) {}

void FetchWorker::StopAfterRequest() { stopRequested_.store(true); }

void FetchWorker::AbortTransfer() { transfer_.Abort(); }

void FetchWorker::OnTerminate() { AbortTransfer(); }

bool FetchWorker::GoOn() { return Checkpoint() && !stopRequested_.load(); }

bool FetchWorker::Aborted() { return transfer_.Aborted(); }

PageClient* FetchWorker::OpenClient() {
  auto client = std::make_unique<PageClient>();
  SetUpClient(*client);
  transfer_.Attach(*client);
  client_ = std::move(client);
  return client_.get();
}

void FetchWorker::CloseClient() {
  transfer_.Detach();
  client_.reset();
}

void FetchWorker::RunRounds(int retryNum, int threadCount, const std::vector<std::string>& rows) {
  NeedRetry = false;
  // Counted wide: a retry count of INT_MAX still gives its rounds.
  const long long rounds = static_cast<long long>(retryNum) + 1;
  for (long long r = 0; r < rounds; ++r) {
    if (r > 0 && !NeedRetry) return;
    // Held here while paused; ends at a stop request.
    if (!GoOn()) return;
    PageClient& client = *OpenClient();
    NeedRetry = false;
    for (int i = 0; i < static_cast<int>(rows.size()); ++i) {
      ItemIndex = i;
      if (threadCount <= 0 || i % threadCount != ThreadIndex || RowDone(i)) continue;
      // Held here while paused, before the row's request.
      if (!GoOn() || !AskRow(client, i)) {
        CloseClient();
        return;
      }
    }
    CloseClient();
  }
}

}  // namespace orlu
