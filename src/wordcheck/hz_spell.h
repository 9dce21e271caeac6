// Hanzi-to-pinyin converter: GBK text in, toneless pinyin in small letters
// out. Chinese characters read through the generated tables of
// hz_spell_tables.h; the enumerated numbers of row A2 become digits, the
// full-width letters and digits of row A3 and the Greek letters of row A6
// become Latin letters, and most printable ASCII passes through.
//
// The functions keep no state and may run in any thread at once.
#pragma once

#include <string>
#include <string_view>

#include "wordcheck/hz_spell_tables.h"

namespace orlu {

// Digits of the enumerated symbols of row A2, at trail - 0xA1 (trail A1-FE).
extern const std::string_view CharIndex[94];

// Latin letters of the Greek letters of row A6, at trail - 0xA1 (capitals,
// A1-B8) or trail - 0xC1 (small letters, C1-D8).
extern const std::string_view CharIndex2[24];

// Reading of the one character starting at p, which may use len bytes
// (1 or 2): a lead byte of 0x81 or more with a second byte of 0x40 or more is
// a double-byte character, anything else a single byte. A character without
// a reading gives "".
std::string GetHzPy(const char* p, int len);

// Readings of all characters of text joined by one blank; characters without
// a reading add nothing, and no blank leads or trails.
std::string GetHzPyFull(std::string_view text);

// First letter of GetHzPy(p, len), or "" when that is empty.
std::string GetHzPyHead(const char* p, int len);

// First letters of the readings of all characters of text, with no separator.
std::string GetPyChars(std::string_view text);

// A text with its full reading and initials, each computed on first read and
// kept until the text changes. An empty result is not kept: it is computed
// again on the next read. An object belongs to the thread that uses it.
class THzSpell {
 public:
  THzSpell() = default;

  static std::string PyOfHz(std::string_view text) { return GetHzPyFull(text); }

  // The text the readings below are of.
  void SetHzText(std::string text);

  // Property HzSpell (read-only).
  std::string HzSpell() { return GetHzSpell(); }
  std::string GetHzSpell();

  // Property PyHead (read-only).
  std::string PyHead() { return GetPyHead(); }
  std::string GetPyHead();

 protected:
  std::string FHzText;
  std::string FHzSpell;
  std::string FPyHead;
};

}  // namespace orlu
