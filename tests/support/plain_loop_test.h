// A test of workers without windows: a plain-loop dispatcher stands in for the window thread,
// and the test serves the workers' calls by pumping it.
#pragma once

#include <gtest/gtest.h>

#include <chrono>

#include "platform/net/page_client.h"
#include "platform/thread/dispatcher.h"

namespace orlu::test {

class PlainLoopTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetDispatcher(&loop);
    InitNetwork();
  }
  void TearDown() override { SetDispatcher(nullptr); }

  // Serves the workers' calls until `ended` holds; false when `limit` runs out first.
  template <class Ended>
  bool PumpUntil(Ended ended, std::chrono::milliseconds limit) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (!ended()) {
      if (std::chrono::steady_clock::now() > end) return false;
      loop.ProcessEvents(std::chrono::milliseconds(5));
    }
    loop.ProcessEvents(std::chrono::milliseconds(0));
    return true;
  }
  void PumpFor(std::chrono::milliseconds d) {
    const auto end = std::chrono::steady_clock::now() + d;
    while (std::chrono::steady_clock::now() < end) loop.ProcessEvents(std::chrono::milliseconds(5));
  }

  PlainLoopDispatcher loop;
};

}  // namespace orlu::test
