// Helpers shared by the benchmarks: elapsed seconds, the process's peak
// memory, and the files the list benchmarks write for the tools they race.
#pragma once

#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "platform/text/string_list.h"

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

// Resident memory of this process now, in MB.
inline double CurrentMegabytes() {
  long pages = 0, resident = 0;
  if (FILE* f = std::fopen("/proc/self/statm", "r")) {
    if (std::fscanf(f, "%ld %ld", &pages, &resident) != 2) resident = 0;
    std::fclose(f);
  }
  return static_cast<double>(resident) * static_cast<double>(sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0);
}

// The shortest of `runs` runs of `work`, in seconds.
inline double BestOf(int runs, const std::function<void()>& work) {
  double best = 1e30;
  for (int i = 0; i < runs; ++i) {
    const auto t0 = Clock::now();
    work();
    best = std::min(best, SecondsSince(t0));
  }
  return best;
}

// `p` in single quotes for a shell command line.
inline std::string ShellQuote(const std::filesystem::path& p) {
  std::string quoted = "'";
  quoted += p.string();
  quoted += '\'';
  return quoted;
}

// The lines, each ended by LF.
inline void WriteLinesLf(const std::filesystem::path& file, const std::vector<std::string>& lines) {
  std::string text;
  for (const auto& l : lines) {
    text += l;
    text += '\n';
  }
  WriteFileAtomically(file.string(), text);
}

}  // namespace orlu::bench
