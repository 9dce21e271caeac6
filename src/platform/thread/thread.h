// Worker threads in the style the system's workers are written in: a class
// derives from Thread and overrides Execute; results reach the window thread
// through Synchronize; pause (Suspend/Resume) and stop (Terminate) are
// cooperative and take effect at the worker's next checkpoint.
#pragma once

#include <chrono>
#include <functional>

namespace orlu {

class Thread {
 public:
  // A thread created suspended starts at the first Resume().
  explicit Thread(bool createSuspended = false);
  // Asks the worker to stop, lifts its pauses and waits for it (serving
  // Synchronize calls when on the window thread).
  virtual ~Thread();

  Thread(const Thread&) = delete;
  Thread& operator=(const Thread&) = delete;

  // Pauses nest: each Suspend needs its own Resume; a Resume with nothing
  // paused does nothing. A worker holds at its next checkpoint.
  void Suspend();
  void Resume();
  // Asks the worker to stop; it ends at its next checkpoint, or at once when
  // held by a pause once the pause is lifted (or at shutdown).
  void Terminate();
  bool Terminated() const;
  bool Finished() const;
  // Waits until Execute has returned. On the window thread it keeps serving
  // Synchronize calls (and events) meanwhile.
  void WaitFor();

 protected:
  virtual void Execute() = 0;

  // Runs `call` on the window thread and waits for it to finish. Rethrows in
  // the worker what the call threw.
  void Synchronize(const std::function<void()>& call);

  // Holds while the worker is paused; false once the worker should stop.
  bool Checkpoint();
  // Sleeps up to `duration`; returns early (false) when told to stop.
  bool Sleep(std::chrono::milliseconds duration);

  // Hook for aborting blocking work (e.g. a transfer) when Terminate is
  // called; runs on the terminating thread.
  virtual void OnTerminate() {}

 private:
  struct State;
  State* state_;
};

}  // namespace orlu
