// TYPO omission and repetition (modes 0 and 4) over 100,000 names, against
// the omission and repetition permutations of dnstwist on the same names,
// run from this program. The variant sets are compared name by name.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "bench_util.h"
#include "domaintools/domain_generator.h"

using namespace orlu;

namespace {

std::vector<std::string> MakeNames(int n) {
  std::mt19937 rng(7);
  const std::string letters = "abcdefghijklmnopqrstuvwxyz0123456789";
  std::vector<std::string> names;
  for (int i = 0; i < n; ++i) {
    int len = 3 + static_cast<int>(rng() % 10);
    std::string s;
    for (int k = 0; k < len; ++k) s += letters[rng() % 26];
    names.push_back(s + ".com");
  }
  return names;
}

// The peer times the two permutation calls alone (its set-up of each name,
// which parses the suffix and builds its keyboard tables, apart) and writes,
// per name, the name part it took, then its two variant sets.
const char* kPeer = R"PY(
import sys, time, dnstwist
names = [l.strip() for l in open(sys.argv[1])]
out = open(sys.argv[2], 'w')
t0 = time.perf_counter()
fuzzers = [dnstwist.Fuzzer(n) for n in names]
t1 = time.perf_counter()
results = [(f._omission(), f._repetition()) for f in fuzzers]
t2 = time.perf_counter()
for f, (om, rep) in zip(fuzzers, results):
    out.write(f.domain + '\n' + '\t'.join(sorted(om)) + '\n' + '\t'.join(sorted(rep)) + '\n')
print(t2 - t1, t1 - t0)
)PY";

std::set<std::string> Split(const std::string& line) {
  std::set<std::string> s;
  std::stringstream ss(line);
  std::string item;
  while (std::getline(ss, item, '\t')) s.insert(item);
  return s;
}

}  // namespace

int main() {
  const int kNames = 100000;
  auto names = MakeNames(kNames);
  StringList input(names);

  // Best of three runs.
  StringList omission, repetition;
  double ours = 1e9;
  for (int round = 0; round < 3; ++round) {
    omission = StringList();
    repetition = StringList();
    const auto t0 = orlu::bench::Clock::now();
    MakeTypoDomains(input, omission, 0);
    MakeTypoDomains(input, repetition, 4);
    ours = std::min(ours, orlu::bench::SecondsSince(t0));
  }

  // A folder of this run's own, so two runs at once keep apart.
  char tmpl[] = "/tmp/orlu-bench-typo-XXXXXX";
  if (mkdtemp(tmpl) == nullptr) {
    std::fprintf(stderr, "bench_typo: no temporary folder\n");
    return 1;
  }
  const std::string dir = tmpl;
  struct RemoveAtEnd {
    std::string path;
    ~RemoveAtEnd() {
      std::error_code ec;
      std::filesystem::remove_all(path, ec);
    }
  } cleanup{dir};
  {
    std::ofstream f(dir + "/names.txt");
    for (auto& n : names) f << n << "\n";
  }
  {
    std::ofstream f(dir + "/peer.py");
    f << kPeer;
  }
  std::string cmd = "/usr/bin/python3 " + dir + "/peer.py " + dir + "/names.txt " + dir + "/peer.out";
  FILE* p = popen(cmd.c_str(), "r");
  double peer = -1, peerSetUp = -1;
  if (p) {
    if (std::fscanf(p, "%lf %lf", &peer, &peerSetUp) != 2) peer = -1;
    pclose(p);
  }
  if (peer <= 0) {
    std::printf("bench typo_omission_repetition: %.3f s; dnstwist: unavailable\n", ours);
    return 0;
  }

  // Compare, per name, the sets of names (suffix removed, duplicates merged),
  // where dnstwist took the same name part: it reads a few names such as
  // "mex.com" as a registry suffix of their own and has no name part then.
  std::ifstream in(dir + "/peer.out");
  std::string peerName, omLine, repLine;
  int differ = 0, compared = 0;
  size_t oi = 0, ri = 0;
  auto take = [](const StringList& list, size_t& at, size_t count) {
    std::set<std::string> s;
    for (size_t k = 0; k < count; ++k) {
      std::string v = list.Get(static_cast<int>(at++));
      s.insert(v.substr(0, v.size() - 4));  // ".com"
    }
    return s;
  };
  for (const auto& n : names) {
    std::getline(in, peerName);
    std::getline(in, omLine);
    std::getline(in, repLine);
    const size_t len = n.size() - 4;
    auto om = take(omission, oi, len);
    auto rep = take(repetition, ri, len);
    if (peerName != n.substr(0, len)) continue;
    ++compared;
    if (om != Split(omLine) || rep != Split(repLine)) {
      if (differ < 3) std::fprintf(stderr, "typo: variants differ for %s\n", n.c_str());
      ++differ;
    }
  }

  std::printf(
      "bench typo_omission_repetition: %.3f s; dnstwist: %.3f s; ratio %.4f\n"
      "bench typo_dnstwist_name_set_up: %.3f s\n"
      "bench typo_variant_sets_differing: %d names of %d compared (%d names read otherwise "
      "by dnstwist)\n",
      ours, peer, ours / peer, peerSetUp, differ, compared, kNames - compared);
  return differ == 0 ? 0 : 1;
}
