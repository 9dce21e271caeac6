// The base of the workers that fetch pages round by round, driven by a worker
// of the test's own: which rows each worker asks, how many rounds it runs,
// and how pause, stop and abort reach it. Plain-loop dispatcher, so it also
// runs under ThreadSanitizer.
#include "platform/net/fetch_worker.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "substitute-services/servers/substitute_http.h"
#include "support/plain_loop_test.h"

namespace orlu {
namespace {

using namespace std::chrono_literals;
using test::HttpReply;
using Rows = std::vector<int>;

constexpr int kNever = 1 << 20;  // a row that never answers

// Holds the rows in their request until the test lets them go, one permit a
// row, or all of them once opened.
class Gate {
 public:
  void Pass() {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return open_ || permits_ > 0; });
    if (!open_) --permits_;
  }
  void Let(int n) {
    {
      std::lock_guard lock(mutex_);
      permits_ += n;
    }
    changed_.notify_all();
  }
  void Open() {
    {
      std::lock_guard lock(mutex_);
      open_ = true;
    }
    changed_.notify_all();
  }
  void Close() {
    std::lock_guard lock(mutex_);
    open_ = false;
    permits_ = 0;
  }

 private:
  std::mutex mutex_;
  std::condition_variable changed_;
  int permits_ = 0;
  bool open_ = true;
};

// What the workers of one group share. A row's failures and done flag are
// touched by its own worker only.
struct Job {
  int retryNum = 0;
  int threadCount = 1;
  std::vector<std::string> rows;  // a loopback address to fetch, or a name
  bool fetch = false;             // ask the rows' addresses
  std::vector<int> failures;      // failed answers a row gives before it answers
  std::vector<char> done;
  Gate gate;

  // Requests made, by worker, in order (any thread).
  std::mutex mutex;
  std::map<int, Rows> asked;
  int askedCount = 0;
  int Asked() {
    std::lock_guard lock(mutex);
    return askedCount;
  }
};

class RowWorker : public FetchWorker {
 public:
  RowWorker(int k, Job& job) : FetchWorker(false, k), job_(job) {}
  ~RowWorker() override {
    AbortTransfer();
    StopAndWait();
  }
  std::atomic<int> clients{0};  // rounds begun
  std::vector<std::pair<int, std::string>> shown;  // window thread: ItemIndex and Result

 protected:
  void Execute() override { RunRounds(job_.retryNum, job_.threadCount, job_.rows); }
  bool RowDone(int row) const override { return job_.done[row] == 1; }
  void SetUpClient(PageClient& client) override {
    ++clients;
    client.ReadTimeout = 120000;
  }
  // Answers "ok" or, while the row has failures left, "failed" and asks for
  // another round. An aborted transfer is no answer; any other failed fetch
  // shows "error".
  bool AskRow(PageClient& client, int row) override {
    {
      std::lock_guard lock(job_.mutex);
      job_.asked[ThreadIndex].push_back(row);
      ++job_.askedCount;
    }
    job_.gate.Pass();
    if (job_.fetch) {
      try {
        client.Get(job_.rows[row]);
      } catch (...) {
        if (Aborted()) return false;
        Show("error");
        return true;
      }
    }
    if (job_.failures[row] > 0) {
      --job_.failures[row];
      NeedRetry = true;
      Show("failed");
    } else {
      job_.done[row] = 1;
      Show("ok");
    }
    return true;
  }

 private:
  // Hands the row's answer to the window thread, as the real workers do.
  void Show(const char* text) {
    Result = text;
    Synchronize([this] { shown.emplace_back(ItemIndex, Result); });
  }

  Job& job_;
};

class FetchWorkerTest : public test::PlainLoopTest {
 protected:
  void TearDown() override {
    job.gate.Open();
    for (auto& w : workers) w->Terminate();
    workers.clear();
    PlainLoopTest::TearDown();
  }

