#include "whois/whois_reply.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdint>
#include <string>
#include <vector>

#include "whois/whois_registry.h"
#include "whois/whois_reply_internal.h"

namespace orlu {

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

// Where the line that holds the bytes before `end` starts.
size_t LineStartBefore(std::string_view text, size_t end) {
  const size_t lineEnd = end == 0 ? std::string_view::npos : text.find_last_of("\r\n", end - 1);
  return lineEnd == std::string_view::npos ? 0 : lineEnd + 1;
}

bool StandsAlone(std::string_view text, size_t pos) {
  size_t words = 0;
  // The part of the sentence still to read: from its line's start to `end`.
  size_t end = pos;
  size_t start = LineStartBefore(text, pos);
  for (;;) {
    std::string_view part = text.substr(start, end - start);
    for (size_t k = part.size(); k-- > 0;)
      if (EndsSentence(part, k)) return words + CountWords(part.substr(k + 1)) <= kSubjectWords;
    words += CountWords(part);
    if (words > kSubjectWords) return false;
    if (start == 0) return true;
    // The line before, without its line end.
    size_t prevEnd = start - 1;
    if (text[prevEnd] == '\n' && prevEnd > 0 && text[prevEnd - 1] == '\r') --prevEnd;
    const size_t prevStart = LineStartBefore(text, prevEnd);
    const std::string_view prev = TrimBlanks(text.substr(prevStart, prevEnd - prevStart));
    if (prev.size() < kWrappedLine || EndsSentence(prev, prev.size() - 1)) return true;
    end = prevEnd;
    start = prevStart;
  }
}

// A not-found statement speaks of the object that the lines right after it
// name ("no object found!", "object: x", "type: person"): one about a
// contact or a name server of a record says nothing about the queried name.
// Only the statement's own block is read: the lines up to an empty one, at
// most a few.
constexpr size_t kObjectLines = 4;

bool AboutAnotherObject(std::string_view reply, size_t pos) {
  constexpr std::string_view kTypeLabel = "type:";
  size_t end = LineEndFrom(reply, pos);
  for (size_t n = 0; n < kObjectLines && end != std::string_view::npos; ++n) {
    size_t start = end + 1;
    if (reply[end] == '\r' && start < reply.size() && reply[start] == '\n') ++start;
    end = LineEndFrom(reply, start);
    const size_t stop = end == std::string_view::npos ? reply.size() : end;
    const std::string_view line = TrimBlanks(reply.substr(start, stop - start));
    if (line.empty()) return false;
    if (!line.starts_with(kTypeLabel)) continue;
    // The type's first word, after the blanks or dots that pad the label.
    std::string_view type = line.substr(kTypeLabel.size());
    type.remove_prefix(std::min(type.find_first_not_of(". \t"), type.size()));
    type = type.substr(0, type.find_first_of(" \t"));
    return !type.empty() && type != "domain";
  }
  return false;
}

// An occurrence of a free wording that speaks of the queried name; for a
// statement, one that also stands alone.
bool HoldsFreeWording(std::string_view reply, std::string_view wording, bool statement) {
  for (size_t pos = FindMarker(reply, wording); pos != std::string_view::npos;
       pos = FindMarker(reply, wording, pos + 1))
    if ((!statement || StandsAlone(reply, pos)) && !AboutAnotherObject(reply, pos)) return true;
  return false;
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
    case Test::Contains:
      if (t.outcome == Outcome::Unregistered) return HoldsFreeWording(reply, t.text, false);
      return FindMarker(reply, t.text) != std::string_view::npos;
    case Test::Statement: return HoldsFreeWording(reply, t.text, true);
    case Test::Equals: return reply == t.text;
    case Test::IsFailureWord: return reply == WordFailed();
    case Test::StatusIs: return StatusIs(reply, t.text);
    case Test::LineIs:
      return AnyLine(reply, [&](std::string_view line) { return TrimBlanks(line) == t.text; });
  }
  return false;
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
  // Whether the reply records the name: looked at once, when the first free
  // test holds; a reply that does skips every free test after it.
  bool recorded = false;
  for (const StateTest& t : c.tests) {
    const bool free = t.outcome == Outcome::Unregistered;
    if (free && recorded) continue;
    if (!Holds(t, prepared)) continue;
    if (free && (recorded = HoldsNameRecord(prepared))) continue;
    return OutcomeWord(t.outcome);
  }
  // After a query-limit notice only a record counts as an answer.
  if (refusal && !HoldsRecord(prepared)) return WordFailed();
  return OutcomeWord(c.otherwise);
}

}  // namespace orlu
