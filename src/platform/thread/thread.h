// Worker threads in the style the system's workers are written in: a class
// derives from Thread and overrides Execute; results reach the window thread
// through Synchronize; pause (Suspend/Resume) and stop (Terminate) are
// cooperative and take effect at the worker's next checkpoint.
//
// Starting. Execute cannot run before the derived object is fully built, so a
// thread not created suspended starts
//   - when created on the window thread: as soon as the window thread serves
//     its queue again (the handler that made it has returned, or it waits);
//   - otherwise (no dispatcher, or created on another thread): at the first
//     Start() or WaitFor().
// Start() may always be called to start it at once.
//
// Ending. Destroying a Thread stops and joins it, but by then the derived
// part is already gone: an owner whose Execute uses members of the derived
// class calls StopAndWait() (or Terminate() and WaitFor() when it cannot be
// paused) before deleting it, or ShutdownAllThreads() has ended it. Threads
// are destroyed on the window thread (or at least not while
// ShutdownAllThreads runs).
#pragma once

#include <chrono>
#include <exception>
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
  // True while the worker waits at a checkpoint for its pauses to be lifted.
  bool Held() const;
  // Asks the worker to stop; it ends at its next checkpoint, or at once when
  // held by a pause once the pause is lifted (or at shutdown).
  void Terminate();
  bool Terminated() const;
  // True once Execute has returned (or will never run: the thread was
  // destroyed or shut down before it started).
  bool Finished() const;
  // Waits until Execute has returned. On the window thread it keeps serving
  // Synchronize calls (and events) meanwhile. Starts a thread whose start is
  // still pending; waits for ever on a thread created suspended and never
  // resumed. Throws std::logic_error when called by the worker itself.
  void WaitFor();

  // Ends the worker for good: tells it to stop, lifts its pauses for good
  // (a thread not yet started never starts) and waits for it, serving the
  // queue on the window thread. What the destructor does, for owners and
  // derived destructors to call while the derived part still exists.
  // Throws std::logic_error when called by the worker itself.
  void StopAndWait();

  // Starts a thread that was not created suspended and has not started yet;
  // does nothing otherwise (a thread created suspended starts at Resume).
  void Start();

  // What Execute threw, if it ended by an exception (caught, never fatal to
  // the process); null otherwise.
  std::exception_ptr FatalException() const;

 protected:
  virtual void Execute() = 0;

  // Runs `call` on the window thread and waits for it to finish. Rethrows in
  // the worker what the call threw; running out of memory (std::bad_alloc)
  // is raised on the window thread as well, after the worker is released.
  // On the window thread it runs `call` directly. With no dispatcher
  // installed, `call` runs on the worker itself, one such call at a time
  // process-wide, unless the worker was told to stop (then it is skipped).
  // A call the dispatcher drops unrun (removed at shutdown) is skipped too
  // and tells the worker to stop.
  void Synchronize(const std::function<void()>& call);

  // Holds while the worker is paused; false once the worker should stop.
  bool Checkpoint();
  // Sleeps up to `duration`; returns early (false) when told to stop.
  bool Sleep(std::chrono::milliseconds duration);

  // Hook for aborting blocking work (e.g. a transfer) when Terminate is
  // called; runs on the terminating thread, once, concurrently with Execute
  // (guard what it shares with Execute). Not called from ~Thread.
  virtual void OnTerminate() {}

 private:
  friend bool ShutdownAllThreads(std::chrono::milliseconds limit);
  struct Control;
  Control* state_;
};

// Process end: tells every live Thread to stop (calling its OnTerminate),
// lifts every pause (threads never started will not start), and waits until
// all have ended or `limit` has passed, serving the window thread's queue
// meanwhile when called there. Threads created during the wait are stopped
// too. Returns true when every thread has ended. Threads are not joined or
// destroyed: their owners still do that.
bool ShutdownAllThreads(std::chrono::milliseconds limit);

}  // namespace orlu
