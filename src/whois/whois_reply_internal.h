// Private to the reply readers (whois_reply, whois_refusals, whois_classify,
// whois_cuts): the byte-level helpers they share and the refusal search. Only
// those sources include this header.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "platform/text/gbk.h"

namespace orlu {

// True when `pos` starts a character: the bytes before it that could be
// either half of a double-byte character (0x81-0xFE) follow a byte that can
// only end one, and pair up as lead and trail; an odd run leaves `pos` as
// the second byte of a character.
inline bool AtCharBoundary(std::string_view text, size_t pos) {
  size_t run = 0;
  while (run < pos && IsGbkLeadByte(static_cast<unsigned char>(text[pos - run - 1]))) ++run;
  return run % 2 == 0;
}

// The first CR or LF at or after `from` (npos when none): two byte
// searches, where a search for either of two bytes would test each byte of
// the text against both in turn.
inline size_t LineEndFrom(std::string_view text, size_t from) {
  const size_t lf = text.find('\n', from);
  const size_t cr = text.substr(0, lf == std::string_view::npos ? text.size() : lf).find('\r', from);
  return cr != std::string_view::npos ? cr : lf;
}

// The four bytes at `p` as one word, for comparing label tails.
inline uint32_t Load4(const char* p) {
  uint32_t v;
  std::memcpy(&v, p, sizeof v);
  return v;
}

// A text with which registries refuse to answer (whois_refusals.cpp), and
// whether an answer may follow it.
struct Refusal {
  std::string_view text;
  bool answerMayFollow;
};

// The first refusal text (in the list's order) that the prepared reply holds
// where registries put one; null when it holds none.
const Refusal* FindRefusal(std::string_view prepared);

}  // namespace orlu
