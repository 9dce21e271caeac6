// Keyword-file comparison: 1,000,000 domains against ten word files of
// 100,000 lines each (half of them names of the domains), from reading the
// domain list to the last row, against grep -Fxf with the domains' names as
// patterns over the same files.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <numeric>
#include <random>
#include <string>
#include <vector>

#include <unistd.h>

#include "bench_util.h"
#include "domaintools/keyword_compare.h"
#include "platform/text/string_list.h"
#include "platform/thread/dispatcher.h"

namespace fs = std::filesystem;
using Lines = std::vector<std::string>;

namespace {

constexpr int kDomains = 1000000;
constexpr int kFiles = 10;
constexpr int kFileLines = 100000;
constexpr int kRuns = 3;

}  // namespace

int main() {
  const fs::path dir = fs::temp_directory_path() / std::string("bench_keyword_compare.").append(std::to_string(getpid()));
  fs::create_directories(dir);
  std::mt19937 rng(20260101);
  auto letters = [&rng] {
    std::uniform_int_distribution<int> len(3, 10), ch(0, 25);
    std::string s(static_cast<size_t>(len(rng)), 'a');
    for (auto& c : s) c = static_cast<char>('a' + ch(rng));
    return s;
  };

  // Distinct names: letters followed by the domain's number.
  static const char* kSuffixes[] = {".com", ".net", ".org", ".cn", ".com.cn"};
  Lines names, domains;
  for (int i = 0; i < kDomains; ++i) {
    names.push_back(letters().append(std::to_string(i)));
    domains.push_back(std::string(names.back()).append(kSuffixes[i % 5]));
  }
  const fs::path domainFile = dir / "domains.txt", nameFile = dir / "names.txt";
  orlu::bench::WriteLinesLf(domainFile, domains);
  orlu::bench::WriteLinesLf(nameFile, names);

  // Each file: 50,000 distinct names and 50,000 words that are no name.
  Lines files;
  std::vector<int> order(kDomains);
  std::iota(order.begin(), order.end(), 0);
  for (int f = 0; f < kFiles; ++f) {
    std::shuffle(order.begin(), order.end(), rng);
    Lines lines;
    for (int i = 0; i < kFileLines; ++i) {
      lines.push_back(i % 2 ? names[static_cast<size_t>(order[static_cast<size_t>(i)])]
                            : letters().append("-x").append(std::to_string(i)));
    }
    files.push_back((dir / std::string("words").append(std::to_string(f)).append(".txt")).string());
    orlu::bench::WriteLinesLf(files.back(), lines);
  }
  const long long expected = static_cast<long long>(kFiles) * kFileLines / 2;

  orlu::PlainLoopDispatcher loop;
  orlu::SetDispatcher(&loop);
  orlu::ThreadKeyWordStru job;
  orlu::MemoryRows rows;
  const double mine = orlu::bench::BestOf(kRuns, [&] {
    rows.Clear();
    const Lines list = orlu::SplitLines(orlu::ReadFileBytes(domainFile.string()));
    orlu::StartKeyWordCompare(job, "1", files, list, &rows);
    while (!orlu::KeyWordWorkersEnded(job)) loop.ProcessEvents(std::chrono::milliseconds(1));
    loop.ProcessEvents(std::chrono::milliseconds(0));
  });
  orlu::EndKeyWordWorkers(job);
  orlu::SetDispatcher(nullptr);
  if (rows.RowCount() != expected) {
    std::fprintf(stderr, "bench_keyword_compare: %d rows, expected %lld\n", rows.RowCount(), expected);
    return 1;
  }

  const fs::path out = dir / "grep.txt";
  std::string command = std::string("LC_ALL=C grep -hFxf ").append(orlu::bench::ShellQuote(nameFile));
  for (const auto& f : files) command.append(" ").append(orlu::bench::ShellQuote(f));
  command.append(" > ").append(orlu::bench::ShellQuote(out));
  const double peer = orlu::bench::BestOf(kRuns, [&] {
    if (std::system(command.c_str()) != 0) {
      std::fprintf(stderr, "bench_keyword_compare: grep failed\n");
      std::exit(1);
    }
  });
  if (static_cast<long long>(orlu::SplitLines(orlu::ReadFileBytes(out.string())).size()) != expected) {
    std::fprintf(stderr, "bench_keyword_compare: grep found another count\n");
    return 1;
  }

  std::printf("bench keyword_compare: %.3f s; grep -Fxf: %.3f s; ratio %.2f; target <= 1\n", mine,
              peer, mine / peer);
  fs::remove_all(dir);
  return 0;
}
