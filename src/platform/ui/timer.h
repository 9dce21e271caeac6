// A window-thread timer.
#pragma once

#include <functional>
#include <memory>

namespace orlu {

struct TimerImpl;

class Timer {
 public:
  // A new timer is enabled with a 1000 ms interval, as placed on a form;
  // it ticks once the loop runs and OnTimer is set.
  explicit Timer(int intervalMs = 1000, bool enabled = true);
  ~Timer();
  Timer(const Timer&) = delete;
  Timer& operator=(const Timer&) = delete;

  int Interval() const;
  // Restarts the interval when enabled. 0 stops the ticks.
  void SetInterval(int ms);
  bool Enabled() const;
  // Enabling (also when already enabled) restarts the interval.
  void SetEnabled(bool enabled);
  void Start() { SetEnabled(true); }
  void Stop() { SetEnabled(false); }

  std::function<void()> OnTimer;

 private:
  std::unique_ptr<TimerImpl> impl_;
};

}  // namespace orlu
