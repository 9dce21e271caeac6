// The site-information page of the main window (page 4): the domain and
// keyword lists, the settings boxes, the service boxes, the buttons that
// start, pause, resume, stop and repeat the job's groups, the result list
// with its hidden twin, the export, the keyword save and the switch of the
// status timers; the page's lists and the status window's list as the rows
// the job writes, and one window timer per service cell.
#pragma once

#include <array>
#include <vector>

#include "pages/stat_show_form.h"
#include "platform/ui/ui.h"
#include "sitequery/site_info_job.h"

namespace orlu {

// Binds `SiteInfo` to the page while the main window lives: the result
// lists, the status list and one window timer per cell ticking its
// SiteInfoCellTimerTick whenever the cell's timer is on. Its end stops the
// timers and ends every worker (transfers aborted, pauses lifted) before the
// lists go.
class SiteInfoPageJob {
 public:
  SiteInfoPageJob(ListView& visible, ListView& hidden);
  ~SiteInfoPageJob();
  SiteInfoPageJob(const SiteInfoPageJob&) = delete;
  SiteInfoPageJob& operator=(const SiteInfoPageJob&) = delete;

  ListViewRows Rows;
  ListViewRows BakRows;
  StatusWindowRows StatusRows;
  // The window timers of the cells, in member order.
  std::array<Timer, 7> StatusTimers{Timer{3000, false}, Timer{3000, false}, Timer{3000, false},
                                    Timer{3000, false}, Timer{3000, false}, Timer{3000, false},
                                    Timer{3000, false}};
  // Set while a start or re-query ends the old groups; a press arriving
  // meanwhile is ignored.
  bool Starting = false;
};

class TSiteInfoPage {
  // First, as the controls below are built on the page.
  TabSheet& page_;
  OpenDialog& openDialog_;
  SaveDialog& saveDialog_;

 public:
  // Built on `page`; imports through `openDialog`, exports through
  // `saveDialog` (both the main window's).
  TSiteInfoPage(TabSheet& page, OpenDialog& openDialog, SaveDialog& saveDialog);

  Button btnSiteInfoFileOpen{page_};
  PageControl mmoSiteInfoKeyWord{page_};
  TabSheet ts7{mmoSiteInfoKeyWord};
  TabSheet ts8{mmoSiteInfoKeyWord};
  Memo mmoSiteInfoDomainList1{ts7};
  Memo mmoSiteInfoKeword{ts8};
  Button btnSiteInfoKeyWordSave{page_};
  Button btnSiteInfoPlay{page_};
  Button btnSiteInfoPause{page_};
  Button btnSiteInfoResume{page_};
  Button btnSiteInfoStop{page_};
  Button btnSiteInfoClearMmo{page_};
  Button btnSiteInfoRePlay{page_};
  Label lbl6{page_};
  Edit edtSiteInfoTimeOut{page_};
  Label lbl7{page_};
  Edit edtSiteInfoThCount{page_};
  Label lbl8{page_};
  Edit edtSiteInfoRearchTimes{page_};
  CheckBox chkPr{page_};
  CheckBox chkAlexa{page_};
  CheckBox chkAlink{page_};
  CheckBox chkZhidao{page_};
  CheckBox chkBsite{page_};
  CheckBox chkYlink{page_};
  CheckBox chkArchive{page_};
  CheckBox chkKeyWord{page_};
  Button btn14{page_};
  ListView lvSiteInfo{page_};
  ListView lvSiteInfoBak{page_};  // hidden twin of lvSiteInfo
  Button btnSiteInfoFileOut{page_};
  Button btnInfoSiteStopTime{page_};
  // Kept last: binds SiteInfo to the page and ends its workers before the
  // lists go.
  SiteInfoPageJob SiteInfoJob{lvSiteInfo, lvSiteInfoBak};

  // Ticks or clears the eight service boxes.
  void CheckAllSiteInfoColumns();
  void UncheckAllSiteInfoColumns();

  void btnSiteInfoPlayClick();
  void btnSiteInfoRePlayClick();
  void btnSiteInfoPauseClick();
  void btnSiteInfoResumeClick();
  void btnSiteInfoStopClick();
  void btnInfoSiteStopTimeClick();
  void btnSiteInfoFileOutClick();
  void btnSiteInfoClearMmoClick();
  void btnSiteInfoFileOpenClick();
  void lvSiteInfoClick();
  void btnSiteInfoKeyWordSaveClick();
  void btn14Click();

 private:
  void SetAllSiteInfoColumns(bool checked);
  // The kinds of the ticked service boxes, in the order their groups start.
  std::vector<int> TickedKinds() const;
};

}  // namespace orlu
