#include "whois/whois_reply.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <vector>

#include "whois/whois_reply_internal.h"

namespace orlu {

namespace {

// Texts with which registries refuse to answer (query limits, outages),
// lower-case, each seen in real replies. Most stand in place of the
// answer; a query-limit notice may also head a shortened answer (the .br
// registry's "query rate limit exceeded. reduced information." before its
// not-found line or its record), which then still counts.
constexpr std::array<Refusal, 20> kRefusals = {{
    {"limit exceeded", true},  // org, .br, .pl, .cz, .nl
    {"queried interval is too short", false},     // cn
    {"whois database is currently down", false},  // com/net
    {"too many requests", false},  // .fr and its overseas registries, which add a not-found line
    {"access control limit", false},          // .de
    {"quota exceeded", false},                // .pe
    {"whois query quota", false},             // .uk
    {"too many connections", false},          // .dk
    {"maximum queries per", false},           // .be
    {"only 1 request per second", false},     // .nl
    {"server too busy", false},               // .nl
    {"still in grace period", false},         // .eu
    {"excessive querying, grace period", false},  // .lu
    {"maximum query rate reached", false},        // .lu
    {"can temporarily not be answered", false},   // .ga, .ml
    {"before starting another enquiry", false},   // .hk
    {"please go away for", false},            // .za
    {"request denied", false},                // .nz
    {"temporarily unavailable", false},       // .it
    {"server can't process your request", false},  // registries of one software, for any name
}};

// A registry puts its refusal in place of the answer (a short reply) or as
// a line at the head or the foot of a long one, so only the two ends of a
// long reply are searched. All texts are looked for in one pass that reads
// eight bytes at every seventh position: a text of fourteen bytes or more
// holds such a piece wherever it starts, and only a piece that some text
// holds is followed up.
static_assert(kRefusals.size() <= 32, "one bit per refusal text");
constexpr size_t kRefusalEnd = 512;
constexpr size_t kPiece = 8;
constexpr size_t kStride = 7;  // with every text >= kPiece + kStride - 1 bytes long
static_assert([] {
  for (const Refusal& r : kRefusals)
    if (r.text.size() < kPiece + kStride - 1) return false;
  return true;
}());

uint64_t Piece(const char* at) {
  uint64_t w;
  std::memcpy(&w, at, sizeof w);
  return w;
}

struct RefusalPieces {
  struct Entry {
    uint64_t piece;
    uint8_t text;    // index into kRefusals
    uint8_t offset;  // where the piece stands in that text
  };
  std::vector<Entry> entries;  // sorted by piece
  std::array<uint64_t, 256> filter{};  // 16384 one-bit slots of the pieces
  size_t longest = 0;

  static size_t Slot(uint64_t piece) { return (piece * 0x9E3779B97F4A7C15ull) >> 50; }

  RefusalPieces() {
    for (size_t k = 0; k < kRefusals.size(); ++k) {
      const std::string_view t = kRefusals[k].text;
      longest = std::max(longest, t.size());
      for (size_t o = 0; o + kPiece <= t.size() && o < kStride; ++o) {
        entries.push_back({Piece(t.data() + o), static_cast<uint8_t>(k), static_cast<uint8_t>(o)});
        const size_t slot = Slot(entries.back().piece);
        filter[slot / 64] |= uint64_t{1} << (slot % 64);
      }
    }
    std::sort(entries.begin(), entries.end(),
              [](const Entry& x, const Entry& y) { return x.piece < y.piece; });
  }
  bool MayHold(uint64_t piece) const {
    const size_t slot = Slot(piece);
    return (filter[slot / 64] >> (slot % 64)) & 1;
  }
};

}  // namespace

const Refusal* FindRefusal(std::string_view prepared) {
  static const RefusalPieces table;
  const size_t n = prepared.size();
  uint32_t found = 0;  // bit k: kRefusals[k] occurs where it is looked for
  auto scan = [&](size_t from, size_t to) {
    for (size_t j = from; j + kPiece <= to; j += kStride) {
      const uint64_t piece = Piece(prepared.data() + j);
      if (!table.MayHold(piece)) continue;
      auto e = std::lower_bound(table.entries.begin(), table.entries.end(), piece,
                                [](const RefusalPieces::Entry& x, uint64_t v) { return x.piece < v; });
      for (; e != table.entries.end() && e->piece == piece; ++e) {
        if (j < from + e->offset) continue;
        const size_t i = j - e->offset;
        const std::string_view t = kRefusals[e->text].text;
        const size_t span = kRefusalEnd + t.size();
        const bool inReach = n <= 2 * span || i <= kRefusalEnd || i >= n - span;
        if (inReach && prepared.substr(i, t.size()) == t && AtCharBoundary(prepared, i))
          found |= uint32_t{1} << e->text;
      }
    }
  };
  if (n <= 2 * (kRefusalEnd + table.longest)) {
    scan(0, n);
  } else {
    scan(0, kRefusalEnd + table.longest);
    scan(n - kRefusalEnd - table.longest, n);
  }
  if (found == 0) return nullptr;
  return &kRefusals[static_cast<size_t>(__builtin_ctz(found))];
}

bool IsWhoisRefusal(std::string_view prepared) { return FindRefusal(prepared) != nullptr; }

}  // namespace orlu
