// Helpers shared by the benchmarks: elapsed seconds, the process's peak
// memory, a server in a process of its own, and the files the list
// benchmarks write for the tools they race.
#pragma once

#include <sys/resource.h>
#include <sys/wait.h>
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

// A server run in a child process, so that this process's memory figures
// are the program's alone.
struct ServerProcess {
  pid_t pid = -1;
  int keepAlive = -1;  // the child ends once this closes
  int port = 0;        // 0: the server did not start

  std::string HostPort() const { return "127.0.0.1:" + std::to_string(port); }
  // Ends the child and waits for it.
  void End() const {
    close(keepAlive);
    waitpid(pid, nullptr, 0);
  }
};

// Forks a child in which `serve` makes the server and returns its port; the
// server is left to the child, which ends when this process calls End() or
// ends itself. Fork before any thread of this process starts.
inline ServerProcess StartServerProcess(const std::function<int()>& serve) {
  ServerProcess p;
  int portPipe[2], lifePipe[2];
  if (pipe(portPipe) != 0 || pipe(lifePipe) != 0) return p;
  p.pid = fork();
  if (p.pid < 0) return p;
  if (p.pid == 0) {
    close(portPipe[0]);
    close(lifePipe[1]);
    const int port = serve();
    if (write(portPipe[1], &port, sizeof port) != sizeof port) _exit(1);
    char c;
    while (read(lifePipe[0], &c, 1) > 0) {
    }
    _exit(0);
  }
  close(portPipe[1]);
  close(lifePipe[0]);
  p.keepAlive = lifePipe[1];
  if (read(portPipe[0], &p.port, sizeof p.port) != sizeof p.port) p.port = 0;
  close(portPipe[0]);
  return p;
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
