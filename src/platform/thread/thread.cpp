#include "platform/thread/thread.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <new>
#include <stdexcept>
#include <thread>
#include <unordered_set>
#include <utility>
#include <vector>

#include "platform/thread/dispatcher.h"
#include "platform/thread/window_wait.h"

namespace orlu {

// Shared by the Thread object, its OS thread, the registry of live threads
// and calls still queued for it, so that whichever lets go last frees it.
struct Thread::Control : std::enable_shared_from_this<Thread::Control> {
  std::mutex mutex;
  std::condition_variable changed;  // pauses, stop, end

  Thread* owner = nullptr;  // null once the object is being destroyed
  int pauses = 0;
  bool startAtResume = false;  // created suspended and not yet resumed
  bool launched = false;
  bool pausesLifted = false;  // destruction or shutdown: nothing holds any more
  bool stoppedForShutdown = false;
  std::atomic<bool> terminated{false};
  std::atomic<bool> finished{false};
  std::atomic<bool> held{false};  // waiting in Checkpoint for the pauses
  std::thread thread;
  std::thread::id id;
  std::exception_ptr fatal;

  // Starts the OS thread if it has not started and may. Lock held.
  void LaunchIfPendingLocked();
  // Tells the worker to stop and lifts its pauses for good; a thread not
  // started yet never starts. Lock held. True for the first stop.
  bool StopForGoodLocked() {
    const bool first = !terminated.exchange(true);
    pausesLifted = true;
    if (!launched) finished.store(true);
    return first;
  }
  // Refuses a wait of the worker for itself. Lock held.
  void RefuseSelfWaitLocked() const {
    if (launched && id == std::this_thread::get_id())
      throw std::logic_error("a thread cannot wait for itself");
  }
  static void Run(std::shared_ptr<Control> self, Thread* owner);
  // Waits until Execute has returned, serving the queue on the window thread.
  void WaitUntilFinished(bool swallowErrors) {
    if (OnWindowThread()) {
      thread_detail::ServeWindowQueueUntil([this] { return finished.load(); },
                                           std::chrono::steady_clock::time_point::max(),
                                           swallowErrors);
      return;
    }
    std::unique_lock lock(mutex);
    changed.wait(lock, [this] { return finished.load(); });
  }
  // Stops the thread for shutdown; true when it has ended.
  bool StopForShutdown();

  // Every Thread object alive. The generation counts ends, so a waiter off
  // the window thread can sleep until one happens.
  struct Registry {
    std::mutex mutex;
    std::condition_variable ended;
    std::unordered_set<std::shared_ptr<Control>> live;
    unsigned long long generation = 0;
  };
  static Registry& TheRegistry() {
    // Never destroyed: threads may still end while static objects go away.
    static Registry* registry = new Registry;
    return *registry;
  }
  static void AnnounceEnd() {
    Registry& r = TheRegistry();
    {
      std::lock_guard lock(r.mutex);
      ++r.generation;
    }
    r.ended.notify_all();
    thread_detail::WakeWindowThread();
  }
};

namespace {

// Synchronize calls that run on the worker itself (no window thread) run one
// at a time; recursive so such a call may synchronize again. Never
// destroyed, like the registry.
std::recursive_mutex& DirectCalls() {
  static auto* lock = new std::recursive_mutex;
  return *lock;
}

// One Synchronize call on its way to the window thread and back.
struct SyncCall {
  std::mutex mutex;
  std::condition_variable settled;
  bool done = false;
  bool ran = false;
  std::exception_ptr error;

  void Settle(bool hasRun, std::exception_ptr e) {
    {
      std::lock_guard lock(mutex);
      done = true;
      ran = hasRun;
      error = std::move(e);
    }
    settled.notify_all();
  }
};

// Travels inside the queued call; if the queue destroys it unrun, the worker
// is released.
struct SyncTicket {
  std::shared_ptr<SyncCall> call;
  const std::function<void()>* body;  // valid until the call is settled
  bool ran = false;

