#include "wordcheck/hz_spell.h"

#include <array>
#include <cstddef>
#include <utility>

namespace orlu {

const std::string_view CharIndex[94] = {
    // A1-AA: small Roman numerals one to ten
    "1", "2", "3", "4", "5", "6", "7", "8", "9", "10",
    // AB-B0: unassigned
    "", "", "", "", "", "",
    // B1-C4: numbers with a full stop, 1. to 20.
    "1", "2", "3", "4", "5", "6", "7", "8", "9", "10",
    "11", "12", "13", "14", "15", "16", "17", "18", "19", "20",
    // C5-D8: parenthesised numbers (1) to (20)
    "1", "2", "3", "4", "5", "6", "7", "8", "9", "10",
    "11", "12", "13", "14", "15", "16", "17", "18", "19", "20",
    // D9-E2: circled numbers one to ten
    "1", "2", "3", "4", "5", "6", "7", "8", "9", "10",
    // E3-E4: euro sign, unassigned
    "", "",
    // E5-EE: parenthesised ideographic numbers one to ten
    "1", "2", "3", "4", "5", "6", "7", "8", "9", "10",
    // EF-F0: unassigned
    "", "",
    // F1-FC: capital Roman numerals one to twelve
    "1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11", "12",
    // FD-FE: unassigned
    "", "",
};

const std::string_view CharIndex2[24] = {
    "a", "b", "g", "d", "e", "z", "e", "th", "i", "k", "l", "m",
    "n", "x", "o", "p", "r", "s", "t", "u", "ph", "kh", "ps", "o",
};

namespace {

// Every byte value once, so a one-character reading is a view into it.
constexpr std::array<char, 256> kBytes = [] {
  std::array<char, 256> a{};
  for (int i = 0; i < 256; ++i) a[i] = static_cast<char>(i);
  return a;
}();

// Single bytes that stand for themselves: printable ASCII except
// ' , / ; = \ _ ` { | } ~.
constexpr std::array<bool, 256> kKept = [] {
  std::array<bool, 256> a{};
  for (int c = 0x21; c <= 0x7E; ++c) a[c] = true;
  for (unsigned char c : std::string_view("',/;=\\_`{|}~")) a[c] = false;
  return a;
}();

// Full-width signs of row A3 that read as their ASCII form: ( ) [ ], digits
// and letters.
constexpr std::array<bool, 128> kFullWidthKept = [] {
  std::array<bool, 128> a{};
  for (int c = '0'; c <= '9'; ++c) a[c] = true;
  for (int c = 'A'; c <= 'Z'; ++c) a[c] = true;
  for (int c = 'a'; c <= 'z'; ++c) a[c] = true;
  a['('] = a[')'] = a['['] = a[']'] = true;
  return a;
}();

constexpr int kTrailCount = 0xFE - 0x40 + 1;  // 191 trail bytes a row

std::string_view Self(unsigned char c) { return std::string_view(&kBytes[c], 1); }

// The reading of the character at p as a view into static data, never
// allocating. len is the number of bytes the character may use.
std::string_view ReadingOf(const unsigned char* p, std::ptrdiff_t len) {
  if (len >= 2 && p[0] >= 0x81 && p[1] >= 0x40) {
    const unsigned c1 = p[0];
    const unsigned c2 = p[1];
    switch (c1) {
      case 0xA2:
        return c2 >= 0xA1 && c2 <= 0xFE ? CharIndex[c2 - 0xA1] : std::string_view();
      case 0xA3: {
        if (c2 < 0x80) return {};
        const unsigned c = c2 - 0x80;
        return kFullWidthKept[c] ? Self(static_cast<unsigned char>(c)) : std::string_view();
      }
      case 0xA6:
        if (c2 >= 0xA1 && c2 <= 0xB8) return CharIndex2[c2 - 0xA1];
        if (c2 >= 0xC1 && c2 <= 0xD8) return CharIndex2[c2 - 0xC1];
        return {};
      default:
        // 0xFF is never part of a GBK character and lies outside the index.
        if (c1 == 0xFF || c2 == 0xFF) return {};
        return PyMusicCode[PyCodeIndex[(c1 - 0x81) * kTrailCount + (c2 - 0x40)]];
    }
  }
  if (len >= 1) return kKept[p[0]] ? Self(p[0]) : std::string_view();
  return {};
}

// Walks text a character at a time: a byte of 0x81 or more takes the next
// byte with it whatever that byte is.
template <typename Visit>
void ForEachReading(std::string_view text, Visit&& visit) {
  const auto* p = reinterpret_cast<const unsigned char*>(text.data());
  const std::size_t n = text.size();
  std::size_t i = 0;
  while (i < n) {
    const std::size_t len = (p[i] >= 0x81 && i + 1 < n) ? 2 : 1;
    visit(ReadingOf(p + i, static_cast<std::ptrdiff_t>(len)));
    i += len;
  }
}

}  // namespace

std::string GetHzPy(const char* p, int len) {
  if (p == nullptr) return {};
  return std::string(ReadingOf(reinterpret_cast<const unsigned char*>(p), len));
}

std::string GetHzPyHead(const char* p, int len) {
  if (p == nullptr) return {};
  return std::string(ReadingOf(reinterpret_cast<const unsigned char*>(p), len).substr(0, 1));
}

std::string GetHzPyFull(std::string_view text) {
  std::string result;
  result.reserve(text.size() * 2);
  ForEachReading(text, [&result](std::string_view r) {
    if (r.empty()) return;
    if (!result.empty()) result += ' ';
    result += r;
  });
  return result;
}

std::string GetPyChars(std::string_view text) {
  std::string result;
  result.reserve(text.size());
  ForEachReading(text, [&result](std::string_view r) {
    if (!r.empty()) result += r.front();
  });
  return result;
}

void THzSpell::SetHzText(std::string text) {
  FHzText = std::move(text);
  FHzSpell.clear();
  FPyHead.clear();
}

std::string THzSpell::GetHzSpell() {
  if (FHzSpell.empty()) FHzSpell = GetHzPyFull(FHzText);
  return FHzSpell;
}

std::string THzSpell::GetPyHead() {
  if (FPyHead.empty()) FPyHead = GetPyChars(FHzText);
  return FPyHead;
}

}  // namespace orlu
