#include "pages/result_rows.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/text/errors.h"
#include "platform/text/gbk.h"
#include "support/expect_error.h"

namespace orlu {
namespace {

TEST(RowDisplayLine, CaptionsAndValuesEachFollowedByTwoBlanks) {
  EXPECT_EQ(RowDisplayLine({"ID", "D", "R"}, "3", {"d", "1200"}), "ID: 3  D: d  R: 1200  ");
  EXPECT_EQ(RowDisplayLine({"ID"}, "7", {}), "ID: 7  ");
  // Cells beyond the columns are not shown.
  EXPECT_EQ(RowDisplayLine({"ID", "x"}, "1", {"a", "b"}), "ID: 1  x: a  ");
}

TEST(RowDisplayLine, CellJustPastTheRowRaisesTheListIndexError) {
  // Three columns need two cells: the one cell there is read, the one after it is not.
  test::ExpectError<ListIndexError>([] { RowDisplayLine({"ID", "D", "R"}, "3", {"d"}); },
                                    "List index out of bounds (1)");
  test::ExpectError<ListIndexError>([] { RowDisplayLine({"ID", "D"}, "3", {}); },
                                    "List index out of bounds (0)");
}

TEST(Csv, ExactBytesOfHeaderAndRows) {
  // Fields quoted, each followed by a comma, quotes doubled, other bytes kept, CR LF per line.
  CsvBuilder csv({"ID", "d", "q\"c", "e"});
  csv.AddRowTexts({"1", "a.com", " ", ""});
  csv.AddRowTexts({"2", Gbk("中文.cn"), "say \"hi\"", "a,b\r\nc\""});
  EXPECT_EQ(csv.Bytes(), Gbk("\"ID\",\"d\",\"q\"\"c\",\"e\",\r\n\"1\",\"a.com\",\" \",\"\",\r\n"
                             "\"2\",\"中文.cn\",\"say \"\"hi\"\"\",\"a,b\r\nc\"\"\",\r\n"));
  EXPECT_EQ(CsvBuilder({}).Bytes(), "\r\n");
}

TEST(Csv, EveryValueThatAFormulaCouldStartWithGetsAQuote) {
  // In every column, the caption and the domain included (not the header); "=" inside is no formula.
  CsvBuilder csv({"=h", "-d", "r1", "r2", "r3", "r4", "r5", "r6", "r7"});
  csv.AddRowTexts({"=1", "-x.com", "=HYPERLINK(1)", "+1", "-2", "@SUM(A1)", "\tx", "\rx", "a=b"});
  csv.AddRowTexts({"@SUM(A1)", "=1+1", "+x", "\tx", "\rx", "=\"q\"", "a@b", "", " =1"});
  EXPECT_EQ(csv.Bytes(),
            "\"=h\",\"-d\",\"r1\",\"r2\",\"r3\",\"r4\",\"r5\",\"r6\",\"r7\",\r\n"
            "\"'=1\",\"'-x.com\",\"'=HYPERLINK(1)\",\"'+1\",\"'-2\",\"'@SUM(A1)\",\"'\tx\","
            "\"'\rx\",\"a=b\",\r\n"
            "\"'@SUM(A1)\",\"'=1+1\",\"'+x\",\"'\tx\",\"'\rx\",\"'=\"\"q\"\"\",\"a@b\",\"\",\" =1\",\r\n");
}

TEST(Csv, ShortRowRaisesAndAddsNoHalfLine) {
  CsvBuilder csv({"ID", "a", "b"});
  csv.AddRowTexts({"1", "x", "y"});
  const std::string before = csv.Bytes();
  test::ExpectError<ListIndexError>([&] { csv.AddRowTexts({"2", "x"}); },
                                    "List index out of bounds (1)");
  EXPECT_EQ(csv.Bytes(), before);
}

}  // namespace
}  // namespace orlu
