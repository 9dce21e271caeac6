#include "platform/thread/write_first_lock.h"

#include <gtest/gtest.h>

#include <atomic>
#include <shared_mutex>
#include <thread>

namespace orlu {
namespace {

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
