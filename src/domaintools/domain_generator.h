// Offline generation of candidate domain names: filling the source lists,
// joining two lists, misspelt (TYPO) variants and suffix expansion.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/text/string_list.h"

namespace orlu {

// When the list it fills would take more than this many bytes of memory, a
// join, TYPO run or expansion is refused before anything is built.
inline constexpr long long kMaxGeneratedBytes = kMaxListBytes;

// The size of what an operation would make; sums saturate at the largest
// value rather than wrap.
struct OutputSize {
  long long lines = 0;
  long long bytes = 0;
  OutputSize& operator+=(const OutputSize& more);
};

// "a" .. "z" and "0" .. "9".
std::vector<std::string> LetterLines();
std::vector<std::string> DigitLines();

// Every outer line followed directly by every inner line, in order; lines are
// used as they are.
OutputSize SizeOfJoin(const std::vector<std::string>& outer,
                      const std::vector<std::string>& inner);
void JoinLists(const std::vector<std::string>& outer,
               const std::vector<std::string>& inner,
               std::vector<std::string>& out);

// TYPO modes: 0 drop one character of the name, 1 one "n" -> "m",
// 2 one "m" -> "n", 3 drop the first two characters, 4 double one character,
// 5 "x.com.cn" -> "xcom.cn". A double-byte character counts as one.
void MakeTypoDomains(const StringList& input, StringList& output, std::uint8_t mode);
OutputSize SizeOfTypoDomains(const StringList& input, std::uint8_t mode);

// The suffixes of the expansion in their fixed order.
struct SuffixEntry {
  const char* suffix;
  const char* box;      // name of its check box
  bool tickedByDefault;
};
inline constexpr int kSuffixCount = 14;
extern const std::array<SuffixEntry, kSuffixCount> kSuffixTable;

// Each line lower-cased and trimmed, followed by each selected suffix, grouped
// by line.
OutputSize SizeOfExpansion(const std::vector<std::string>& lines,
                           const std::array<bool, kSuffixCount>& selected);
std::vector<std::string> ExpandWithSuffixes(const std::vector<std::string>& lines,
                                            const std::array<bool, kSuffixCount>& selected);

// A list that holds `lines` lines, whose text with CR LF after each line is
// `textLength` bytes long (a memo's line count and text length), once
// `added` is appended to it.
OutputSize SizeAfterAppend(long long lines, long long textLength, const OutputSize& added);

// True when an operation of this size may run; otherwise the message that
// says why not.
bool WithinGeneratedLimits(const OutputSize& size);
std::string TooLargeMessage(const OutputSize& size);

}  // namespace orlu
