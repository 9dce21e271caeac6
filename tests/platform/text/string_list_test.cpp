#include "platform/text/string_list.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/text/errors.h"
#include "temp_dir.h"

using namespace orlu;
using orlu::testing_text::FileSizeLimit;
using orlu::testing_text::Slurp;
using orlu::testing_text::Spit;
using orlu::testing_text::TempDir;
using Lines = std::vector<std::string>;

namespace {

// Expects `f` to raise an error of type E with exactly `message`.
template <typename E, typename F>
void ExpectError(F f, const std::string& message) {
  try {
    f();
    ADD_FAILURE() << "no error, expected: " << message;
  } catch (const E& e) {
    EXPECT_EQ(std::string(e.what()), message);
  }
}

size_t EntriesIn(const std::filesystem::path& dir) {
  return static_cast<size_t>(std::distance(std::filesystem::directory_iterator(dir), {}));
}

TEST(SplitLines, AnyLineBreakEndsALineAndAFinalBreakAddsNone) {
  EXPECT_EQ(SplitLines(""), Lines{});
  EXPECT_EQ(SplitLines("a"), Lines{"a"});
  EXPECT_EQ(SplitLines("a\r\n"), Lines{"a"});
  EXPECT_EQ(SplitLines("a\n"), Lines{"a"});
  EXPECT_EQ(SplitLines("a\r"), Lines{"a"});
  EXPECT_EQ(SplitLines("a\r\nb\nc\rd"), (Lines{"a", "b", "c", "d"}));
  EXPECT_EQ(SplitLines("\r\n"), Lines{""});
  EXPECT_EQ(SplitLines("\r\n\r\n"), (Lines{"", ""}));
  // LF CR is two breaks; CR CR LF is a lone CR and then CR LF.
  EXPECT_EQ(SplitLines("a\n\rb"), (Lines{"a", "", "b"}));
  EXPECT_EQ(SplitLines("a\r\r\nb\n\n"), (Lines{"a", "", "b", ""}));
  // Blanks and GBK bytes belong to the line.
  EXPECT_EQ(SplitLines(" x \t\r\n\xD6\xD0\xB0\x7C"), (Lines{" x \t", "\xD6\xD0\xB0\x7C"}));
}

TEST(JoinLines, EveryLineGetsCrLf) {
  EXPECT_EQ(JoinLines({}), "");
  EXPECT_EQ(JoinLines({""}), "\r\n");
  EXPECT_EQ(JoinLines({"a", "", "b"}), "a\r\n\r\nb\r\n");
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

TEST(StringList, GbkTextRoundTripsThroughAFile) {
  TempDir dir;
  const Lines lines = {"\xD6\xD0\xCE\xC4", "", "  blanks kept  ", "\xB0\x7C|\x81\x40@",
                       std::string("nul\0byte", 8), "\x80 euro"};
  StringList list(lines);
  list.SaveToFile(dir / "list.txt");
  EXPECT_EQ(Slurp(dir / "list.txt"), JoinLines(lines));

  StringList back;
  back.Add("old");
  back.LoadFromFile(dir / "list.txt");
  EXPECT_EQ(back.Lines(), lines);
}

TEST(StringList, LoadsMixedLineBreaks) {
  TempDir dir;
  Spit(dir / "mixed.txt", "one\r\ntwo\nthree\rfour\r\n\r\nsix");
  StringList list;
  list.LoadFromFile(dir / "mixed.txt");
  EXPECT_EQ(list.Lines(), (Lines{"one", "two", "three", "four", "", "six"}));
  list.SaveToFile(dir / "mixed.txt");
  EXPECT_EQ(Slurp(dir / "mixed.txt"), "one\r\ntwo\r\nthree\r\nfour\r\n\r\nsix\r\n");
}

TEST(StringList, GbkFileNamesAreUtf8OnDisk) {
  TempDir dir;
  // 中文.txt: the name is GBK text, the file system sees UTF-8.
  const std::string gbkName = dir / "\xD6\xD0\xCE\xC4.txt";
  StringList({"x"}).SaveToFile(gbkName);
  EXPECT_EQ(Slurp(dir / "\xE4\xB8\xAD\xE6\x96\x87.txt"), "x\r\n");
  EXPECT_EQ(ReadFileBytes(gbkName), "x\r\n");
  EXPECT_EQ(EntriesIn(dir.path()), 1u);
}

TEST(StringList, FailedLoadRaisesAndKeepsTheList) {
  TempDir dir;
  StringList list({"kept"});
  const std::string missing = dir / "missing-\xD6\xD0.txt";
  ExpectError<FileError>([&] { list.LoadFromFile(missing); }, "Cannot open file " + missing);
  ExpectError<FileError>([&] { list.LoadFromFile(dir / ""); }, "Cannot open file " + (dir / ""));
  EXPECT_EQ(list.Lines(), Lines{"kept"});
}

TEST(StringList, SaveIntoAFolderThatCannotExistRaises) {
  TempDir dir;
  Spit(dir / "plain", "not a folder");
  const std::string name = dir / "plain/\xD6\xD0.txt";
  ExpectError<FileError>([&] { StringList({"a"}).SaveToFile(name); },
                         "Cannot create file " + name);
  ExpectError<FileError>([&] { WriteFileAtomically(dir / "no-such-dir/x.txt", "a"); },
                         "Cannot create file " + (dir / "no-such-dir/x.txt"));
  EXPECT_EQ(Slurp(dir / "plain"), "not a folder");
  EXPECT_EQ(EntriesIn(dir.path()), 1u);
}

TEST(StringList, FailedSaveKeepsTheOldFile) {
  TempDir dir;
  const std::string name = dir / "list.txt";
  StringList({"old", "lines"}).SaveToFile(name);
  const Lines big(2000, std::string(100, 'x'));
  {
    // The new text is larger than the file system lets us write.
    FileSizeLimit limit(4096);
    ExpectError<FileError>([&] { StringList(big).SaveToFile(name); }, "Cannot create file " + name);
  }
  EXPECT_EQ(Slurp(name), "old\r\nlines\r\n");
  EXPECT_EQ(EntriesIn(dir.path()), 1u);  // no temporary file is left behind

  // A folder in the way of the file is left alone.
  std::filesystem::create_directory(dir / "sub");
  ExpectError<FileError>([&] { StringList({"a"}).SaveToFile(dir / "sub"); },
                         "Cannot create file " + (dir / "sub"));
  EXPECT_TRUE(std::filesystem::is_directory(dir.path() / "sub"));
  EXPECT_EQ(EntriesIn(dir.path()), 2u);
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
