#include "sitequery/pr_checksum.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
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
  const Values bytes = pc.C32To8Bit(v, 20);
  ASSERT_EQ(bytes.size(), 80u);
  EXPECT_EQ(Values(bytes.begin(), bytes.begin() + 8), (Values{135, 8, 202, 84, 126, 8, 202, 84}));
  EXPECT_EQ(pc.HashInts(bytes, 80), 55950860u);
  EXPECT_EQ(pc.CheckSum("abc"), "655950860");
}

TEST(PrCalc, Checksums) {
  struct Case {
    std::string url;
    std::uint32_t hash;  // of "info:" + url; 0 where not checked
    const char* checksum;
  };
  const Case cases[] = {
      // The empty url still hashes the prefix; g = 2316959404 is above 2^31
      // and is written without a sign.
      {"", 882688726u, "62316959404"},
      // "info:" + 7 bytes = 12: one block, only the length goes into c after
      // it; + 19 bytes = 24: two blocks.
      {"abcdefg", 1175743173u, "63499449888"},
      {"abcdefghijklmnopqrs", 3394575739u, "63454616787"},
      {"www.example.com", 0, "6904731021"},  // a remainder of 8
      // h = 263 gives v[0] = 151; v[17] is already below zero. h = 123 gives
      // v[0] = 70; v[19] = 2^32 - 101.
      {"x3776450.com", 263u, "6606600730"},
      {"x70097303.com", 123u, "61980745160"},
      {"\xD6\xD0\xB9\xFA.com", 1289722430u, "61125736754"},  // 中国.com
  };
  PrCalc pc;
  for (const Case& c : cases) {
    if (c.hash != 0) {
      EXPECT_EQ(pc.HashString("info:" + c.url), c.hash) << c.url;
    }
    EXPECT_EQ(pc.CheckSum(c.url), c.checksum) << c.url;
  }
  EXPECT_EQ(pc.C32To8Bit(Values{0xFFFFFFECu}, 1), (Values{236, 255, 255, 255}));
  // The url is hashed as passed.
  EXPECT_NE(pc.CheckSum("ABC"), pc.CheckSum("abc"));
  EXPECT_NE(pc.CheckSum(" abc"), pc.CheckSum("abc"));
}

TEST(PrCalc, GbkBytesAreWidenedWithTheirSign) {
  PrCalc pc;
  const std::string text = "info:\xD6\xD0\xB9\xFA.com";  // 中国.com
  // The same bytes taken as unsigned values give another hash.
  Values unsigned_bytes(text.begin(), text.end());
  for (auto& v : unsigned_bytes) v &= 0xFF;
  EXPECT_NE(pc.Lookup2Hash(unsigned_bytes, unsigned_bytes.size(), PrCalc::kSeed), pc.HashString(text));
  Values widened = unsigned_bytes;
  for (auto& v : widened) {
    if (v >= 0x80) v |= 0xFFFFFF00u;
  }
  EXPECT_EQ(widened[5], 0xFFFFFFD6u);
  EXPECT_EQ(pc.Lookup2Hash(widened, widened.size(), PrCalc::kSeed), pc.HashString(text));
}

TEST(PrCalc, ShiftsAreLogicalAndLengthsBeyondTheInputReadNothingOutsideIt) {
  PrCalc pc;
  EXPECT_EQ(pc.ZeroFill(0x80000000u, 31), 1u);
  EXPECT_EQ(pc.ZeroFill(0xFFFFFFFFu, 1), 0x7FFFFFFFu);
  EXPECT_EQ(pc.HashChars("info:abc", 1000), pc.HashString("info:abc"));
  EXPECT_EQ(pc.HashChars("info:abc", 5), pc.HashString("info:"));
  const Values k{1, 2, 3};
  EXPECT_EQ(pc.HashInts(k, 50), pc.HashInts(k, 3));
  EXPECT_EQ(pc.C32To8Bit(k, 9).size(), 12u);
}

}  // namespace
}  // namespace orlu
