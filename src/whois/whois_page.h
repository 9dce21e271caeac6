// The batch WHOIS page of the main window (page 0): the domain list and its
// import, the result list with its hidden twin, the row memo, the buttons that
// start the workers, export the list and open the single-domain window, and
// the list's popup menu; the result list as the row store the workers read and
// write.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/ui/ui.h"
#include "whois/whois_batch.h"

namespace orlu {

// An entry of an action list: what a menu item bound to it runs.
struct MenuAction {
  std::string Caption;
  std::function<void()> OnExecute;
  void Execute() const {
    if (OnExecute) OnExecute();
  }
};

// The workers of the page and the rows they answer into. The workers end
// (stopped and joined) before the rows go, and WhoisConfig.ListView is
// cleared when the rows go.
struct WhoisPageJob {
  explicit WhoisPageJob(ListView& list) : Rows(list) {}
  ~WhoisPageJob();
  WhoisPageJob(const WhoisPageJob&) = delete;
  WhoisPageJob& operator=(const WhoisPageJob&) = delete;

  ListViewRows Rows;
  WhoisBatch Workers;
  // Set while "查询" stops the old workers and starts the new ones; a
  // second press arriving meanwhile is ignored.
  bool Starting = false;
  // The lines the rows were built from. "失败重查" asks these, not the memo
  // as it is now: the memo may have been edited or replaced (the suffix
  // expansion) since, and its lines would land in rows of other domains.
  std::vector<std::string> RowLines;
};

class TWhoisPage {
  // First, as the controls below are built on the page.
  TabSheet& page_;
  OpenDialog& openDialog_;
  SaveDialog& saveDialog_;

 public:
  // Built on `page`; imports through `openDialog`, exports through
  // `saveDialog` (both the main window's).
  TWhoisPage(TabSheet& page, OpenDialog& openDialog, SaveDialog& saveDialog);

  Label lbl9{page_};
  Edit edtWhoisGet{page_};
  Button btnWhoisGet{page_};
  Memo mmoWhoisDomain{page_};
  Button btnWhoisSearch{page_};
  Button btnWhoisReSearch{page_};
  Button btnSingleWhois{page_};
  Memo mmoWhoisShow{page_};
  PopupMenu pmWhois;            // popup of lvWhois (declared first, so it outlives it)
  MenuAction actWhoisBaseInfo;  // actlstWhois: "域名基本信息"
  MenuAction actWhoisDetail;    // actlstWhois: "域名详细信息"
  Button btnWhoisExc{page_};
  ListView lvWhois{page_};
  ListView lvWhoisBak{page_};  // hidden twin of lvWhois
  // Kept last, so the workers end before any control goes.
  WhoisPageJob WhoisJob{lvWhois};

  // Clears both lists and builds a row per line of the domain list.
  void FillWhoisRows();
  void btnWhoisGetClick();
  void btnWhoisSearchClick();
  void btnWhoisReSearchClick();
  void btnWhoisExcClick();
  void btnSingleWhoisClick();
  void lvWhoisClick();
  void actWhoisBaseInfoExecute();
  void actWhoisDetailExecute();
};

}  // namespace orlu
