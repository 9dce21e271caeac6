// A memo given many lines at once holds them in its read view until the user
// turns to them; in both states it answers the same.
#include <gtest/gtest.h>

#include <QAbstractScrollArea>
#include <QContextMenuEvent>
#include <QDragEnterEvent>
#include <QMimeData>
#include <QCoreApplication>
#include <QFocusEvent>
#include <QApplication>
#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QScrollBar>

#include <climits>

#include "platform/ui/application.h"
#include "platform/ui/controls.h"
#include "platform/ui/form.h"
#include "platform/ui/ui_internal.h"
#include "support/window_test.h"

namespace orlu {
namespace {

using Lines = std::vector<std::string>;

// Sets how many lines a memo takes into its read view for one test.
class ViewThreshold {
 public:
  explicit ViewThreshold(size_t lines) : old_(MemoViewThreshold()) { SetMemoViewThreshold(lines); }
  ~ViewThreshold() { SetMemoViewThreshold(old_); }

 private:
  size_t old_;
};

QPlainTextEdit* EditOf(Memo& memo) {
  return static_cast<QPlainTextEdit*>(memo.Impl()->widget.data());
}

QAbstractScrollArea* ViewOf(Memo& memo) {
  for (auto* area : EditOf(memo)->findChildren<QAbstractScrollArea*>()) {
    if (!area->isHidden()) return area;
  }
  return nullptr;
}

Lines Numbered(int count) {
  Lines lines;
  for (int i = 0; i < count; ++i) lines.push_back("line" + std::to_string(i) + ".com");
  return lines;
}

// A memo with both scroll bars on a shown form.
struct ShownMemo {
  ShownMemo() {
    form.SetBounds(0, 0, 300, 200);
    memo.SetBounds(0, 0, 250, 150);
    memo.SetScrollBars(ScrollBars::Both);
    form.Show();
  }
  Form form;
  Memo memo{form};
};

// Two memos, one kept in the editor and one taking every content set in one
// piece into its read view, given the same calls.
struct Pair {
  Form form;
  Memo editor{form};
  Memo view{form};
  int editorChanges = 0;
  int viewChanges = 0;

