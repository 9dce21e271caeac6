#include "platform/text/ini_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "platform/text/errors.h"
#include "support/expect_error.h"
#include "support/temp_files.h"

using namespace orlu;
using orlu::test::ExpectError;
using orlu::test::Slurp;
using orlu::test::Spit;
using orlu::test::TempDir;

namespace {

TEST(IniFile, ReadsValuesLikeTheProfileReader) {
  TempDir dir;
  IniFile none(dir / "none.ini");
  EXPECT_EQ(none.ReadString("Filter Key", "KeyWord", "dflt"), "dflt");
  EXPECT_FALSE(none.SectionExists("Filter Key"));
  EXPECT_FALSE(none.ValueExists("Filter Key", "KeyWord"));

  Spit(dir / "a.ini",
       "top=before any section\r\n"
       "; comment\r\n"
       "[Filter Key]\r\n"
       "KeyWord=china|\xC7\xB0\xBA\xF3\xCE\xDE;ol|;\r\n"
       "Bracket=[a]b\r\n"
       "  Spaced  =   padded value \t \r\n"
       "Quoted=\"  in quotes  \"\r\n"
       "Half=\"open\r\n"
       "Twice=\"\"x\"\"\r\n"
       "Empty=\r\n"
       "Eq=a=b\r\n"
       "KeyWord=second\r\n"
       "NoEquals\r\n"
       "[Other]\n"
       "KeyWord=other\n"
       "[filter key]\r"
       "Late=x\r");
  IniFile ini(dir / "a.ini");
  EXPECT_EQ(ini.ReadString("Filter Key", "KeyWord", "d"), "china|\xC7\xB0\xBA\xF3\xCE\xDE;ol|;");
  EXPECT_EQ(ini.ReadString("FILTER KEY", "keyword", "d"), "china|\xC7\xB0\xBA\xF3\xCE\xDE;ol|;");
  EXPECT_EQ(ini.ReadString("Filter Key", "Bracket", "d"), "[a]b");
  EXPECT_EQ(ini.ReadString("Filter Key", "Spaced", "d"), "padded value");
  EXPECT_EQ(ini.ReadString("Filter Key", "Quoted", "d"), "  in quotes  ");
  EXPECT_EQ(ini.ReadString("Filter Key", "Half", "d"), "\"open");
  EXPECT_EQ(ini.ReadString("Filter Key", "Twice", "d"), "\"x\"");
  EXPECT_EQ(ini.ReadString("Filter Key", "Empty", "d"), "");
  EXPECT_EQ(ini.ReadString("Filter Key", "Eq", "d"), "a=b");
  EXPECT_EQ(ini.ReadString("Filter Key", "NoEquals", "d"), "d");
  EXPECT_EQ(ini.ReadString("Filter Key", "top", "d"), "d");
  EXPECT_EQ(ini.ReadString("Other", "KeyWord", "d"), "other");
  // A second section of the same name is not read.
  EXPECT_EQ(ini.ReadString("Filter Key", "Late", "d"), "d");
  EXPECT_TRUE(ini.SectionExists("other"));
  EXPECT_FALSE(ini.SectionExists("Missing"));
  EXPECT_TRUE(ini.ValueExists("Filter Key", "empty"));
  EXPECT_FALSE(ini.ValueExists("Other", "Spaced"));
}

TEST(IniFile, WritingCreatesTheFileAndRoundTripsGbk) {
  TempDir dir;
  IniFile ini(dir / "new.ini");
  ini.WriteString("Filter Key", "KeyWord", "a;b;;");
  EXPECT_EQ(Slurp(dir / "new.ini"), "[Filter Key]\r\nKeyWord=a;b;;\r\n");
  ini.WriteString("SiteInfo Key", "KeyWord", "\xC1\xF9\xD4\xC2;");
  EXPECT_EQ(Slurp(dir / "new.ini"),
            "[Filter Key]\r\nKeyWord=a;b;;\r\n[SiteInfo Key]\r\nKeyWord=\xC1\xF9\xD4\xC2;\r\n");

  // GBK section, key and value, in a folder whose name GBK cannot hold
  // (결과; file names are the file system's bytes).
  std::filesystem::create_directory(dir / "\xEA\xB2\xB0\xEA\xB3\xBC");
  IniFile gbk(dir / "\xEA\xB2\xB0\xEA\xB3\xBC/orlu.ini");
  const std::string value = "\xD6\xD0\xCE\xC4|\xB0\x7C;\x81\x40@;\x80;";
  gbk.WriteString("\xB9\xD8\xBC\xFC", "\xB4\xCA", value);
  EXPECT_EQ(Slurp(dir / "\xEA\xB2\xB0\xEA\xB3\xBC/orlu.ini"),
            "[\xB9\xD8\xBC\xFC]\r\n\xB4\xCA=" + value + "\r\n");
}

TEST(IniFile, WritingOneValueKeepsEveryOtherByte) {
  TempDir dir;
  const std::string head =
      "; settings\n"
      "[Filter Key]\r\n"
      "other = 1 \r"
      "  keyword = old value\n";
  const std::string tail =
      "after=2\r\n"
      "\r\n"
      "[SiteInfo Key]\n"
      "KeyWord=\xD6\xD0;\n"
      "\tjunk line\x1A\r\n";
  Spit(dir / "a.ini", head + tail);
  IniFile ini(dir / "a.ini");

  // The key keeps its spelling; its line break stays LF.
  ini.WriteString("FILTER KEY", "KEYWORD", "new;\xCE\xC4;");
  const std::string rewritten =
      "; settings\n"
      "[Filter Key]\r\n"
      "other = 1 \r"
      "keyword=new;\xCE\xC4;\n";
  EXPECT_EQ(Slurp(dir / "a.ini"), rewritten + tail);

  // A new key goes after the section's last line, before its blank lines.
  ini.WriteString("Filter Key", "Added", "x");
  const std::string withAdded = rewritten + "after=2\r\nAdded=x\r\n\r\n[SiteInfo Key]\n"
                                            "KeyWord=\xD6\xD0;\n\tjunk line\x1A\r\n";
  EXPECT_EQ(Slurp(dir / "a.ini"), withAdded);

  // The last section of a file without a final break, and a new section.
  Spit(dir / "b.ini", "[A]\nx=1");
  IniFile b(dir / "b.ini");
  b.WriteString("a", "y", "2");
  EXPECT_EQ(Slurp(dir / "b.ini"), "[A]\nx=1\r\ny=2\r\n");
  Spit(dir / "c.ini", "[A]\nx=1");
  IniFile c(dir / "c.ini");
  c.WriteString("B", "y", "2");
  EXPECT_EQ(Slurp(dir / "c.ini"), "[A]\nx=1\r\n[B]\r\ny=2\r\n");
  c.WriteString("A", "x", "");
  EXPECT_EQ(Slurp(dir / "c.ini"), "[A]\nx=\r\n[B]\r\ny=2\r\n");
}

TEST(IniFile, FailedWriteRaisesAndKeepsWhatIsThere) {
  // How the save itself fails is the list file's test; here the message, and
  // a folder where the file should be: it cannot be read, so it is not replaced.
  TempDir dir;
  std::filesystem::create_directory(dir / "set.ini");
  for (const std::string& name : {dir / "missing/set.ini", dir / "set.ini"}) {
    IniFile ini(name);
    ExpectError<FileError>([&] { ini.WriteString("S", "K", "v"); }, "Unable to write to " + name);
  }
  EXPECT_TRUE(std::filesystem::is_directory(dir.path() / "set.ini"));
}

}  // namespace
