// Page-rank request checksums per second over a list of domains; no peer,
// the figure guards against slowing the hash down.
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "bench_util.h"
#include "sitequery/pr_checksum.h"

int main() {
  std::vector<std::string> domains;
  for (int i = 0; i < 4096; ++i) {
    domains.push_back("www.site" + std::to_string(i * 7919) + (i % 3 ? ".com" : ".com.cn"));
  }
  orlu::PrCalc calc;
  std::size_t checksums = 0;
  std::size_t digits = 0;
  const auto t0 = orlu::bench::Clock::now();
  double secs = 0;
  while (secs < 1.0) {
    for (const std::string& d : domains) digits += calc.CheckSum(d).size();
    checksums += domains.size();
    secs = orlu::bench::SecondsSince(t0);
  }
  std::printf("# checksum: %zu checksums, %zu digits\n", checksums, digits);
  std::printf("bench pr_checksum: %.0f checksums/s\n", static_cast<double>(checksums) / secs);
  return 0;
}
