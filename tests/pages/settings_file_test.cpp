#include "pages/settings_file.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/temp_files.h"

namespace orlu {
namespace {

using Lines = std::vector<std::string>;
using test::Slurp;
using test::TempDir;

TEST(KeyWordValue, SplitKeepsEmptyPiecesAndDropsTextAfterTheLastSemicolon) {
  EXPECT_EQ(SplitKeyWordValue("a;b;;"), (Lines{"a", "b", ""}));
  EXPECT_EQ(SplitKeyWordValue("a;b"), (Lines{"a"}));
  EXPECT_EQ(SplitKeyWordValue("ab"), Lines{});
  // A line holding ";" comes back as two.
  EXPECT_EQ(SplitKeyWordValue(JoinKeyWordValue({"a;b"})), (Lines{"a", "b"}));
}

TEST(SettingsFileName, ExtensionOfTheLastPartIsReplacedOrAppended) {
  EXPECT_EQ(SettingsFileName("/opt/tool/orlu"), "/opt/tool/orlu.ini");
  EXPECT_EQ(SettingsFileName("/opt/v1.2/orlu"), "/opt/v1.2/orlu.ini");
  EXPECT_EQ(SettingsFileName("/opt/a.b.c"), "/opt/a.b.ini");
  EXPECT_EQ(ExtractFileDir("/opt/tool/orlu"), "/opt/tool");
  EXPECT_EQ(ExtractFileDir("/orlu"), "/");
  EXPECT_EQ(ExtractFileDir("orlu"), "");
  const std::string program = ProgramFileName();
  EXPECT_TRUE(FileExists(program));
  EXPECT_EQ(SettingsFileName(), program + ".ini");
}

TEST(KeyWordFile, ListsRoundTripThroughTheFileByteForByte) {
  TempDir dir;
  const std::string ini = dir / "orlu.ini";
  WriteKeyWordList(ini, kFilterKeySection, {"a", "b", ""});
  EXPECT_EQ(Slurp(ini), "[Filter Key]\r\nKeyWord=a;b;;\r\n");

  // Leading blanks of the first line, quotes and GBK text all come back.
  const Lines lines{"  lead", "\"q\"", "\xD6\xD0 ", "\t"};
  WriteKeyWordList(ini, kSiteInfoKeySection, lines);
  EXPECT_EQ(ReadKeyWordList(ini, kSiteInfoKeySection), lines);
  EXPECT_EQ(ReadKeyWordList(ini, kFilterKeySection), (Lines{"a", "b", ""}));
  EXPECT_EQ(ReadKeyWordList(ini, "Nothing"), Lines{});
}

}  // namespace
}  // namespace orlu
