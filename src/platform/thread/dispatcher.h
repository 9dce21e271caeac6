// The window thread: the one thread that runs handlers, timers and every
// call a worker hands over with Synchronize. The window layer installs a
// dispatcher backed by its event loop; tests without windows install the
// plain-loop dispatcher and drive it themselves.
#pragma once

#include <chrono>
#include <functional>

namespace orlu {

class Dispatcher {
 public:
  virtual ~Dispatcher() = default;

  // Any thread: queue `call` to run on the window thread, in posting order.
  virtual void Post(std::function<void()> call) = 0;

  // True on the window thread.
  virtual bool InWindowThread() const = 0;

  // Window thread only: run what is queued (posted calls and, for the window
  // layer, pending window events), waiting at most `wait` for something to
  // arrive when nothing is queued. May be called re-entrantly from a handler
  // (a nested wait).
  virtual void ProcessEvents(std::chrono::milliseconds wait) = 0;
};

// The dispatcher in force; one per process. Installing nullptr removes it.
void SetDispatcher(Dispatcher* dispatcher);
Dispatcher* CurrentDispatcher();

// A dispatcher without windows: the thread that creates it is the window
// thread; ProcessEvents runs posted calls.
class PlainLoopDispatcher : public Dispatcher {
 public:
  PlainLoopDispatcher();
  ~PlainLoopDispatcher() override;
  void Post(std::function<void()> call) override;
  bool InWindowThread() const override;
  void ProcessEvents(std::chrono::milliseconds wait) override;

 private:
  struct State;
  State* state_;
};

// Runs `work` on a helper thread while the window thread keeps processing
// events (every window paints and takes input meanwhile); returns when the
// work is done and rethrows what it threw. Called off the window thread, it
// simply runs `work`.
void RunKeepingWindowsAlive(const std::function<void()>& work);

}  // namespace orlu
