// The status window: the status rows of the batch jobs and a memo that
// collects the rows picked in the result lists. It stays on top and docks
// under the main window whenever it paints.
#pragma once

#include <string>
#include <vector>

#include "platform/text/rows.h"
#include "platform/ui/ui.h"

namespace orlu {

class TFormStatShow : public Form {
 public:
  TFormStatShow();
  ~TFormStatShow() override;

  Memo mmoStatShow{*this};
  ListView lvStatShow{*this};

  // Puts the window directly under the main window (DockedStatusPlace).
  void FormPaint();
  // Shows the window under the main window: placed before it shows and again
  // once its frame is known.
  void ShowDocked();
  // Adds a status row at the end of the list, shows the window docked and
  // scrolls the list to the new row. Returns the row's index.
  int AddStatusRow(const std::string& caption, std::vector<std::string> cells);
};

// Where the status window's frame goes: left edges equal and its top at the
// main window's bottom edge, frames (title bars) included; where the work
// area of the screen ends, moved up and to the left as far as it must to
// stay whole on the screen (never above or left of the work area).
Rect DockedStatusPlace(const Rect& mainFrame, const Rect& statusFrame, const Rect& workArea);

extern TFormStatShow* FormStatShow;

// The status window's job list, looked up each time (the status window may
// be gone before the main window at the end).
class StatusWindowRows : public RowStore {
 public:
  int RowCount() const override;
  int AddRow(const std::string& caption, std::vector<std::string> cells) override;
  void Clear() override;
  std::string Cell(int row, int index) const override;
  void SetCell(int row, int index, const std::string& text) override;
};

}  // namespace orlu
