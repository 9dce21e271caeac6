// Conversions between UTF-8 and the system code page (GBK).
#pragma once

#include <string>
#include <string_view>

namespace orlu {

// Strict: well-formed UTF-8 (1 to 4 bytes a character) converts to GBK, a
// character without a GBK form (and every 4-byte character) becomes "?".
// Text that is not well-formed UTF-8 (stray continuation byte, truncated
// sequence, overlong form, surrogate, code point above U+10FFFF) converts to
// the empty text as a whole.
std::string Utf8ToAnsi(std::string_view utf8);

// As Utf8ToAnsi, but a byte that does not start a well-formed character
// becomes "?" and the rest of the text is still converted; for replies of
// servers that send some text in another code page.
std::string Utf8ToAnsiLenient(std::string_view utf8);

// The text of a list file as GBK. A file that starts with the UTF-8
// byte-order mark is UTF-8 (the mark dropped, converted as Utf8ToAnsiLenient);
// so is one that is well-formed UTF-8 holding at least one non-ASCII
// character (Utf8ToAnsi). Any other file is GBK already and stays as it is.
// Takes the bytes over: a file that is GBK already is returned as it came,
// without a second copy.
std::string ListFileToAnsi(std::string bytes);

// GBK to UTF-8. A byte or byte pair that is not GBK becomes "?", so the
// result is always well-formed UTF-8.
std::string AnsiToUtf8(std::string_view gbk);

}  // namespace orlu
