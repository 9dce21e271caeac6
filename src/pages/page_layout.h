// Small helpers shared by the pages of the main window: the page's usable
// size, the style of the result lists, binding a control to its handler and
// the export of a list through the save dialog.
#pragma once

#include <initializer_list>
#include <string>
#include <vector>

#include "pages/list_view_rows.h"
#include "pages/settings_file.h"
#include "platform/text/gbk.h"
#include "platform/ui/ui.h"

namespace orlu {

constexpr unsigned kAnchorAll = kAnchorLeft | kAnchorTop | kAnchorRight | kAnchorBottom;

// Usable width of a page in the window's design size; heights come from the
// page itself, which depends on the heights of the menu and status bars.
constexpr int kPageWidth = 905;
inline int PageHeight(TabSheet& page) { return page.ClientHeight() - 8; }

inline std::vector<std::string> GbkLines(std::initializer_list<const char*> utf8) {
  std::vector<std::string> lines;
  for (const char* line : utf8) lines.push_back(Gbk(line));
  return lines;
}

// The name a screen reader gives a box: its label's caption (GBK) without
// the final colon.
inline std::string NameFromLabel(const std::string& caption) {
  const std::string colon = Gbk("：");
  if (caption.size() >= colon.size() &&
      caption.compare(caption.size() - colon.size(), colon.size(), colon) == 0) {
    return caption.substr(0, caption.size() - colon.size());
  }
  return caption;
}

// The style of every result list: grid lines, whole rows selected.
inline void ReportStyle(ListView& list) {
  list.SetGridLines(true);
  list.SetRowSelect(true);
}

// Runs `handler` of `owner` when `control` is clicked.
template <class C, class Owner>
void Bind(C& control, Owner* owner, void (Owner::*handler)()) {
  control.OnClick = [owner, handler] { (owner->*handler)(); };
}

// The steps of every export button: the save dialog in the program's folder,
// then the list as CSV.
inline void ExportWithDialog(SaveDialog& dialog, ListView& list) {
  dialog.SetInitialDir(ExtractFileDir(ProgramFileName()));
  if (!dialog.Execute()) return;
  ExportListViewCsv(dialog.FileName(), list);
}

}  // namespace orlu
