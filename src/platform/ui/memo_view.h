// The memo's read view, shared by the memo (memo.cpp) and the view itself
// (memo_view.cpp): the memo's inner state, and the calls by which the memo
// puts a large content into the view, takes it back into the editor and
// keeps the view in step.
#pragma once

#include <QObject>
#include <QPlainTextEdit>
#include <QPointer>
#include <QString>

#include <string>
#include <vector>

#include "platform/ui/ui_internal.h"

namespace orlu {

class MemoView;

struct MemoImpl : ControlImpl {
  QPlainTextEdit* edit = nullptr;
  QPointer<MemoView> view;     // shown while the lines are held here
  QPointer<QObject> watcher;   // keys and focus of the editor
  std::vector<std::string> lines;
  bool viewing = false;
  bool silent = false;  // the editor's change signal is not the user's change
  bool wrap = true;
  // The scroll bars the memo is given. While the read view shows, it has
  // them and the editor has none (they would sit on top of the view).
  Qt::ScrollBarPolicy vertical = Qt::ScrollBarAlwaysOff;
  Qt::ScrollBarPolicy horizontal = Qt::ScrollBarAlwaysOff;
};

// Replaces the editor's whole text (memo.cpp).
void SetEditorText(MemoImpl* impl, const QString& text);
// The lines as one text in the editor's form, each followed by LF and any
// break inside a line made LF (memo.cpp).
std::string EditorText(const std::vector<std::string>& lines);

// The editor shown again. With `keepLines` it takes the held lines (without
// a change event: the content stays what it was); otherwise the caller
// gives it its new content.
void LeaveView(MemoImpl* impl, bool keepLines);
// Puts `lines` (already in the editor's form) into the read view.
void EnterView(MemoImpl* impl, std::vector<std::string> lines);
// Lines were added to the held lines: the view's ranges follow and it
// repaints.
void ViewLinesAdded(MemoImpl* impl);
// The memo's scroll bars changed: the view takes them.
void ViewFollowBars(MemoImpl* impl);
// Watches the editor's size, keys and focus for the view.
void WatchEditor(MemoImpl* impl);
// The memo goes: its watcher and view go first, so nothing of them reaches
// it afterwards.
void DropView(MemoImpl* impl);

}  // namespace orlu
