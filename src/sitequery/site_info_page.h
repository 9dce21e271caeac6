// The site-information page of the main window (page 4), as far as it is
// built: the domain and keyword lists, the service boxes, the result list
// with its export and row display.
#pragma once

#include "platform/ui/ui.h"

namespace orlu {

class TSiteInfoPage {
  // First, as the controls below are built on the page.
  TabSheet& page_;
  SaveDialog& saveDialog_;

 public:
  // Built on `page`; exports through `saveDialog` (the main window's).
  TSiteInfoPage(TabSheet& page, SaveDialog& saveDialog);

  PageControl mmoSiteInfoKeyWord{page_};
  TabSheet ts7{mmoSiteInfoKeyWord};
  TabSheet ts8{mmoSiteInfoKeyWord};
  Memo mmoSiteInfoDomainList1{ts7};
  Memo mmoSiteInfoKeword{ts8};
  Button btnSiteInfoKeyWordSave{page_};
  CheckBox chkPr{page_};
  CheckBox chkAlexa{page_};
  CheckBox chkAlink{page_};
  CheckBox chkZhidao{page_};
  CheckBox chkBsite{page_};
  CheckBox chkYlink{page_};
  CheckBox chkArchive{page_};
  CheckBox chkKeyWord{page_};
  Button btn14{page_};
  Button btnSiteInfoFileOut{page_};
  ListView lvSiteInfo{page_};

  // Ticks or clears the eight service boxes.
  void CheckAllSiteInfoColumns();
  void UncheckAllSiteInfoColumns();

  void btnSiteInfoKeyWordSaveClick();
  void btn14Click();
  void btnSiteInfoFileOutClick();
  void lvSiteInfoClick();

 private:
  void SetAllSiteInfoColumns(bool checked);
};

}  // namespace orlu
