#include "sitequery/pr_checksum.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace orlu {
namespace {

TEST(PrCalc, Checksums) {
  struct Case {
    std::string url;
    std::uint32_t hash;  // of "info:" + url
    const char* checksum;
  };
  // The hashed text is "info:" + url; its length modulo 12 picks the tail of
  // the hash that takes the last bytes. GBK bytes are widened with their sign.
  const Case cases[] = {
      // The empty url hashes the prefix alone; g = 2316959404 (over 2^31) is written unsigned.
      {"", 882688726u, "62316959404"},
      // 12 and 24 bytes: whole blocks, only the length goes into c after them.
      {"abcdefg", 1175743173u, "63499449888"},
      {"abcdefghijklmnopqrs", 3394575739u, "63454616787"},
      {"www.example.com", 302754745u, "6904731021"},  // a tail of 8
      // Tails of 9, 10 and 11 bytes: the last ones go into c.
      {"a.cn", 2820524012u, "6732870886"},
      {"ab.cn", 2322751311u, "63119118923"},
      {"abc.cn", 2520424440u, "62732887492"},
      {"abcdefghijklmnopqr", 785850228u, "62179951944"},  // a block and 11
      {"\xD6\xD0\xB9\xFA", 2723480932u, "6618663232"},          // 中国
      {"x\xD6\xD0\xCE\xC4", 2133900674u, "6431656669"},         // x中文
      {"a.\xD6\xD0\xCE\xC4", 3818269265u, "699885749"},         // a.中文
      {"\xD6\xD0\xB9\xFA.com", 1289722430u, "61125736754"},     // 中国.com
      // h = 263 gives v[0] = 151; v[17] is already below zero. h = 123 gives
      // v[0] = 70; v[19] = 2^32 - 101.
      {"x3776450.com", 263u, "6606600730"},
      {"x70097303.com", 123u, "61980745160"},
  };
  PrCalc pc;
  for (const Case& c : cases) {
    EXPECT_EQ(pc.HashString("info:" + c.url), c.hash) << c.url;
    EXPECT_EQ(pc.CheckSum(c.url), c.checksum) << c.url;
  }
  // The url is hashed as passed.
  EXPECT_NE(pc.CheckSum("ABC"), pc.CheckSum("abc"));
  EXPECT_NE(pc.CheckSum(" abc"), pc.CheckSum("abc"));
}

}  // namespace
}  // namespace orlu
