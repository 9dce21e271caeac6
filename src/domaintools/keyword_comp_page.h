// The keyword-file comparison page of the main window (page 9), as far as it
// is built: the result list with its export and row display.
#pragma once

#include "platform/ui/ui.h"

namespace orlu {

class TKeyWordCompPage {
  // First, as the controls below are built on the page.
  TabSheet& page_;
  SaveDialog& saveDialog_;

 public:
  // Built on `page`; exports through `saveDialog` (the main window's).
  TKeyWordCompPage(TabSheet& page, SaveDialog& saveDialog);

  Button btnKeyWordFilesOut{page_};
  ListView lvKeyWord{page_};

  void btnKeyWordFilesOutClick();
  void lvKeyWordClick();
};

}  // namespace orlu
