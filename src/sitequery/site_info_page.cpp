#include "sitequery/site_info_page.h"

#include <utility>

#include "pages/page_layout.h"
#include "pages/settings_file.h"
#include "pages/stat_show_form.h"
#include "platform/thread/start_guard.h"
#include "platform/ui/import_lines.h"
#include "sitequery/page_start.h"

namespace orlu {

// --- The job while the page lives ---

SiteInfoPageJob::SiteInfoPageJob(ListView& visible, ListView& hidden) : Rows(visible), BakRows(hidden) {
  const auto cells = SiteInfo.Cells();
  for (size_t k = 0; k < cells.size(); ++k) {
    SiteInfoCell* cell = cells[k];
    FollowStatusTimer(StatusTimers[k], cell->Timer, [cell] { SiteInfoCellTimerTick(cell); });
  }
}

SiteInfoPageJob::~SiteInfoPageJob() {
  const auto cells = SiteInfo.Cells();
  for (size_t k = 0; k < cells.size(); ++k) {
    StopFollowing(StatusTimers[k], &cells[k]->Timer);
    if (cells[k]->StatusLv == &StatusRows) cells[k]->StatusLv = nullptr;
  }
  // The workers' last answers still land in the lists while they end.
  EndSiteInfoWorkers(&SiteInfo);
  if (SiteInfo.ResultLv == &Rows) SiteInfo.ResultLv = nullptr;
  if (SiteInfo.BackupLv == &BakRows) SiteInfo.BackupLv = nullptr;
}

// --- Page ---

TSiteInfoPage::TSiteInfoPage(TabSheet& page, OpenDialog& openDialog, SaveDialog& saveDialog)
    : page_(page), openDialog_(openDialog), saveDialog_(saveDialog) {
  const int pageHeight = PageHeight(page);
  // The lists of domains and keywords take a narrow column on the left, so
  // that the result list beside it has room for every value in its columns;
  // the buttons and boxes above the result list start at its left edge.
  constexpr int kListsWidth = 160;
  constexpr int kResultsLeft = 10 + kListsWidth + 10;
  auto button = [this](Button& b, const char* caption, int left, int top, int width,
                       void (TSiteInfoPage::*handler)()) {
    b.SetCaption(Gbk(caption));
    b.SetBounds(left, top, width, 25);
    Bind(b, this, handler);
  };
  button(btnSiteInfoFileOpen, "导入", 10, 8, 70, &TSiteInfoPage::btnSiteInfoFileOpenClick);
  button(btnSiteInfoKeyWordSave, "保存关键字", 85, 8, kListsWidth - 75,
         &TSiteInfoPage::btnSiteInfoKeyWordSaveClick);

  mmoSiteInfoKeyWord.SetBounds(10, 40, kListsWidth, pageHeight - 40);
  mmoSiteInfoKeyWord.SetAnchors(kAnchorLeft | kAnchorTop | kAnchorBottom);
  ts7.SetCaption(Gbk("全部域名"));
  ts8.SetCaption(Gbk("关键字"));
  mmoSiteInfoDomainList1.SetAccessibleName(Gbk("全部域名"));
  mmoSiteInfoKeword.SetAccessibleName(Gbk("关键字"));
  mmoSiteInfoKeyWord.SetActivePageIndex(0);
  mmoSiteInfoDomainList1.SetAlign(Align::Client);
  mmoSiteInfoDomainList1.SetScrollBars(ScrollBars::Both);
  mmoSiteInfoKeword.SetAlign(Align::Client);
  mmoSiteInfoKeword.SetScrollBars(ScrollBars::Vertical);
  mmoSiteInfoKeword.SetLines(GbkLines({"六月", "淫", "好色", "色情", "三级", "女体", "诱惑",
                                       "激情", "妹妹", "电影", "银行", "金融", "风投", "牙科",
                                       "牙医", "健康", "积分换礼", "网络答题", "积分",
                                       "外文导航 ", "英文导航", "英语导航", "英语"}));

  button(btnSiteInfoPlay, "查询", kResultsLeft, 8, 55, &TSiteInfoPage::btnSiteInfoPlayClick);
  button(btnSiteInfoPause, "暂停", kResultsLeft + 60, 8, 55, &TSiteInfoPage::btnSiteInfoPauseClick);
  button(btnSiteInfoResume, "继续", kResultsLeft + 120, 8, 55,
         &TSiteInfoPage::btnSiteInfoResumeClick);
  button(btnSiteInfoStop, "停止", kResultsLeft + 180, 8, 55, &TSiteInfoPage::btnSiteInfoStopClick);
  button(btnSiteInfoClearMmo, "清空", kResultsLeft + 240, 8, 55,
         &TSiteInfoPage::btnSiteInfoClearMmoClick);
  button(btnSiteInfoRePlay, "重查", kResultsLeft + 300, 8, 55,
         &TSiteInfoPage::btnSiteInfoRePlayClick);
  button(btnSiteInfoFileOut, "导出", kResultsLeft + 380, 8, 75,
         &TSiteInfoPage::btnSiteInfoFileOutClick);
  button(btnInfoSiteStopTime, "停止定时器", kResultsLeft + 460, 8, 80,
         &TSiteInfoPage::btnInfoSiteStopTimeClick);
  btnSiteInfoRePlay.SetEnabled(false);

  struct BoxDef {
    Label& label;
    const char* caption;
    Edit& edit;
    const char* text;
    int left;
  };
  const BoxDef boxes[] = {
      {lbl6, "超时：", edtSiteInfoTimeOut, "20", kResultsLeft},
      {lbl7, "线程：", edtSiteInfoThCount, "2", kResultsLeft + 100},
      {lbl8, "重查数：", edtSiteInfoRearchTimes, "5", kResultsLeft + 200},
  };
  for (const BoxDef& b : boxes) {
    b.label.SetCaption(Gbk(b.caption));
    b.label.SetBounds(b.left, 44, 50, 13);
    b.edit.SetText(b.text);
    b.edit.SetBounds(b.left + 50, 40, 40, 21);
    b.edit.SetAccessibleName(NameFromLabel(Gbk(b.caption)));
  }

  // The service boxes in a row, 70 apart.
  int x = kResultsLeft;
  auto box = [&x](CheckBox& b, const char* caption) {
    b.SetCaption(Gbk(caption));
    b.SetBounds(x, 72, 68, 20);
    x += 70;
  };
  box(chkPr, "Pr");
  box(chkAlexa, "Alexa");
  box(chkAlink, "ALink");
  box(chkZhidao, "知道");
  box(chkBsite, "BSite");
  box(chkYlink, "YLink");
  box(chkArchive, "Archive");
  box(chkKeyWord, "关键字");
  chkPr.SetChecked(true);
  button(btn14, "全选", x + 4, 70, 60, &TSiteInfoPage::btn14Click);

  for (ListView* list : {&lvSiteInfo, &lvSiteInfoBak}) {
    list->SetBounds(kResultsLeft, 100, kPageWidth - kResultsLeft - 10, pageHeight - 100);
    ReportStyle(*list);
    // Every column as wide as its longest usual value: the archive's count
    // and pages ("26,877.8,133"), two matched keywords ("外文导航 ,电影,"),
    // the two question counts ("4,999,4,999") and the counts of the last
    // three columns ("1,270,000", "约1,870,000", "12,345,678"); the ranks
    // take seven digits, the page rank two. All fit beside the scroll bar.
    list->SetColumns({{"ID", 36},
                      {Gbk("域名"), 100},
                      {"PR", 28},
                      {"Alexa", 66},
                      {"ALink", 44},
                      {"Archive", 88},
                      {Gbk("关键字"), 96},
                      {Gbk("知道"), 80},
                      {"BSite", 80},
                      {"yLink", 76}});
  }
  lvSiteInfo.SetAnchors(kAnchorAll);
  Bind(lvSiteInfo, this, &TSiteInfoPage::lvSiteInfoClick);
  lvSiteInfoBak.Hide();
}

void TSiteInfoPage::SetAllSiteInfoColumns(bool checked) {
  for (CheckBox* b : {&chkPr, &chkAlexa, &chkAlink, &chkZhidao, &chkBsite, &chkYlink,
                      &chkArchive, &chkKeyWord}) {
    b->SetChecked(checked);
  }
}

void TSiteInfoPage::CheckAllSiteInfoColumns() { SetAllSiteInfoColumns(true); }
void TSiteInfoPage::UncheckAllSiteInfoColumns() { SetAllSiteInfoColumns(false); }

void TSiteInfoPage::btn14Click() { CheckAllSiteInfoColumns(); }

std::vector<int> TSiteInfoPage::TickedKinds() const {
  // "ALink" starts nothing: its column comes with the ranking group.
  const std::pair<const CheckBox*, int> boxes[] = {
      {&chkPr, kKindPr},           {&chkAlexa, kKindAlexa},        {&chkArchive, kKindArchive},
      {&chkKeyWord, kKindKeyWord}, {&chkZhidao, kKindBaiduZhidao}, {&chkBsite, kKindBaiduSite},
      {&chkYlink, kKindYahooLink}};
  std::vector<int> kinds;
  for (const auto& [box, kind] : boxes) {
    if (box->Checked()) kinds.push_back(kind);
  }
  return kinds;
}

void TSiteInfoPage::btnSiteInfoPlayClick() {
  if (SiteInfoJob.Starting) return;
  // The boxes first: one that holds no number changes nothing.
  const int seconds = StrToInt(edtSiteInfoTimeOut.Text());
  const int threadCount = StrToInt(edtSiteInfoThCount.Text());
  const int retryCount = StrToInt(edtSiteInfoRearchTimes.Text());

  lvSiteInfo.Clear();
  lvSiteInfoBak.Clear();
  if (threadCount > kMaxSiteInfoThreads) return;

  {
    StartGuard starting(SiteInfoJob.Starting);
    StartSiteInfo(&SiteInfo, SecondsToMs(seconds), threadCount, mmoSiteInfoDomainList1.Lines(),
                  retryCount, true, &SiteInfoJob.StatusRows, &SiteInfoJob.Rows, &SiteInfoJob.BakRows,
                  mmoSiteInfoKeword.Lines());
  }

  std::vector<ListRow> rows;
  rows.reserve(SiteInfo.Domains.size());
  for (size_t i = 0; i < SiteInfo.Domains.size(); ++i) {
    std::vector<std::string> cells(9, " ");
    cells[0] = SiteInfo.Domains[i];
    rows.push_back(ListRow{IntToStr(static_cast<long long>(i) + 1), std::move(cells)});
  }
  lvSiteInfo.AddRows(rows);
  lvSiteInfoBak.AddRows(std::move(rows));

  btnSiteInfoRePlay.SetEnabled(true);
  btnSiteInfoRePlayClick();
}

void TSiteInfoPage::btnSiteInfoRePlayClick() {
  if (SiteInfoJob.Starting) return;
  StartGuard starting(SiteInfoJob.Starting);
  StartSiteInfoGroups(&SiteInfo, TickedKinds());
}

void TSiteInfoPage::btnSiteInfoPauseClick() { PauseSiteInfoWorkers(&SiteInfo); }

void TSiteInfoPage::btnSiteInfoResumeClick() { ResumeSiteInfoWorkers(&SiteInfo); }

void TSiteInfoPage::btnSiteInfoStopClick() { StopSiteInfoWorkers(&SiteInfo); }

void TSiteInfoPage::btnInfoSiteStopTimeClick() {
  for (SiteInfoCell* cell : {&SiteInfo.AlexaCell, &SiteInfo.ArchiveCell, &SiteInfo.KeyWordCell}) {
    cell->Timer.SetEnabled(false);
  }
}

void TSiteInfoPage::btnSiteInfoClearMmoClick() {
  mmoSiteInfoDomainList1.Clear();
  lvSiteInfo.Clear();
}

void TSiteInfoPage::btnSiteInfoFileOpenClick() { ImportLines(openDialog_, mmoSiteInfoDomainList1); }

void TSiteInfoPage::btnSiteInfoKeyWordSaveClick() {
  WriteKeyWordList(SettingsFileName(), kSiteInfoKeySection, mmoSiteInfoKeword.Lines());
}

void TSiteInfoPage::btnSiteInfoFileOutClick() { ExportWithDialog(saveDialog_, lvSiteInfo); }

void TSiteInfoPage::lvSiteInfoClick() {
  if (FormStatShow) ShowListViewItem(lvSiteInfo, FormStatShow->mmoStatShow);
}

}  // namespace orlu
