// Memo lines follow the string-list rules.
#include <gtest/gtest.h>

#include "platform/ui/controls.h"
#include "platform/ui/form.h"
#include "support/window_test.h"

namespace orlu {
namespace {

using Lines = std::vector<std::string>;

TEST(Memo, EmptyMemoHasNoLines) {
  Form form;
  Memo memo(form);
  EXPECT_TRUE(memo.Lines().empty());
  EXPECT_EQ(memo.LineCount(), 0);
  EXPECT_EQ(memo.Text(), "");
  memo.SetLines({});
  EXPECT_TRUE(memo.Lines().empty());
  memo.SetText("");
  EXPECT_TRUE(memo.Lines().empty());
}

TEST(Memo, BreaksSplitLinesAndAFinalBreakAddsNone) {
  Form form;
  Memo memo(form);
  memo.SetText("a\r\nb\nc\rd");
  EXPECT_EQ(memo.Lines(), (Lines{"a", "b", "c", "d"}));
  memo.SetText("a\r\n");
  EXPECT_EQ(memo.Lines(), (Lines{"a"}));
  memo.SetText("a\r\n\r\n");
  EXPECT_EQ(memo.Lines(), (Lines{"a", ""}));
  memo.SetText("\r\n");
  EXPECT_EQ(memo.Lines(), (Lines{""}));
  memo.SetText("x\r\r\ny");
  EXPECT_EQ(memo.Lines(), (Lines{"x", "", "y"}));
}

TEST(Memo, SetLinesKeepsEmptyLinesAndGbkText) {
  Form form;
  Memo memo(form);
  const Lines lines{"a", "", "\xD6\xD0\xCE\xC4", "b", ""};
  memo.SetLines(lines);
  EXPECT_EQ(memo.Lines(), lines);
  // Each line is followed by CR LF in the text.
  EXPECT_EQ(memo.Text(), "a\r\n\r\n\xD6\xD0\xCE\xC4\r\nb\r\n\r\n");
  memo.SetLines({""});
  EXPECT_EQ(memo.Lines(), (Lines{""}));
}

TEST(Memo, AddAppendsOneLine) {
  Form form;
  Memo memo(form);
  memo.Add("one");
  memo.Add("");
  memo.Add("\xB6\xFE");
  EXPECT_EQ(memo.Lines(), (Lines{"one", "", "\xB6\xFE"}));
  // Text typed without a final break: the new line still starts on its own.
  memo.SetText("x");
  memo.Add("y");
  EXPECT_EQ(memo.Lines(), (Lines{"x", "y"}));
  memo.Clear();
  EXPECT_TRUE(memo.Lines().empty());
}

TEST(Memo, ManyLinesInOneCall) {
  Form form;
  Memo memo(form);
  Lines lines;
  for (int i = 0; i < 100000; ++i) lines.push_back("domain" + std::to_string(i) + ".com");
  int changes = 0;
  memo.OnChange = [&] { ++changes; };
  memo.SetLines(lines);
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(memo.Lines(), lines);
}

}  // namespace
}  // namespace orlu
