#include "sitequery/pr_checksum.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace orlu {
namespace {

using Values = std::vector<std::uint32_t>;

TEST(PrCalc, AbcFollowsTheHashChainToItsChecksum) {
  PrCalc pc;
  EXPECT_EQ(pc.HashString("info:abc"), 2489421539u);

  // v[0] = ((h / 7) << 2) | ((h mod 13) & 7), then nine less each step.
  Values v(20);
  v[0] = 1422526599u;
  for (int i = 1; i < 20; ++i) v[i] = v[i - 1] - 9;
  EXPECT_EQ(v[1], 1422526590u);
  EXPECT_EQ(v[19], 1422526428u);

  const Values bytes = pc.C32To8Bit(v, 20);
  ASSERT_EQ(bytes.size(), 80u);
  EXPECT_EQ(Values(bytes.begin(), bytes.begin() + 8),
            (Values{135, 8, 202, 84, 126, 8, 202, 84}));
  EXPECT_EQ(pc.HashInts(bytes, 80), 55950860u);

  EXPECT_EQ(pc.CheckSum("abc"), "655950860");
}

TEST(PrCalc, EmptyUrlStillHashesTheInfoPrefix) {
  PrCalc pc;
  EXPECT_EQ(pc.HashString("info:"), 882688726u);
  // g = 2316959404 is above 2^31 and is written without a sign.
  EXPECT_EQ(pc.CheckSum(""), "62316959404");
}

TEST(PrCalc, WholeBlocksWithNoRemainder) {
  PrCalc pc;
  // "info:" + 7 bytes = 12: one block, only the length goes into c after it.
  EXPECT_EQ(pc.HashString("info:abcdefg"), 1175743173u);
  EXPECT_EQ(pc.CheckSum("abcdefg"), "63499449888");
  // "info:" + 19 bytes = 24: two blocks.
  EXPECT_EQ(pc.HashString("info:abcdefghijklmnopqrs"), 3394575739u);
  EXPECT_EQ(pc.CheckSum("abcdefghijklmnopqrs"), "63454616787");
  // A typical domain, with a remainder of 8.
  EXPECT_EQ(pc.CheckSum("www.example.com"), "6904731021");
}

TEST(PrCalc, GbkBytesAreWidenedWithTheirSign) {
  PrCalc pc;
  const std::string domain = "\xD6\xD0\xB9\xFA.com";  // 中国.com
  EXPECT_EQ(pc.CheckSum(domain), "61125736754");

  // The same bytes taken as unsigned values give another checksum.
  const std::string text = "info:" + domain;
  Values unsigned_bytes;
  for (unsigned char c : text) unsigned_bytes.push_back(c);
  EXPECT_NE(pc.Lookup2Hash(unsigned_bytes, unsigned_bytes.size(), PrCalc::kSeed),
            pc.HashString(text));
  EXPECT_EQ(pc.HashString(text), 1289722430u);

  Values widened = unsigned_bytes;
  for (auto& v : widened) {
    if (v >= 0x80) v |= 0xFFFFFF00u;
  }
  EXPECT_EQ(widened[5], 0xFFFFFFD6u);
  EXPECT_EQ(pc.Lookup2Hash(widened, widened.size(), PrCalc::kSeed), pc.HashString(text));
}

TEST(PrCalc, SmallFirstValueWrapsBelowZero) {
  PrCalc pc;
  // h = 263 gives v[0] = 151; v[17] is already below zero.
  EXPECT_EQ(pc.HashString("info:x3776450.com"), 263u);
  EXPECT_EQ(pc.CheckSum("x3776450.com"), "6606600730");
  // h = 123 gives v[0] = 70; v[19] = 2^32 - 101.
  EXPECT_EQ(pc.HashString("info:x70097303.com"), 123u);
  EXPECT_EQ(pc.CheckSum("x70097303.com"), "61980745160");

  const Values wrapped{0xFFFFFFECu};
  EXPECT_EQ(pc.C32To8Bit(wrapped, 1), (Values{236, 255, 255, 255}));
}

TEST(PrCalc, UrlIsHashedAsPassed) {
  PrCalc pc;
  EXPECT_NE(pc.CheckSum("ABC"), pc.CheckSum("abc"));
  EXPECT_NE(pc.CheckSum(" abc"), pc.CheckSum("abc"));
}

TEST(PrCalc, ShiftsAreLogical) {
  PrCalc pc;
  EXPECT_EQ(pc.ZeroFill(0x80000000u, 31), 1u);
  EXPECT_EQ(pc.ZeroFill(0xFFFFFFFFu, 1), 0x7FFFFFFFu);
}

TEST(PrCalc, LengthsBeyondTheInputReadNothingOutsideIt) {
  PrCalc pc;
  EXPECT_EQ(pc.HashChars("info:abc", 1000), pc.HashString("info:abc"));
  EXPECT_EQ(pc.HashChars("info:abc", 5), pc.HashString("info:"));
  const Values k{1, 2, 3};
  EXPECT_EQ(pc.HashInts(k, 50), pc.HashInts(k, 3));
  EXPECT_EQ(pc.C32To8Bit(k, 9).size(), 12u);
}

}  // namespace
}  // namespace orlu
