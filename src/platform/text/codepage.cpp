#include "platform/text/codepage.h"

#include <iconv.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <memory>

#include "platform/text/errors.h"
#include "platform/text/gbk.h"

namespace orlu {
namespace {

// Double-byte GBK characters: lead 0x81-0xFE, trail 0x40-0x7E or 0x80-0xFE.
constexpr int kTrailCount = 0xFE - 0x40 + 1;  // 191, 0x7F included as a hole
constexpr int kPairCount = (0xFE - 0x81 + 1) * kTrailCount;

struct Tables {
  // GBK pair -> UTF-16 unit; 0 where the pair is not a character.
  uint16_t toUnicode[kPairCount];
  // BMP code point -> GBK: below 0x100 a single byte, otherwise lead << 8 |
  // trail; 0 where the character has no GBK form.
  uint16_t fromUnicode[0x10000];
};

// The tables are read once from the C library's converter for code page 936;
// every conversion after that is a plain table walk.
std::unique_ptr<Tables> BuildTables() {
  auto t = std::make_unique<Tables>();
  std::memset(t.get(), 0, sizeof(Tables));
  for (unsigned c = 0; c < 0x80; ++c) t->fromUnicode[c] = static_cast<uint16_t>(c);
  // The single byte 0x80 of code page 936 is the euro sign.
  t->fromUnicode[0x20AC] = 0x80;

  iconv_t cd = iconv_open("UTF-32LE", "CP936");
  if (cd == reinterpret_cast<iconv_t>(-1)) cd = iconv_open("UTF-32LE", "GBK");
  if (cd == reinterpret_cast<iconv_t>(-1))
    throw Error("The GBK code page is not available");
  for (unsigned lead = 0x81; lead <= 0xFE; ++lead) {
    for (unsigned trail = 0x40; trail <= 0xFE; ++trail) {
      if (trail == 0x7F) continue;
      char in[2] = {static_cast<char>(lead), static_cast<char>(trail)};
      unsigned char out[8];
      char* ip = in;
      char* op = reinterpret_cast<char*>(out);
      size_t il = 2, ol = sizeof out;
      iconv(cd, nullptr, nullptr, nullptr, nullptr);
      if (iconv(cd, &ip, &il, &op, &ol) == static_cast<size_t>(-1) || il != 0 ||
          sizeof out - ol != 4)
        continue;
      uint32_t u = out[0] | out[1] << 8 | out[2] << 16 | static_cast<uint32_t>(out[3]) << 24;
      if (u == 0 || u > 0xFFFF) continue;
      t->toUnicode[(lead - 0x81) * kTrailCount + (trail - 0x40)] = static_cast<uint16_t>(u);
      if (t->fromUnicode[u] == 0) t->fromUnicode[u] = static_cast<uint16_t>(lead << 8 | trail);
    }
  }
  iconv_close(cd);
  return t;
}

const Tables& GetTables() {
  static const std::unique_ptr<Tables> tables = BuildTables();  // thread-safe once
  return *tables;
}

inline bool AllAscii8(const unsigned char* p) {
  uint64_t w;
  std::memcpy(&w, p, 8);
  return (w & 0x8080808080808080ULL) == 0;
}

inline bool IsCont(unsigned char c) { return (c & 0xC0) == 0x80; }

// ASCII is the same in both encodings: copies eight bytes at once where
// eight ASCII bytes follow, else one ASCII byte. False, with nothing copied,
// if *p is not ASCII.
inline bool CopyAscii(const unsigned char*& p, const unsigned char* end, char*& o) {
  if (end - p >= 8 && AllAscii8(p)) {
    std::memcpy(o, p, 8);
    p += 8;
    o += 8;
    return true;
  }
  if (*p >= 0x80) return false;
  *o++ = static_cast<char>(*p++);
  return true;
}

}  // namespace

namespace {

// Both conversions from UTF-8: a byte that does not start a well-formed
// character either ends the strict one (empty result) or becomes "?" in the
// lenient one, which goes on with the next byte.
std::string ConvertUtf8(std::string_view utf8, bool lenient) {
  // GBK output is never longer than its UTF-8 input: one byte stays one
  // byte, two and three bytes give at most two, four bytes give "?", and a
  // malformed byte gives one "?".
  std::string out;
  out.resize(utf8.size());
  const auto* p = reinterpret_cast<const unsigned char*>(utf8.data());
  const auto* const end = p + utf8.size();
  char* o = out.data();
  const Tables* t = nullptr;

  while (p < end) {
    if (CopyAscii(p, end, o)) continue;
    const unsigned c = *p;
    unsigned cp = 0;
    size_t len = 0;  // 0: not a well-formed character
    if (c < 0xC2) {
      // stray continuation byte, or an overlong two-byte form
    } else if (c < 0xE0) {
      if (end - p >= 2 && IsCont(p[1])) {
        cp = (c & 0x1F) << 6 | (p[1] & 0x3F);
        len = 2;
      }
    } else if (c < 0xF0) {
      if (end - p >= 3 && IsCont(p[1]) && IsCont(p[2])) {
        cp = (c & 0x0F) << 12 | (p[1] & 0x3F) << 6 | (p[2] & 0x3F);
        if (cp >= 0x800 && (cp < 0xD800 || cp > 0xDFFF)) len = 3;
      }
    } else if (c < 0xF5) {
      if (end - p >= 4 && IsCont(p[1]) && IsCont(p[2]) && IsCont(p[3])) {
        cp = (c & 0x07) << 18 | (p[1] & 0x3F) << 12 | (p[2] & 0x3F) << 6 | (p[3] & 0x3F);
        if (cp >= 0x10000 && cp <= 0x10FFFF) len = 4;
      }
    }
    if (len == 0) {
      if (!lenient) return {};
      *o++ = '?';
      ++p;
      continue;
    }
    p += len;
    if (len == 4) {
      *o++ = '?';  // beyond the range of the code page
      continue;
    }
    if (!t) t = &GetTables();
    const uint16_t g = t->fromUnicode[cp];
    if (g == 0) {
      *o++ = '?';
    } else if (g < 0x100) {
      *o++ = static_cast<char>(g);
    } else {
      *o++ = static_cast<char>(g >> 8);
      *o++ = static_cast<char>(g & 0xFF);
    }
  }
  out.resize(static_cast<size_t>(o - out.data()));
  return out;
}

}  // namespace

std::string Utf8ToAnsi(std::string_view utf8) { return ConvertUtf8(utf8, false); }

std::string Utf8ToAnsiLenient(std::string_view utf8) { return ConvertUtf8(utf8, true); }

std::string ListFileToAnsi(std::string bytes) {
  constexpr std::string_view kMark = "\xEF\xBB\xBF";
  const std::string_view view = bytes;
  if (view.substr(0, kMark.size()) == kMark) return Utf8ToAnsiLenient(view.substr(kMark.size()));
  const bool ascii = std::all_of(view.begin(), view.end(),
                                 [](char c) { return static_cast<unsigned char>(c) < 0x80; });
  if (ascii) return bytes;
  std::string converted = Utf8ToAnsi(view);
  // A text with a non-ASCII byte converts to something unless it is not
  // well-formed UTF-8, which makes it GBK.
  if (converted.empty()) return bytes;
  return converted;
}

std::string AnsiToUtf8(std::string_view gbk) {
  std::string out;
  out.resize(gbk.size() * 3);  // 0x80 alone gives three bytes
  const auto* p = reinterpret_cast<const unsigned char*>(gbk.data());
  const auto* const end = p + gbk.size();
  char* o = out.data();
  const Tables* t = nullptr;

  auto put = [&o](unsigned u) {
    if (u < 0x80) {
      *o++ = static_cast<char>(u);
    } else if (u < 0x800) {
      *o++ = static_cast<char>(0xC0 | u >> 6);
      *o++ = static_cast<char>(0x80 | (u & 0x3F));
    } else {
      *o++ = static_cast<char>(0xE0 | u >> 12);
      *o++ = static_cast<char>(0x80 | (u >> 6 & 0x3F));
      *o++ = static_cast<char>(0x80 | (u & 0x3F));
    }
  };

  while (p < end) {
    if (CopyAscii(p, end, o)) continue;
    const unsigned c = *p;
    if (c == 0x80) {
      put(0x20AC);
      ++p;
    } else if (c == 0xFF || end - p < 2 || !IsGbkTrailByte(p[1])) {
      *o++ = '?';  // a lone or cut-off lead byte; what follows is read on its own
      ++p;
    } else {
      if (!t) t = &GetTables();
      const uint16_t u = t->toUnicode[(c - 0x81) * kTrailCount + (p[1] - 0x40)];
      if (u == 0 || (u >= 0xD800 && u <= 0xDFFF)) {
        *o++ = '?';
      } else {
        put(u);
      }
      p += 2;
    }
  }
  out.resize(static_cast<size_t>(o - out.data()));
  return out;
}

}  // namespace orlu
