// TYPO variants, suffix expansion and joins of any domain list: the sizes given before a run
// are those of what it makes, and a variant never changes the text after the name.
#include <algorithm>
#include <array>
#include <vector>

#include "fuzz_input.h"
#include "domaintools/domain_generator.h"
#include "platform/text/gbk.h"
#include "platform/text/string_list.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  auto same = [](const orlu::OutputSize& sized, const std::vector<std::string>& made) {
    long long bytes = 0;
    for (const auto& m : made) bytes += static_cast<long long>(m.size()) + 1;
    FUZZ_CHECK(sized.lines == static_cast<long long>(made.size()) && sized.bytes == bytes);
  };
  // Variants grow with the square of a line's length: a few kilobytes reach every path.
  const std::string_view text(reinterpret_cast<const char*>(data), std::min<std::size_t>(size, 4096));
  const orlu::StringList input(orlu::SplitLines(text));
  const auto& lines = input.Lines();

  for (std::uint8_t mode = 0; mode <= 6; ++mode) {
    orlu::StringList output;
    orlu::MakeTypoDomains(input, output, mode);
    same(orlu::SizeOfTypoDomains(input, mode), output.Lines());
    FUZZ_CHECK(mode != 6 || output.Count() == 0);
    int at = 0;
    for (const auto& line : lines) {
      const std::string e = orlu::Trim(orlu::LowerCase(line));
      const size_t dot = e.find('.');
      const long long n = orlu::SizeOfTypoDomains(orlu::StringList({line}), mode).lines;
      FUZZ_CHECK(n == 0 || dot != std::string::npos);
      for (long long k = 0; k < n; ++k, ++at) {
        FUZZ_CHECK(output.Get(at).ends_with(mode == 5 ? e.substr(dot + 1) : e.substr(dot)));
      }
    }
  }

  std::array<bool, orlu::kSuffixCount> all;
  all.fill(true);
  same(orlu::SizeOfExpansion(lines, all), orlu::ExpandWithSuffixes(lines, all));

  const std::vector<std::string> few(lines.begin(), lines.begin() + std::min<std::size_t>(lines.size(), 64));
  std::vector<std::string> joined;
  orlu::JoinLists(few, few, joined);
  same(orlu::SizeOfJoin(few, few), joined);
  return 0;
}
