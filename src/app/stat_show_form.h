// The status window: the status rows of the batch jobs and a memo that
// collects the rows picked in the result lists. It stays on top and docks
// under the main window whenever it paints.
#pragma once

#include "platform/ui/ui.h"

namespace orlu {

class TFormStatShow : public Form {
 public:
  TFormStatShow();
  ~TFormStatShow() override;

  Memo mmoStatShow{*this};
  ListView lvStatShow{*this};

  // Puts the window directly under the main window (left edges equal, top at
  // the main window's bottom edge).
  void FormPaint();
};

extern TFormStatShow* FormStatShow;

}  // namespace orlu
