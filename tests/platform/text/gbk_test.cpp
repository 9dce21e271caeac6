#include "platform/text/gbk.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <tuple>

#include "platform/text/errors.h"
#include "support/expect_error.h"

using namespace orlu;
using orlu::test::ExpectError;

namespace {

TEST(Trim, RemovesBytesUpToBlankAtTheEnds) {
  const std::string s = std::string("\0\x01\t\r\n ", 6) + "a b\x1F" + "\xD6\xD0" + " \x20\x7F" +
                        std::string("\x1F\0 \r\n", 5);
  EXPECT_EQ(Trim(s), "a b\x1F\xD6\xD0 \x20\x7F");
  EXPECT_EQ(TrimLeft("  x  "), "x  ");
  EXPECT_EQ(TrimRight("  x  "), "  x");
  EXPECT_EQ(Trim(" \t\r\n "), "");
  EXPECT_EQ(Trim("\xA1\xA1"), "\xA1\xA1");  // 0x80 and above are not blanks
}

TEST(LowerCase, ChangesSingleByteLettersOnly) {
  // 網 is BE 57 and 華 is C8 41: their second bytes look like "W" and "A".
  EXPECT_EQ(LowerCase("ABC\xBE\x57XYZ\xC8\x41Q"), "abc\xBE\x57xyz\xC8\x41q");
  EXPECT_EQ(UpperCase("abc\xBE\x77xyz\xC8\x61q"), "ABC\xBE\x77XYZ\xC8\x61Q");
  EXPECT_EQ(LowerCase("@[`{Z"), "@[`{z");
  // A lead byte at the end, or before a byte that cannot follow it, stands alone.
  EXPECT_EQ(LowerCase("A\xBE"), "a\xBE");
  EXPECT_EQ(LowerCase("\xBE\x0A" "A"), "\xBE\x0A" "a");
}

TEST(Pos, FindsBytesAndPosCharOnlyWholeCharacters) {
  // "|" (0x7C) and "@" (0x40) as second bytes: \xB0\x7C and \x81\x40.
  const std::string s = "\xB0\x7C" "a\x81\x40" "b|c@";
  const std::tuple<std::string, std::string, int, int, int> cases[] = {
      // sub, text, from, Pos, PosChar
      {"b", "abcb", 3, 4, 4}, {"b", "abcb", 5, 0, 0}, {"a", "abc", 0, 1, 1}, {"", "abc", 1, 0, 0},
      {"abcd", "abc", 1, 0, 0}, {"|", s, 1, 2, 7}, {"@", "\x81\x40", 1, 2, 0},
      // The walk starts at the beginning even when the search does not.
      {"|", "\xB0\x7C|", 2, 2, 3},
      // Multi-byte markers, and matches that would cut the last character apart.
      {"\xD6\xD0", "\xCE\xD6\xD0\xC4\xD6\xD0", 1, 2, 5}, {"x\xD6", "x\xD6\xD0", 1, 1, 0},
      {"x\xD6", "ax\xD6", 1, 2, 2},
      // After a lead byte that has no valid second byte, the next byte is a character.
      {".", "\xB0.", 1, 2, 2},
  };
  for (const auto& [sub, text, from, pos, posChar] : cases) {
    SCOPED_TRACE(testing::PrintToString(sub) + " in " + testing::PrintToString(text));
    EXPECT_EQ(Pos(sub, text, from), pos);
    EXPECT_EQ(PosChar(sub, text, from), posChar);
  }
}

TEST(Copy, ClipsLikeTheSystemRoutine) {
  const std::tuple<int, int, std::string> cases[] = {
      {2, 3, "bcd"}, {4, 100, "def"}, {6, 1, "f"}, {7, 1, ""}, {0, 2, "ab"}, {-5, 2, "ab"},
      {2, 0, ""}, {2, -1, ""}, {INT_MAX, INT_MAX, ""}, {1, INT_MAX, "abcdef"}};
  for (const auto& [index, count, part] : cases)
    EXPECT_EQ(Copy("abcdef", index, count), part) << index << " " << count;
}

TEST(StrToInt, ParsesWholeNumbers) {
  const std::pair<const char*, int> cases[] = {
      {" 42 ", 42}, {"+7", 7}, {"-007", -7}, {"2147483647", INT_MAX}, {"-2147483648", INT_MIN}};
  for (const auto& [text, value] : cases) EXPECT_EQ(StrToInt(text), value) << text;
  EXPECT_EQ(StrToInt64("-9223372036854775808"), LLONG_MIN);
  EXPECT_EQ(StrToInt64("9223372036854775807"), LLONG_MAX);
  EXPECT_EQ(IntToStr(LLONG_MIN), "-9223372036854775808");
}

TEST(StrToInt, RaisesConvertErrorNamingTheText) {
  for (const char* bad : {"", " ", "abc", "12a", "1 2", "-", "+-1", "0x10", "1.5", "2147483648",
                          "-2147483649", "99999999999999999999", "\xD6\xD0"})
    ExpectError<ConvertError>([&] { StrToInt(bad); }, Gbk("“") + bad + Gbk("”不是有效的整数"));
  ExpectError<Error>([] { StrToInt64("9223372036854775808"); },
                     Gbk("“9223372036854775808”不是有效的整数"));
}

}  // namespace
