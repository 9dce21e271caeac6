#include "platform/thread/thread.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <new>
#include <shared_mutex>
#include <stdexcept>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "platform/thread/dispatcher.h"
#include "platform/thread/write_first_lock.h"

namespace orlu {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

// A worker whose body is given by the test (copied by Execute: no member read once it runs).
class Worker : public Thread {
 public:
  using Body = std::function<void(Worker&)>;
  explicit Worker(Body body, bool createSuspended = false)
      : Thread(createSuspended), body_(std::make_shared<Body>(std::move(body))) {}

  using Thread::Checkpoint;
  using Thread::Sleep;
  using Thread::Synchronize;

  std::function<void()> onTerminate;  // set before the worker can be stopped

 protected:
  void Execute() override {
    auto body = body_;
    (*body)(*this);
  }
  void OnTerminate() override {
    if (onTerminate) onTerminate();
  }

 private:
  std::shared_ptr<Body> body_;
};

// A worker looping through checkpoints, counting its steps. Started at once.
struct Looper {
  std::atomic<int> count{0};
  std::atomic<bool> sawStop{false};  // Checkpoint reported the stop
  std::unique_ptr<Worker> w = std::make_unique<Worker>([this](Worker& self) {
    while (self.Checkpoint()) {
      ++count;
      std::this_thread::sleep_for(1ms);
    }
    sawStop = true;
  });

  Looper() { w->Start(); }

  // True when the count moves within `limit`.
  bool Advance(std::chrono::milliseconds limit = 10s) {
    const int before = count.load();
    const auto end = Clock::now() + limit;
    while (count.load() == before && Clock::now() < end) std::this_thread::sleep_for(1ms);
    return count.load() != before;
  }
};

class Threads : public ::testing::Test {
 protected:
  void SetUp() override { SetDispatcher(&loop_); }
  void TearDown() override { SetDispatcher(nullptr); }

  // Serves the window thread's queue until `cond`.
  bool Eventually(const std::function<bool()>& cond, std::chrono::milliseconds limit = 10s) {
    const auto end = Clock::now() + limit;
    while (!cond() && Clock::now() < end) loop_.ProcessEvents(5ms);
    return cond();
  }

