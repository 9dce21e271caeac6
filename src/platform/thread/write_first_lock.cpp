#include "platform/thread/write_first_lock.h"

namespace orlu {

void WriteFirstLock::lock() {
  std::unique_lock lock(mu_);
  ++writersWaiting_;
  writerMay_.wait(lock, [this] { return !writing_ && readers_ == 0; });
  --writersWaiting_;
  writing_ = true;
}

void WriteFirstLock::unlock() {
  bool writerNext;
  {
    std::lock_guard lock(mu_);
    writing_ = false;
    writerNext = writersWaiting_ > 0;
  }
  if (writerNext) {
    writerMay_.notify_one();
  } else {
    readerMay_.notify_all();
  }
}

void WriteFirstLock::lock_shared() {
  std::unique_lock lock(mu_);
  readerMay_.wait(lock, [this] { return ReaderMayEnter(); });
  ++readers_;
}

bool WriteFirstLock::try_lock_shared() {
  std::lock_guard lock(mu_);
  if (!ReaderMayEnter()) return false;
  ++readers_;
  return true;
}

void WriteFirstLock::unlock_shared() {
  bool lastBeforeWriter;
  {
    std::lock_guard lock(mu_);
    lastBeforeWriter = --readers_ == 0 && writersWaiting_ > 0;
  }
  if (lastBeforeWriter) writerMay_.notify_one();
}

int WriteFirstLock::WritersWaiting() const {
  std::lock_guard lock(mu_);
  return writersWaiting_;
}

}  // namespace orlu
