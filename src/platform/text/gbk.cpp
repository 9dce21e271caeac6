#include "platform/text/gbk.h"

#include <algorithm>
#include <charconv>
#include <limits>

#include "platform/text/codepage.h"
#include "platform/text/errors.h"

namespace orlu {
namespace {

inline unsigned char B(char c) { return static_cast<unsigned char>(c); }

// Length in bytes of the character starting at `i`: 2 for a lead byte with
// its second byte, otherwise 1.
inline size_t CharLen(std::string_view s, size_t i) {
  if (IsGbkLeadByte(B(s[i])) && i + 1 < s.size() && IsGbkTrailByte(B(s[i + 1]))) return 2;
  return 1;
}

template <unsigned char From, unsigned char To>
std::string MapCase(std::string_view s) {
  std::string out(s);
  for (size_t i = 0; i < out.size();) {
    const size_t n = CharLen(out, i);
    if (n == 1 && B(out[i]) >= From && B(out[i]) <= To) out[i] = static_cast<char>(B(out[i]) ^ 0x20);
    i += n;
  }
  return out;
}

}  // namespace

std::string Trim(std::string_view s) { return TrimLeft(TrimRight(s)); }

std::string TrimLeft(std::string_view s) {
  size_t i = 0;
  while (i < s.size() && B(s[i]) <= 0x20) ++i;
  return std::string(s.substr(i));
}

std::string TrimRight(std::string_view s) {
  size_t n = s.size();
  while (n > 0 && B(s[n - 1]) <= 0x20) --n;
  return std::string(s.substr(0, n));
}

std::string LowerCase(std::string_view s) { return MapCase<'A', 'Z'>(s); }
std::string UpperCase(std::string_view s) { return MapCase<'a', 'z'>(s); }

int Pos(std::string_view sub, std::string_view s, int from) {
  if (sub.empty()) return 0;
  if (from < 1) from = 1;
  if (static_cast<size_t>(from) > s.size()) return 0;
  const size_t k = s.find(sub, static_cast<size_t>(from - 1));
  return k == std::string_view::npos ? 0 : static_cast<int>(k + 1);
}

int PosChar(std::string_view sub, std::string_view s, int from) {
  if (sub.empty()) return 0;
  if (from < 1) from = 1;
  if (static_cast<size_t>(from) > s.size()) return 0;
  size_t boundary = 0;  // always the start of a character of `s`
  size_t searchAt = static_cast<size_t>(from - 1);
  for (;;) {
    const size_t k = s.find(sub, searchAt);
    if (k == std::string_view::npos) return 0;
    while (boundary < k) boundary += CharLen(s, boundary);
    if (boundary == k) {
      // The match must also end where a character ends.
      size_t e = k;
      while (e < k + sub.size()) e += CharLen(s, e);
      if (e == k + sub.size()) return static_cast<int>(k + 1);
    }
    searchAt = k + 1;
  }
}

std::string Copy(std::string_view s, int index, int count) {
  // As the system's routine: an index below 1 counts as 1 (the count is kept),
  // an index past the end or a count below 1 gives "".
  if (index < 1) index = 1;
  if (count < 1 || static_cast<size_t>(index) > s.size()) return {};
  const size_t start = static_cast<size_t>(index - 1);
  return std::string(s.substr(start, std::min<size_t>(static_cast<size_t>(count), s.size() - start)));
}

std::string Gbk(std::string_view utf8) { return Utf8ToAnsi(utf8); }

namespace {

template <typename T>
T ParseInteger(std::string_view text) {
  size_t b = 0, e = text.size();
  while (b < e && B(text[b]) <= 0x20) ++b;
  while (e > b && B(text[e - 1]) <= 0x20) --e;
  std::string_view t = text.substr(b, e - b);
  bool negative = false;
  if (!t.empty() && (t[0] == '+' || t[0] == '-')) {
    negative = t[0] == '-';
    t.remove_prefix(1);
  }
  if (t.empty() || !std::all_of(t.begin(), t.end(), [](char c) { return c >= '0' && c <= '9'; }))
    throw ConvertError(std::string(text));
  // Accumulate as a negative number so that the minimum value fits.
  T value = 0;
  for (char c : t) {
    const T d = static_cast<T>(c - '0');
    if (value < (std::numeric_limits<T>::min() + d) / 10) throw ConvertError(std::string(text));
    value = static_cast<T>(value * 10 - d);
  }
  if (!negative) {
    if (value == std::numeric_limits<T>::min()) throw ConvertError(std::string(text));
    value = -value;
  }
  return value;
}

}  // namespace

int StrToInt(std::string_view s) { return ParseInteger<int>(s); }
long long StrToInt64(std::string_view s) { return ParseInteger<long long>(s); }
std::string IntToStr(long long v) { return std::to_string(v); }

}  // namespace orlu
