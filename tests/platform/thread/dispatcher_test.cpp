#include "platform/thread/dispatcher.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <future>
#include <memory>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace orlu {
namespace {

using namespace std::chrono_literals;

class WindowLoop : public ::testing::Test {
 protected:
  void SetUp() override { SetDispatcher(&loop_); }
  void TearDown() override { SetDispatcher(nullptr); }

  PlainLoopDispatcher loop_;
};

TEST_F(WindowLoop, CallsFromOtherThreadsRunOnTheWindowThreadInOrderWhenServed) {
  std::vector<int> order;
  std::thread([&] {
    for (int i = 0; i < 3; ++i) {
      EXPECT_FALSE(OnWindowThread());
      EXPECT_TRUE(PostToWindowThread([&, i] { order.push_back(i); }));
    }
  }).join();
  EXPECT_TRUE(order.empty());  // nothing runs until the window thread serves
  EXPECT_TRUE(OnWindowThread());
  loop_.ProcessEvents(0ms);
  EXPECT_EQ(order, (std::vector<int>{0, 1, 2}));
}

TEST_F(WindowLoop, WaitEndsWhenACallArrivesAndOnlyQueuedCallsRunPerTurn) {
  std::atomic<bool> ran{false};
  std::thread poster([&] {
    std::this_thread::sleep_for(20ms);
    PostToWindowThread([&] { ran = true; });
  });
  const auto start = std::chrono::steady_clock::now();
  while (!ran && std::chrono::steady_clock::now() - start < 10s) loop_.ProcessEvents(60s);
  poster.join();
  EXPECT_LT(std::chrono::steady_clock::now() - start, 10s);  // so `ran` came true early

  // A call that re-posts itself runs once per turn, never for ever in one.
  int turns = 0;
  std::function<void()> again = [&] {
    ++turns;
    loop_.Post(again);
  };
  loop_.Post(again);
  loop_.ProcessEvents(0ms);
  EXPECT_EQ(turns, 1);
  loop_.ProcessEvents(0ms);
  EXPECT_EQ(turns, 2);

  // A throwing call propagates and leaves the rest queued.
  int later = 0;
  loop_.Post([] { throw std::runtime_error("handler failed"); });
  loop_.Post([&] { ++later; });
  EXPECT_THROW(loop_.ProcessEvents(0ms), std::runtime_error);
  EXPECT_EQ(later, 0);
  loop_.ProcessEvents(0ms);
  EXPECT_EQ(later, 1);
}

TEST(Dispatcher, WithoutOneNothingIsTheWindowThreadAndPostsAreDroppedAsByARemovedLoop) {
  SetDispatcher(nullptr);
  EXPECT_FALSE(OnWindowThread());
  bool ran = false;
  EXPECT_FALSE(PostToWindowThread([&] { ran = true; }));
  EXPECT_FALSE(ran);

  // Destroying the installed loop removes it and drops its queue.
  auto token = std::make_shared<int>(0);
  {
    PlainLoopDispatcher loop;
    SetDispatcher(&loop);
    PostToWindowThread([token, &ran] { ran = true; });
    EXPECT_EQ(token.use_count(), 2);
  }
  EXPECT_EQ(CurrentDispatcher(), nullptr);
  EXPECT_FALSE(ran);
  EXPECT_EQ(token.use_count(), 1);  // the dropped call was destroyed

  // A loop that is not installed leaves the installed one alone.
  PlainLoopDispatcher installed;
  SetDispatcher(&installed);
  { PlainLoopDispatcher other; }
  EXPECT_EQ(CurrentDispatcher(), &installed);
  SetDispatcher(nullptr);
}

TEST_F(WindowLoop, RunKeepingWindowsAliveServesTheWindowThreadNestsAndRethrows) {
  EXPECT_THROW(RunKeepingWindowsAlive([] { throw std::invalid_argument("no such host"); }),
               std::invalid_argument);
  // A handler failing during the wait is reported once the work has finished.
  std::atomic<bool> workFinished{false};
  loop_.Post([] { throw std::runtime_error("handler failed"); });
  const auto work = [&] {
    std::this_thread::sleep_for(30ms);
    workFinished = true;
  };
  EXPECT_THROW(RunKeepingWindowsAlive(work), std::runtime_error);
  EXPECT_TRUE(workFinished);

  // Without the window thread serving its queue during the wait, the work (on a helper thread)
  // would never return. A handler served during one wait starts a wait of its own.
  std::vector<int> depths;
  std::function<void(int)> wait = [&](int level) {
    RunKeepingWindowsAlive([&, level] {
      EXPECT_FALSE(OnWindowThread());
      std::promise<void> served;
      PostToWindowThread([&] {
        depths.push_back(WindowWaitDepth());
        if (level == 1) wait(2);
        served.set_value();
      });
      EXPECT_EQ(served.get_future().wait_for(30s), std::future_status::ready);
    });
  };
  wait(1);
  EXPECT_EQ(depths, (std::vector<int>{1, 2}));
  EXPECT_EQ(WindowWaitDepth(), 0);
}

TEST_F(WindowLoop, OffTheWindowThreadServingIsRefusedAndWorkRunsInPlace) {
  std::thread([&] {
    EXPECT_FALSE(loop_.InWindowThread());
    EXPECT_THROW(loop_.ProcessEvents(0ms), std::logic_error);
    std::thread::id ranOn;
    RunKeepingWindowsAlive([&] { ranOn = std::this_thread::get_id(); });
    EXPECT_EQ(ranOn, std::this_thread::get_id());
    EXPECT_THROW(RunKeepingWindowsAlive([] { throw std::runtime_error("x"); }), std::runtime_error);
  }).join();
}

}  // namespace
}  // namespace orlu
