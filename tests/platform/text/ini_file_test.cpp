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

  const std::string keyword = "china|\xC7\xB0\xBA\xF3\xCE\xDE;ol|;";
  Spit(dir / "a.ini", "top=before any section\r\n; comment\r\n[Filter Key]\r\nKeyWord=" + keyword +
                          "\r\nBracket=[a]b\r\n  Spaced  =   padded value \t \r\n"
                          "Quoted=\"  in quotes  \"\r\nHalf=\"open\r\nTwice=\"\"x\"\"\r\nEmpty=\r\n"
                          "Eq=a=b\r\nKeyWord=second\r\nNoEquals\r\n"
                          "[Other]\nKeyWord=other\n[filter key]\rLate=x\r");
  IniFile ini(dir / "a.ini");
  const std::pair<const char*, std::string> values[] = {
      {"KeyWord", keyword}, {"Bracket", "[a]b"}, {"Spaced", "padded value"},
      {"Quoted", "  in quotes  "}, {"Half", "\"open"}, {"Twice", "\"x\""}, {"Empty", ""},
      {"Eq", "a=b"}, {"NoEquals", "d"}, {"top", "d"},
      {"Late", "d"}};  // a second section of the same name is not read
  for (const auto& [key, value] : values)
    EXPECT_EQ(ini.ReadString("Filter Key", key, "d"), value) << key;
  EXPECT_EQ(ini.ReadString("FILTER KEY", "keyword", "d"), keyword);
  EXPECT_EQ(ini.ReadString("Other", "KeyWord", "d"), "other");
  EXPECT_TRUE(ini.SectionExists("other"));
  EXPECT_FALSE(ini.SectionExists("Missing"));
  EXPECT_TRUE(ini.ValueExists("Filter Key", "empty"));
  EXPECT_FALSE(ini.ValueExists("Other", "Spaced"));
}

TEST(IniFile, WritingCreatesTheFileAndRoundTripsGbk) {
  TempDir dir;
  IniFile ini(dir / "new.ini");
  ini.WriteString("Filter Key", "KeyWord", "a;b;;");
  ini.WriteString("SiteInfo Key", "KeyWord", "\xC1\xF9\xD4\xC2;");
  EXPECT_EQ(Slurp(dir / "new.ini"),
            "[Filter Key]\r\nKeyWord=a;b;;\r\n[SiteInfo Key]\r\nKeyWord=\xC1\xF9\xD4\xC2;\r\n");

  // GBK section, key and value, in a folder whose name GBK cannot hold (결과).
  const std::string folder = dir / "\xEA\xB2\xB0\xEA\xB3\xBC";
  std::filesystem::create_directory(folder);
  const std::string value = "\xD6\xD0\xCE\xC4|\xB0\x7C;\x81\x40@;\x80;";
  IniFile(folder + "/orlu.ini").WriteString("\xB9\xD8\xBC\xFC", "\xB4\xCA", value);
  EXPECT_EQ(Slurp(folder + "/orlu.ini"), "[\xB9\xD8\xBC\xFC]\r\n\xB4\xCA=" + value + "\r\n");
}

TEST(IniFile, WritingOneValueKeepsEveryOtherByte) {
  TempDir dir;
  const std::string head = "; settings\n[Filter Key]\r\nother = 1 \r";
  const std::string tail = "\r\n[SiteInfo Key]\nKeyWord=\xD6\xD0;\n\tjunk line\x1A\r\n";
  const std::string rewritten = head + "keyword=new;\xCE\xC4;\nafter=2\r\n";
  const struct {
    std::string before;
    const char *section, *key, *value;
    std::string after;
  } cases[] = {
      // The key keeps its spelling; its line break stays LF.
      {head + "  keyword = old value\nafter=2\r\n" + tail, "FILTER KEY", "KEYWORD",
       "new;\xCE\xC4;", rewritten + tail},
      // A new key goes after the section's last line, before its blank lines.
      {rewritten + tail, "Filter Key", "Added", "x", rewritten + "Added=x\r\n" + tail},
      // The last section of a file without a final break, and a new section.
      {"[A]\nx=1", "a", "y", "2", "[A]\nx=1\r\ny=2\r\n"},
      {"[A]\nx=1", "B", "y", "2", "[A]\nx=1\r\n[B]\r\ny=2\r\n"},
      {"[A]\nx=1\r\n[B]\r\ny=2\r\n", "A", "x", "", "[A]\nx=\r\n[B]\r\ny=2\r\n"},
  };
  for (const auto& k : cases) {
    Spit(dir / "a.ini", k.before);
    IniFile(dir / "a.ini").WriteString(k.section, k.key, k.value);
    EXPECT_EQ(Slurp(dir / "a.ini"), k.after) << k.before;
  }
}

TEST(IniFile, FailedWriteRaisesAndKeepsWhatIsThere) {
  // How a save fails is the list file's test; here the message, and a folder in
  // the file's place: it cannot be read, so it is not replaced.
  TempDir dir;
  std::filesystem::create_directory(dir / "set.ini");
  for (const std::string& name : {dir / "missing/set.ini", dir / "set.ini"}) {
    IniFile ini(name);
    ExpectError<FileError>([&] { ini.WriteString("S", "K", "v"); }, "Unable to write to " + name);
  }
  EXPECT_TRUE(std::filesystem::is_directory(dir.path() / "set.ini"));
}

}  // namespace
