// The keyword-file comparison on real word files, through the start routine
// (also under ThreadSanitizer).
#include "domaintools/keyword_compare.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "platform/text/errors.h"
#include "platform/text/gbk.h"
#include "support/expect_error.h"
#include "support/plain_loop_test.h"
#include "support/temp_files.h"

namespace orlu {
namespace {

using namespace std::chrono_literals;
using Lines = std::vector<std::string>;

class KeyWordCompareTest : public test::PlainLoopTest {
 protected:
  void TearDown() override {
    EndKeyWordWorkers(job);
    PlainLoopTest::TearDown();
  }

  std::string File(const std::string& name, const std::string& bytes) {
    test::Spit(dir / name, bytes);
    return dir / name;
  }

  // Starts a run and serves the workers until the last one has ended.
  void Run(const std::string& count, const Lines& files, const Lines& domains) {
    StartKeyWordCompare(job, count, files, domains, &rows);
    ASSERT_TRUE(PumpUntil([this] { return KeyWordWorkersEnded(job); }, 30s));
  }

  // Every row as "caption domain file".
  Lines Rows() const {
    Lines out;
    for (int i = 0; i < rows.RowCount(); ++i) {
      const ListRow r = rows.Row(i);
      out.push_back(r.caption + " " + r.cells.at(0) + " " + r.cells.at(1));
    }
    return out;
  }

  MemoryRows rows;
  ThreadKeyWordStru job;
  test::TempDir dir;
};

TEST(KeyWordNameIndex, EveryNameIsFoundPastCollisionsAndLongLinesEndAcrossPieces) {
  std::vector<std::string> names;
  for (int i = 0; i < 5000; ++i) names.push_back("n" + std::to_string(i * 7919));
  KeyWordNameIndex index;
  index.Build(names);
  int missed = 0;
  for (int i = 0; i < 5000; ++i) missed += index.Find(names[i]) != i;
  EXPECT_EQ(missed, 0);

  // A line longer than every name across two read pieces is skipped, the next ones read.
  WordFileMatcher matcher(index);
  matcher.Feed(std::string(12, 'x'));
  matcher.Feed("xxxx\n" + names[42] + "\n");
  matcher.Feed(std::string(12, 'y'));
  matcher.Feed("\r\n" + names[7]);
  EXPECT_EQ(matcher.Finish(), (std::vector<int>{7, 42}));
}

TEST_F(KeyWordCompareTest, WholeLinesMatchByteForByteOneRowPerDomainAndFileInDomainOrder) {
  ASSERT_EQ(mkdir((dir / "Up").c_str(), 0755), 0);
  // The path is opened as typed (capitals and all); the name shown is lower-cased.
  const std::string a = File("Up/Words.TXT", "dom\r\nDOM\r\n dom\r\ndomx\r\ndom\r\nweb\r\n");
  const std::string b = File("b.txt", "web\nother\ndom\n");
  const std::string c = File("c.txt", "nothing here\n");
  Run("1", {a, b, c}, {"dom.com", "  DOM.net ", "web.cn", "x.org", "dom.com.cn"});
  EXPECT_EQ(Rows(), (Lines{"1 dom.com words.txt", "2 dom.net words.txt", "3 web.cn words.txt",
                           "4 dom.com.cn words.txt", "5 dom.com b.txt", "6 dom.net b.txt",
                           "7 web.cn b.txt", "8 dom.com.cn b.txt"}));
}

TEST_F(KeyWordCompareTest, LineEndsNulBytesGbkAndEmptyNames) {
  auto joined = [](const std::string& eol) {
    return "x" + eol + "dom\t" + eol + eol + Gbk("中華") + eol + "dom" + eol + eol;
  };
  // A NUL byte does not end the file.
  const std::string nul = std::string("x\0y\n\n", 5) + Gbk("中華") + "\r\ndom";
  Run("3",
      {File("crlf.txt", joined("\r\n")), File("lf.txt", joined("\n")), File("cr.txt", joined("\r")),
       File("nul.txt", nul)},
      {"dom.com", Gbk("中華.cn"), "nodot", "", "  "});
  // "dom\t" is not "dom"; 中華 keeps the "A" of its second character (C8 41);
  // the empty names of "nodot" and the blank lines match no empty line.
  std::multiset<std::string> got;
  std::set<std::string> captions;
  for (const std::string& r : Rows()) {
    captions.insert(r.substr(0, r.find(' ')));
    got.insert(r.substr(r.find(' ') + 1));
  }
  const std::string zh = Gbk("中華.cn");
  EXPECT_EQ(got, (std::multiset<std::string>{"dom.com crlf.txt", "dom.com lf.txt", "dom.com cr.txt",
                                             "dom.com nul.txt", zh + " crlf.txt", zh + " lf.txt",
                                             zh + " cr.txt", zh + " nul.txt"}));
  EXPECT_EQ(captions, (std::set<std::string>{"1", "2", "3", "4", "5", "6", "7", "8"}));
}

TEST_F(KeyWordCompareTest, CountTextIsConvertedBeforeTheListIsTouched) {
  const std::string f = File("a.txt", "dom\n");
  rows.AddRow("1", {"old.com", "old.txt"});
  test::ExpectError<ConvertError>([&] { Run("3a", {f}, {"dom.com"}); },
                                  Gbk("“3a”不是有效的整数"));
  EXPECT_EQ(rows.RowCount(), 1);

  for (const char* count : {"101", "0", "-2"}) {
    Run(count, {f}, {"dom.com"});
    EXPECT_EQ(rows.RowCount(), 0) << count;
    for (const auto& t : job.Threads) EXPECT_EQ(t, nullptr) << count;
  }
  Run("100", {f}, {"dom.com"});
  EXPECT_EQ(Rows(), (Lines{"1 dom.com a.txt"}));
}

TEST_F(KeyWordCompareTest, UnreadableFilesAreSkippedAndListedOnceAtTheEnd) {
  std::vector<Lines> reports;
  job.OnUnreadFiles = [&](const Lines& paths) { reports.push_back(paths); };
  const std::string fifo = dir / "fifo.txt";
  ASSERT_EQ(mkfifo(fifo.c_str(), 0644), 0);
  Lines files = {dir / "missing.txt", dir.path().string(), fifo, File("good.txt", "dom\n")};
  if (geteuid() != 0) {  // root reads any file
    files.insert(files.begin() + 1, File("locked.txt", "dom\n"));
    chmod(files[1].c_str(), 0);
  }
  Lines unread(files.begin(), files.end() - 1);
  for (const char* count : {"1", "2"}) {
    reports.clear();
    Run(count, files, {"dom.com"});
    EXPECT_EQ(Rows(), (Lines{"1 dom.com good.txt"})) << count;
    EXPECT_EQ(reports, (std::vector<Lines>{unread})) << count;
  }
}

TEST_F(KeyWordCompareTest, NewStartEndsTheOldRunWhoseHitsNeverLand) {
  Lines files;
  for (int i = 0; i < 20; ++i) files.push_back(File("f" + std::to_string(i) + ".txt", "old\n"));
  // The old workers are left waiting on the window thread with their hits.
  StartKeyWordCompare(job, "20", files, {"old.com"}, &rows);
  std::this_thread::sleep_for(50ms);
  const auto t0 = std::chrono::steady_clock::now();
  Run("1", {File("new.txt", "new\n")}, {"new.com", "old.com"});
  EXPECT_LT(std::chrono::steady_clock::now() - t0, 2s);
  EXPECT_EQ(Rows(), (Lines{"1 new.com new.txt"}));
}

}  // namespace
}  // namespace orlu
