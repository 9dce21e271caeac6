// The batch ranking page of the main window: the domain list with its import,
// the settings boxes, the buttons that start, pause, resume, stop and repeat
// the job, the result list with its hidden twin, the export and the switch of
// the job's status timer.
#include "sitequery/alexa_page.h"

#include <utility>

#include "pages/list_view_rows.h"
#include "pages/page_host.h"
#include "pages/page_layout.h"
#include "pages/stat_show_form.h"
#include "platform/text/errors.h"
#include "platform/text/gbk.h"
#include "platform/thread/start_guard.h"
#include "platform/ui/import_lines.h"
#include "sitequery/page_start.h"

namespace orlu {

// --- The job while the page lives ---

AlexaPageJob::AlexaPageJob(ListView& visible, ListView& hidden) : Rows(visible), BakRows(hidden) {
  Bind();
}

void AlexaPageJob::Bind() {
  AlexaSea.ResultLv = &Rows;
  AlexaSea.ResultBakLv = &BakRows;
  FollowStatusTimer(StatusTimer, AlexaSea.Timer, [] { AlexaSeaTimerTick(&AlexaSea); });
}

AlexaPageJob::~AlexaPageJob() {
  StopFollowing(StatusTimer, AlexaSea.ResultLv == &Rows ? &AlexaSea.Timer : nullptr);
  if (AlexaSea.StatusLv == &StatusRows) AlexaSea.StatusLv = nullptr;
  // The workers' last answers still land in the lists while they end.
  EndAlexaWorkers(&AlexaSea);
  if (AlexaSea.ResultLv == &Rows) AlexaSea.ResultLv = nullptr;
  if (AlexaSea.ResultBakLv == &BakRows) AlexaSea.ResultBakLv = nullptr;
}

// --- Page ---

TAlexaPage::TAlexaPage(TabSheet& page, OpenDialog& openDialog, SaveDialog& saveDialog)
    : page_(page), openDialog_(openDialog), saveDialog_(saveDialog) {
  const int pageHeight = PageHeight(page);
  btnAlexaFileOpen.SetCaption(Gbk("导入"));
  btnAlexaFileOpen.SetBounds(10, 8, 75, 25);
  Bind(btnAlexaFileOpen, this, &TAlexaPage::btnAlexaFileOpenClick);

  pgcAlexaDomainLst.SetBounds(10, 40, 200, pageHeight - 40);
  pgcAlexaDomainLst.SetAnchors(kAnchorLeft | kAnchorTop | kAnchorBottom);
  ts5.SetCaption(Gbk("全部域名"));
  ts6.SetCaption(Gbk("失败域名"));
  mmoAlexaDomainList1.SetAccessibleName(Gbk("全部域名"));
  mmoAlexaDomainList2.SetAccessibleName(Gbk("失败域名"));
  pgcAlexaDomainLst.SetActivePageIndex(0);
  mmoAlexaDomainList1.SetAlign(Align::Client);
  mmoAlexaDomainList1.SetScrollBars(ScrollBars::Both);
  mmoAlexaDomainList2.SetAlign(Align::Client);

  auto button = [this](Button& b, const char* caption, int left, int width,
                       void (TAlexaPage::*handler)()) {
    b.SetCaption(Gbk(caption));
    b.SetBounds(left, 8, width, 25);
    Bind(b, this, handler);
  };
  button(btnAlexaSeaPlay, "查询", 220, 55, &TAlexaPage::btnAlexaSeaPlayClick);
  button(btnAlexaSeaPause, "暂停", 280, 55, &TAlexaPage::btnAlexaSeaPauseClick);
  button(btnAlexaSeaResume, "继续", 340, 55, &TAlexaPage::btnAlexaSeaResumeClick);
  button(btnAlexaSeaStop, "停止", 400, 55, &TAlexaPage::btnAlexaSeaStopClick);
  button(btnAlexaClearMmo, "清空", 460, 55, &TAlexaPage::btnAlexaClearMmoClick);
  button(btnAlexaSeaRePlay, "重查", 520, 55, &TAlexaPage::btnAlexaSeaRePlayClick);
  button(btnAlexaPutOut, "导出", 600, 75, &TAlexaPage::btnAlexaPutOutClick);
  button(btnManualTimer, "停止定时器", 680, 80, &TAlexaPage::btnManualTimerClick);
  button(btn11, "ALexa详细信息", 765, 110, &TAlexaPage::btn11Click);
  btnAlexaSeaRePlay.SetEnabled(false);

  struct BoxDef {
    Label& label;
    const char* caption;
    Edit& edit;
    const char* text;
    int left;
    int labelWidth;
  };
  const BoxDef boxes[] = {
      {lbl3, "超时：", edtAlexaReadTimeOut, "5", 220, 40},
      {lbl4, "线程：", edtAlexaThCount, "10", 320, 40},
      {lbl5, "重查次数：", edtReSearchTimes, "100", 420, 65},
  };
  for (const BoxDef& b : boxes) {
    b.label.SetCaption(Gbk(b.caption));
    b.label.SetBounds(b.left, 44, b.labelWidth, 13);
    b.edit.SetText(b.text);
    b.edit.SetBounds(b.left + b.labelWidth, 40, 45, 21);
    b.edit.SetAccessibleName(NameFromLabel(Gbk(b.caption)));
  }
  chkShowLv.SetCaption(Gbk("显示数据"));
  chkShowLv.SetBounds(560, 40, 90, 21);
  chkShowLv.SetChecked(true);

  for (ListView* list : {&lvAlexa, &lvAlexaBak}) {
    list->SetBounds(220, 70, kPageWidth - 240, pageHeight - 70);
    ReportStyle(*list);
    list->SetColumns({{"ID", 50}, {Gbk("域名"), 100}, {Gbk("排名"), 200}});
  }
  lvAlexa.SetAnchors(kAnchorAll);
  lvAlexa.SetMultiSelect(true);
  Bind(lvAlexa, this, &TAlexaPage::lvAlexaClick);
  lvAlexaBak.Hide();
}

void TAlexaPage::btnAlexaFileOpenClick() { ImportLines(openDialog_, mmoAlexaDomainList1); }

void TAlexaPage::btnAlexaClearMmoClick() {
  mmoAlexaDomainList1.Clear();
  mmoAlexaDomainList2.Clear();
}

void TAlexaPage::btnAlexaSeaPlayClick() {
  if (AlexaJob.Starting) return;
  // The boxes first: one that holds no number changes nothing.
  const int seconds = StrToInt(edtAlexaReadTimeOut.Text());
  const int threadCount = StrToInt(edtAlexaThCount.Text());
  const int retryCount = StrToInt(edtReSearchTimes.Text());
  const bool show = chkShowLv.Checked();

  lvAlexa.Clear();
  lvAlexaBak.Clear();
  if (threadCount > kMaxAlexaThreads) return;

  {
    StartGuard starting(AlexaJob.Starting);
    StartAlexaSea(&AlexaSea, SecondsToMs(seconds), threadCount, mmoAlexaDomainList1.Lines(),
                  retryCount, show, &AlexaJob.StatusRows, 1);
  }

  std::vector<ListRow> rows;
  rows.reserve(AlexaSea.Domains.size());
  for (size_t i = 0; i < AlexaSea.Domains.size(); ++i) {
    rows.push_back(ListRow{IntToStr(static_cast<long long>(i) + 1), {AlexaSea.Domains[i], " "}});
  }
  if (show) lvAlexa.AddRows(rows);
  lvAlexaBak.AddRows(std::move(rows));

  btnAlexaSeaRePlay.SetEnabled(true);
  StartAlexaWorkers(&AlexaSea);
}

void TAlexaPage::btnAlexaSeaPauseClick() { PauseAlexaWorkers(&AlexaSea); }

void TAlexaPage::btnAlexaSeaResumeClick() { ResumeAlexaWorkers(&AlexaSea); }

void TAlexaPage::btnAlexaSeaStopClick() { StopAlexaWorkers(&AlexaSea); }

void TAlexaPage::btnAlexaSeaRePlayClick() {
  if (AlexaJob.Starting) return;
  StartGuard starting(AlexaJob.Starting);
  StartAlexaWorkers(&AlexaSea);
}

void TAlexaPage::btnManualTimerClick() { AlexaSea.Timer.SetEnabled(false); }

void TAlexaPage::btn11Click() { MainPageHost->ShowPage(kPageAlexaDetail); }

void TAlexaPage::btnAlexaPutOutClick() { ExportWithDialog(saveDialog_, lvAlexa); }

void TAlexaPage::lvAlexaClick() {
  if (FormStatShow) ShowListViewItem(lvAlexa, FormStatShow->mmoStatShow);
}

}  // namespace orlu