  // Ends the previous group, then sets up `n` rows, no row failing, the
  // gate open.
  void NewJob(int n, int threads, int retry) {
    workers.clear();
    job.rows.assign(n, "row");
    job.failures.assign(n, 0);
    job.done.assign(n, 0);
    job.threadCount = threads;
    job.retryNum = retry;
    job.fetch = false;
    job.gate.Open();
    std::lock_guard lock(job.mutex);
    job.asked.clear();
    job.askedCount = 0;
  }
  // Makes workers 0 .. n-1 and, unless told otherwise, starts them.
  void StartGroup(int n, bool start = true) {
    for (int k = 0; k < n; ++k) {
      workers.push_back(std::make_unique<RowWorker>(k, job));
      if (start) workers.back()->Start();
    }
  }
  bool Ended(std::chrono::milliseconds limit = 30s) {
    return PumpUntil(
        [this] {
          for (auto& w : workers)
            if (!w->Finished()) return false;
          return true;
        },
        limit);
  }
  // One worker over `n` rows, its gate closed: true once it waits in row 0.
  // Row `failsOnce`, if any, fails its first time.
  bool StartAtFirstRow(int n, int retry, int failsOnce = -1) {
    NewJob(n, 1, retry);
    if (failsOnce >= 0) job.failures[failsOnce] = 1;
    job.gate.Close();
    StartGroup(1);
    return AskedReaches(1);
  }
  // Pauses worker 0 and lets its current row finish: true once it holds.
  bool PauseAfterTheRow() {
    W(0).Suspend();
    job.gate.Let(1);
    return PumpUntil([this] { return W(0).Held(); }, 30s);
  }
  bool AskedReaches(int n) {
    return PumpUntil([this, n] { return job.Asked() >= n; }, 30s);
  }
  Rows AskedBy(int k) {
    std::lock_guard lock(job.mutex);
    return job.asked[k];
  }
  RowWorker& W(int k) { return *workers[k]; }

  Job job;
  std::vector<std::unique_ptr<RowWorker>> workers;
};

TEST_F(FetchWorkerTest, WorkerKOfNAsksRowsKKPlusNAndSoOnEachRowByOneWorker) {
  for (int n : {1, 3, 10, 30}) {
    NewJob(25, n, 0);
    StartGroup(n);
    ASSERT_TRUE(Ended()) << n;
    for (int k = 0; k < n; ++k) {
      Rows expected;
      for (int i = k; i < 25; i += n) expected.push_back(i);
      EXPECT_EQ(AskedBy(k), expected) << k << " of " << n;
      // The answer lands on the row asked.
      ASSERT_EQ(W(k).shown.size(), expected.size()) << k << " of " << n;
      for (size_t j = 0; j < expected.size(); ++j) EXPECT_EQ(W(k).shown[j].first, expected[j]);
    }
    EXPECT_EQ(job.Asked(), 25) << n;
  }
  // A group of no threads asks nothing.
  NewJob(5, 0, 3);
  StartGroup(1);
  ASSERT_TRUE(Ended());
  EXPECT_EQ(job.Asked(), 0);
}

TEST_F(FetchWorkerTest, RoundsRunOnlyWhileARowNeedsAnotherTryAndNoMoreThanTheRetryCountAllows) {
  // Every row answers: one round.
  NewJob(4, 1, 100);
  StartGroup(1);
  ASSERT_TRUE(Ended());
  EXPECT_EQ(W(0).clients.load(), 1);
  EXPECT_EQ(AskedBy(0), (Rows{0, 1, 2, 3}));

  // Row 1 fails twice: rounds 2 and 3 ask it alone; the round in which it
  // answers is the last.
  NewJob(4, 1, 100);
  job.failures[1] = 2;
  StartGroup(1);
  ASSERT_TRUE(Ended());
  EXPECT_EQ(AskedBy(0), (Rows{0, 1, 2, 3, 1, 1}));
  EXPECT_EQ(W(0).clients.load(), 3);
  EXPECT_EQ(W(0).shown.back(), (std::pair<int, std::string>{1, "ok"}));

  // A row that never answers: one round and as many more as the retry count.
  for (int retry : {0, 3}) {
    NewJob(2, 1, retry);
    job.failures[0] = kNever;
    StartGroup(1);
    ASSERT_TRUE(Ended()) << retry;
    EXPECT_EQ(AskedBy(0).size(), 1u + 1 + retry) << retry;
    EXPECT_EQ(W(0).clients.load(), 1 + retry) << retry;
  }
}

