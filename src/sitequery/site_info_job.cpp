#include "sitequery/site_info_job.h"

#include "platform/net/page_client.h"
#include "platform/text/gbk.h"
#include "sitequery/site_info.h"

namespace orlu {

ThreadSiteInfoStru SiteInfo;

namespace {

// The slots of a cell's group: ThreadCount, at most the cell's slots.
int GroupSize(const SiteInfoCell& cell) {
  return cell.ThreadCount < kMaxSiteInfoThreads ? cell.ThreadCount : kMaxSiteInfoThreads;
}

using Slots = decltype(SiteInfoCell::Threads);

// Ends the kept workers of the cells side by side.
void EndWorkers(const std::vector<SiteInfoCell*>& cells) {
  std::vector<Slots*> groups;
  for (SiteInfoCell* cell : cells) groups.push_back(&cell->Threads);
  EndGroups(groups);
}

// The control over every cell's group, cells in member order.
void ControlCells(ThreadSiteInfoStru* job, GroupControl control) {
  for (SiteInfoCell* cell : job->Cells()) ControlGroup(cell->Threads, cell->ThreadCount, control);
}

}  // namespace

SiteInfoCell::SiteInfoCell(std::string label) : Label(std::move(label)) {}

SiteInfoCell::~SiteInfoCell() {
  Timer.OnSwitch = nullptr;
  EndGroup(Threads);
}

ThreadSiteInfoStru::ThreadSiteInfoStru() = default;

ThreadSiteInfoStru::~ThreadSiteInfoStru() {
  for (SiteInfoCell* cell : Cells()) cell->Timer.OnSwitch = nullptr;
  EndSiteInfoWorkers(this);
}

std::array<SiteInfoCell*, 7> ThreadSiteInfoStru::Cells() {
  return {&AlexaCell, &ArchiveCell, &KeyWordCell, &PrCell, &BaiduZhidaoCell, &BaiduSiteCell, &YahooLinkCell};
}

SiteInfoCell* ThreadSiteInfoStru::CellOf(int kind) {
  switch (kind) {
    case kKindPr: return &PrCell;
    case kKindAlexa: return &AlexaCell;
    case kKindArchive: return &ArchiveCell;
    case kKindKeyWord: return &KeyWordCell;
    case kKindBaiduZhidao: return &BaiduZhidaoCell;
    case kKindBaiduSite: return &BaiduSiteCell;
    case kKindYahooLink: return &YahooLinkCell;
    default: return nullptr;
  }
}

void StartSiteInfo(ThreadSiteInfoStru* job, int timeOutMs, int threadCount,
                   const std::vector<std::string>& domainLines, int retryNum, bool showLv,
                   RowStore* statusLv, RowStore* resultLv, RowStore* backupLv,
                   const std::vector<std::string>& keyWordLines) {
  // The lists and the flags below are read by running workers: end them first.
  EndSiteInfoWorkers(job);
  ++job->Generation;

  job->TimeOut = timeOutMs;
  job->RetryNum = retryNum;
  job->ResultLv = resultLv;
  job->BackupLv = backupLv;
  job->ShowLv = showLv;

  job->Domains.clear();
  job->Domains.reserve(domainLines.size());
  for (const std::string& line : domainLines) job->Domains.push_back(Trim(LowerCase(line)));
  job->KeyWords = keyWordLines;

  const int total = static_cast<int>(job->Domains.size());
  for (SiteInfoCell* cell : job->Cells()) {
    cell->ThreadCount = threadCount;
    cell->Total = total;
    cell->FailCount = 0;
    cell->SuccessCount = 0;
    cell->Done.assign(job->Domains.size(), 0);
    cell->StatusLv = statusLv;
    if (statusLv != nullptr) {
      // Caption: the number of rows the list holds after the append.
      statusLv->AddRow(IntToStr(statusLv->RowCount() + 1),
                       {cell->Label, IntToStr(total), "0", "0", Gbk("定时器启动")});
      cell->StatusRow = statusLv->RowCount();
    }
    cell->Timer.SetEnabled(true);
  }
}

void SiteInfoCellTimerTick(SiteInfoCell* cell) {
  RowStore* lv = cell->StatusLv;
  const int row = cell->StatusRow - 1;
  const bool hasRow = lv != nullptr && row >= 0 && row < lv->RowCount();
  if (hasRow) {
    lv->SetCell(row, 2, IntToStr(cell->SuccessCount));
    lv->SetCell(row, 3, IntToStr(cell->FailCount));
  }
  if (cell->SuccessCount == cell->Total) {
    cell->Timer.SetEnabled(false);
    if (hasRow) lv->SetCell(row, 4, Gbk("定时器停止"));
  }
}

void StartSiteInfoGroups(ThreadSiteInfoStru* job, const std::vector<int>& kinds) {
  // Only the groups asked for are ended first, so that no share has two
  // workers; the other groups run on undisturbed.
  std::vector<SiteInfoCell*> cells;
  for (int kind : kinds) {
    if (SiteInfoCell* cell = job->CellOf(kind)) cells.push_back(cell);
  }
  EndWorkers(cells);
  InitNetwork();
  std::vector<CSiteInfoth*> made;
  for (int kind : kinds) {
    SiteInfoCell* cell = job->CellOf(kind);
    if (cell == nullptr) continue;
    const int count = GroupSize(*cell);
    for (int k = 0; k < count; ++k) {
      cell->Threads[k] = std::make_unique<CSiteInfoth>(false, k, static_cast<char>(kind), *job);
      made.push_back(cell->Threads[k].get());
    }
  }
  for (CSiteInfoth* t : made) t->Start();
}

void PauseSiteInfoWorkers(ThreadSiteInfoStru* job) { ControlCells(job, GroupControl::Pause); }

void ResumeSiteInfoWorkers(ThreadSiteInfoStru* job) { ControlCells(job, GroupControl::Resume); }

void StopSiteInfoWorkers(ThreadSiteInfoStru* job) {
  ControlCells(job, GroupControl::StopAfterRequest);
}

void EndSiteInfoWorkers(ThreadSiteInfoStru* job) {
  const auto cells = job->Cells();
  EndWorkers(std::vector<SiteInfoCell*>(cells.begin(), cells.end()));
}

}  // namespace orlu
