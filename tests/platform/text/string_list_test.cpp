#include "platform/text/string_list.h"

#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <future>
#include <string>
#include <thread>
#include <vector>

#include "platform/text/errors.h"
#include "platform/text/gbk.h"
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
      {"", {}}, {"a", {"a"}}, {"a\r\n", {"a"}}, {"a\n", {"a"}}, {"a\r", {"a"}}, {"\r\n", {""}},
      {"a\r\nb\nc\rd", {"a", "b", "c", "d"}},
      // LF CR is two breaks; CR CR LF is a lone CR and then CR LF.
      {"a\n\rb", {"a", "", "b"}}, {"a\r\r\nb\n\n", {"a", "", "b", ""}},
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
  list.Put(0, "Z");
  list.Delete(2);
  EXPECT_EQ(list.Lines(), (Lines{"Z", "a", "c"}));
  list.SetText("1\r2\n3");
  EXPECT_EQ(list.Text(), "1\r\n2\r\n3\r\n");
}

TEST(StringList, GbkTextRoundTripsThroughAFile) {
  TempDir dir;
  const Lines lines = {"\xD6\xD0\xCE\xC4", "", "  blanks kept  ", "\xB0\x7C|\x81\x40@",
                       std::string("nul\0byte", 8), "\x80 euro"};
  StringList(lines).SaveToFile(dir / "list.txt");
  EXPECT_EQ(Slurp(dir / "list.txt"), JoinLines(lines));
  StringList back({"old"});
  back.LoadFromFile(dir / "list.txt");
  EXPECT_EQ(back.Lines(), lines);

  // Names are the file system's bytes: 결과.csv and 결정.csv are both ??.csv in GBK.
  const std::string names[] = {dir / "\xEA\xB2\xB0\xEA\xB3\xBC.csv",
                               dir / "\xEA\xB2\xB0\xEC\xA0\x95.csv"};
  for (const auto& name : names) StringList({name}).SaveToFile(name);
  for (const auto& name : names) EXPECT_EQ(ReadFileBytes(name), name + "\r\n");
  EXPECT_EQ(dir.Entries(), 3u);
}

TEST(StringList, LoadReadsRegularFilesOnlyAndNamesTheFileForDisplay) {
  TempDir dir;
  StringList list({"kept"});
  // The message shows the name as GBK: 中 stays, 결 cannot be shown.
  const std::string missing = dir / "missing-\xE4\xB8\xAD\xEA\xB2\xB0.txt";
  ExpectError<FileError>([&] { list.LoadFromFile(missing); },
                         "Cannot open file " + (dir / "missing-\xD6\xD0?.txt"));
  // A folder, a FIFO without a writer (which would wait) and a device.
  const std::string fifo = dir / "fifo";
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  for (const std::string& name : {dir / "", fifo, std::string("/dev/null")}) {
    auto load = std::async(std::launch::async, [&] {
      ExpectError<FileError>([&] { list.LoadFromFile(name); }, "Cannot open file " + name);
    });
    if (load.wait_for(std::chrono::seconds(5)) != std::future_status::ready) {
      ADD_FAILURE() << "waits on " << name;
      ::close(::open(fifo.c_str(), O_WRONLY | O_NONBLOCK));
    }
  }
  EXPECT_EQ(list.Lines(), Lines{"kept"});
  // A UTF-8 file comes in as GBK (中文).
  Spit(dir / "utf8.txt", "\xEF\xBB\xBF" "a\r\n\xE4\xB8\xAD\xE6\x96\x87\r\n");
  list.LoadFromFile(dir / "utf8.txt");
  EXPECT_EQ(list.Lines(), (Lines{"a", "\xD6\xD0\xCE\xC4"}));
}

// A list too large to hold is refused before it is read (the file's size) or before its lines are
// made (their count), and the list stays as it was.
TEST(StringList, LoadRefusesListsTooLargeToHold) {
  TempDir dir;
  const std::string file = dir / "list.txt";
  StringList list({"kept"});
  Spit(file, "ab\ncd\n");  // 6 bytes; 2 lines take 6 + 2 x 56 bytes
  ExpectError<Error>([&] { list.LoadFromFile(file, 5); },
                     Gbk("文件 ") + file + Gbk(" 有 6 字节，超过导入上限 5 字节，未导入。"));
  ExpectError<Error>([&] { list.LoadFromFile(file, 117); },
                     Gbk("文件 ") + file +
                         Gbk(" 共有 2 行，约需内存 118 字节，超过上限 117 字节，未导入。"));
  EXPECT_EQ(list.Lines(), Lines{"kept"});
  list.LoadFromFile(file, 118);
  EXPECT_EQ(list.Lines(), (Lines{"ab", "cd"}));
  // Counted once the UTF-8 file is GBK: the 6 bytes of 中文 are 4 (with CR LF, 6 of 8).
  Spit(file, "\xE4\xB8\xAD\xE6\x96\x87\r\n");
  list.LoadFromFile(file, 4 + 2 + kLineCostBytes);
  EXPECT_EQ(list.Lines(), Lines{"\xD6\xD0\xCE\xC4"});
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

  // A missing folder, a folder in the way, a read-only file.
  std::filesystem::create_directory(dir / "sub");
  Spit(dir / "locked.txt", "old");
  chmod((dir / "locked.txt").c_str(), 0444);
  for (const std::string& bad :
       {dir / "no-such-dir/x.txt", dir / "sub", dir / "locked.txt"}) {
    ExpectError<FileError>([&] { StringList({"a"}).SaveToFile(bad); }, "Cannot create file " + bad);
  }
  EXPECT_EQ(Slurp(dir / "locked.txt"), "old");
  EXPECT_TRUE(std::filesystem::is_directory(dir.path() / "sub"));
  EXPECT_EQ(dir.Entries(), 3u);  // no temporary file is left behind
}

TEST(StringList, SaveWritesThroughLinksAndKeepsThePermissions) {
  TempDir dir;
  // A link (relative, in another folder) stays a link; its target changes.
  std::filesystem::create_directory(dir / "real");
  Spit(dir / "real/list.txt", "old");
  chmod((dir / "real/list.txt").c_str(), 0640);
  std::filesystem::create_symlink("real/list.txt", dir.path() / "link.txt");
  std::filesystem::create_symlink("real/new.txt", dir.path() / "dangling.txt");
  StringList({"new"}).SaveToFile(dir / "link.txt");
  StringList({"made"}).SaveToFile(dir / "dangling.txt");
  EXPECT_TRUE(std::filesystem::is_symlink(dir.path() / "link.txt"));
  EXPECT_EQ(Slurp(dir / "real/list.txt"), "new\r\n");
  EXPECT_EQ(Slurp(dir / "real/new.txt"), "made\r\n");
  EXPECT_EQ(std::filesystem::status(dir / "real/list.txt").permissions(),
            std::filesystem::perms(0640));
}

TEST(StringList, SavesOfOneFileFromManyThreadsNeverMix) {
  TempDir dir;
  const std::string name = dir / "out.csv";
  std::vector<std::thread> threads;
  for (int t = 0; t < 8; ++t)
    threads.emplace_back([&, t] {
      const std::string text = JoinLines(Lines(500, std::string(40, static_cast<char>('a' + t))));
      for (int i = 0; i < 10; ++i) WriteFileAtomically(name, text);
    });
  for (auto& th : threads) th.join();
  const std::string got = Slurp(name);
  EXPECT_EQ(got, JoinLines(Lines(500, std::string(40, got[0]))));
  EXPECT_EQ(dir.Entries(), 1u);
}

}  // namespace