  ~SyncTicket() {
    if (!ran) call->Settle(false, nullptr);
  }
};

}  // namespace

void Thread::Control::LaunchIfPendingLocked() {
  if (launched || finished.load() || owner == nullptr) return;
  try {
    thread = std::thread(&Control::Run, shared_from_this(), owner);
    id = thread.get_id();
    launched = true;
  } catch (...) {
    // No OS thread to be had: the worker ends without running, and says why.
    fatal = std::current_exception();
    finished.store(true);
    changed.notify_all();
  }
}

void Thread::Control::Run(std::shared_ptr<Control> self, Thread* owner) {
  std::exception_ptr fatal;
  try {
    owner->Execute();
  } catch (...) {
    fatal = std::current_exception();
  }
  // `owner` may be gone from here on (a worker may delete itself).
  {
    std::lock_guard lock(self->mutex);
    if (fatal) self->fatal = fatal;
    self->finished.store(true);
  }
  self->changed.notify_all();
  AnnounceEnd();
}

bool Thread::Control::StopForShutdown() {
  Thread* toNotify = nullptr;
  {
    std::lock_guard lock(mutex);
    if (!stoppedForShutdown) {
      stoppedForShutdown = true;
      if (StopForGoodLocked()) toNotify = owner;
    }
  }
  changed.notify_all();
  if (toNotify != nullptr) toNotify->OnTerminate();
  return finished.load();
}

// ---------------------------------------------------------------------------

Thread::Thread(bool createSuspended) {
  auto state = std::make_shared<Control>();
  state->owner = this;
  if (createSuspended) {
    state->pauses = 1;
    state->startAtResume = true;
  }
  state_ = state.get();
  {
    Control::Registry& r = Control::TheRegistry();
    std::lock_guard lock(r.mutex);
    r.live.insert(state);
  }
  if (!createSuspended && OnWindowThread()) {
    // The derived constructor is still to run: start once the window thread
    // is back in its queue, which is after this object is complete.
    std::weak_ptr<Control> weak = state;
    PostToWindowThread([weak] {
      if (auto s = weak.lock()) {
        std::lock_guard lock(s->mutex);
        s->LaunchIfPendingLocked();
      }
    });
  }
}

Thread::~Thread() {
  std::shared_ptr<Control> s = state_->shared_from_this();
  {
    Control::Registry& r = Control::TheRegistry();
    std::lock_guard lock(r.mutex);
    r.live.erase(s);
  }
  bool launched = false;
  bool self = false;
  {
    std::lock_guard lock(s->mutex);
    s->owner = nullptr;
    s->StopForGoodLocked();
    launched = s->launched;
    self = launched && s->id == std::this_thread::get_id();
  }
  s->changed.notify_all();
  if (!launched) return;
  if (self) {
    // A worker deleting itself: it cannot join itself; the OS thread keeps
    // the shared state alive until it ends.
    s->thread.detach();
    return;
  }
  s->WaitUntilFinished(/*swallowErrors=*/true);
  s->thread.join();
}

void Thread::Suspend() {
  std::lock_guard lock(state_->mutex);
  if (!state_->pausesLifted) ++state_->pauses;
}

void Thread::Resume() {
  bool wake = false;
  {
    std::lock_guard lock(state_->mutex);
    if (state_->pauses == 0) return;
    if (--state_->pauses == 0) {
      wake = true;
      if (state_->startAtResume) {
        state_->startAtResume = false;
        state_->LaunchIfPendingLocked();
      }
    }
  }
  if (wake) state_->changed.notify_all();
}

void Thread::Terminate() {
  bool first = false;
  {
    std::lock_guard lock(state_->mutex);
    first = !state_->terminated.exchange(true);
  }
  state_->changed.notify_all();
  if (first) OnTerminate();
}

bool Thread::Terminated() const { return state_->terminated.load(); }

bool Thread::Finished() const { return state_->finished.load(); }

void Thread::Start() {
  std::lock_guard lock(state_->mutex);
  if (!state_->startAtResume) state_->LaunchIfPendingLocked();
}

void Thread::WaitFor() {
  Control* s = state_;
  {
    std::lock_guard lock(s->mutex);
    s->RefuseSelfWaitLocked();
    if (!s->startAtResume) s->LaunchIfPendingLocked();
  }
  s->WaitUntilFinished(/*swallowErrors=*/false);
}

void Thread::StopAndWait() {
  Control* s = state_;
  bool first = false;
  {
    std::lock_guard lock(s->mutex);
    s->RefuseSelfWaitLocked();
    first = s->StopForGoodLocked();
  }
  s->changed.notify_all();
  if (first) OnTerminate();
  s->WaitUntilFinished(/*swallowErrors=*/false);
}

std::exception_ptr Thread::FatalException() const {
  std::lock_guard lock(state_->mutex);
  return state_->fatal;
}

void Thread::Synchronize(const std::function<void()>& call) {
  if (!call) return;
  if (OnWindowThread()) {
    call();
    return;
  }
  auto pending = std::make_shared<SyncCall>();
  auto ticket = std::make_shared<SyncTicket>();
  ticket->call = pending;
  ticket->body = &call;
  const bool posted = PostToWindowThread([ticket] {
    ticket->ran = true;
    std::exception_ptr error;
    try {
      (*ticket->body)();
    } catch (const std::bad_alloc&) {
      // Running out of memory is raised on the window thread too, once the
      // worker is released, where the last catch tells the user.
      ticket->call->Settle(true, std::current_exception());
      throw;
    } catch (...) {
      error = std::current_exception();
    }
    ticket->call->Settle(true, std::move(error));
  });
  ticket.reset();  // from now on only the queue holds it

  if (!posted) {
    if (Terminated()) return;
    std::lock_guard lock(DirectCalls());
    call();
    return;
  }

  std::exception_ptr error;
  bool ran = false;
  {
    std::unique_lock lock(pending->mutex);
    pending->settled.wait(lock, [&pending] { return pending->done; });
    ran = pending->ran;
    error = pending->error;
  }
  if (!ran) {
    Terminate();
    return;
  }
  if (error) std::rethrow_exception(error);
}

bool Thread::Checkpoint() {
  Control* s = state_;
  std::unique_lock lock(s->mutex);
  if (s->pauses > 0 && !s->pausesLifted) {
    s->held.store(true);
    s->changed.wait(lock, [s] { return s->pauses == 0 || s->pausesLifted; });
    s->held.store(false);
  }
  return !s->terminated.load();
}

bool Thread::Held() const { return state_->held.load(); }

bool Thread::Sleep(std::chrono::milliseconds duration) {
  const auto deadline = thread_detail::DeadlineAfter(duration);
  std::unique_lock lock(state_->mutex);
  state_->changed.wait_until(lock, deadline, [s = state_] { return s->terminated.load(); });
  return !state_->terminated.load();
}

// ---------------------------------------------------------------------------

bool ShutdownAllThreads(std::chrono::milliseconds limit) {
  const auto deadline = thread_detail::DeadlineAfter(limit);
  Thread::Control::Registry& r = Thread::Control::TheRegistry();
  // Stops every live thread (again picking up threads made meanwhile);
  // true when all have ended.
  auto stopAll = [&r] {
    std::vector<std::shared_ptr<Thread::Control>> live;
    {
      std::lock_guard lock(r.mutex);
      live.assign(r.live.begin(), r.live.end());
    }
    bool allEnded = true;
    for (const auto& s : live) {
      if (!s->StopForShutdown()) allEnded = false;
    }
    return allEnded;
  };

  if (OnWindowThread()) return thread_detail::ServeWindowQueueUntil(stopAll, deadline);

  for (;;) {
    unsigned long long generation;
    {
      std::lock_guard lock(r.mutex);
      generation = r.generation;
    }
    if (stopAll()) return true;
    const auto now = std::chrono::steady_clock::now();
    if (now >= deadline) return false;
    // Wake at each end, and now and then for threads made meanwhile.
    const auto until = std::min(deadline, now + std::chrono::milliseconds(50));
    std::unique_lock lock(r.mutex);
    r.ended.wait_until(lock, until, [&] { return r.generation != generation; });
  }
}

}  // namespace orlu
