// The batch ranking job: its record `AlexaSea`, the start routine that
// prepares it, the status timer's tick, and the routines that start, pause,
// resume, stop and end its group of workers.
//
// Everything here belongs to the window thread, except what the workers read
// (settings, Domains) and the Done bytes of their own rows. Results reach the
// lists only through the workers' display callback, which runs on the window
// thread through Synchronize. The lists themselves are reached through
// RowStore, so the job runs the same with real list views or rows in memory.
#pragma once

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/text/rows.h"

namespace orlu {

class CAlexaInfoth;

// The job's status timer as the record sees it: a switch and an interval.
// The window binds a real timer to it (OnSwitch follows every change) whose
// ticks call AlexaSeaTimerTick.
class StatusTimer {
 public:
  explicit StatusTimer(int intervalMs) : interval_(intervalMs) {}
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);
  int Interval() const { return interval_; }
  std::function<void()> OnSwitch;

 private:
  bool enabled_ = false;
  int interval_;
};

inline constexpr int kMaxAlexaThreads = 100;

struct ThreadControlStru {
  ThreadControlStru();
  // Ends every kept worker (transfers aborted, pauses lifted) and waits for
  // it, then releases what the record owns.
  ~ThreadControlStru();
  ThreadControlStru(const ThreadControlStru&) = delete;
  ThreadControlStru& operator=(const ThreadControlStru&) = delete;

  int TimeOut = 5000;     // read time-out of every worker's page client, ms
  int ThreadCount = 10;   // size of the group and modulus of its row partition
  std::vector<std::string> Domains;  // row i of the result lists is line i
  std::array<std::unique_ptr<CAlexaInfoth>, kMaxAlexaThreads> Threads;
  int RetryNum = 100;     // further rounds after the first
  bool ShowLv = true;     // the display callback also writes the visible list
  // Per row: 0 to be asked, 1 taken or answered. Each worker writes only the
  // bytes of its own rows; the display callback reads them on the window
  // thread while the worker waits in Synchronize.
  std::vector<unsigned char> Done;
  StatusTimer Timer{3000};
  int StatusRow = 65535;  // 1-based row of the job in StatusLv
  unsigned char Kind = 8;
  int SuccessCount = 0;
  int FailCount = 0;
  RowStore* StatusLv = nullptr;  // the status window's list, not owned

  // Where the display callback writes: the visible list and its hidden twin
  // (not owned; null when there is no window).
  RowStore* ResultLv = nullptr;
  RowStore* ResultBakLv = nullptr;
  // Counts the starts; a worker's answer lands only in the rows of the start
  // that made it.
  unsigned Generation = 0;
};

// The record of the process's batch ranking job.
extern ThreadControlStru AlexaSea;

// Prepares the record for a new job. Workers of an earlier start that still
// run are stopped first and waited for (transfers aborted, pauses lifted), so
// the list and flags they read are never replaced under them. Then: counters
// zeroed, settings copied, each line lower-cased (not trimmed) into Domains,
// every Done byte 0, one status row appended to `statusLv` ("ALEXA" for kind
// 1, "NULL" otherwise; the line count; "0"; "0"; "定时器启动") and the timer
// switched on.
void StartAlexaSea(ThreadControlStru* job, int timeOutMs, int threadCount,
                   const std::vector<std::string>& domainLines, int retryNum, bool showLv,
                   RowStore* statusLv, unsigned char kind);

// The status timer's tick: copies the counters into the job's status row and
// switches the timer off, with "定时器停止", once every line has succeeded.
void AlexaSeaTimerTick(ThreadControlStru* job);

// Fills slots 0 .. ThreadCount - 1 with new workers and starts them; workers
// of the group that still run are stopped and waited for first. The rows,
// Domains, Done and the counters carry on (the re-query).
void StartAlexaWorkers(ThreadControlStru* job);

// The page's pause, resume and stop: every kept worker of slots
// 0 .. ThreadCount - 1, in slot order. Pauses nest; stop lets a request in
// flight finish and ends the worker before its next one.
void PauseAlexaWorkers(ThreadControlStru* job);
void ResumeAlexaWorkers(ThreadControlStru* job);
void StopAlexaWorkers(ThreadControlStru* job);

// Ends every kept worker at once (pauses lifted, transfers aborted), waits
// for them and releases them. On the window thread it keeps serving their
// Synchronize calls meanwhile.
void EndAlexaWorkers(ThreadControlStru* job);

}  // namespace orlu