  PlainLoopDispatcher loop_;
};

TEST_F(Threads, HundredWorkersSynchronizeWhileTheWindowThreadWaits) {
  const auto windowThread = std::this_thread::get_id();
  std::atomic<int> wrong{0};  // calls run off the window thread, or not done at the return
  std::vector<std::unique_ptr<Worker>> workers;
  for (int i = 0; i < 100; ++i) {
    workers.push_back(std::make_unique<Worker>([&](Worker& w) {
      for (int k = 0, ran = 0; k < 20; ++k) {
        w.Synchronize([&] { ran += std::this_thread::get_id() == windowThread ? 1 : 100; });
        if (ran != k + 1) ++wrong;
      }
    }));
  }
  for (auto& w : workers) w->WaitFor();
  EXPECT_EQ(wrong, 0);
}

TEST_F(Threads, AStoppedWorkerSynchronizingWhileBeingJoinedDoesNotDeadlock) {
  // Joined by WaitFor, StopAndWait or the destructor while the worker keeps handing calls over.
  for (int way = 0; way < 3; ++way) {
    int calls = 0;
    bool lastCallRan = false;
    auto w = std::make_unique<Worker>([&](Worker& self) {
      while (self.Checkpoint()) self.Synchronize([&] { ++calls; });
      self.Synchronize([&] { lastCallRan = true; });
    });
    ASSERT_TRUE(Eventually([&] { return calls >= 5; })) << "way " << way;
    if (way == 0) {
      w->Terminate();
      w->WaitFor();
    } else if (way == 1) {
      w->StopAndWait();
    } else {
      w.reset();
    }
    EXPECT_TRUE(lastCallRan) << "way " << way;
    EXPECT_EQ(WindowWaitDepth(), 0);
  }
}

TEST_F(Threads, WhatACallThrowsReachesItsCallerAndWhatExecuteThrowsIsKept) {
  bool nextCallRan = false;
  Worker w([&](Worker& self) {
    EXPECT_THROW(self.WaitFor(), std::logic_error);
    EXPECT_THROW(self.Synchronize([] { throw std::out_of_range("List index out of bounds (5)"); }),
                 std::out_of_range);
    self.Synchronize([&] { nextCallRan = true; });
    throw std::runtime_error("worker failed");
  });
  w.WaitFor();
  EXPECT_TRUE(nextCallRan);
  ASSERT_NE(w.FatalException(), nullptr);
  EXPECT_THROW(std::rethrow_exception(w.FatalException()), std::runtime_error);

  // On the window thread a call runs at once and its error comes straight back.
  Worker unstarted([](Worker&) {}, /*createSuspended=*/true);
  EXPECT_THROW(unstarted.Synchronize([] { throw std::logic_error("direct"); }), std::logic_error);
}

// A call that runs out of memory: the worker gets it, and so does the window thread, whose last
// catch tells the user (other errors stay the worker's: see above).
TEST_F(Threads, RunningOutOfMemoryInACallIsRaisedOnTheWindowThreadToo) {
  std::atomic<bool> workerGotIt{false};
  Worker w([&](Worker& self) {
    try {
      self.Synchronize([] { throw std::bad_alloc(); });
    } catch (const std::bad_alloc&) {
      workerGotIt = true;
    }
  });
  w.Start();
  bool windowGotIt = false;
  const auto end = Clock::now() + 10s;
  while (!windowGotIt && Clock::now() < end) {
    try {
      loop_.ProcessEvents(5ms);
    } catch (const std::bad_alloc&) {
      windowGotIt = true;
    }
  }
  EXPECT_TRUE(windowGotIt);
  w.WaitFor();
  EXPECT_TRUE(workerGotIt);
}

TEST(ThreadsWithoutWindows, SynchronizeRunsOnTheWorkerOneCallAtATime) {
  int total = 0;  // guarded only by Synchronize's own serialisation
  std::vector<std::unique_ptr<Worker>> workers;
  for (int i = 0; i < 8; ++i) {
    workers.push_back(std::make_unique<Worker>([&](Worker& w) {
      const auto me = std::this_thread::get_id();
      for (int k = 0; k < 500; ++k) {
        w.Synchronize([&] {
          const int before = total;  // a read and a later write: calls that overlap lose counts
          std::this_thread::yield();
          total = before + (std::this_thread::get_id() == me ? 1 : 1000);  // 1000 off the worker
        });
      }
    }));
  }
  for (auto& w : workers) w->Start();  // all at once, so their calls could overlap
  for (auto& w : workers) w->WaitFor();
  EXPECT_EQ(total, 8 * 500);

  // A worker told to stop has nowhere to hand its calls: they are skipped.
  bool ran = false;
  Worker stopped([&](Worker& w) {
    while (w.Checkpoint()) std::this_thread::sleep_for(1ms);
    w.Synchronize([&] { ran = true; });
  });
  stopped.Start();
  stopped.Terminate();
  stopped.WaitFor();
  EXPECT_FALSE(ran);
}

// A plain loop that notes when a call has been posted.
struct NotingLoop : PlainLoopDispatcher {
  std::atomic<bool> posted{false};
  void Post(std::function<void()> call) override {
    PlainLoopDispatcher::Post(std::move(call));
    posted = true;
  }
};

TEST(ThreadsWithoutWindows, ACallDroppedUnrunReleasesTheWorkerAndStopsIt) {
  std::atomic<bool> ran{false}, returned{false};
  Worker w([&](Worker& self) {
    self.Synchronize([&] { ran = true; });
    returned = true;
  });
  {
    NotingLoop loop;
    SetDispatcher(&loop);
    w.Start();
    const auto end = Clock::now() + 10s;
    while (!loop.posted && Clock::now() < end) std::this_thread::sleep_for(1ms);
    ASSERT_TRUE(loop.posted);
    EXPECT_FALSE(returned);
  }  // the loop goes away with the call unrun
  w.WaitFor();
  EXPECT_TRUE(returned);
  EXPECT_FALSE(ran);
  EXPECT_TRUE(w.Terminated());
}

TEST_F(Threads, AWorkerStartsOnceTheWindowThreadIsServedOrAtStartOrWaitFor) {
  std::atomic<int> runs{0};
  {
    Worker suspended([&](Worker&) { ++runs; }, /*createSuspended=*/true);
    Worker pending([&](Worker&) { ++runs; });  // start still queued
  }
  loop_.ProcessEvents(0ms);  // the queued start finds nothing to start
  EXPECT_EQ(runs, 0);

  Worker w([&](Worker&) { ++runs; });
  std::this_thread::sleep_for(20ms);
  EXPECT_EQ(runs, 0);  // the handler that made it has not returned yet
  EXPECT_TRUE(Eventually([&] { return w.Finished(); }));
  EXPECT_EQ(runs, 1);

  // Made off the window thread: it starts at Start (once) or at WaitFor.
  SetDispatcher(nullptr);
  Worker a([&](Worker&) { ++runs; }), b([&](Worker&) { ++runs; });
  std::this_thread::sleep_for(20ms);
  EXPECT_EQ(runs, 1);
  a.Start();
  a.Start();
  a.WaitFor();
  b.WaitFor();
  EXPECT_EQ(runs, 3);
}

TEST_F(Threads, PausesNestAndAResumeWithNothingPausedDoesNothing) {
  Looper l;
  ASSERT_TRUE(l.Advance());
  l.w->Resume();  // had it been counted, the pause below would not hold
  l.w->Suspend();
  l.w->Suspend();
  ASSERT_TRUE(Eventually([&] { return l.w->Held(); }));
  l.w->Resume();
  EXPECT_FALSE(l.Advance(150ms)) << "one resume lifted two pauses";
  l.w->Resume();
  EXPECT_TRUE(l.Advance());
  l.w->StopAndWait();
  EXPECT_TRUE(l.sawStop);

  // Being created suspended is a pause of its own, which Start does not lift.
  Worker held([](Worker&) {}, /*createSuspended=*/true);
  held.Start();
  held.Suspend();
  held.Resume();
  EXPECT_FALSE(Eventually([&] { return held.Finished(); }, 50ms));
  held.Resume();
  EXPECT_TRUE(Eventually([&] { return held.Finished(); }));
}

TEST_F(Threads, AWorkerStoppedWhilePausedEndsWhenResumedOrDestroyed) {
  Looper resumed, destroyed;
  for (Looper* l : {&resumed, &destroyed}) ASSERT_TRUE(l->Advance());
  resumed.w->Suspend();
  destroyed.w->Suspend();
  ASSERT_TRUE(Eventually([&] { return resumed.w->Held() && destroyed.w->Held(); }));
  destroyed.w.reset();
  EXPECT_TRUE(destroyed.sawStop);

  resumed.w->Terminate();
  EXPECT_FALSE(Eventually([&] { return resumed.w->Finished(); }, 150ms))
      << "a stop lifted the pause";
  EXPECT_TRUE(resumed.w->Held());
  resumed.w->Resume();
  resumed.w->WaitFor();
  EXPECT_TRUE(resumed.sawStop);
}

TEST_F(Threads, OnTerminateRunsOnceOnTheStoppingThreadAndCanAbortATransfer) {
  // The "transfer" never looks at a checkpoint; only the hook ends it.
  std::atomic<int> hookCalls{0};
  std::atomic<bool> aborted{false};
  Worker w([&](Worker&) {
    while (!aborted) std::this_thread::sleep_for(1ms);
  });
  w.onTerminate = [&, stopper = std::this_thread::get_id()] {
    ++hookCalls;
    EXPECT_EQ(std::this_thread::get_id(), stopper);
    aborted = true;
  };
  w.Start();
  w.Terminate();
  w.Terminate();
  w.WaitFor();
  EXPECT_EQ(hookCalls, 1);
}

TEST_F(Threads, ShutdownWithHundredPausedAndHundredSleepingWorkersIsQuick) {
  constexpr int kEach = 100;
  int finalCalls = 0;  // window thread only
  std::atomic<int> hooks{0}, looping{0}, sleeping{0}, sleptOut{0};
  std::vector<std::unique_ptr<Worker>> workers;
  for (int i = 0; i < kEach; ++i) {
    workers.push_back(std::make_unique<Worker>([&](Worker& w) {
      bool counted = false;
      while (w.Checkpoint()) {
        w.Synchronize([] {});
        if (!std::exchange(counted, true)) ++looping;
      }
      // Handed over after the stop: the shutdown keeps serving the queue.
      w.Synchronize([&] { ++finalCalls; });
    }));
    workers.push_back(std::make_unique<Worker>([&](Worker& w) {
      if (w.Sleep(1ms)) ++sleeping;  // a sleep nobody cut short
      if (w.Sleep(std::chrono::hours(1))) ++sleptOut;
    }));
  }
  ASSERT_TRUE(Eventually([&] { return looping == kEach && sleeping == kEach; }, 30s));
  for (auto& w : workers) {
    w->onTerminate = [&] { ++hooks; };
    w->Suspend();  // twice: the shutdown lifts every pause, not one
    w->Suspend();
  }
  // The looping ones hold at their checkpoints once their calls are served; sleepers never hold.
  ASSERT_TRUE(Eventually([&] {
    int held = 0;
    for (auto& w : workers) held += w->Held();
    return held == kEach;
  }, 30s));

  const auto start = Clock::now();
  EXPECT_TRUE(ShutdownAllThreads(10s));
  EXPECT_LT(Clock::now() - start, 2s);
  for (auto& w : workers) EXPECT_TRUE(w->Finished());
  EXPECT_EQ(hooks, 2 * kEach);
  EXPECT_EQ(finalCalls, kEach);
  EXPECT_EQ(sleptOut, 0);
}

TEST_F(Threads, AWorkerMadeDuringTheShutdownIsStoppedToo) {
  std::unique_ptr<Worker> late;
  Worker first([&](Worker& w) {
    // A handler run during the shutdown's wait makes a new worker.
    w.Synchronize([&] {
      late = std::make_unique<Worker>([](Worker& l) { l.Sleep(std::chrono::hours(1)); });
      late->Start();
    });
    w.Sleep(std::chrono::hours(1));
  });
  first.Start();
  EXPECT_TRUE(ShutdownAllThreads(10s));
  ASSERT_NE(late, nullptr);
  EXPECT_TRUE(late->Finished());  // its hour-long sleep was cut short
}

TEST_F(Threads, ShutdownLeavesUnstartedWorkersUnrunAndReportsAStuckOne) {
  std::atomic<int> runs{0};
  Worker never([&](Worker&) { ++runs; }, /*createSuspended=*/true);
  Worker pending([&](Worker&) { ++runs; });

  // One that ignores every stop until released.
  std::atomic<bool> release{false};
  Worker stuck([&](Worker&) {
    while (!release) std::this_thread::sleep_for(1ms);
  });
  stuck.Start();

  EXPECT_FALSE(ShutdownAllThreads(100ms));
  EXPECT_TRUE(never.Finished());
  EXPECT_TRUE(pending.Finished());
  EXPECT_FALSE(stuck.Finished());
  release = true;
  EXPECT_TRUE(ShutdownAllThreads(10s));
  never.Resume();
  loop_.ProcessEvents(0ms);
  EXPECT_EQ(runs, 0);
}

// Busy readers cannot keep a writer out.
TEST(WriteFirstLock, AWriterWaitsForReadsUnderWayAndNewReadsWaitForIt) {
  WriteFirstLock lock;
  std::atomic<int> written{0};
  lock.lock_shared();
  std::thread writer([&] {
    std::unique_lock write(lock);
    written = 1;
  });
  while (lock.WritersWaiting() == 0 && written == 0) std::this_thread::yield();
  EXPECT_EQ(written, 0);
  EXPECT_FALSE(lock.try_lock_shared());
  lock.unlock_shared();
  {
    std::shared_lock read(lock);
    EXPECT_EQ(written, 1);
  }
  writer.join();
}

}  // namespace
}  // namespace orlu
