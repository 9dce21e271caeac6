#pragma once

#include <climits>
#include <functional>
#include <utility>

#include "platform/ui/timer.h"
#include "sitequery/alexa_job.h"

namespace orlu {

// A time-out box's seconds as milliseconds, held inside what an int holds.
inline int SecondsToMs(int seconds) {
  long long ms = static_cast<long long>(seconds) * 1000;
  if (ms > INT_MAX) ms = INT_MAX;
  if (ms < INT_MIN) ms = INT_MIN;
  return static_cast<int>(ms);
}

// A window timer that follows a job's status timer: the same interval, its
// ticks call `tick`, and it starts and stops whenever the job's switch does.
inline void FollowStatusTimer(Timer& window, StatusTimer& job, std::function<void()> tick) {
  window.SetInterval(job.Interval());
  window.OnTimer = std::move(tick);
  job.OnSwitch = [&window, &job] { window.SetEnabled(job.Enabled()); };
  window.SetEnabled(job.Enabled());
}

// Ends the following: the window timer stops, and the job's switch (when
// given: it may follow another window by now) no longer reaches it.
inline void StopFollowing(Timer& window, StatusTimer* job) {
  if (job != nullptr) job->OnSwitch = nullptr;
  window.OnTimer = nullptr;
  window.Stop();
}

}  // namespace orlu
