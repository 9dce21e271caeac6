#include "platform/thread/dispatcher.h"

#include <atomic>
#include <condition_variable>
#include <deque>
#include <exception>
#include <memory>
#include <mutex>
#include <shared_mutex>
#include <stdexcept>
#include <thread>
#include <utility>

#include "platform/thread/window_wait.h"

namespace orlu {

namespace {

// The installed dispatcher. Readers from other threads hold the lock in
// shared mode for as long as they use the pointer, so removal (exclusive)
// waits until no one is inside its Post or InWindowThread. The lock is never
// destroyed: workers left running may still post while the process exits.
std::shared_mutex& DispatcherLock() {
  static auto* lock = new std::shared_mutex;
  return *lock;
}
std::atomic<Dispatcher*> g_dispatcher{nullptr};

std::atomic<int> g_windowWaitDepth{0};

// Longest slice a window-thread wait sleeps in ProcessEvents before it looks
// at its condition again; finishing work posts a wake-up, so this is only a
// safety net.
constexpr std::chrono::milliseconds kWaitSlice{10};

class WindowWaitScope {
 public:
  WindowWaitScope() { g_windowWaitDepth.fetch_add(1); }
  ~WindowWaitScope() { g_windowWaitDepth.fetch_sub(1); }
  WindowWaitScope(const WindowWaitScope&) = delete;
  WindowWaitScope& operator=(const WindowWaitScope&) = delete;
};

}  // namespace

void SetDispatcher(Dispatcher* dispatcher) {
  std::unique_lock lock(DispatcherLock());
  g_dispatcher.store(dispatcher);
}

Dispatcher* CurrentDispatcher() { return g_dispatcher.load(); }

bool PostToWindowThread(std::function<void()> call) {
  std::shared_lock lock(DispatcherLock());
  Dispatcher* d = g_dispatcher.load();
  if (d == nullptr) return false;
  d->Post(std::move(call));
  return true;
}

bool OnWindowThread() {
  std::shared_lock lock(DispatcherLock());
  Dispatcher* d = g_dispatcher.load();
  return d != nullptr && d->InWindowThread();
}

int WindowWaitDepth() { return g_windowWaitDepth.load(); }

// ---------------------------------------------------------------------------

struct PlainLoopDispatcher::State {
  std::thread::id windowThread = std::this_thread::get_id();
  std::mutex mutex;
  std::condition_variable arrived;
  std::deque<std::function<void()>> queue;
};

PlainLoopDispatcher::PlainLoopDispatcher() : state_(new State) {}

PlainLoopDispatcher::~PlainLoopDispatcher() {
  {
    std::unique_lock lock(DispatcherLock());
    Dispatcher* self = this;
    g_dispatcher.compare_exchange_strong(self, nullptr);
  }
  // Dropped calls are destroyed outside the queue's lock: destroying one
  // may release a worker waiting for it.
  std::deque<std::function<void()>> dropped;
  {
    std::lock_guard lock(state_->mutex);
    dropped.swap(state_->queue);
  }
  dropped.clear();
  delete state_;
}

void PlainLoopDispatcher::Post(std::function<void()> call) {
  {
    std::lock_guard lock(state_->mutex);
    state_->queue.push_back(std::move(call));
  }
  state_->arrived.notify_one();
}

bool PlainLoopDispatcher::InWindowThread() const {
  return std::this_thread::get_id() == state_->windowThread;
}

void PlainLoopDispatcher::ProcessEvents(std::chrono::milliseconds wait) {
  if (!InWindowThread()) {
    throw std::logic_error("ProcessEvents called off the window thread");
  }
  std::unique_lock lock(state_->mutex);
  if (state_->queue.empty() && wait.count() > 0) {
    state_->arrived.wait_until(lock, thread_detail::DeadlineAfter(wait),
                               [this] { return !state_->queue.empty(); });
  }
  // Only what is queued now: calls posted meanwhile wait for the next turn,
  // so a call that keeps re-posting itself cannot hold the loop here.
  for (std::size_t n = state_->queue.size(); n > 0 && !state_->queue.empty(); --n) {
    std::function<void()> call = std::move(state_->queue.front());
    state_->queue.pop_front();
    lock.unlock();
    call();  // may re-enter ProcessEvents
    call = nullptr;
    lock.lock();
  }
}

// ---------------------------------------------------------------------------

namespace thread_detail {

std::chrono::steady_clock::time_point DeadlineAfter(std::chrono::milliseconds limit) {
  using Clock = std::chrono::steady_clock;
  const auto now = Clock::now();
  if (limit.count() <= 0) return now;
  const auto room = std::chrono::duration_cast<std::chrono::milliseconds>(
      Clock::time_point::max() - now);
  if (limit >= room) return Clock::time_point::max();
  return now + limit;
}

bool ServeWindowQueueUntil(const std::function<bool()>& done,
                           std::chrono::steady_clock::time_point deadline,
                           bool swallowErrors) {
  using Clock = std::chrono::steady_clock;
  WindowWaitScope scope;
  std::exception_ptr firstError;
  bool result = false;
  for (;;) {
    if (done()) {
      result = true;
      break;
    }
    const auto now = Clock::now();
    if (now >= deadline) break;
    auto slice = kWaitSlice;
    if (deadline - now < slice) {
      slice = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - now) +
              std::chrono::milliseconds(1);
    }
    // The window thread is the one that installs and removes the
    // dispatcher, so its pointer stays valid here without the lock (which a
    // served call removing the dispatcher would otherwise deadlock on).
    Dispatcher* d = g_dispatcher.load();
    if (d == nullptr || !d->InWindowThread()) {
      // No queue to serve any more: wait plainly.
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
      continue;
    }
    try {
      d->ProcessEvents(slice);
    } catch (...) {
      if (!firstError) firstError = std::current_exception();
    }
  }
  if (firstError && !swallowErrors) std::rethrow_exception(firstError);
  return result;
}

void WakeWindowThread() {
  if (g_windowWaitDepth.load() > 0) PostToWindowThread([] {});
}

}  // namespace thread_detail

// ---------------------------------------------------------------------------

void RunKeepingWindowsAlive(const std::function<void()>& work) {
  if (!OnWindowThread()) {
    work();
    return;
  }
  struct Shared {
    std::atomic<bool> done{false};
    std::exception_ptr error;  // written by the helper before `done`
  };
  auto shared = std::make_shared<Shared>();
  std::thread helper([shared, &work] {
    try {
      work();
    } catch (...) {
      shared->error = std::current_exception();
    }
    shared->done.store(true);
    thread_detail::WakeWindowThread();
  });
  std::exception_ptr eventError;
  try {
    thread_detail::ServeWindowQueueUntil([&shared] { return shared->done.load(); },
                                         std::chrono::steady_clock::time_point::max());
  } catch (...) {
    // A served call threw; the wait itself ran on until the work was done.
    eventError = std::current_exception();
  }
  helper.join();
  if (shared->error) std::rethrow_exception(shared->error);
  if (eventError) std::rethrow_exception(eventError);
}

}  // namespace orlu
