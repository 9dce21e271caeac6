// The keyword-tools page of the main window (page 6), as far as it is built:
// the button that opens the page-fetch window.
#pragma once

#include "platform/ui/ui.h"

namespace orlu {

class TKeyWordPage {
  // First, as the controls below are built on the page.
  TabSheet& page_;

 public:
  explicit TKeyWordPage(TabSheet& page);

  Button btnOpenKeyWordMidu{page_};

  void btnOpenKeyWordMiduClick();
};

}  // namespace orlu
