#include "wordcheck/hz_spell.h"

#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <string_view>
#include <thread>
#include <tuple>
#include <utility>
#include <vector>

namespace orlu {
namespace {

std::string Pair(int lead, int trail) {
  return std::string{static_cast<char>(lead), static_cast<char>(trail)};
}

// A text in a heap block of exactly its size, so that AddressSanitizer sees a read one
// byte past its end (a short std::string has spare room, a literal its closing zero).
std::vector<char> Exact(std::string_view text) { return {text.begin(), text.end()}; }
std::string_view View(const std::vector<char>& text) { return {text.data(), text.size()}; }

std::string Py(int lead, int trail) { return GetHzPy(Exact(Pair(lead, trail)).data(), 2); }

// The whole text's reading and initials.
std::string Both(std::string_view text) { return GetHzPyFull(text) + "/" + GetPyChars(text); }

// Readings are spaced; ASCII is kept or dropped like a character.
TEST(HzSpell, TextReadsAsSpacedSyllablesAndInitials) {
  const std::pair<std::string, std::string> cases[] = {
      {"\xD6\xD0\xB9\xFA", "zhong guo/zg"},                               // 中国
      {"\xBA\xBA\xD7\xD6\xC6\xB4\xD2\xF4", "han zi pin yin/hzpy"},  // 汉字拼音
      // Characters with a rarer or particle reading too read as in most words.
      {"\xB5\xD8\xB2\xFA\xCF\xE0\xCB\xC6\xD6\xA1\xB6\xF9\xCD\xAF",
       "di chan xiang si zhen er tong/dcxszet"},  // 地产相似帧儿童
      // u with a diaeresis is written v, also under a tone mark.
      {"\xC5\xAE\xC2\xCC\xC2\xD4", "nv lv lve/nll"},  // 女绿略
      {"abc", "a b c/abc"}, {"a-1.b", "a - 1 . b/a-1.b"}, {"a_b/c", "a b c/abc"},
      {"AbC", "A b C/AbC"}, {"  __ ", "/"}};
  for (const auto& [text, reading] : cases) EXPECT_EQ(Both(text), reading);
}

TEST(HzSpell, SingleCharacters) {
  const std::tuple<int, int, std::string> cases[] = {
      // Characters with several readings read the bound one: 行 长 中 重 啊.
      {0xD0, 0xD0, "hang"}, {0xB3, 0xA4, "zhang"}, {0xD6, 0xD0, "zhong"}, {0xD6, 0xD8, "zhong"},
      {0xB0, 0xA1, "a"},
      // Beyond GB2312: the extension rows' first code, two read by hand, a compatible form of 郎.
      {0x81, 0x40, "kao"}, {0x83, 0xBE, "shike"}, {0x83, 0xC4, "baike"}, {0xFD, 0x9C, "lang"}};
  for (const auto& [lead, trail, reading] : cases) EXPECT_EQ(Py(lead, trail), reading);
}

TEST(HzSpell, EverySingleByteAloneKeepsOnlyPrintableAscii) {
  std::string all;
  for (int c = 0; c < 256; ++c) all += GetHzPy(Exact(std::string(1, char(c))).data(), 1);
  EXPECT_EQ(all,
            "!\"#$%&()*+-.0123456789:<>?@ABCDEFGHIJKLMNOPQRSTUVWXYZ[]^"
            "abcdefghijklmnopqrstuvwxyz");
}

TEST(HzSpell, SymbolRowsGiveDigitsAndLatinLetters) {
  // Full-width ASCII: brackets, digits and letters only, letters keeping case.
  std::string a3;
  for (int trail = 0x40; trail <= 0xFF; ++trail) a3 += Py(0xA3, trail);
  EXPECT_EQ(a3, "()0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ[]abcdefghijklmnopqrstuvwxyz");
  // Row A2's enumerated numbers and row A6's Greek letters (both cases), at each run's edges.
  const std::pair<int, std::string> a2[] = {
      {0xA0, ""},  {0xA1, "1"}, {0xAA, "10"}, {0xAB, ""},  {0xB0, ""},   {0xB1, "1"},
      {0xC4, "20"}, {0xC5, "1"}, {0xD8, "20"}, {0xD9, "1"}, {0xE2, "10"}, {0xE3, ""},
      {0xE5, "1"}, {0xEE, "10"}, {0xF0, ""},  {0xF1, "1"}, {0xFC, "12"}, {0xFD, ""}, {0xFF, ""}};
  for (const auto& [trail, reading] : a2) EXPECT_EQ(Py(0xA2, trail), reading) << std::hex << trail;
  const std::pair<int, std::string> a6[] = {
      {0xA0, ""}, {0xA1, "a"}, {0xA8, "th"}, {0xB8, "o"}, {0xB9, ""},
      {0xC0, ""}, {0xC1, "a"}, {0xC8, "th"}, {0xD7, "ps"}, {0xD8, "o"}, {0xD9, ""}};
  for (const auto& [trail, reading] : a6) EXPECT_EQ(Py(0xA6, trail), reading) << std::hex << trail;
}

TEST(HzSpell, BrokenDoubleByteCharacters) {
  // A last lead byte alone reads nothing, and nothing after it is read.
  EXPECT_EQ(Both(View(Exact("a\xD6"))), "a/a");
  for (int lead = 0x81; lead <= 0xFF; ++lead)
    EXPECT_EQ(Both(View(Exact(std::string(1, char(lead))))), "/") << std::hex << lead;
  // A lead byte takes the next byte even if no trail byte: "1" is swallowed, "b" read.
  EXPECT_EQ(Both("\xD6" "1b"), "b/b");
  // The length limits what is read.
  const std::string zhong = "\xD6\xD0";
  EXPECT_EQ(GetHzPy(zhong.data(), 1) + GetHzPy(zhong.data(), 0) + GetHzPyHead(zhong.data(), 1), "");
}

// Every pair of bytes, in a block of exactly two bytes; the sanitizer suite runs this too.
TEST(HzSpell, EveryBytePairReadsInsideTheTables) {
  const std::regex shape("[a-zA-Z0-9()\\[\\]]{0,6}"), syllable("[a-z]{1,6}");
  int hanzi = 0;
  for (int lead = 0; lead < 256; ++lead) {
    for (int trail = 0; trail < 256; ++trail) {
      SCOPED_TRACE(testing::Message() << std::hex << lead << " " << trail);
      const std::vector<char> s = Exact(Pair(lead, trail));
      const std::string r = GetHzPy(s.data(), 2);
      ASSERT_EQ(GetHzPyHead(s.data(), 2), r.substr(0, 1));
      // The walk over the text takes the same one or two characters.
      if (lead >= 0x81) {
        ASSERT_EQ(Both(View(s)), r + "/" + r.substr(0, 1));
      }
      if (lead < 0x81 || trail < 0x40) {
        // Not a pair: the first byte is read alone.
        ASSERT_EQ(r, GetHzPy(s.data(), 1));
        continue;
      }
      ASSERT_TRUE(std::regex_match(r, shape));
      const bool gb2312Hanzi = lead >= 0xB0 && lead <= 0xF7 && trail >= 0xA1 && trail <= 0xFE &&
                               !(lead == 0xD7 && trail >= 0xFA);
      ASSERT_TRUE(!gb2312Hanzi || std::regex_match(r, syllable)) << r;
      hanzi += gb2312Hanzi;
      // Symbol rows without letters or digits, the codes after the last character of row
      // D7, 0x7F and 0xFF as second bytes and 0xFF as a first one read nothing.
      const bool empty = lead == 0xA1 || lead == 0xA4 || lead == 0xA5 ||
                         (lead >= 0xA7 && lead <= 0xA9) || lead >= 0xFE ||
                         (lead == 0xD7 && trail >= 0xFA) || trail == 0x7F || trail == 0xFF;
      ASSERT_TRUE(!empty || r.empty()) << r;
    }
  }
  EXPECT_EQ(hanzi, 6763);
}

// The word-check workers read names side by side: each conversion is its own.
TEST(HzSpell, ConvertsInSeveralThreadsAtOnce) {
  std::string text;
  for (int lead = 0xB0; lead <= 0xF7; ++lead) text += Pair(lead, 0xA1) + "a-1 ";
  const std::string full = GetHzPyFull(text), heads = GetPyChars(text);
  std::vector<int> same(4, 0);
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([&, t] {
      for (int i = 0; i < 50; ++i)
        same[t] += GetHzPyFull(text) == full && GetPyChars(text) == heads;
    });
  }
  for (auto& th : threads) th.join();
  EXPECT_EQ(same, std::vector<int>(4, 50));
}

// A reading follows the text set, also after an empty one.
TEST(THzSpell, FollowsNewText) {
  THzSpell spell;
  auto read = [&spell](const std::string& text) {
    spell.SetHzText(text);
    return spell.HzSpell() + "/" + spell.PyHead();
  };
  EXPECT_EQ(read("\xD6\xD0\xB9\xFA") + read("__") + read("abc"), "zhong guo/zg/a b c/abc");
}

// Opens the text behind the readings.
class CacheView : public THzSpell {
 public:
  void ChangeTextBehindTheCache(std::string text) { FHzText = std::move(text); }
};

// A reading is kept until the text is set again, unless it was empty.
TEST(THzSpell, KeepsOnlyNonEmptyReadings) {
  CacheView spell;
  spell.SetHzText("\xD6\xD0\xB9\xFA");  // 中国
  EXPECT_EQ(spell.HzSpell() + "/" + spell.PyHead(), "zhong guo/zg");
  spell.ChangeTextBehindTheCache("abc");
  EXPECT_EQ(spell.HzSpell() + "/" + spell.PyHead(), "zhong guo/zg");
  spell.SetHzText("__");
  EXPECT_EQ(spell.HzSpell() + "/" + spell.PyHead(), "/");
  spell.ChangeTextBehindTheCache("xy");
  EXPECT_EQ(spell.HzSpell() + "/" + spell.PyHead(), "x y/xy");
}

}  // namespace
}  // namespace orlu
