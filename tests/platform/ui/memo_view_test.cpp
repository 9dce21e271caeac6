// Memo lines in the editor; a memo given many lines at once holds them in its
// read view until the user turns to them, and in both states answers the same.
#include <gtest/gtest.h>

#include <QAbstractScrollArea>
#include <QCoreApplication>
#include <QFocusEvent>
#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextDocument>

#include <cstdint>

#include "platform/ui/ui.h"
#include "platform/ui/ui_internal.h"
#include "support/window_test.h"

namespace orlu {
namespace {

using Lines = std::vector<std::string>;

// Sets how many lines a memo takes into its read view for one test.
struct ViewThreshold {
  explicit ViewThreshold(size_t lines) : old(MemoViewThreshold()) { SetMemoViewThreshold(lines); }
  ~ViewThreshold() { SetMemoViewThreshold(old); }
  size_t old;
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

// The split itself is SplitLines'; here the editor's own handling of CR.
TEST(Memo, LinesAndTextKeepEmptyLinesBreaksAndGbk) {
  Form form;
  Memo memo(form);
  memo.SetText("a\r\nb\nc\rd\r\r\n");
  EXPECT_EQ(memo.Lines(), (Lines{"a", "b", "c", "d", ""}));
  const Lines lines{"a", "", "\xD6\xD0\xCE\xC4", "b", ""};
  memo.SetLines(lines);
  EXPECT_EQ(memo.Lines(), lines);
  EXPECT_EQ(memo.Text(), "a\r\n\r\n\xD6\xD0\xCE\xC4\r\nb\r\n\r\n");
  // Text typed without a final break: the new line still starts on its own.
  memo.SetText("x");
  memo.Add("");
  memo.Add("\xB6\xFE");
  EXPECT_EQ(memo.Lines(), (Lines{"x", "", "\xB6\xFE"}));
}

// New lines: caret and view at the start, no undo, one change event, breaks inside lines split.
TEST(Memo, SetLinesStartsAtTheTopWithoutUndo) {
  ShownMemo shown;
  Memo& memo = shown.memo;
  QPlainTextEdit* edit = EditOf(memo);
  memo.SetLines(Lines(500, std::string(80, 'x')));
  edit->moveCursor(QTextCursor::End);
  ProcessEventsFor(std::chrono::milliseconds(20));
  ASSERT_GT(edit->verticalScrollBar()->value(), 0);
  edit->horizontalScrollBar()->setValue(edit->horizontalScrollBar()->maximum());
  ASSERT_GT(edit->horizontalScrollBar()->value(), 0);

  int changes = 0;
  memo.OnChange = [&] { ++changes; };
  memo.SetLines({"\xD6\xD0", "b", "c\r", "d\re\r\nf", ""});
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(edit->textCursor().position(), 0);
  EXPECT_EQ(edit->verticalScrollBar()->value(), 0);
  EXPECT_EQ(edit->horizontalScrollBar()->value(), 0);
  EXPECT_FALSE(edit->document()->isUndoAvailable());
  EXPECT_EQ(memo.Lines(), (Lines{"\xD6\xD0", "b", "c", "", "d", "e", "f", ""}));

  memo.SetText("x\r\ny");
  EXPECT_EQ(edit->textCursor().position(), 0);
  EXPECT_FALSE(edit->document()->isUndoAvailable());
  EXPECT_EQ(changes, 2);
}

// A wrapping memo holding a run of more than 16384 characters without a blank wraps anywhere
// (word wrapping lays such a run out in quadratic time); ordinary words keep word wrapping.
TEST(Memo, ARunTooLongForWordWrappingIsWrappedAnywhere) {
  Form form;
  Memo memo(form);
  QPlainTextEdit* edit = EditOf(memo);
  const std::string run(16385, 'a');
  std::string words;
  while (words.size() < 40000) words += "word ";
  const auto mode = [&] { return edit->wordWrapMode(); };
  constexpr auto kWords = QTextOption::WrapAtWordBoundaryOrAnywhere;

  memo.SetLines({"x", words, run.substr(1)});
  EXPECT_EQ(mode(), kWords);
  memo.SetLines({"x", "y " + run});
  EXPECT_EQ(mode(), QTextOption::WrapAnywhere);
  memo.SetText("short");
  EXPECT_EQ(mode(), kWords);
  memo.Add(run);
  EXPECT_EQ(mode(), QTextOption::WrapAnywhere);
  memo.Add("z");  // still held
  EXPECT_EQ(mode(), QTextOption::WrapAnywhere);
  memo.Clear();
  EXPECT_EQ(mode(), kWords);
  memo.Add(run);  // the whole content of an empty memo
  EXPECT_EQ(mode(), QTextOption::WrapAnywhere);
  memo.Clear();
  memo.Add("a\r\n" + run.substr(1));
  EXPECT_EQ(mode(), kWords);
  EXPECT_EQ(memo.Lines(), (Lines{"a", run.substr(1)}));
}

// One memo kept in the editor, one taking every content into its read view.
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
    ViewThreshold never(SIZE_MAX);
    editor.SetLines(lines);
    SetMemoViewThreshold(1);
    view.SetLines(lines);
  }
  void Same(const std::string& what) {
    EXPECT_EQ(std::tuple(view.Lines(), view.Text(), view.LineCount(), viewChanges),
              std::tuple(editor.Lines(), editor.Text(), editor.LineCount(), editorChanges))
        << what;
  }
};

TEST(MemoView, BothStatesGiveTheSameLinesTextAndChanges) {
  const std::vector<Lines> cases{
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
    for (const char* line : {"y", "", "p\rq\r\nr", "z\r", "\xD6\xD0"}) {
      p.editor.Add(line);
      p.view.Add(line);
    }
    p.Same("added to " + name);
    EXPECT_TRUE(MemoHoldsLinesInView(p.view)) << name;
    p.view.Clear();
    p.editor.Clear();
    p.Same("cleared " + name);
    EXPECT_FALSE(MemoHoldsLinesInView(p.view));
  }

  Pair p;
  p.SetLines({});
  p.Same("no lines");
  EXPECT_TRUE(p.view.Lines().empty());

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
  Memo& memo = shown.memo;
  const Lines lines = Numbered(static_cast<int>(MemoViewThreshold()));
  int changes = 0;
  memo.OnChange = [&] { ++changes; };
  memo.SetLines(lines);
  EXPECT_TRUE(MemoHoldsLinesInView(memo));
  EXPECT_EQ(changes, 1);

  memo.SetLines(Lines(lines.begin() + 1, lines.end()));
  EXPECT_FALSE(MemoHoldsLinesInView(memo));
  EXPECT_EQ(changes, 2);
  Memo wrapping(shown.form);  // a memo that wraps its words never holds a view
  wrapping.SetLines(lines);
  EXPECT_FALSE(MemoHoldsLinesInView(wrapping));
}

// A text of many lines added to an empty memo (a fetched page) goes to the
// view as if set in one piece; added to a memo that holds text, or to one
// that wraps, it goes to the editor.
TEST(MemoView, ALargeTextAddedToAnEmptyMemoIsHeld) {
  Pair p;
  const std::string page = "a\r\n\xD6\xD0\rb\nc\r";
  {
    ViewThreshold never(SIZE_MAX);
    p.editor.Add(page);
  }
  ViewThreshold three(3);
  p.view.Add(page);
  EXPECT_TRUE(MemoHoldsLinesInView(p.view));
  p.Same("added");
  Memo wrapping(p.form);
  wrapping.Add(page);
  EXPECT_FALSE(MemoHoldsLinesInView(wrapping));
  EXPECT_EQ(p.view.Lines(), (Lines{"a", "\xD6\xD0", "b", "c", ""}));

  p.view.Clear();
  p.view.Add("x\r\ny");  // two lines: below the mark
  EXPECT_FALSE(MemoHoldsLinesInView(p.view));
  p.view.Add(page);  // not empty any more
  EXPECT_FALSE(MemoHoldsLinesInView(p.view));
  EXPECT_EQ(p.view.Lines(), (Lines{"x", "y", "a", "\xD6\xD0", "b", "c", ""}));
}

// A click or focus by Tab opens the editor: every line, no change event, caret at the start.
TEST(MemoView, ClickAndTabOpenTheEditor) {
  ViewThreshold low(100);
  const Lines lines = Numbered(1000);
  for (const bool click : {true, false}) {
    SCOPED_TRACE(click);
    ShownMemo shown;
    Memo& memo = shown.memo;
    memo.SetLines(lines);
    int changes = 0;
    memo.OnChange = [&] { ++changes; };
    QPlainTextEdit* edit = EditOf(memo);
    QAbstractScrollArea* view = ViewOf(memo);
    ASSERT_NE(view, nullptr);
    if (click) {
      const QPoint at(20, 20);
      QMouseEvent press(QEvent::MouseButtonPress, at, view->viewport()->mapToGlobal(at),
                        Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
      QCoreApplication::sendEvent(view->viewport(), &press);
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
    QKeyEvent type(QEvent::KeyPress, Qt::Key_Q, Qt::NoModifier, "q");
    QCoreApplication::sendEvent(edit, &type);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(memo.Lines().front(), "qline0.com");
  }
}

// Focus from code and scrolling keep the view; the editor opens at the line in sight.
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
  EXPECT_EQ(EditOf(memo)->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
  EXPECT_EQ(EditOf(memo)->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
  EXPECT_EQ(EditOf(memo)->textCursor().position(), 0);
}

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

// Lines handed over whole, added or taken, end as SetLines with the old and the new lines would
// (breaks inside split, bytes the editor changes changed), a content large enough goes to the view
// without a copy, and the text's length is known without making the text.
TEST(MemoView, LinesHandedOverWholeEndAsSetLinesWouldLeaveThem) {
  for (const Lines& added : {Lines{"y", "", "p\rq\r\nr", "z\r", "\xD6\xD0"}, Lines{"\x81", "a\xFF"}}) {
    const std::string name = testing::PrintToString(added);
    Pair p;
    p.SetLines({"a", "\xB6\xFE", ""});
    p.editor.AddLines(added);
    p.view.AddLines(added);
    p.Same("added " + name);
    EXPECT_TRUE(MemoHoldsLinesInView(p.view)) << name;
    EXPECT_EQ(p.view.TextLength(), p.view.Text().size()) << name;
    EXPECT_EQ(p.editor.TextLength(), p.editor.Text().size()) << name;
  }

  ViewThreshold low(3);
  Form form;
  Memo set(form), taken(form), added(form);
  // `set` wraps, so its lines are the editor's reading.
  for (Memo* m : {&taken, &added}) m->SetScrollBars(ScrollBars::Both);
  const Lines lines{"a", "b\rc", "\xD6\xD0"};
  set.SetLines(lines);
  taken.TakeLines(lines);
  added.AddLines(lines);
  for (Memo* m : {&taken, &added}) {
    EXPECT_TRUE(MemoHoldsLinesInView(*m));
    EXPECT_EQ(m->Lines(), set.Lines());
  }
}

}  // namespace
}  // namespace orlu
