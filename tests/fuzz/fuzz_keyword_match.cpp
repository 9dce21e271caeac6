// Word-file matching: the domains found are exactly those whose non-empty name is a whole line
// of the file (as the string list splits it), and feeding the file in pieces changes nothing.
#include <set>
#include <vector>

#include "fuzz_input.h"
#include "domaintools/keyword_compare.h"
#include "platform/text/string_list.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  const std::string_view text(reinterpret_cast<const char*>(data) + 1, size - 1);
  const std::vector<std::string> lines = orlu::SplitLines(text);

  // Names: some lines of the file, some of them altered, and duplicates.
  std::vector<std::string> names;
  for (std::size_t i = 0; i < lines.size() && names.size() < 64; ++i) {
    names.push_back(lines[i]);
    if (data[0] & 1) names.push_back(lines[i] + "x");
    if (data[0] & 2) names.push_back(lines[i].substr(0, lines[i].size() / 2));
  }
  orlu::KeyWordNameIndex index;
  index.Build(names);

  const std::set<std::string> present(lines.begin(), lines.end());
  std::vector<int> expected;
  for (std::size_t j = 0; j < names.size(); ++j) {
    if (!names[j].empty() && present.count(names[j])) expected.push_back(static_cast<int>(j));
  }
  orlu::WordFileMatcher matcher(index);
  matcher.Feed(text);
  FUZZ_CHECK(matcher.Finish() == expected);

  // The matcher is ready for the next file.
  const std::size_t piece = (data[0] >> 2) + 1;
  for (std::size_t at = 0; at < text.size(); at += piece) matcher.Feed(text.substr(at, piece));
  FUZZ_CHECK(matcher.Finish() == expected);
  return 0;
}
