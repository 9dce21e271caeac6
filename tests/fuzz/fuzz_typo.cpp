// TYPO variants and suffix expansion of a loaded domain list, on arbitrary
// bytes: the count given before the run is the number of lines made, and a
// variant never changes the text after the name.
#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "domaintools/domain_generator.h"
#include "platform/text/gbk.h"
#include "platform/text/string_list.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // Variants of one line grow with the square of its length: a few
  // kilobytes are enough to reach every path.
  const std::string_view text(reinterpret_cast<const char*>(data),
                              std::min<std::size_t>(size, 4096));
  const orlu::StringList input(orlu::SplitLines(text));

  for (std::uint8_t mode = 0; mode <= 6; ++mode) {
    orlu::StringList output;
    orlu::MakeTypoDomains(input, output, mode);
    const orlu::OutputSize expected = orlu::SizeOfTypoDomains(input, mode);
    if (expected.lines != output.Count()) std::abort();
    long long bytes = 0;
    for (const auto& v : output.Lines()) bytes += static_cast<long long>(v.size()) + 1;
    if (expected.bytes != bytes) std::abort();
    if (mode == 6 && output.Count() != 0) std::abort();
    // Each variant keeps the entry's suffix; only the name changes.
    int at = 0;
    for (const auto& line : input.Lines()) {
      const std::string e = orlu::Trim(orlu::LowerCase(line));
      const size_t dot = e.find('.');
      const long long n = orlu::CountTypoDomains(orlu::StringList({line}), mode);
      if (n > 0 && dot == std::string::npos) std::abort();
      for (long long k = 0; k < n; ++k, ++at) {
        const std::string& v = output.Get(at);
        const std::string suffix = mode == 5 ? e.substr(dot + 1) : e.substr(dot);
        if (v.size() < suffix.size() || v.compare(v.size() - suffix.size(), suffix.size(),
                                                  suffix) != 0)
          std::abort();
      }
    }
  }

  std::array<bool, orlu::kSuffixCount> all;
  all.fill(true);
  const auto expanded = orlu::ExpandWithSuffixes(input.Lines(), all);
  const orlu::OutputSize expansion = orlu::SizeOfExpansion(input.Lines(), all);
  long long expandedBytes = 0;
  for (const auto& x : expanded) expandedBytes += static_cast<long long>(x.size()) + 1;
  if (static_cast<long long>(expanded.size()) != expansion.lines ||
      expandedBytes != expansion.bytes)
    std::abort();

  const auto& lines = input.Lines();
  const std::vector<std::string> few(lines.begin(),
                                     lines.begin() + std::min<std::size_t>(lines.size(), 64));
  std::vector<std::string> joined;
  orlu::JoinLists(few, few, joined);
  long long bytes = 0;
  for (const auto& j : joined) bytes += static_cast<long long>(j.size()) + 1;
  const orlu::OutputSize join = orlu::SizeOfJoin(few, few);
  if (join.lines != static_cast<long long>(joined.size()) || join.bytes != bytes) std::abort();
  return 0;
}
