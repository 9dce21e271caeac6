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
