// GBK byte strings: every text of the system is a std::string of GBK bytes
// (code page 936). Positions handed to and returned by these helpers are
// 1-based, 0 meaning "not found", as the system's routines count them.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace orlu {

// True for a byte that starts a double-byte GBK character (0x81-0xFE).
inline bool IsGbkLeadByte(unsigned char c) { return c >= 0x81 && c <= 0xFE; }
// True for a byte that may follow a lead byte (0x40-0xFE without 0x7F).
inline bool IsGbkTrailByte(unsigned char c) { return c >= 0x40 && c <= 0xFE && c != 0x7F; }

// Removes bytes <= 0x20 (blanks and control bytes) at both ends / one end.
std::string Trim(std::string_view s);
std::string TrimLeft(std::string_view s);
std::string TrimRight(std::string_view s);

// Lower-/upper-cases single-byte A-Z (a-z) only; the bytes of a double-byte
// character, its second byte included, are never changed.
std::string LowerCase(std::string_view s);
std::string UpperCase(std::string_view s);

// Byte-wise search: 1-based position of the first `sub` in `s` at or after
// position `from` (a `from` below 1 counts as 1), 0 when absent (also for an
// empty `sub`).
int Pos(std::string_view sub, std::string_view s, int from = 1);

// As Pos, but only matches that start at a character boundary of `s`
// (a byte that is the second half of a double-byte character never starts a
// match, and a match never ends inside a character), so "|" never matches
// inside a Chinese character. Characters are counted from the start of `s`.
int PosChar(std::string_view sub, std::string_view s, int from = 1);

// 1-based substring in the style of the system's routines: `count` bytes from
// `index`; an `index` below 1 counts as 1 (the count is kept), a count past
// the end is clipped, an `index` past the end or a `count` below 1 gives "".
std::string Copy(std::string_view s, int index, int count);

// Converts a UTF-8 literal of the source code to GBK (for captions, markers
// and messages written in the source as UTF-8).
std::string Gbk(std::string_view utf8);

// Decimal conversions. StrToInt takes an optional sign and digits (blanks at
// either end are ignored); anything else, or a value out of range, raises
// ConvertError naming the text.
int StrToInt(std::string_view s);
long long StrToInt64(std::string_view s);
std::string IntToStr(long long v);

}  // namespace orlu
