#include "pages/result_rows.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/text/errors.h"
#include "support/temp_files.h"

namespace orlu {
namespace {

// "域名" and "排名" in GBK.
const std::string kDomain = "\xD3\xF2\xC3\xFB";
const std::string kRank = "\xC5\xC5\xC3\xFB";

using test::Slurp;
using test::Spit;
using test::TempDir;

TEST(RowDisplayLine, CaptionsAndValuesEachFollowedByTwoBlanks) {
  EXPECT_EQ(RowDisplayLine({"ID", kDomain, kRank}, "3", {"d", "1200"}),
            "ID: 3  " + kDomain + ": d  " + kRank + ": 1200  ");
  EXPECT_EQ(RowDisplayLine({"ID"}, "7", {}), "ID: 7  ");
  // Cells beyond the columns are not shown.
  EXPECT_EQ(RowDisplayLine({"ID", "x"}, "1", {"a", "b"}), "ID: 1  x: a  ");
}

TEST(Csv, ExactBytesOfHeaderAndRows) {
  // Every field quoted and followed by a comma, a quote inside doubled,
  // every other byte (line breaks, commas, GBK) kept, CR LF after each line.
  CsvBuilder csv({"ID", kDomain, "q\"c", "e"});
  csv.AddRowTexts({"1", "a.com", " ", ""});
  csv.AddRowTexts({"2", kDomain + ".cn", "say \"hi\"", "a,b\r\nc\""});
  EXPECT_EQ(csv.Bytes(), "\"ID\",\"" + kDomain + "\",\"q\"\"c\",\"e\",\r\n"
                         "\"1\",\"a.com\",\" \",\"\",\r\n"
                         "\"2\",\"" + kDomain + ".cn\",\"say \"\"hi\"\"\",\"a,b\r\nc\"\"\",\r\n");
  EXPECT_EQ(CsvBuilder({}).Bytes(), "\r\n");
}

TEST(Csv, ResultCellsThatAFormulaCouldStartWithGetAQuote) {
  // Only the cells from column 2 on; the header, the row caption and the
  // domain are written as they are, and "=" inside a cell is no formula.
  CsvBuilder csv({"=h", "-d", "r1", "r2", "r3", "r4", "r5", "r6", "r7"});
  csv.AddRowTexts({"=1", "-x.com", "=HYPERLINK(1)", "+1", "-2", "@SUM(A1)", "\tx", "\rx", "a=b"});
  EXPECT_EQ(csv.Bytes(),
            "\"=h\",\"-d\",\"r1\",\"r2\",\"r3\",\"r4\",\"r5\",\"r6\",\"r7\",\r\n"
            "\"=1\",\"-x.com\",\"'=HYPERLINK(1)\",\"'+1\",\"'-2\",\"'@SUM(A1)\",\"'\tx\","
            "\"'\rx\",\"a=b\",\r\n");
}

TEST(Csv, ShortRowRaisesAndAddsNoHalfLine) {
  CsvBuilder csv({"ID", "a", "b"});
  csv.AddRowTexts({"1", "x", "y"});
  const std::string before = csv.Bytes();
  try {
    csv.AddRowTexts({"2", "x"});
    FAIL() << "no error";
  } catch (const ListIndexError& e) {
    EXPECT_STREQ(e.what(), "List index out of bounds (1)");
  }
  EXPECT_EQ(csv.Bytes(), before);
}

// A shorter file replaces a longer one whole; a name that cannot be replaced
// (a folder with a file in it) is reported and leaves no part file behind.
TEST(CsvFile, ReplacesTheOldFileOrLeavesNothingBehind) {
  TempDir dir;
  const std::string path = dir / "out.csv", target = dir / "taken.csv";
  Spit(path, "old contents that are longer than the new");
  WriteCsvFile(path, "\"ID\",\r\n\"1\",\r\n");
  EXPECT_EQ(Slurp(path), "\"ID\",\r\n\"1\",\r\n");

  ASSERT_EQ(mkdir(target.c_str(), 0755), 0);
  Spit(target + "/inside", "kept");
  try {
    WriteCsvFile(target, std::string(100000, 'x'));
    FAIL() << "no error";
  } catch (const FileError& e) {
    EXPECT_EQ(std::string(e.what()), "Cannot create file " + target);
  }
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(dir.path())) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"out.csv", "taken.csv"}));
  EXPECT_EQ(Slurp(target + "/inside"), "kept");
}

}  // namespace
}  // namespace orlu
