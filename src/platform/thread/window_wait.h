// Internal to the thread layer: the window thread's waits that keep serving
// its queue, and the wake-up that ends such a wait without delay.
#pragma once

#include <chrono>
#include <functional>

namespace orlu::thread_detail {

// Window thread: serves the dispatcher's queue in short slices until `done()`
// holds or `deadline` passes; returns whether `done()` held. An exception
// thrown by a served call does not end the wait: the first one is rethrown
// once the wait is over, unless `swallowErrors` (a destructor's wait).
bool ServeWindowQueueUntil(const std::function<bool()>& done,
                           std::chrono::steady_clock::time_point deadline,
                           bool swallowErrors = false);

// Any thread: something a window-thread wait may be waiting for has
// happened; wakes the window thread if such a wait is running.
void WakeWindowThread();

// A deadline `limit` from now, saturating instead of overflowing.
std::chrono::steady_clock::time_point DeadlineAfter(std::chrono::milliseconds limit);

}  // namespace orlu::thread_detail
