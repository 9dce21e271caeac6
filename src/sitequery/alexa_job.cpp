#include "sitequery/alexa_job.h"

#include "platform/net/page_client.h"
#include "platform/text/gbk.h"
#include "sitequery/alexa_rank.h"

namespace orlu {

ThreadControlStru AlexaSea;

void StatusTimer::SetEnabled(bool enabled) {
  enabled_ = enabled;
  if (OnSwitch) OnSwitch();
}

// ---------------------------------------------------------------------------

ThreadControlStru::ThreadControlStru() = default;

ThreadControlStru::~ThreadControlStru() {
  Timer.OnSwitch = nullptr;
  EndAlexaWorkers(this);
}

void StartAlexaSea(ThreadControlStru* job, int timeOutMs, int threadCount,
                   const std::vector<std::string>& domainLines, int retryNum, bool showLv,
                   RowStore* statusLv, unsigned char kind) {
  // The list and the flags below are read by running workers: end them first.
  EndAlexaWorkers(job);
  ++job->Generation;

  job->SuccessCount = 0;
  job->FailCount = 0;
  job->TimeOut = timeOutMs;
  job->ThreadCount = threadCount;
  job->RetryNum = retryNum;
  job->ShowLv = showLv;

  job->Domains.clear();
  job->Domains.reserve(domainLines.size());
  for (const std::string& line : domainLines) job->Domains.push_back(LowerCase(line));

  job->Done.assign(job->Domains.size(), 0);

  job->StatusLv = statusLv;
  job->Kind = kind;
  if (statusLv != nullptr) {
    // Caption: the number of rows the list holds after the append.
    statusLv->AddRow(IntToStr(statusLv->RowCount() + 1),
                     {kind == 1 ? "ALEXA" : "NULL", IntToStr(job->Domains.size()), "0", "0",
                      Gbk("定时器启动")});
    job->StatusRow = statusLv->RowCount();
  }
  job->Timer.SetEnabled(true);
}

void AlexaSeaTimerTick(ThreadControlStru* job) {
  RowStore* lv = job->StatusLv;
  const int row = job->StatusRow - 1;
  if (lv != nullptr && row >= 0 && row < lv->RowCount()) {
    lv->SetCell(row, 2, IntToStr(job->SuccessCount));
    lv->SetCell(row, 3, IntToStr(job->FailCount));
  }
  if (static_cast<long long>(job->Domains.size()) == job->SuccessCount) {
    job->Timer.SetEnabled(false);
    if (lv != nullptr && row >= 0 && row < lv->RowCount()) {
      lv->SetCell(row, 4, Gbk("定时器停止"));
    }
  }
}

namespace {

// The slots of the group: ThreadCount, at most the record's slots.
int GroupSize(const ThreadControlStru* job) {
  return job->ThreadCount < kMaxAlexaThreads ? job->ThreadCount : kMaxAlexaThreads;
}

}  // namespace

void StartAlexaWorkers(ThreadControlStru* job) {
  EndAlexaWorkers(job);
  InitNetwork();
  const int count = GroupSize(job);
  for (int k = 0; k < count; ++k) {
    job->Threads[k] = std::make_unique<CAlexaInfoth>(false, k, *job);
  }
  for (int k = 0; k < count; ++k) job->Threads[k]->Start();
}

void PauseAlexaWorkers(ThreadControlStru* job) {
  ControlGroup(job->Threads, job->ThreadCount, GroupControl::Pause);
}

void ResumeAlexaWorkers(ThreadControlStru* job) {
  ControlGroup(job->Threads, job->ThreadCount, GroupControl::Resume);
}

void StopAlexaWorkers(ThreadControlStru* job) {
  ControlGroup(job->Threads, job->ThreadCount, GroupControl::StopAfterRequest);
}

void EndAlexaWorkers(ThreadControlStru* job) { EndGroup(job->Threads); }

}  // namespace orlu
