// The text layer used from several worker threads at once.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <thread>
#include <vector>

#include "platform/text/string_list.h"
#include "support/temp_files.h"

using namespace orlu;
using orlu::test::Slurp;
using orlu::test::TempDir;

namespace {

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
