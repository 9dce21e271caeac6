#include "whois/whois_reply.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdint>
#include <cstring>
#include <stdexcept>
#include <vector>

#include "platform/text/codepage.h"
#include "platform/text/gbk.h"
#include "whois/whois_registry.h"

namespace orlu {

const std::string& WordUnregistered() {
  static const std::string w = Gbk("未注册");
  return w;
}
const std::string& WordRegistered() {
  static const std::string w = Gbk("已注册");
  return w;
}
const std::string& WordReserved() {
  static const std::string w = Gbk("限制注册");
  return w;
}
const std::string& WordUnsupported() {
  static const std::string w = Gbk("后缀不支持");
  return w;
}

// Some registries send registrant data in another code page (Latin-1): its
// bytes become "?" and the rest of the reply is still read.
std::string PrepareWhoisReply(std::string_view raw) { return LowerCase(Utf8ToAnsiLenient(raw)); }

namespace {

// True when `pos` starts a character: the bytes before it that could be
// either half of a double-byte character (0x81-0xFE) follow a byte that can
// only end one, and pair up as lead and trail; an odd run leaves `pos` as
// the second byte of a character.
bool AtCharBoundary(std::string_view text, size_t pos) {
  size_t run = 0;
  while (run < pos && IsGbkLeadByte(static_cast<unsigned char>(text[pos - run - 1]))) ++run;
  return run % 2 == 0;
}

// The value from `start` up to the line end (CR or LF) that follows
// `after`; empty when none follows or it comes before `start`.
// The first CR or LF at or after `from` (npos when none): two byte
// searches, where a search for either of two bytes would test each byte of
// the text against both in turn.
size_t LineEndFrom(std::string_view text, size_t from) {
  const size_t lf = text.find('\n', from);
  const size_t cr = text.substr(0, lf == std::string_view::npos ? text.size() : lf).find('\r', from);
  return cr != std::string_view::npos ? cr : lf;
}

void ValueBeforeLineEnd(std::string_view text, size_t after, size_t start, std::string& value) {
  const size_t end = LineEndFrom(text, after);
  if (end == std::string_view::npos || end < start)
    value.clear();
  else
    value.assign(text.substr(start, end - start));
}

}  // namespace

size_t FindMarker(std::string_view text, std::string_view marker, size_t from) {
  if (marker.empty()) return std::string_view::npos;
  while (from < text.size()) {
    const void* hit = memmem(text.data() + from, text.size() - from, marker.data(), marker.size());
    if (!hit) return std::string_view::npos;
    const size_t pos = static_cast<size_t>(static_cast<const char*>(hit) - text.data());
    if (AtCharBoundary(text, pos)) return pos;
    from = pos + 1;
  }
  return std::string_view::npos;
}

namespace {

// Texts with which registries refuse to answer (query limits, outages),
// lower-case, each seen in real replies. Most stand in place of the
// answer; a query-limit notice may also head a shortened answer (the .br
// registry's "query rate limit exceeded. reduced information." before its
// not-found line or its record), which then still counts.
struct Refusal {
  std::string_view text;
  bool answerMayFollow;
};
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

}  // namespace

bool IsWhoisRefusal(std::string_view prepared) { return FindRefusal(prepared) != nullptr; }

bool CutLabelValue(std::string_view text, std::string_view label, size_t from, size_t skip,
                   std::string& value, size_t* labelPos) {
  const size_t pos = FindMarker(text, label, from);
  if (pos == std::string_view::npos) return false;
  if (labelPos) *labelPos = pos;
  ValueBeforeLineEnd(text, pos + label.size(), pos + label.size() + skip, value);
  return true;
}

namespace {

// ---------------------------------------------------------------------------
// Classification: each group is a list of tests tried in order; the first
// that holds decides.

enum class Outcome { Unregistered, Registered, Reserved, Failed };
enum class Test {
  Contains,
  Statement,  // contains the text as a statement of its own (StandsAlone)
  Equals,
  IsFailureWord,
  StatusIs,  // a line whose "...status:" label has exactly this value
  LineIs,    // a line that, without its blanks, is exactly this text
};

struct StateTest {
  Test kind;
  std::string_view text;
  Outcome outcome;
};

struct Classifier {
  std::vector<StateTest> tests;
  Outcome otherwise;
};

constexpr std::string_view kReservedList = "sorry, the domain you requested is in the reserved list";

// How today's registries reached through IANA say that a name is free, tried
// after the older texts. Each is seen in real replies as a statement of its
// own; legal notices of registered names hold some of them inside longer
// sentences ("... does not indicate that the name is available for
// registration"), which do not count.
constexpr std::array<StateTest, 25> kTodaysFreeWordings = {{
    {Test::Statement, "no entries found", Outcome::Unregistered},
    {Test::Statement, "no object found", Outcome::Unregistered},
    {Test::Statement, "no objects found", Outcome::Unregistered},
    {Test::Statement, "not registered", Outcome::Unregistered},
    {Test::Statement, "has not been registered", Outcome::Unregistered},
    {Test::Statement, "does not exist", Outcome::Unregistered},
    {Test::Statement, "no such domain", Outcome::Unregistered},
    {Test::Statement, "nothing found", Outcome::Unregistered},
    {Test::Statement, "no match", Outcome::Unregistered},
    {Test::Statement, "no found", Outcome::Unregistered},
    {Test::Statement, " is free", Outcome::Unregistered},
    {Test::Statement, "object_not_found", Outcome::Unregistered},
    {Test::Statement, "no results were found", Outcome::Unregistered},
    {Test::Statement, "no data was found", Outcome::Unregistered},
    {Test::Statement, "no information was found", Outcome::Unregistered},
    {Test::Statement, "no information available on the domain", Outcome::Unregistered},
    {Test::Statement, "we do not have an entry in our database", Outcome::Unregistered},
    {Test::Statement, "domain name not known", Outcome::Unregistered},
    {Test::Statement, "not available in our whois database", Outcome::Unregistered},
    {Test::Statement, "is available for registration", Outcome::Unregistered},
    {Test::Statement, "is available for purchase", Outcome::Unregistered},
    {Test::Statement, "domain is available", Outcome::Unregistered},
    {Test::StatusIs, "available", Outcome::Unregistered},
    {Test::StatusIs, "free", Outcome::Unregistered},
    {Test::LineIs, "available", Outcome::Unregistered},
}};

std::array<Classifier, kWhoisGroupCount> BuildClassifiers() {
  using enum Outcome;
  const StateTest failed{Test::IsFailureWord, {}, Failed};
  const StateTest reservedEquals{Test::Equals, kReservedList, Reserved};
  // Registries of the "not found" family; biz words it "no data found" today.
  const Classifier notFound{{{Test::Contains, "not found", Unregistered}, failed, reservedEquals},
                            Registered};
  const Classifier noMatchFor{{{Test::Contains, "no match for", Unregistered}, failed, reservedEquals},
                              Registered};
  Classifier info = notFound;
  info.tests.push_back({Test::Contains, "reserved by", Reserved});  // "name is reserved by afilias"
  Classifier other{{{Test::Contains, "not found", Unregistered},
                    {Test::Contains, "no match for", Unregistered},
                    {Test::Contains, "no data found", Unregistered},
                    failed,
                    reservedEquals},
                   Registered};
  other.tests.insert(other.tests.end(), kTodaysFreeWordings.begin(), kTodaysFreeWordings.end());
  return {
      // cn
      Classifier{{{Test::Contains, "no matching record", Unregistered},
                  failed,
                  {Test::Contains, kReservedList, Reserved},
                  // Today's answers for reserved and prohibited names.
                  {Test::Contains, "the domain you requested is prohibited", Reserved},
                  {Test::Contains, "the domain you want to register is reserved", Reserved},
                  {Test::Equals, "", Failed}},
                 Registered},
      // com, net: registered only when the record is there
      Classifier{{{Test::Contains, "no match for", Unregistered},
                  failed,
                  {Test::Contains, "domain name:", Registered}},
                 Reserved},
      notFound,  // org
      noMatchFor,  // cc
      // biz
      Classifier{{{Test::Contains, "not found", Unregistered},
                  {Test::Contains, "no data found", Unregistered},
                  failed,
                  reservedEquals},
                 Registered},
      info,
      // name: its sentence comes after a long notice, so it is looked for
      // anywhere in the reply.
      Classifier{{{Test::Contains, "no match", Unregistered},
                  failed,
                  {Test::Contains, "not available for second level registration", Reserved},
                  // Today's answer for a reserved name, after "not available
                  // for registration."
                  {Test::Contains, "second level domain name is reserved", Reserved}},
                 Registered},
      noMatchFor,  // tv
      notFound,    // mobi
      other,
  };
}

const std::array<Classifier, kWhoisGroupCount>& Classifiers() {
  static const std::array<Classifier, kWhoisGroupCount> table = BuildClassifiers();
  return table;
}

const std::string& OutcomeWord(Outcome o) {
  switch (o) {
    case Outcome::Unregistered: return WordUnregistered();
    case Outcome::Registered: return WordRegistered();
    case Outcome::Reserved: return WordReserved();
    case Outcome::Failed: break;
  }
  return WordFailed();
}

std::string_view TrimBlanks(std::string_view s) {
  const size_t first = s.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  return s.substr(first, s.find_last_not_of(" \t") - first + 1);
}

// Calls `f` with each line of the reply (split at CR and LF) until it
// returns true; true when it did.
template <typename F>
bool AnyLine(std::string_view reply, F f) {
  size_t start = 0;
  while (start <= reply.size()) {
    size_t end = LineEndFrom(reply, start);
    if (end == std::string_view::npos) end = reply.size();
    if (f(reply.substr(start, end - start))) return true;
    start = end + 1;
  }
  return false;
}

bool StatusIs(std::string_view reply, std::string_view value) {
  constexpr std::string_view kLabel = "status:";
  return AnyLine(reply, [&](std::string_view line) {
    const size_t pos = FindMarker(line, kLabel);
    return pos != std::string_view::npos && TrimBlanks(line.substr(pos + kLabel.size())) == value;
  });
}

// A line that opens a domain's record: a reply that holds one answers the
// question, whatever notice comes before it.
bool HoldsRecord(std::string_view reply) {
  return AnyLine(reply, [](std::string_view line) {
    const std::string_view t = TrimBlanks(line);
    return t.starts_with("domain:") || t.starts_with("domain name:");
  });
}

// A free wording is a statement of its own when at most a few words (what
// it is about: "domain x.y", "the queried object") come before it in its
// sentence. A sentence starts after ".", "!", "?", ":", ";" or "(" that ends
// a word, at the start of the reply, or at a line start, unless the line
// before is a long one without such a mark at its end (a paragraph wrapped
// into lines). These marks and line ends are below the bytes of Chinese
// characters, so the walk back cannot split one.
constexpr size_t kSubjectWords = 4;
constexpr size_t kWrappedLine = 50;

bool EndsSentence(std::string_view text, size_t k) {
  const char c = text[k];
  if (c == '(') return true;
  if (c != '.' && c != '!' && c != '?' && c != ':' && c != ';') return false;
  return k + 1 == text.size() || text[k + 1] == ' ' || text[k + 1] == '\t';
}

size_t CountWords(std::string_view part) {
  size_t words = 0;
  bool word = false, alnum = false;
  for (size_t i = 0; i <= part.size(); ++i) {
    const unsigned char c = i < part.size() ? static_cast<unsigned char>(part[i]) : ' ';
    if (c == ' ' || c == '\t') {
      words += word && alnum;
      word = alnum = false;
    } else {
      word = true;
      alnum = alnum || std::isalnum(c) || c >= 0x80;
    }
  }
  return words;
}

bool StandsAlone(std::string_view text, size_t pos) {
  size_t words = 0;
  size_t end = pos;  // the part of the sentence still to read ends here
  for (;;) {
    const size_t lineEnd = text.find_last_of("\r\n", end == 0 ? std::string_view::npos : end - 1);
    const size_t start = end == 0 || lineEnd == std::string_view::npos ? 0 : lineEnd + 1;
    std::string_view part = text.substr(start, end - start);
    for (size_t k = part.size(); k-- > 0;)
      if (EndsSentence(part, k)) return words + CountWords(part.substr(k + 1)) <= kSubjectWords;
    words += CountWords(part);
    if (words > kSubjectWords) return false;
    if (start == 0) return true;
    // The line before, without its line end.
    size_t prevEnd = start - 1;
    if (text[prevEnd] == '\n' && prevEnd > 0 && text[prevEnd - 1] == '\r') --prevEnd;
    const size_t prevBreak = prevEnd == 0 ? std::string_view::npos : text.find_last_of("\r\n", prevEnd - 1);
    const size_t prevStart = prevBreak == std::string_view::npos ? 0 : prevBreak + 1;
    const std::string_view prev = TrimBlanks(text.substr(prevStart, prevEnd - prevStart));
    if (prev.size() < kWrappedLine || EndsSentence(prev, prev.size() - 1)) return true;
    end = prevEnd;
  }
}

bool HoldsStatement(std::string_view reply, std::string_view wording) {
  for (size_t pos = FindMarker(reply, wording); pos != std::string_view::npos;
       pos = FindMarker(reply, wording, pos + 1))
    if (StandsAlone(reply, pos)) return true;
  return false;
}

uint32_t Load4(const char* p) {
  uint32_t v;
  std::memcpy(&v, p, sizeof v);
  return v;
}

// A line that records a registered name: its registrar, creation date, a
// name server, or a status other than a free one, with a value. A reply
// that holds one is not read as free, whatever sentence it also holds (a
// country registry marks a registered name's missing contacts "no object
// found!").
constexpr std::array<std::string_view, 13> kRecordLabels = {
    "registrar:",    "sponsoring registrar:", "registrar name:", "creation date:", "created on:",
    "created:",      "registration date:",    "registered on:",  "name server:",   "nameserver:",
    "nserver:",      "domain status:",        "status:"};

bool IsFreeStatus(std::string_view value) {
  if (value.starts_with("available") || value.starts_with("free")) return true;
  for (std::string_view w : {"no object", "not found", "no match", "not registered"})
    if (value.find(w) != std::string_view::npos) return true;
  return false;
}

// Each colon is looked at: a record label ends there when the four bytes
// before it are those of a label, the label precedes them and only blanks
// come before the label on its line; its value follows on that line.
bool HoldsNameRecord(std::string_view reply) {
  static const std::array<uint32_t, kRecordLabels.size()> tails = [] {
    std::array<uint32_t, kRecordLabels.size()> t{};
    for (size_t i = 0; i < t.size(); ++i) t[i] = Load4(kRecordLabels[i].data() + kRecordLabels[i].size() - 5);
    return t;
  }();
  for (size_t q = reply.find(':'); q != std::string_view::npos; q = reply.find(':', q + 1)) {
    if (q < 4) continue;
    const uint32_t before = Load4(reply.data() + q - 4);
    for (size_t i = 0; i < tails.size(); ++i) {
      const std::string_view label = kRecordLabels[i];
      if (tails[i] != before || q + 1 < label.size()) continue;
      const size_t at = q + 1 - label.size();
      if (reply.substr(at, label.size()) != label) continue;
      size_t s = at;
      while (s > 0 && (reply[s - 1] == ' ' || reply[s - 1] == '\t')) --s;
      if (s > 0 && reply[s - 1] != '\n' && reply[s - 1] != '\r') continue;
      size_t end = LineEndFrom(reply, q);
      if (end == std::string_view::npos) end = reply.size();
      const std::string_view value = TrimBlanks(reply.substr(q + 1, end - q - 1));
      if (std::none_of(value.begin(), value.end(), [](char c) { return std::isalnum(static_cast<unsigned char>(c)); }))
        break;
      if (!label.ends_with("status:") || !IsFreeStatus(value)) return true;
      break;
    }
  }
  return false;
}

bool Holds(const StateTest& t, std::string_view reply) {
  switch (t.kind) {
    case Test::Contains: return FindMarker(reply, t.text) != std::string_view::npos;
    case Test::Statement: return HoldsStatement(reply, t.text);
    case Test::Equals: return reply == t.text;
    case Test::IsFailureWord: return reply == WordFailed();
    case Test::StatusIs: return StatusIs(reply, t.text);
    case Test::LineIs:
      return AnyLine(reply, [&](std::string_view line) { return TrimBlanks(line) == t.text; });
  }
  return false;
}

// ---------------------------------------------------------------------------
// Field cutting: each group is a cut style and a list of fields, each with
// its labels (the registry's older label first, then today's wording of the
// same field); the first label present fills the field.

enum class CutStyle {
  FromLabel,          // searched from the start; value right after the label
  Progressive,        // searched after the previous label; one byte skipped
  FromLabelTrimmed,   // as FromLabel, then trimmed
};

struct LabelRow {
  std::string WhoisFields::*field;
  std::array<std::string_view, 3> labels;
};

// Every label holds exactly one colon, so the first occurrence of each
// label of a cutter is found in one pass over the colons of the reply.
constexpr size_t kMaxLabels = 16;

struct Cutter {
  CutStyle style;
  std::vector<LabelRow> rows;
  std::vector<std::string_view> labels;  // every label of every row, in order
  std::vector<size_t> colonAt;           // where each label's colon is
  std::vector<uint32_t> beforeColon;     // the four bytes before it

