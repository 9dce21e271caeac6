#include "domaintools/domain_generator.h"

#include <gtest/gtest.h>

#include <limits>
#include <tuple>
#include <utility>

#include "platform/text/gbk.h"

namespace orlu {
namespace {

using Lines = std::vector<std::string>;

Lines Typo(const Lines& in, std::uint8_t mode) {
  StringList input(in), output;
  MakeTypoDomains(input, output, mode);
  EXPECT_EQ(SizeOfTypoDomains(input, mode).lines, output.Count());
  return output.Lines();
}

TEST(Typo, AsciiModes) {
  const std::tuple<std::string, std::uint8_t, Lines> cases[] = {
      {"dog.com", 0, {"og.com", "dg.com", "do.com"}}, {"a.com", 0, {".com"}},
      {"aab.com", 0, {"ab.com", "ab.com", "aa.com"}}, {"nan.com", 1, {"man.com", "nam.com"}},
      {"mom.com", 2, {"nom.com", "mon.com"}},
      // Only the name changes: the suffix keeps its letters.
      {"a.net", 1, {}}, {"dog.com", 2, {}}, {"dog.com", 3, {"g.com"}}, {"do.com", 3, {}},
      {" Dog.Com ", 3, {"g.com"}}, {"ab.cn", 4, {"aab.cn", "abb.cn"}},
      {"dog.com.cn", 5, {"dogcom.cn"}}, {"dog.net.cn", 5, {}}, {"dog.com", 5, {}},
      {"dog.com.cn.x", 5, {}}, {"dog.com", 6, {}}};
  for (const auto& [name, mode, variants] : cases) EXPECT_EQ(Typo({name}, mode), variants) << name;
  for (std::uint8_t mode = 0; mode <= 5; ++mode)
    EXPECT_EQ(Typo({"nomad", "", "  "}, mode), Lines{}) << int(mode);
  // A long name is taken whole.
  const Lines out = Typo({std::string(1000, 'n') + ".com"}, 1);
  ASSERT_EQ(out.size(), 1000u);
  EXPECT_EQ(out[999], std::string(999, 'n') + "m.com");
}

TEST(Typo, DoubleByteCharactersAreOneUnit) {
  const std::string zw = Gbk("中文");  // D6 D0 CE C4
  EXPECT_EQ(Typo({zw + ".com"}, 0), (Lines{Gbk("文.com"), Gbk("中.com")}));
  EXPECT_EQ(Typo({zw + ".com"}, 4), (Lines{Gbk("中中文.com"), Gbk("中文文.com")}));
  EXPECT_EQ(Typo({Gbk("中文网") + ".com"}, 3), (Lines{Gbk("网.com")}));
  EXPECT_EQ(Typo({zw + ".com"}, 3), Lines{});
  // 蘭 is CC 6D: its second byte is an "m" that is not a letter of the name.
  const std::string lan = "\xCC\x6D";
  EXPECT_EQ(Typo({lan + "m.com"}, 2), (Lines{lan + "n.com"}));
  EXPECT_EQ(Typo({lan + ".com"}, 2), Lines{});
  // Upper-case bytes inside a character are not lower-cased (華 is C8 41).
  EXPECT_EQ(Typo({Gbk("華") + "A.com"}, 0), (Lines{"a.com", Gbk("華") + ".com"}));
}

using Size = std::pair<long long, long long>;  // lines, bytes
Size Of(const OutputSize& s) { return {s.lines, s.bytes}; }

// Lines and bytes (a break after each line) of what was actually made.
Size Measure(const Lines& lines) {
  Size size{static_cast<long long>(lines.size()), 0};
  for (const auto& l : lines) size.second += static_cast<long long>(l.size()) + 1;
  return size;
}

TEST(JoinAndExpand, OuterLinesKeepTheirOrder) {
  Lines joined;
  JoinLists({"a", "b"}, {"1", "", "2"}, joined);
  EXPECT_EQ(joined, (Lines{"a1", "a", "a2", "b1", "b", "b2"}));
  std::array<bool, kSuffixCount> some{};
  some[1] = some[13] = true;  // .com.cn and .cc
  EXPECT_EQ(ExpandWithSuffixes({" Dog ", "", "A.b"}, some),
            (Lines{"dog.com.cn", "dog.cc", ".com.cn", ".cc", "a.b.com.cn", "a.b.cc"}));
}

TEST(Limits, SizesAreKnownBeforeTheOutputIsBuilt) {
  const Lines mixed = {" Dog.Com ", "nan.com", "mom.com.cn", Gbk("中文网") + ".cn",
                       "\xCC\x6Dm.net", "nodot", "", "\xD6.com", "ab.c"};
  for (std::uint8_t mode = 0; mode <= 6; ++mode) {
    StringList input(mixed), output;
    MakeTypoDomains(input, output, mode);
    EXPECT_EQ(Of(SizeOfTypoDomains(input, mode)), Measure(output.Lines())) << int(mode);
  }

  Lines joined;
  JoinLists(mixed, {"x", "", Gbk("网")}, joined);
  EXPECT_EQ(Of(SizeOfJoin(mixed, {"x", "", Gbk("网")})), Measure(joined));

  std::array<bool, kSuffixCount> some{};
  some[1] = some[9] = some[13] = true;
  EXPECT_EQ(Of(SizeOfExpansion(mixed, some)), Measure(ExpandWithSuffixes(mixed, some)));
}

TEST(Limits, MemoryOfTheLinesAboveTheBoundIsRefusedWithItsCount) {
  // 456,976 four-letter names x 26 letters: 11.9 M lines, 71 MB of text,
  // may run; x 364 short lines: 998 MB of text, but some 10 GB in memory.
  Lines names(456'976, "abcd"), letters = LetterLines();
  EXPECT_TRUE(WithinGeneratedLimits(SizeOfJoin(names, letters)));
  EXPECT_FALSE(WithinGeneratedLimits(SizeOfJoin(names, Lines(364, "x"))));
  // Each line costs 56 bytes beyond its text and break.
  const long long lines = 10'000'000;
  EXPECT_TRUE(WithinGeneratedLimits({lines, kMaxGeneratedBytes - lines * 56}));
  EXPECT_FALSE(WithinGeneratedLimits({lines, kMaxGeneratedBytes - lines * 56 + 1}));
  EXPECT_EQ(TooLargeMessage({40'000, 1'600'160'000}),
            Gbk("结果共有 40000 行，约需内存 1602400000 字节，超过上限 1073741824 字节，未生成。"));

  // One name of 100,000 letters: as many variants, each nearly as long.
  StringList one(Lines{std::string(100'000, 'q') + ".com"});
  const OutputSize size = SizeOfTypoDomains(one, 0);
  EXPECT_EQ(Of(size), Size(100'000, 100'000LL * (100'003 + 1)));
  EXPECT_FALSE(WithinGeneratedLimits(size));
  // Counts that do not fit a number stay at the largest one.
  constexpr long long kTop = std::numeric_limits<long long>::max();
  OutputSize huge{kTop - 1, kTop - 2};
  huge += OutputSize{5, 5};
  EXPECT_EQ(Of(huge), Size(kTop, kTop));
  EXPECT_FALSE(WithinGeneratedLimits(huge));
}

// The bound is for the result list as a whole: what it holds and what a run adds.
TEST(Limits, TheResultListCountsWhatItHoldsAndWhatARunAdds) {
  // "ab" and "cdef" held (text "ab\r\ncdef\r\n"), three lines of 10 bytes added.
  EXPECT_EQ(Of(SizeAfterAppend(2, 10, {3, 10})), Size(5, 8 + 10));
  // 9 M lines of 8 letters held, as many added: each half alone fits.
  const OutputSize added{9'000'000, 81'000'000};
  EXPECT_TRUE(WithinGeneratedLimits(SizeAfterAppend(9'000'000, 90'000'000, {})));
  EXPECT_TRUE(WithinGeneratedLimits(SizeAfterAppend(0, 0, added)));
  EXPECT_FALSE(WithinGeneratedLimits(SizeAfterAppend(9'000'000, 90'000'000, added)));
}

}  // namespace
}  // namespace orlu
