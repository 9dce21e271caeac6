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
// Remove a dispatcher before destroying it: once SetDispatcher returns, no
// other thread is inside its Post any more. A dispatcher that destroys calls
// without running them (dropped at its end) releases the workers waiting for
// them in Synchronize.
void SetDispatcher(Dispatcher* dispatcher);
// For the window thread; other threads use PostToWindowThread and
// OnWindowThread, which are safe while the dispatcher is being removed.
Dispatcher* CurrentDispatcher();

// Any thread: queues `call` on the dispatcher in force. False, and the call
// is dropped, when none is installed.
bool PostToWindowThread(std::function<void()> call);

// True on the window thread of the dispatcher in force; false when none is
// installed.
bool OnWindowThread();

// How many waits that keep the window thread serving its queue are running
// now (WaitFor, RunKeepingWindowsAlive, ShutdownAllThreads on the window
// thread, nested ones counted each). Non-zero means a handler is blocked
// further down the window thread's stack; the window layer may use this to
// put off closing a window until the wait has returned.
int WindowWaitDepth();

// A dispatcher without windows: the thread that creates it is the window
// thread; ProcessEvents runs the calls queued when it starts, one at a time,
// and lets an exception thrown by one of them propagate (the rest stay
// queued). Its destruction removes it if installed and drops what is queued.
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
