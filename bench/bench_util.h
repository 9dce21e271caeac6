// Helpers shared by the benchmarks: elapsed seconds and the process's peak
// memory.
#pragma once

#include <sys/resource.h>

#include <chrono>

namespace orlu::bench {

using Clock = std::chrono::steady_clock;

inline double Seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

inline double SecondsSince(Clock::time_point from) { return Seconds(Clock::now() - from); }

// Peak resident memory of this process in MB.
inline double PeakMegabytes() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

}  // namespace orlu::bench
