// Parts shared by the substitute servers: the record of the requests that
// arrived (with waits for them and an observer), and a responder that hands
// out scripted replies one after another.
#pragma once

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <functional>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <utility>
#include <vector>

namespace orlu::test {

template <typename Request>
class RequestLog {
 public:
  using Observer = std::function<void(const Request&)>;

  void Observe(Observer observer) {
    std::lock_guard<std::mutex> lock(mutex_);
    observer_ = std::move(observer);
  }

  // Keeps the request, wakes the waiters, then shows it to the observer
  // (outside the lock, on the caller's thread).
  void Record(const Request& req) {
    Observer observe;
    {
      std::lock_guard<std::mutex> lock(mutex_);
      requests_.push_back(req);
      observe = observer_;
    }
    arrived_.notify_all();
    if (observe) observe(req);
  }

  std::vector<Request> All() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return requests_;
  }
  size_t Count() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return requests_.size();
  }
  // An empty request if none arrived.
  Request Last() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return requests_.empty() ? Request{} : requests_.back();
  }
  void Clear() {
    std::lock_guard<std::mutex> lock(mutex_);
    requests_.clear();
  }
  // Waits until at least n requests have arrived; false on time-out.
  bool WaitFor(size_t n, std::chrono::milliseconds timeout) const {
    std::unique_lock<std::mutex> lock(mutex_);
    return arrived_.wait_for(lock, timeout, [&] { return requests_.size() >= n; });
  }

 private:
  mutable std::mutex mutex_;
  mutable std::condition_variable arrived_;
  std::vector<Request> requests_;
  Observer observer_;
};

// A responder giving successive requests successive replies; the last one
// repeats. Throws std::invalid_argument on an empty list.
template <typename Request, typename Reply>
std::function<Reply(const Request&)> ReplySequence(std::vector<Reply> replies) {
  if (replies.empty()) throw std::invalid_argument("OnSequence needs a reply");
  auto state = std::make_shared<std::pair<std::mutex, size_t>>();
  auto list = std::make_shared<std::vector<Reply>>(std::move(replies));
  return [state, list](const Request&) {
    std::lock_guard<std::mutex> lock(state->first);
    size_t i = std::min(state->second++, list->size() - 1);
    return (*list)[i];
  };
}

}  // namespace orlu::test
