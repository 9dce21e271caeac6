// Memo lines follow the string-list rules.
#include <gtest/gtest.h>

#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextDocument>

#include "platform/ui/application.h"
#include "platform/ui/controls.h"
#include "platform/ui/form.h"
#include "platform/ui/ui_internal.h"
#include "support/window_test.h"

namespace orlu {
namespace {

using Lines = std::vector<std::string>;

TEST(Memo, BreaksSplitLinesAndAFinalBreakAddsNone) {
  Form form;
  Memo memo(form);
  EXPECT_TRUE(memo.Lines().empty());
  const std::pair<std::string, Lines> cases[] = {
      {"", {}},
      {"a\r\nb\nc\rd", {"a", "b", "c", "d"}},
      {"a\r\n", {"a"}},
      {"a\r\n\r\n", {"a", ""}},
      {"\r\n", {""}},
      {"x\r\r\ny", {"x", "", "y"}},
  };
  for (const auto& [text, lines] : cases) {
    memo.SetText(text);
    EXPECT_EQ(memo.Lines(), lines) << testing::PrintToString(text);
  }
}

TEST(Memo, SetLinesAndAddKeepEmptyLinesAndGbkText) {
  Form form;
  Memo memo(form);
  const Lines lines{"a", "", "\xD6\xD0\xCE\xC4", "b", ""};
  memo.SetLines(lines);
  EXPECT_EQ(memo.Lines(), lines);
  // Each line is followed by CR LF in the text.
  EXPECT_EQ(memo.Text(), "a\r\n\r\n\xD6\xD0\xCE\xC4\r\nb\r\n\r\n");
  memo.SetLines({""});
  EXPECT_EQ(memo.Lines(), (Lines{""}));
  memo.Clear();
  memo.Add("one");
  memo.Add("");
  memo.Add("\xB6\xFE");
  EXPECT_EQ(memo.Lines(), (Lines{"one", "", "\xB6\xFE"}));
  // Text typed without a final break: the new line still starts on its own.
  memo.SetText("x");
  memo.Add("y");
  EXPECT_EQ(memo.Lines(), (Lines{"x", "y"}));
}

// A memo given new lines: caret at the start, view at the top, no undo back
// to the old text, one change event; a break inside a line splits it as the
// string-list rules split the text of those lines.
TEST(Memo, SetLinesStartsAtTheTopWithoutUndo) {
  Form form;
  form.SetBounds(0, 0, 300, 200);
  Memo memo(form);
  memo.SetBounds(0, 0, 200, 100);
  memo.SetScrollBars(ScrollBars::Both);
  form.Show();
  auto* edit = static_cast<QPlainTextEdit*>(memo.Impl()->widget.data());
  Lines lines;
  for (int i = 0; i < 500; ++i) lines.push_back("line " + std::to_string(i) + std::string(60, 'x'));
  memo.SetLines(lines);
  edit->moveCursor(QTextCursor::End);
  ProcessEventsFor(std::chrono::milliseconds(20));
  ASSERT_GT(edit->verticalScrollBar()->value(), 0);
  edit->horizontalScrollBar()->setValue(edit->horizontalScrollBar()->maximum());
  ASSERT_GT(edit->horizontalScrollBar()->value(), 0);

  int changes = 0;
  memo.OnChange = [&] { ++changes; };
  const Lines next{"\xD6\xD0", "b", "c\r", "d\re\r\nf", ""};
  memo.SetLines(next);
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

}  // namespace
}  // namespace orlu
