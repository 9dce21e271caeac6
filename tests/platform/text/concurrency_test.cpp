// The text layer used from several worker threads at once.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <thread>
#include <vector>

#include "platform/text/codepage.h"
#include "platform/text/string_list.h"
#include "support/temp_files.h"

using namespace orlu;
using orlu::test::Slurp;
using orlu::test::TempDir;

namespace {

TEST(TextConcurrency, ConversionsFromManyThreads) {
  // Workers convert replies at the same time; the tables are built once.
  std::vector<std::thread> threads;
  std::vector<int> ok(16, 0);
  for (int t = 0; t < 16; ++t) {
    threads.emplace_back([t, &ok] {
      const std::string utf8 = "reply " + std::to_string(t) + " \xE4\xB8\xAD\xE6\x96\x87\xE7\xB6\xB2";
      const std::string gbk = "reply " + std::to_string(t) + " \xD6\xD0\xCE\xC4\xBE\x57";
      for (int i = 0; i < 200; ++i) {
        if (Utf8ToAnsi(utf8) != gbk || AnsiToUtf8(gbk) != utf8) return;
      }
      ok[t] = 1;
    });
  }
  for (auto& th : threads) th.join();
  EXPECT_EQ(ok, std::vector<int>(16, 1));
}

TEST(TextConcurrency, SavesOfOneFileFromManyThreadsNeverMix) {
  TempDir dir;
  const std::string name = dir / "out.csv";
  std::set<std::string> texts;
  std::vector<std::string> contents;
  for (int t = 0; t < 8; ++t) {
    contents.push_back(JoinLines(std::vector<std::string>(500, std::string(40, static_cast<char>('a' + t)))));
    texts.insert(contents.back());
  }
  std::vector<std::thread> threads;
  for (int t = 0; t < 8; ++t)
    threads.emplace_back([&, t] {
      for (int i = 0; i < 10; ++i) WriteFileAtomically(name, contents[t]);
    });
  for (auto& th : threads) th.join();
  EXPECT_EQ(texts.count(Slurp(name)), 1u);
  EXPECT_EQ(dir.Entries(), 1u);
}

}  // namespace
