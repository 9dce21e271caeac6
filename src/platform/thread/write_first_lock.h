// A shared lock on which a waiting writer goes first: once a writer asks, new
// readers wait until it has written, so a stream of readers cannot keep it
// out (the platform's shared mutex lets readers in ahead of a waiting writer,
// and a few busy readers starve it). The writer waits only for the reads
// already under way. Fits std::unique_lock and std::shared_lock.
//
// Reads do not nest: a reader that takes the lock again while a writer waits
// would wait on itself.
#pragma once

#include <condition_variable>
#include <mutex>

namespace orlu {

class WriteFirstLock {
 public:
  WriteFirstLock() = default;
  WriteFirstLock(const WriteFirstLock&) = delete;
  WriteFirstLock& operator=(const WriteFirstLock&) = delete;

  void lock();
  void unlock();
  void lock_shared();
  bool try_lock_shared();
  void unlock_shared();

  // Writers waiting for the lock now.
  int WritersWaiting() const;

 private:
  bool ReaderMayEnter() const { return !writing_ && writersWaiting_ == 0; }

  mutable std::mutex mu_;
  std::condition_variable readerMay_;
  std::condition_variable writerMay_;
  int readers_ = 0;
  int writersWaiting_ = 0;
  bool writing_ = false;
};

}  // namespace orlu