  Pair() {
    editor.SetScrollBars(ScrollBars::Both);
    view.SetScrollBars(ScrollBars::Both);
    editor.OnChange = [this] { ++editorChanges; };
    view.OnChange = [this] { ++viewChanges; };
  }
  void SetLines(const Lines& lines) {
    {
      ViewThreshold never(SIZE_MAX);
      editor.SetLines(lines);
    }
    ViewThreshold always(1);
    view.SetLines(lines);
  }
  void Add(const std::string& line) {
    editor.Add(line);
    view.Add(line);
  }
  void Same(const std::string& what) {
    SCOPED_TRACE(what);
    EXPECT_EQ(view.Lines(), editor.Lines());
    EXPECT_EQ(view.Text(), editor.Text());
    EXPECT_EQ(view.LineCount(), editor.LineCount());
    EXPECT_EQ(viewChanges, editorChanges);
  }
};

TEST(MemoView, BothStatesGiveTheSameLinesTextAndChanges) {
  const std::vector<Lines> cases{
      {"", ""},
      {"a", "", "b", ""},
      {"\xD6\xD0\xCE\xC4", "b\xB6\xFE"},
      {"c\r", "d\re\r\nf", ""},
      {"x\n", "\r\n", "\r", "\n\r"},
      {"\x81", "a\xFF", "\xA1\xA1"},  // not GBK, an ideographic space
      {"x\xB6", "\xAA\xA1", "\xFE\xFE", "\x80", "\xB6\x7F"},  // cut, unassigned
  };
  for (const Lines& lines : cases) {
    const std::string name = testing::PrintToString(lines);
    Pair p;
    p.SetLines(lines);
    p.Same("set " + name);
    p.Add("y");
    p.Add("");
    p.Add("p\rq\r\nr");
    p.Add("z\r");
    p.Add("\xD6\xD0");
    p.Same("added to " + name);
    EXPECT_TRUE(MemoHoldsLinesInView(p.view)) << name;
    p.view.Clear();
    p.editor.Clear();
    p.Same("cleared " + name);
    EXPECT_FALSE(MemoHoldsLinesInView(p.view));
  }

  // The empty list stays in the editor: an empty memo has no lines.
  Pair p;
  p.SetLines({});
  p.Same("no lines");
  EXPECT_TRUE(p.view.Lines().empty());

  // A whole text replaces the held lines through the editor.
  p.SetLines({"a", "b"});
  ASSERT_TRUE(MemoHoldsLinesInView(p.view));
  p.view.SetText("x\r\ny");
  p.editor.SetText("x\r\ny");
  EXPECT_FALSE(MemoHoldsLinesInView(p.view));
  p.Same("text set");
  EXPECT_EQ(p.view.Text(), "x\r\ny");
}

TEST(MemoView, ALargeContentIsHeldUntilTheUserTurnsToIt) {
  ShownMemo shown;
  Form& form = shown.form;
  Memo& memo = shown.memo;
  const Lines lines = Numbered(static_cast<int>(MemoViewThreshold()));
  int changes = 0;
  memo.OnChange = [&] { ++changes; };
  memo.SetLines(lines);
  EXPECT_TRUE(MemoHoldsLinesInView(memo));
  EXPECT_EQ(changes, 1);

  // One line fewer goes to the editor directly, as does any content of a
  // memo that wraps its words.
  memo.SetLines(Lines(lines.begin() + 1, lines.end()));
  EXPECT_FALSE(MemoHoldsLinesInView(memo));
  EXPECT_EQ(changes, 2);
  Memo wrapping(form);
  wrapping.SetLines(lines);
  EXPECT_FALSE(MemoHoldsLinesInView(wrapping));
}

// Each way into the editor (a click, a key, a context menu, focus by Tab, a
// drag over it) keeps every line, fires no change and leaves the caret at the
// start.
TEST(MemoView, ClickKeyContextMenuAndTabOpenTheEditor) {
  ViewThreshold low(100);
  const Lines lines = Numbered(1000);
  const std::vector<std::string> ways{"click", "key", "menu", "tab", "drag"};
  for (const std::string& way : ways) {
    SCOPED_TRACE(way);
    ShownMemo shown;
    Memo& memo = shown.memo;
    memo.SetLines(lines);
    ASSERT_TRUE(MemoHoldsLinesInView(memo));
    int changes = 0;
    memo.OnChange = [&] { ++changes; };
    QPlainTextEdit* edit = EditOf(memo);
    QAbstractScrollArea* view = ViewOf(memo);
    ASSERT_NE(view, nullptr);
    const QPoint at(20, 20);
    if (way == "click") {
      QMouseEvent press(QEvent::MouseButtonPress, at, view->viewport()->mapToGlobal(at),
                        Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
      QCoreApplication::sendEvent(view->viewport(), &press);
    } else if (way == "key") {
      QKeyEvent key(QEvent::KeyPress, Qt::Key_Shift, Qt::ShiftModifier);
      QCoreApplication::sendEvent(edit, &key);
    } else if (way == "menu") {
      QContextMenuEvent menu(QContextMenuEvent::Mouse, at, view->viewport()->mapToGlobal(at));
      QCoreApplication::sendEvent(view->viewport(), &menu);
      for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w->inherits("QMenu") && w->isVisible()) w->close();
      }
    } else if (way == "drag") {
      QMimeData text;
      text.setText("dropped");
      QDragEnterEvent enter(at, Qt::CopyAction, &text, Qt::LeftButton, Qt::NoModifier);
      QCoreApplication::sendEvent(view->viewport(), &enter);
    } else {
      QFocusEvent focus(QEvent::FocusIn, Qt::TabFocusReason);
      QCoreApplication::sendEvent(edit, &focus);
    }
    EXPECT_FALSE(MemoHoldsLinesInView(memo));
    EXPECT_EQ(memo.Lines(), lines);
    EXPECT_EQ(edit->textCursor().position(), 0);
    EXPECT_EQ(changes, 0);
    EXPECT_FALSE(edit->document()->isUndoAvailable());
    ProcessEventsFor(std::chrono::milliseconds(0));
    EXPECT_EQ(ViewOf(memo), nullptr);
    // From now on it is the editor: typing changes the text.
    QKeyEvent type(QEvent::KeyPress, Qt::Key_Q, Qt::NoModifier, "q");
    QCoreApplication::sendEvent(edit, &type);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(memo.Lines().front(), "qline0.com");
  }
}

// Focus set from code, and a scroll of the view, change nothing; a click
// then opens the editor at the line in sight.
TEST(MemoView, ScrollingStaysInTheViewAndTheEditorOpensWhereItWas) {
  ViewThreshold low(100);
  ShownMemo shown;
  Memo& memo = shown.memo;
  memo.SetLines(Numbered(1000));
  memo.SetFocus();
  QAbstractScrollArea* view = ViewOf(memo);
  ASSERT_NE(view, nullptr);
  view->verticalScrollBar()->setValue(500);
  ProcessEventsFor(std::chrono::milliseconds(10));
  EXPECT_TRUE(MemoHoldsLinesInView(memo));
  const QPoint at(20, 20);
  QMouseEvent press(QEvent::MouseButtonPress, at, view->viewport()->mapToGlobal(at),
                    Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(view->viewport(), &press);
  ASSERT_FALSE(MemoHoldsLinesInView(memo));
  EXPECT_EQ(EditOf(memo)->verticalScrollBar()->value(), 500);
  // The editor has the memo's scroll bars again.
  EXPECT_EQ(EditOf(memo)->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
  EXPECT_EQ(EditOf(memo)->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
  EXPECT_EQ(EditOf(memo)->textCursor().position(), 0);
}

// At rest the view looks as the editor does with the same lines.
TEST(MemoView, TheViewLooksAsTheEditor) {
  Lines lines = Numbered(300);
  lines[1] = "\xD6\xD0\xCE\xC4 " + std::string(80, 'w');
  Pair p;
  p.form.SetBounds(0, 0, 600, 300);
  p.editor.SetBounds(0, 0, 280, 200);
  p.view.SetBounds(300, 0, 280, 200);
  p.form.Show();
  p.SetLines(lines);
  ASSERT_TRUE(MemoHoldsLinesInView(p.view));
  EditOf(p.editor)->setCursorWidth(0);  // no caret in the picture
  ProcessEventsFor(std::chrono::milliseconds(20));
  QAbstractScrollArea* edit = EditOf(p.editor);
  QAbstractScrollArea* view = ViewOf(p.view);
  ASSERT_NE(view, nullptr);
  EXPECT_EQ(view->geometry(), edit->rect());
  for (auto bar : {&QAbstractScrollArea::verticalScrollBar, &QAbstractScrollArea::horizontalScrollBar}) {
    EXPECT_EQ((view->*bar)()->maximum(), (edit->*bar)()->maximum());
    EXPECT_EQ((view->*bar)()->pageStep(), (edit->*bar)()->pageStep());
    EXPECT_EQ((view->*bar)()->isVisible(), (edit->*bar)()->isVisible());
  }
  const QImage a = edit->grab().toImage();
  const QImage b = EditOf(p.view)->grab().toImage();
  ASSERT_EQ(a.size(), b.size());
  EXPECT_TRUE(a == b);
}

}  // namespace
}  // namespace orlu
