// Domain list filter on generated 1,000,000-line lists:
//  - duplicate removal (read file, remove, write file) against awk '!seen[$0]++'
//  - list 1 against the names of list 2 against grep -vFxf
//  - extraction of domains from free text, in lines per second
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include <unistd.h>

#include "bench_util.h"
#include "domaintools/domain_filter.h"
#include "platform/text/gbk.h"
#include "platform/text/string_list.h"

namespace fs = std::filesystem;
using orlu::Lines;

namespace {

constexpr int kLines = 1000000;
constexpr int kNames = 100000;
constexpr int kRuns = 3;

void Shell(const std::string& command) {
  if (std::system(command.c_str()) != 0) {
    std::fprintf(stderr, "bench_domain_filter: failed: %s\n", command.c_str());
    std::exit(1);
  }
}

Lines ReadLines(const fs::path& file) { return orlu::SplitLines(orlu::ReadFileBytes(file.string())); }

std::size_t CountLines(const fs::path& file) {
  return ReadLines(file).size();
}

class Generator {
 public:
  std::string Name() {
    static const char kChars[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    std::uniform_int_distribution<int> len(3, 12), ch(0, 35);
    std::string s(static_cast<std::size_t>(len(rng_)), 'a');
    for (auto& c : s) c = kChars[ch(rng_)];
    return s;
  }
  std::string Suffix() {
    static const char* kSuffixes[] = {".com", ".net", ".org", ".cn", ".com.cn", ".info"};
    return kSuffixes[Pick(6)];
  }
  int Pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng_); }

 private:
  std::mt19937 rng_{20260101};
};

std::string PeerAwk() {
  return std::system("command -v gawk >/dev/null 2>&1") == 0 ? "gawk" : "awk";
}

}  // namespace

int main() {
  const fs::path dir = fs::temp_directory_path() / ("bench_domain_filter." + std::to_string(getpid()));
  fs::create_directories(dir);
  Generator gen;

  // ------------------------------------------------ duplicate removal
  {
    Lines distinct;
    for (int i = 0; i < kLines * 6 / 10; ++i) distinct.push_back(gen.Name() + gen.Suffix());
    Lines list;
    list.reserve(kLines);
    for (int i = 0; i < kLines; ++i) list.push_back(distinct[static_cast<std::size_t>(gen.Pick(static_cast<int>(distinct.size())))]);
    const fs::path in = dir / "list.txt", ours = dir / "dedup.txt", theirs = dir / "dedup_awk.txt";
    orlu::bench::WriteLinesLf(in, list);

    const double mine = orlu::bench::BestOf(kRuns, [&] {
      const Lines unique = orlu::RemoveDuplicateLines(ReadLines(in));
      orlu::bench::WriteLinesLf(ours, unique);
    });
    const std::string awk = PeerAwk();
    const double peer = orlu::bench::BestOf(kRuns, [&] {
      Shell("LC_ALL=C " + awk + " '!seen[$0]++' " + orlu::bench::ShellQuote(in) + " > " + orlu::bench::ShellQuote(theirs));
    });
    if (CountLines(ours) != CountLines(theirs) || orlu::ReadFileBytes(ours.string()) != orlu::ReadFileBytes(theirs.string())) {
      std::fprintf(stderr, "bench_domain_filter: duplicate removal differs from %s\n", awk.c_str());
      return 1;
    }
    std::printf("bench domain_filter_dedup: %.3f s; %s: %.3f s; ratio %.2f; target <= 0.5\n", mine,
                awk.c_str(), peer, mine / peer);
  }

  // ------------------------------------------ list 1 against list 2 names
  {
    Lines list1, names1, list2;
    list1.reserve(kLines);
    for (int i = 0; i < kLines; ++i) {
      names1.push_back(gen.Name());
      list1.push_back(names1.back() + gen.Suffix());
    }
    for (int i = 0; i < kNames; ++i) {
      list2.push_back(i % 2 ? names1[static_cast<std::size_t>(gen.Pick(kLines))] : gen.Name());
    }
    const fs::path l1 = dir / "list1.txt", n1 = dir / "names1.txt", l2 = dir / "list2.txt";
    const fs::path ours = dir / "cmp.txt", theirs = dir / "cmp_grep.txt";
    orlu::bench::WriteLinesLf(l1, list1);
    orlu::bench::WriteLinesLf(n1, names1);
    orlu::bench::WriteLinesLf(l2, list2);

    const double mine = orlu::bench::BestOf(kRuns, [&] {
      orlu::bench::WriteLinesLf(ours, orlu::DropListedNames(ReadLines(l1), ReadLines(l2)));
    });
    // grep gets the names already cut out of list 1 and compares whole lines.
    const double peer = orlu::bench::BestOf(kRuns, [&] {
      Shell("LC_ALL=C grep -vFxf " + orlu::bench::ShellQuote(l2) + " " + orlu::bench::ShellQuote(n1) + " > " + orlu::bench::ShellQuote(theirs) + "; test $? -le 1");
    });
    if (CountLines(ours) != CountLines(theirs)) {
      std::fprintf(stderr, "bench_domain_filter: comparison differs from grep\n");
      return 1;
    }
    std::printf("bench domain_filter_compare: %.3f s; grep -vFxf: %.3f s; ratio %.2f; target <= 1\n",
                mine, peer, mine / peer);
  }

  // ------------------------------------------------ extraction
  {
    const std::string pre[] = {orlu::Gbk("域名 "), orlu::Gbk("联系："), "http://www.", "admin@",
                               "[", "", orlu::Gbk("到期域名 www.")};
    const std::string post[] = {orlu::Gbk(" 已到期"), "/index.html", "]", "(test)", "",
                                orlu::Gbk(" 价格 100 元"), "/path/a.cn"};
    Lines text;
    text.reserve(kLines);
    for (int i = 0; i < kLines; ++i) {
      if (i % 20 == 0) {
        text.push_back(orlu::Gbk("这一行没有域名"));
        continue;
      }
      std::string line = pre[gen.Pick(7)];
      line += gen.Name();
      line += gen.Suffix();
      line += post[gen.Pick(7)];
      text.push_back(std::move(line));
    }
    std::size_t yielded = 0;
    const double secs = orlu::bench::BestOf(kRuns, [&] { yielded = orlu::ExtractDomains(text).size(); });
    if (yielded != static_cast<std::size_t>(kLines - kLines / 20)) {
      std::fprintf(stderr, "bench_domain_filter: extraction yielded %zu lines\n", yielded);
      return 1;
    }
    std::printf("bench domain_filter_extract: %.0f lines/s\n", kLines / secs);
  }

  fs::remove_all(dir);
  return 0;
}
