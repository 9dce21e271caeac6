// The batch site-information job: its record `SiteInfo` with one service
// cell per service, the start routine that prepares it, the cells' status
// timer tick, and the routines that start, pause, resume, stop and end the
// cells' groups of workers.
//
// Everything here belongs to the window thread, except what the workers read
// (settings, Domains, KeyWords, their cell's ThreadCount) and the Done bytes
// of their own rows in their own cell. Results reach the lists only through
// the workers' display routines, which run on the window thread through
// Synchronize.
#pragma once

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "sitequery/alexa_job.h"

namespace orlu {

class CSiteInfoth;

inline constexpr int kMaxSiteInfoThreads = 100;

// Service kinds: the number a worker is made with. Kind 2 has no service.
enum SiteInfoKind : char {
  kKindPr = 0,
  kKindAlexa = 1,
  kKindArchive = 3,
  kKindKeyWord = 4,
  kKindBaiduZhidao = 5,
  kKindBaiduSite = 6,
  kKindYahooLink = 7,
};

// One service of the job: its thread group, its per-row state, its counters
// and its row in the status window.
struct SiteInfoCell {
  // `label`: the task text of the cell's status rows.
  explicit SiteInfoCell(std::string label);
  // Ends the cell's workers (transfers aborted, pauses lifted) and waits for
  // them before the flags go.
  ~SiteInfoCell();
  SiteInfoCell(const SiteInfoCell&) = delete;
  SiteInfoCell& operator=(const SiteInfoCell&) = delete;

  std::array<std::unique_ptr<CSiteInfoth>, kMaxSiteInfoThreads> Threads;
  // Per row: 0 to be asked, 1 taken or answered, 2 answered uncertain (asked
  // again). Each worker writes only the bytes of its own rows; the display
  // routine reads them on the window thread while the worker waits in
  // Synchronize.
  std::vector<unsigned char> Done;
  StatusTimer Timer{3000};
  int StatusRow = 65535;         // 1-based row of the cell in StatusLv
  RowStore* StatusLv = nullptr;  // the status window's list, not owned
  int Total = 0;
  int SuccessCount = 0;
  int FailCount = 0;
  int ThreadCount = 10;          // size of the group, modulus of its partition
  const std::string Label;
};

struct ThreadSiteInfoStru {
  ThreadSiteInfoStru();
  // Ends every worker of every cell first, then releases the lists and cells.
  ~ThreadSiteInfoStru();
  ThreadSiteInfoStru(const ThreadSiteInfoStru&) = delete;
  ThreadSiteInfoStru& operator=(const ThreadSiteInfoStru&) = delete;

  int TimeOut = 5000;  // read time-out of every worker's page client, ms
  std::vector<std::string> Domains;  // row i of the result lists is line i
  int RetryNum = 100;  // further rounds after the first
  bool ShowLv = true;  // the display routines also write ResultLv
  std::vector<std::string> KeyWords;  // what the keyword service looks for
  SiteInfoCell AlexaCell{"SiteInfo.AlexaCell"};
  SiteInfoCell ArchiveCell{"SiteInfo.ArchiveCell"};
  SiteInfoCell KeyWordCell{"SiteInfo.KeyWordCell"};
  SiteInfoCell PrCell{"SiteInfo.PrCell"};
  SiteInfoCell BaiduZhidaoCell{"SiteInfo.BaiduZhidaoCell"};
  SiteInfoCell BaiduSiteCell{"SiteInfo.BaiduSiteCell"};
  SiteInfoCell YahooLinkCell{"SiteInfo.YahooLinkCell"};
  RowStore* ResultLv = nullptr;  // the visible result list, not owned
  RowStore* BackupLv = nullptr;  // its hidden twin, not owned
  // Counts the starts; a worker's answer lands only in the rows of the start
  // that made it.
  unsigned Generation = 0;

  // The seven cells in member order.
  std::array<SiteInfoCell*, 7> Cells();
  // The cell of a service kind; null for kind 2 and kinds above 7.
  SiteInfoCell* CellOf(int kind);
};

// The record of the process's site-information job.
extern ThreadSiteInfoStru SiteInfo;

// Prepares the record for a new job. Workers of every cell that still run
// are stopped and waited for first (transfers aborted, pauses lifted), so the
// lists and flags they read are never replaced under them. Then: settings
// copied; each domain line lower-cased and trimmed into Domains; the keyword
// lines unchanged into KeyWords; for each cell in member order its counters
// zeroed, its flags all 0, one status row appended to `statusLv` (its label,
// the row count, "0", "0", "定时器启动") and its timer switched on.
void StartSiteInfo(ThreadSiteInfoStru* job, int timeOutMs, int threadCount,
                   const std::vector<std::string>& domainLines, int retryNum, bool showLv,
                   RowStore* statusLv, RowStore* resultLv, RowStore* backupLv,
                   const std::vector<std::string>& keyWordLines);

// A cell's status timer tick: copies its counters into its status row and
// switches the timer off, with "定时器停止", once its successes equal its
// row count.
void SiteInfoCellTimerTick(SiteInfoCell* cell);

// Starts one group per kind, in the order given: slots 0 .. ThreadCount - 1
// of the kind's cell get new workers. The earlier workers of those cells are
// stopped and waited for first (transfers aborted, pauses lifted); the groups
// of other kinds run on. Rows, lists, flags and counters carry on (the
// re-query).
void StartSiteInfoGroups(ThreadSiteInfoStru* job, const std::vector<int>& kinds);

// The page's pause, resume and stop: every kept worker of slots
// 0 .. ThreadCount - 1 of every cell, cells in member order, slots in order.
// Pauses nest; stop lets a request in flight finish and ends the worker
// before its next one.
void PauseSiteInfoWorkers(ThreadSiteInfoStru* job);
void ResumeSiteInfoWorkers(ThreadSiteInfoStru* job);
void StopSiteInfoWorkers(ThreadSiteInfoStru* job);

// Ends every kept worker of every cell at once (pauses lifted, transfers
// aborted), waits for them and releases them. On the window thread it keeps
// serving their Synchronize calls meanwhile.
void EndSiteInfoWorkers(ThreadSiteInfoStru* job);

}  // namespace orlu