TEST_F(FetchWorkerTest, AStopRequestEndsTheRunAfterTheRowInFlight) {
  // Told to stop while asking row 0: that row is answered and shown, no
  // other row is asked.
  ASSERT_TRUE(StartAtFirstRow(5, 0));
  W(0).StopAfterRequest();
  job.gate.Let(1);
  ASSERT_TRUE(Ended());
  EXPECT_EQ(AskedBy(0), Rows{0});
  EXPECT_EQ(W(0).shown, (std::vector<std::pair<int, std::string>>{{0, "ok"}}));

  // Told before its run: not a round begun.
  NewJob(5, 1, 0);
  StartGroup(1, false);
  W(0).StopAfterRequest();
  W(0).Start();
  ASSERT_TRUE(Ended());
  EXPECT_EQ(W(0).clients.load(), 0);
  EXPECT_EQ(job.Asked(), 0);

  // Held by a pause when told: ends once resumed.
  ASSERT_TRUE(StartAtFirstRow(5, 0));
  ASSERT_TRUE(PauseAfterTheRow());
  W(0).StopAfterRequest();
  W(0).Resume();
  ASSERT_TRUE(Ended());
  EXPECT_EQ(AskedBy(0), Rows{0});
}

TEST_F(FetchWorkerTest, AbortAndTerminateEndAHungTransferWithoutAnAnswer) {
  test::SubstituteHttpServer http;
  http.OnPrefix("/", HttpReply::Hang());
  for (bool terminate : {false, true}) {
    NewJob(3, 1, 5);
    job.fetch = true;
    for (int i = 0; i < 3; ++i) job.rows[i] = http.Url("/row" + std::to_string(i));
    http.ClearRequests();
    StartGroup(1);
    ASSERT_TRUE(http.WaitForRequests(1, 30s)) << terminate;
    if (terminate) {
      W(0).Terminate();
    } else {
      W(0).AbortTransfer();
    }
    ASSERT_TRUE(Ended()) << terminate;
    EXPECT_EQ(http.RequestCount(), 1u) << terminate;
    EXPECT_TRUE(W(0).shown.empty()) << terminate;
  }
}

TEST_F(FetchWorkerTest, APauseHoldsBeforeTheNextRowOrRoundAndPausesNest) {
  ASSERT_TRUE(StartAtFirstRow(4, 1, 3));
  // Paused while asking row 0: held before row 1.
  ASSERT_TRUE(PauseAfterTheRow());
  EXPECT_EQ(job.Asked(), 1);
  // Paused twice, resumed once: still held.
  W(0).Suspend();
  W(0).Resume();
  PumpFor(50ms);
  EXPECT_TRUE(W(0).Held());
  EXPECT_EQ(job.Asked(), 1);
  W(0).Resume();
  ASSERT_TRUE(AskedReaches(2));
  EXPECT_EQ(AskedBy(0), (Rows{0, 1}));
  // A resume with nothing paused leaves the next pause whole.
  W(0).Resume();
  ASSERT_TRUE(PauseAfterTheRow());
  EXPECT_EQ(job.Asked(), 2);
  W(0).Resume();
  // Paused while row 3 fails, the last of the round: held before the next
  // round begins.
  job.gate.Let(1);
  ASSERT_TRUE(AskedReaches(4));
  ASSERT_TRUE(PauseAfterTheRow());
  EXPECT_EQ(W(0).clients.load(), 1);
  W(0).Resume();
  job.gate.Let(1);
  ASSERT_TRUE(Ended());
  EXPECT_EQ(AskedBy(0), (Rows{0, 1, 2, 3, 3}));
  EXPECT_EQ(W(0).clients.load(), 2);
}

}  // namespace
}  // namespace orlu
