#include "app/settings_file.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/temp_files.h"

namespace orlu {
namespace {

using Lines = std::vector<std::string>;
using test::Slurp;
using test::TempDir;

TEST(KeyWordValue, EveryLineIsFollowedBySemicolon) {
  EXPECT_EQ(JoinKeyWordValue({"a", "b", ""}), "a;b;;");
  EXPECT_EQ(JoinKeyWordValue({}), "");
  EXPECT_EQ(JoinKeyWordValue({""}), ";");
  // GBK text: "关键" in code page 936.
  EXPECT_EQ(JoinKeyWordValue({"\xB9\xD8\xBC\xFC", "x"}), "\xB9\xD8\xBC\xFC;x;");
}

TEST(KeyWordValue, SplitKeepsEmptyPiecesAndDropsTextAfterLastSemicolon) {
  EXPECT_EQ(SplitKeyWordValue("a;b;;"), (Lines{"a", "b", ""}));
  EXPECT_EQ(SplitKeyWordValue("a;b"), (Lines{"a"}));
  EXPECT_EQ(SplitKeyWordValue("ab"), Lines{});
  EXPECT_EQ(SplitKeyWordValue(""), Lines{});
  EXPECT_EQ(SplitKeyWordValue(";;"), (Lines{"", ""}));
}

TEST(KeyWordValue, RoundTripKeepsLinesAndSplitsLinesHoldingSemicolon) {
  Lines lines{"", "com", "", "\xD3\xF2\xC3\xFB", " spaced "};
  EXPECT_EQ(SplitKeyWordValue(JoinKeyWordValue(lines)), lines);
  EXPECT_EQ(SplitKeyWordValue(JoinKeyWordValue({"a;b"})), (Lines{"a", "b"}));
}

TEST(KeyWordValue, LongValueIsReadWhole) {
  Lines lines;
  for (int i = 0; i < 1000; ++i) lines.push_back("keyword" + std::to_string(i));
  std::string value = JoinKeyWordValue(lines);
  ASSERT_GT(value.size(), 2047u);
  EXPECT_EQ(SplitKeyWordValue(value), lines);
}

TEST(SettingsFileName, ExtensionIsReplacedOrAppended) {
  EXPECT_EQ(ChangeFileExt("/opt/tool/orlu", ".ini"), "/opt/tool/orlu.ini");
  EXPECT_EQ(ChangeFileExt("/opt/tool/orlu.bin", ".ini"), "/opt/tool/orlu.ini");
  EXPECT_EQ(ChangeFileExt("/opt/v1.2/orlu", ".ini"), "/opt/v1.2/orlu.ini");
  EXPECT_EQ(ChangeFileExt("/opt/a.b.c", ".ini"), "/opt/a.b.ini");
  EXPECT_EQ(ChangeFileExt("orlu", ".ini"), "orlu.ini");
  EXPECT_EQ(SettingsFileName("/usr/lib/orlu/orlu"), "/usr/lib/orlu/orlu.ini");
}

TEST(SettingsFileName, ComesFromTheRunningProgram) {
  std::string program = ProgramFileName();
  ASSERT_FALSE(program.empty());
  EXPECT_EQ(program.front(), '/');
  EXPECT_TRUE(FileExists(program));
  EXPECT_EQ(SettingsFileName(), program + ".ini");
}

TEST(SettingsFileName, FolderHasNoFinalSlash) {
  EXPECT_EQ(ExtractFileDir("/opt/tool/orlu"), "/opt/tool");
  EXPECT_EQ(ExtractFileDir("/orlu"), "/");
  EXPECT_EQ(ExtractFileDir("orlu"), "");
}

TEST(KeyWordFile, ListsRoundTripThroughTheFile) {
  TempDir dir;
  const std::string ini = dir / "orlu.ini";

  WriteKeyWordList(ini, kFilterKeySection, {"a", "b", ""});
  EXPECT_EQ(Slurp(ini), "[Filter Key]\r\nKeyWord=a;b;;\r\n");

  // Leading blanks of the first line, quotes and GBK text all come back.
  const Lines lines{"  lead", "\"q\"", "\xD6\xD0 ", "\t"};
  WriteKeyWordList(ini, kSiteInfoKeySection, lines);
  EXPECT_EQ(ReadKeyWordList(ini, kSiteInfoKeySection), lines);
  EXPECT_EQ(ReadKeyWordList(ini, kFilterKeySection), (Lines{"a", "b", ""}));
  WriteKeyWordList(ini, kSiteInfoKeySection, {"\"", "x\""});
  EXPECT_EQ(ReadKeyWordList(ini, kSiteInfoKeySection), (Lines{"\"", "x\""}));

  // A missing section reads as an empty list.
  EXPECT_EQ(ReadKeyWordList(ini, "Nothing"), Lines{});
}

}  // namespace
}  // namespace orlu
