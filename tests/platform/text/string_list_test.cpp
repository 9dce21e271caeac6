#include "platform/text/string_list.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/text/errors.h"
#include "support/expect_error.h"
#include "support/temp_files.h"

using namespace orlu;
using orlu::test::ExpectError;
using orlu::test::FileSizeLimit;
using orlu::test::Slurp;
using orlu::test::Spit;
using orlu::test::TempDir;
using Lines = std::vector<std::string>;

namespace {

TEST(SplitLines, AnyLineBreakEndsALineAndAFinalBreakAddsNone) {
  const std::pair<std::string, Lines> cases[] = {
      {"", {}},
      {"a", {"a"}},
      {"a\r\n", {"a"}},
      {"a\n", {"a"}},
      {"a\r", {"a"}},
      {"a\r\nb\nc\rd", {"a", "b", "c", "d"}},
      {"\r\n", {""}},
      {"\r\n\r\n", {"", ""}},
      // LF CR is two breaks; CR CR LF is a lone CR and then CR LF.
      {"a\n\rb", {"a", "", "b"}},
      {"a\r\r\nb\n\n", {"a", "", "b", ""}},
      // Blanks and GBK bytes belong to the line.
      {" x \t\r\n\xD6\xD0\xB0\x7C", {" x \t", "\xD6\xD0\xB0\x7C"}},
  };
  for (const auto& [text, lines] : cases) EXPECT_EQ(SplitLines(text), lines) << text;
  EXPECT_EQ(JoinLines({}), "");
  EXPECT_EQ(JoinLines({""}), "\r\n");
}

TEST(StringList, BoundsCheckedAccess) {
  StringList list({"a", "b"});
  EXPECT_EQ(list.Get(1), "b");
  ExpectError<ListIndexError>([&] { list.Get(2); }, "List index out of bounds (2)");
  ExpectError<ListIndexError>([&] { list.Get(-1); }, "List index out of bounds (-1)");
  ExpectError<ListIndexError>([&] { list.Put(2, "x"); }, "List index out of bounds (2)");
  ExpectError<ListIndexError>([&] { list.Delete(5); }, "List index out of bounds (5)");
  ExpectError<ListIndexError>([&] { list.Insert(3, "x"); }, "List index out of bounds (3)");
  list.Insert(2, "c");
  list.Insert(0, "z");
  list.Put(1, "A");
  list.Delete(2);
  EXPECT_EQ(list.Lines(), (Lines{"z", "A", "c"}));
  list.SetText("1\r2\n3");
  EXPECT_EQ(list.Text(), "1\r\n2\r\n3\r\n");
}

TEST(StringList, GbkTextAndMixedBreaksRoundTripThroughAFile) {
  TempDir dir;
  const Lines lines = {"\xD6\xD0\xCE\xC4", "", "  blanks kept  ", "\xB0\x7C|\x81\x40@",
                       std::string("nul\0byte", 8), "\x80 euro"};
  StringList(lines).SaveToFile(dir / "list.txt");
  EXPECT_EQ(Slurp(dir / "list.txt"), JoinLines(lines));
  StringList back({"old"});
  back.LoadFromFile(dir / "list.txt");
  EXPECT_EQ(back.Lines(), lines);

  Spit(dir / "mixed.txt", "one\r\ntwo\nthree\rfour\r\n\r\nsix");
  StringList mixed;
  mixed.LoadFromFile(dir / "mixed.txt");
  EXPECT_EQ(mixed.Lines(), (Lines{"one", "two", "three", "four", "", "six"}));
  mixed.SaveToFile(dir / "mixed.txt");
  EXPECT_EQ(Slurp(dir / "mixed.txt"), "one\r\ntwo\r\nthree\r\nfour\r\n\r\nsix\r\n");

  // A GBK file name is UTF-8 on disk (中文.txt).
  const std::string gbkName = dir / "\xD6\xD0\xCE\xC4.txt";
  StringList({"x"}).SaveToFile(gbkName);
  EXPECT_EQ(Slurp(dir / "\xE4\xB8\xAD\xE6\x96\x87.txt"), "x\r\n");
  EXPECT_EQ(ReadFileBytes(gbkName), "x\r\n");
  EXPECT_EQ(dir.Entries(), 3u);
}

TEST(StringList, FailedLoadRaisesAndKeepsTheList) {
  TempDir dir;
  StringList list({"kept"});
  const std::string missing = dir / "missing-\xD6\xD0.txt";
  ExpectError<FileError>([&] { list.LoadFromFile(missing); }, "Cannot open file " + missing);
  ExpectError<FileError>([&] { list.LoadFromFile(dir / ""); }, "Cannot open file " + (dir / ""));
  EXPECT_EQ(list.Lines(), Lines{"kept"});
}

TEST(StringList, FailedSaveRaisesAndKeepsTheOldFile) {
  TempDir dir;
  const std::string name = dir / "list.txt";
  StringList({"old", "lines"}).SaveToFile(name);
  {
    // The new text is larger than the file system lets us write.
    FileSizeLimit limit(4096);
    ExpectError<FileError>([&] { StringList(Lines(2000, std::string(100, 'x'))).SaveToFile(name); },
                           "Cannot create file " + name);
  }
  EXPECT_EQ(Slurp(name), "old\r\nlines\r\n");

  // A file where a folder should be, a missing folder, a folder in the way.
  Spit(dir / "plain", "not a folder");
  std::filesystem::create_directory(dir / "sub");
  for (const std::string& bad : {dir / "plain/\xD6\xD0.txt", dir / "no-such-dir/x.txt", dir / "sub"}) {
    ExpectError<FileError>([&] { StringList({"a"}).SaveToFile(bad); }, "Cannot create file " + bad);
  }
  EXPECT_EQ(Slurp(dir / "plain"), "not a folder");
  EXPECT_TRUE(std::filesystem::is_directory(dir.path() / "sub"));
  EXPECT_EQ(dir.Entries(), 3u);  // no temporary file is left behind
}

TEST(StringList, SaveKeepsThePermissionsOfTheOldFile) {
  TempDir dir;
  const std::string name = dir / "list.txt";
  Spit(name, "old");
  chmod(name.c_str(), 0640);
  StringList({"new"}).SaveToFile(name);
  struct stat st {};
  ASSERT_EQ(stat(name.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0640u);
  EXPECT_EQ(Slurp(name), "new\r\n");
}

}  // namespace
