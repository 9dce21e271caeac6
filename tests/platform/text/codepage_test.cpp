#include "platform/text/codepage.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

using orlu::AnsiToUtf8;
using orlu::ListFileToAnsi;
using orlu::Utf8ToAnsi;

namespace {

// 中文 and 網 in GBK.
const std::string kZhongWen = "\xD6\xD0\xCE\xC4";
const std::string kWang = "\xBE\x57";

TEST(Utf8ToAnsi, ConvertsWellFormedTextAndMarksCharactersWithoutGbkForm) {
  const std::pair<std::string, std::string> cases[] = {
      {"", ""}, {"plain <b>ascii</b>\r\n\t", "plain <b>ascii</b>\r\n\t"},
      {"abc\xE4\xB8\xAD\xE6\x96\x87", "abc" + kZhongWen}, {"\xE7\xB6\xB2", kWang},
      // The euro sign is the single byte 0x80; a NUL byte passes through.
      {"\xE2\x82\xAC" "5", "\x80" "5"}, {std::string("a\0b", 3), std::string("a\0b", 3)},
      // Two-byte UTF-8 characters that GBK holds: the middle dot and e-acute.
      {"\xC2\xB7\xC3\xA9", "\xA1\xA4\xA8\xA6"},
      // No GBK form: Hangul (U+D55C), U+0080, any four-byte character up to the last.
      {"a\xED\x95\x9C" "b", "a?b"}, {"\xC2\x80", "?"}, {"x\xF0\x9F\x98\x80y", "x?y"},
      {"\xF4\x8F\xBF\xBF\xF0\x90\x80\x80", "??"},
  };
  for (const auto& [utf8, gbk] : cases) EXPECT_EQ(Utf8ToAnsi(utf8), gbk) << utf8;
}

TEST(Utf8ToAnsi, MalformedTextConvertsToNothingAsAWhole) {
  const std::string good = "<html>\xE4\xB8\xAD\xE6\x96\x87 text</html>";
  const std::string gbk = "<html>" + kZhongWen + " text</html>";
  const char* const bad[] = {
      "\x80", "\xC1\xBF",                                   // stray, and overlong below 0xC2
      "\xC3", "\xE4\xB8", "\xF0\x9F\x98",                   // sequences cut short
      "\xE0\x9F\xBF", "\xF0\x8F\xBF\xBF",                   // overlong forms
      "\xED\xA0\x80", "\xED\xBF\xBF",                       // surrogates
      "\xF4\x90\x80\x80", "\xF5\x80\x80\x80", "\xFF",       // above U+10FFFF, no lead byte
  };
  for (const char* b : bad) {
    SCOPED_TRACE(testing::PrintToString(std::string(b)));
    // At the end of the text, and followed by more (past an ASCII run).
    EXPECT_EQ(Utf8ToAnsi(b), "");
    EXPECT_EQ(Utf8ToAnsi(good + b + good + "padding to pass the ascii run"), "");
    // Leniently: each byte of the malformed sequence becomes "?", the rest converts.
    EXPECT_EQ(orlu::Utf8ToAnsiLenient(good + b + good), gbk + std::string(strlen(b), '?') + gbk);
  }
  // A page sent in GBK is not UTF-8.
  EXPECT_EQ(Utf8ToAnsi("<title>" + kZhongWen + "</title>" + kWang + " \xC8\x41 more"), "");
}

TEST(Utf8ToAnsi, NonAsciiAtEveryOffsetAroundTheAsciiRuns) {
  for (size_t before = 0; before < 20; ++before) {
    for (size_t after = 0; after < 12; ++after) {
      const std::string a(before, 'a'), z(after, 'z');
      ASSERT_EQ(Utf8ToAnsi(a + "\xE4\xB8\xAD" + z), a + "\xD6\xD0" + z) << before << " " << after;
      ASSERT_EQ(Utf8ToAnsi(a + "\xB8" + z), "") << before << " " << after;
      ASSERT_EQ(AnsiToUtf8(a + "\xD6\xD0" + z), a + "\xE4\xB8\xAD" + z) << before << " " << after;
    }
  }
}

TEST(AnsiToUtf8, ConvertsGbkTextAndMarksBytesThatAreNotGbk) {
  const std::pair<std::string, std::string> cases[] = {
      {"", ""}, {"ab" + kZhongWen, "ab\xE4\xB8\xAD\xE6\x96\x87"}, {"\x80", "\xE2\x82\xAC"},
      {kWang + "\xC8\x41", "\xE7\xB6\xB2\xE8\x8F\xAF"}, {"\xFF" "A", "?A"},
      // Cut off, lead byte before a non-second byte (0x7F never is one), pair with no character.
      {"ab\xD6", "ab?"}, {"\xD6\n\xD0", "?\n?"}, {"\x81\x7F", "?\x7F"}, {"\xA2\xA0", "?"},
  };
  for (const auto& [gbk, utf8] : cases) EXPECT_EQ(AnsiToUtf8(gbk), utf8) << gbk;
}

TEST(CodePage, EveryGbkCharacterSurvivesTheRoundTrip) {
  int mapped = 0;
  for (unsigned lead = 0x81; lead <= 0xFE; ++lead) {
    for (unsigned trail = 0x40; trail <= 0xFE; ++trail) {
      if (trail == 0x7F) continue;
      const std::string g{static_cast<char>(lead), static_cast<char>(trail)};
      const std::string u = AnsiToUtf8(g);
      if (u == "?") continue;
      ++mapped;
      ASSERT_EQ(Utf8ToAnsi(u), g) << std::hex << lead << " " << trail;
    }
  }
  // Code page 936 defines 21791 double-byte characters.
  EXPECT_EQ(mapped, 21791);
}

TEST(ListFileToAnsi, Utf8FilesAreConvertedAndGbkFilesKept) {
  const std::pair<std::string, std::string> cases[] = {
      // UTF-8, with and without the byte-order mark.
      {"a.com\r\n\xE4\xB8\xAD\xE6\x96\x87.cn\r\n", "a.com\r\n" + kZhongWen + ".cn\r\n"},
      {"\xEF\xBB\xBF\xE4\xB8\xAD\xE6\x96\x87", kZhongWen},
      // After the mark, a byte that is not UTF-8 does not lose the file.
      {"\xEF\xBB\xBF" "a\xD6\xD0" "b", "a??b"},
      // GBK text (not well-formed UTF-8) and plain ASCII stay byte for byte.
      {"a.com\r\n" + kZhongWen + ".cn", "a.com\r\n" + kZhongWen + ".cn"}, {"x.com\ny", "x.com\ny"},
  };
  for (const auto& [file, gbk] : cases) EXPECT_EQ(ListFileToAnsi(file), gbk) << file;
}

}  // namespace
