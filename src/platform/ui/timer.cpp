// Timers on the window thread. A timer made before the application object
// (a record built at start-up) waits for it and ticks once the loop runs.
#include "platform/ui/timer.h"

#include <QCoreApplication>
#include <QTimer>

#include <algorithm>
#include <mutex>
#include <vector>

#include "platform/ui/ui_internal.h"

namespace orlu {

struct TimerImpl {
  Timer* owner = nullptr;
  int interval = 1000;
  bool enabled = true;
  QTimer* timer = nullptr;

  void Activate() {
    if (timer != nullptr || QCoreApplication::instance() == nullptr) return;
    timer = new QTimer;
    timer->setTimerType(Qt::PreciseTimer);
    QObject::connect(timer, &QTimer::timeout, timer, [this] { Fire(owner->OnTimer); });
    Apply();
  }
  void Deactivate() {
    delete timer;
    timer = nullptr;
  }
  // Starting restarts the interval.
  void Apply() {
    if (timer == nullptr) return;
    if (enabled && interval > 0) {
      timer->start(interval);
    } else {
      timer->stop();
    }
  }
};

namespace {

// Never destroyed: timers in static records may outlive other statics.
std::mutex& TimersMutex() {
  static auto* mutex = new std::mutex;
  return *mutex;
}
std::vector<TimerImpl*>& Timers() {
  static auto* timers = new std::vector<TimerImpl*>;
  return *timers;
}

}  // namespace

void ActivateTimers() {
  std::lock_guard<std::mutex> lock(TimersMutex());
  for (TimerImpl* t : Timers()) t->Activate();
}

void DeactivateTimers() {
  std::lock_guard<std::mutex> lock(TimersMutex());
  for (TimerImpl* t : Timers()) t->Deactivate();
}

Timer::Timer(int intervalMs, bool enabled) : impl_(std::make_unique<TimerImpl>()) {
  impl_->owner = this;
  impl_->interval = intervalMs;
  impl_->enabled = enabled;
  std::lock_guard<std::mutex> lock(TimersMutex());
  Timers().push_back(impl_.get());
  impl_->Activate();
}

Timer::~Timer() {
  std::lock_guard<std::mutex> lock(TimersMutex());
  auto& timers = Timers();
  timers.erase(std::remove(timers.begin(), timers.end(), impl_.get()), timers.end());
  impl_->Deactivate();
}

int Timer::Interval() const { return impl_->interval; }

void Timer::SetInterval(int ms) {
  impl_->interval = std::max(0, ms);
  impl_->Apply();
}

bool Timer::Enabled() const { return impl_->enabled; }

void Timer::SetEnabled(bool enabled) {
  impl_->enabled = enabled;
  impl_->Apply();
}

}  // namespace orlu
