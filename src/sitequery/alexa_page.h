// The batch ranking page of the main window (page 3): the domain list with
// its import, the settings boxes, the buttons that start, pause, resume, stop
// and repeat the job, the result list with its hidden twin, the export and
// the switch of the job's status timer; the page's lists and the status
// window's list as the rows the job writes, and the window timer that follows
// the job's status timer.
#pragma once

#include "pages/stat_show_form.h"
#include "platform/ui/ui.h"
#include "sitequery/alexa_job.h"

namespace orlu {

// Binds `AlexaSea` to the page while the main window lives: the result lists,
// the status list and a window timer ticking AlexaSeaTimerTick whenever the
// job's timer is on. Its end stops the timer and ends the job's workers
// (transfers aborted, pauses lifted) before the lists go.
class AlexaPageJob {
 public:
  AlexaPageJob(ListView& visible, ListView& hidden);
  ~AlexaPageJob();
  AlexaPageJob(const AlexaPageJob&) = delete;
  AlexaPageJob& operator=(const AlexaPageJob&) = delete;

  // Points AlexaSea at these lists and this timer (done when made).
  void Bind();

  ListViewRows Rows;
  ListViewRows BakRows;
  StatusWindowRows StatusRows;
  Timer StatusTimer{3000, false};
  // Set while a start or re-query ends the old group; a press arriving
  // meanwhile is ignored.
  bool Starting = false;
};

class TAlexaPage {
  // First, as the controls below are built on the page.
  TabSheet& page_;
  OpenDialog& openDialog_;
  SaveDialog& saveDialog_;

 public:
  // Built on `page`; imports through `openDialog`, exports through
  // `saveDialog` (both the main window's).
  TAlexaPage(TabSheet& page, OpenDialog& openDialog, SaveDialog& saveDialog);

  Button btnAlexaPutOut{page_};
  ListView lvAlexa{page_};
  Button btnAlexaFileOpen{page_};
  PageControl pgcAlexaDomainLst{page_};
  TabSheet ts5{pgcAlexaDomainLst};
  TabSheet ts6{pgcAlexaDomainLst};
  Memo mmoAlexaDomainList1{ts5};
  Memo mmoAlexaDomainList2{ts6};
  Button btnAlexaSeaPlay{page_};
  Button btnAlexaSeaPause{page_};
  Button btnAlexaSeaResume{page_};
  Button btnAlexaSeaStop{page_};
  Button btnAlexaClearMmo{page_};
  Button btnAlexaSeaRePlay{page_};
  Label lbl3{page_};
  Edit edtAlexaReadTimeOut{page_};
  Label lbl4{page_};
  Edit edtAlexaThCount{page_};
  Label lbl5{page_};
  Edit edtReSearchTimes{page_};
  CheckBox chkShowLv{page_};
  ListView lvAlexaBak{page_};  // hidden twin of lvAlexa
  Button btnManualTimer{page_};
  Button btn11{page_};
  // Kept last: binds AlexaSea to the page and ends its workers before the
  // lists go.
  AlexaPageJob AlexaJob{lvAlexa, lvAlexaBak};

  void btnAlexaFileOpenClick();
  void btnAlexaClearMmoClick();
  void btnAlexaSeaPlayClick();
  void btnAlexaSeaPauseClick();
  void btnAlexaSeaResumeClick();
  void btnAlexaSeaStopClick();
  void btnAlexaSeaRePlayClick();
  void btnManualTimerClick();
  void btn11Click();
  void btnAlexaPutOutClick();
  void lvAlexaClick();
};

}  // namespace orlu