  Cutter(CutStyle s, std::vector<LabelRow> r) : style(s), rows(std::move(r)) {
    for (const LabelRow& row : rows)
      for (std::string_view label : row.labels)
        if (!label.empty()) {
          labels.push_back(label);
          colonAt.push_back(label.find(':'));
        }
    for (size_t i = 0; i < labels.size(); ++i) {
      if (colonAt[i] < 4) throw std::logic_error("WHOIS label too short");
      beforeColon.push_back(Load4(labels[i].data() + colonAt[i] - 4));
    }
    if (labels.size() > kMaxLabels) throw std::logic_error("too many WHOIS labels");
  }
};

// first[i]: position of the first occurrence of c.labels[i] at a character
// boundary, or npos.
void FindLabels(const Cutter& c, std::string_view text, std::array<size_t, kMaxLabels>& first) {
  first.fill(std::string_view::npos);
  size_t left = c.labels.size();
  size_t q = 0;
  while (left > 0 && q < text.size()) {
    const void* hit = std::memchr(text.data() + q, ':', text.size() - q);
    if (!hit) break;
    q = static_cast<size_t>(static_cast<const char*>(hit) - text.data());
    const uint32_t before = q >= 4 ? Load4(text.data() + q - 4) : 0;
    for (size_t i = 0; i < c.labels.size(); ++i) {
      if (first[i] != std::string_view::npos || before != c.beforeColon[i] || q < c.colonAt[i])
        continue;
      const size_t at = q - c.colonAt[i];
      const std::string_view label = c.labels[i];
      if (at + label.size() > text.size() || std::memcmp(text.data() + at, label.data(), label.size()) != 0)
        continue;
      if (!AtCharBoundary(text, at)) continue;
      first[i] = at;
      --left;
    }
    ++q;
  }
}

std::array<Cutter, kWhoisGroupCount> BuildCutters() {
  using F = WhoisFields;
  // The thin registries (com/net, cc, tv): labels carry their blank.
  const std::vector<LabelRow> thin = {
      {&F::StatusText, {"status: "}},
      {&F::Registrar, {"registrar: "}},
      {&F::NameServer, {"name server: "}},
      {&F::CreationDate, {"creation date: "}},
      {&F::ExpirationDate, {"expiration date: ", "registry expiry date: "}},
  };
  const std::vector<LabelRow> cn = {
      {&F::StatusText, {"domain status:"}},
      {&F::Organization, {"registrant organization:", "registrant:"}},
      {&F::Contact, {"registrant name:"}},
      {&F::Email, {"administrative email:", "registrant contact email:"}},
      {&F::Registrar, {"sponsoring registrar:"}},
      {&F::NameServer, {"name server:"}},
      {&F::CreationDate, {"registration date:", "registration time:"}},
      {&F::ExpirationDate, {"expiration date:", "expiration time:"}},
  };
  const std::vector<LabelRow> thick = {
      {&F::StatusText, {"status:"}},
      {&F::Organization, {"registrant organization:"}},
      {&F::Contact, {"registrant name:"}},
      {&F::Email, {"registrant email:"}},
      {&F::Registrar, {"sponsoring registrar:", "registrar:"}},
      {&F::NameServer, {"name server:"}},
      {&F::CreationDate, {"created on:", "creation date:"}},
      {&F::ExpirationDate, {"expiration date:", "registry expiry date:"}},
  };
  std::vector<LabelRow> biz = thick;
  biz[6] = {&F::CreationDate, {"domain registration date:", "creation date:"}};
  biz[7] = {&F::ExpirationDate, {"domain expiration date:", "registry expiry date:"}};
  std::vector<LabelRow> other = thick;
  other[6] = {&F::CreationDate, {"created on:", "creation date:", "registration date:"}};
  const std::vector<LabelRow> name = {{&F::StatusText, {"domain status:"}}};

  return {
      Cutter{CutStyle::Progressive, cn},
      Cutter{CutStyle::FromLabel, thin},          // com, net
      Cutter{CutStyle::FromLabel, thick},         // org
      Cutter{CutStyle::FromLabel, thin},          // cc
      Cutter{CutStyle::FromLabelTrimmed, biz},    // biz
      Cutter{CutStyle::FromLabelTrimmed, thick},  // info
      Cutter{CutStyle::FromLabelTrimmed, name},   // name
      Cutter{CutStyle::FromLabel, thin},          // tv
      Cutter{CutStyle::FromLabelTrimmed, thick},  // mobi
      Cutter{CutStyle::FromLabelTrimmed, other},  // other
  };
}

const std::array<Cutter, kWhoisGroupCount>& Cutters() {
  static const std::array<Cutter, kWhoisGroupCount> table = BuildCutters();
  return table;
}

}  // namespace

std::string ClassifyWhoisReply(int group, std::string_view prepared) {
  if (group < 0 || group >= kWhoisGroupCount) return WordFailed();
  // Nothing said, or a refusal to answer, is a failed query in every group:
  // the row is asked again instead of getting an answer the registry never
  // gave.
  if (prepared.empty() || prepared == WordFailed()) return WordFailed();
  const Refusal* refusal = FindRefusal(prepared);
  if (refusal && !refusal->answerMayFollow) return WordFailed();
  const Classifier& c = Classifiers()[static_cast<size_t>(group)];
  int record = -1;  // whether the reply records the name; looked at when a free test holds
  for (const StateTest& t : c.tests) {
    const bool free = t.outcome == Outcome::Unregistered;
    if (free && record == 1) continue;
    if (!Holds(t, prepared)) continue;
    if (free && (record = HoldsNameRecord(prepared)) == 1) continue;
    return OutcomeWord(t.outcome);
  }
  // After a query-limit notice only a record counts as an answer.
  if (refusal && !HoldsRecord(prepared)) return WordFailed();
  return OutcomeWord(c.otherwise);
}

void CutWhoisFields(int group, std::string_view prepared, WhoisFields& fields, LabelSearch search) {
  if (group < 0 || group >= kWhoisGroupCount) return;
  const Cutter& c = Cutters()[static_cast<size_t>(group)];
  // A field takes the value of its first label present in the reply, unless
  // that value is blank and a later label of the field has one: today's
  // replies carry empty lines such as "registrar registration expiration
  // date:", which hold an older label, before the line with the value.
  std::string value;
  if (c.style == CutStyle::Progressive) {
    size_t from = 0;  // where the next label is looked for
    for (const LabelRow& row : c.rows) {
      bool set = false;
      size_t next = from;
      for (std::string_view label : row.labels) {
        if (label.empty()) break;
        const size_t skip = label == "name server:" ? 0 : 1;
        size_t pos = 0;
        if (!CutLabelValue(prepared, label, from, skip, value, &pos)) continue;
        fields.*row.field = value;
        set = true;
        next = pos + 1;
        if (!Trim(value).empty()) break;
      }
      if (set) from = next;
    }
    return;
  }
  std::array<size_t, kMaxLabels> first;
  if (search == LabelSearch::OnePass) {
    FindLabels(c, prepared, first);
  } else {
    for (size_t k = 0; k < c.labels.size(); ++k) first[k] = FindMarker(prepared, c.labels[k]);
  }
  size_t i = 0;  // index into c.labels
  for (const LabelRow& row : c.rows) {
    bool done = false;
    for (std::string_view label : row.labels) {
      if (label.empty()) break;
      const size_t at = first[i++];
      if (done || at == std::string_view::npos) continue;
      const size_t after = at + label.size();
      ValueBeforeLineEnd(prepared, after, after, value);
      fields.*row.field = c.style == CutStyle::FromLabelTrimmed ? Trim(value) : value;
      done = !Trim(value).empty();
    }
  }
}

bool CutIanaReferral(std::string_view prepared, std::string& server) {
  std::string value;
  if (CutLabelValue(prepared, "whois server (port 43): ", 0, 0, value)) {
    server = Trim(value);
    return true;
  }
  for (std::string_view label : {std::string_view("refer:"), std::string_view("whois:")}) {
    size_t from = 0, pos = 0;
    while (CutLabelValue(prepared, label, from, 0, value, &pos)) {
      const bool lineStart = pos == 0 || prepared[pos - 1] == '\n' || prepared[pos - 1] == '\r';
      if (lineStart) {
        std::string name = Trim(value);
        if (!name.empty()) {
          server = std::move(name);
          return true;
        }
      }
      from = pos + 1;
    }
  }
  return false;
}

}  // namespace orlu
