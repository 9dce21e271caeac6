// The page client of a worker's transfer in flight, kept so that another
// thread can abort it. Once aborted, it stays aborted: a client made the
// current one later is aborted at once.
#pragma once

#include <mutex>

#include "platform/net/page_client.h"

namespace orlu {

class TransferAbort {
 public:
  // Aborts the transfer in flight and every later one (any thread).
  void Abort() {
    std::lock_guard lock(mutex_);
    aborted_ = true;
    if (client_ != nullptr) client_->Abort();
  }
  bool Aborted() const {
    std::lock_guard lock(mutex_);
    return aborted_;
  }
  // Makes `client` the current one, aborted at once when Abort has been
  // called. Returns whether the transfer may go on (not aborted).
  bool Attach(PageClient& client) {
    std::lock_guard lock(mutex_);
    if (aborted_) client.Abort();
    client_ = &client;
    return !aborted_;
  }
  // Forgets the current client. Returns whether Abort has been called.
  bool Detach() {
    std::lock_guard lock(mutex_);
    client_ = nullptr;
    return aborted_;
  }

 private:
  mutable std::mutex mutex_;
  PageClient* client_ = nullptr;  // guarded by mutex_
  bool aborted_ = false;          // guarded by mutex_
};

}  // namespace orlu
