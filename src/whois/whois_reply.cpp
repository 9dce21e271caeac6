#include "whois/whois_reply.h"

#include <array>

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
const std::string& WordFailed() {
  static const std::string w = Gbk("失败");
  return w;
}
const std::string& WordUnsupported() {
  static const std::string w = Gbk("后缀不支持");
  return w;
}

std::string PrepareWhoisReply(std::string_view raw) { return LowerCase(Utf8ToAnsi(raw)); }

const std::vector<std::string_view>& WhoisRefusalTexts() {
  // Seen in real replies: the org registry's query limit ("WHOIS LIMIT
  // EXCEEDED"), the cn registry's "Queried interval is too short", and the
  // com/net registry's outage notice.
  static const std::vector<std::string_view> texts = {
      "limit exceeded",
      "queried interval is too short",
      "whois database is currently down",
  };
  return texts;
}

bool IsWhoisRefusal(std::string_view prepared) {
  for (std::string_view t : WhoisRefusalTexts())
    if (PosChar(t, prepared) != 0) return true;
  return false;
}

bool CutLabelValue(std::string_view text, std::string_view label, size_t from, size_t skip,
                   std::string& value, size_t* labelPos) {
  if (from >= text.size()) return false;
  const int p = PosChar(label, text, static_cast<int>(from) + 1);
  if (p == 0) return false;
  const size_t pos = static_cast<size_t>(p) - 1;
  if (labelPos) *labelPos = pos;
  const size_t after = pos + label.size();
  const size_t start = after + skip;
  const size_t lf = text.find('\n', after);
  if (lf == std::string_view::npos || lf < start)
    value.clear();
  else
    value.assign(text.substr(start, lf - start));
  return true;
}

namespace {

// ---------------------------------------------------------------------------
// Classification: each group is a list of tests tried in order; the first
// that holds decides.

enum class Outcome { Unregistered, Registered, Reserved, Failed };
enum class Test { Contains, Equals, IsFailureWord };

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

const std::array<Classifier, kWhoisGroupCount>& Classifiers() {
  using enum Outcome;
  const StateTest failed{Test::IsFailureWord, {}, Failed};
  const StateTest reservedEquals{Test::Equals, kReservedList, Reserved};
  // Registries of the "not found" family; biz words it "no data found" today.
  const Classifier notFound{{{Test::Contains, "not found", Unregistered}, failed, reservedEquals},
                            Registered};
  const Classifier noMatchFor{{{Test::Contains, "no match for", Unregistered}, failed, reservedEquals},
                              Registered};
  static const std::array<Classifier, kWhoisGroupCount> table = {
      // cn
      Classifier{{{Test::Contains, "no matching record", Unregistered},
                  failed,
                  {Test::Contains, kReservedList, Reserved},
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
      notFound,  // info
      // name
      Classifier{{{Test::Contains, "no match", Unregistered},
                  failed,
                  {Test::Equals, "not available for second level registration", Reserved}},
                 Registered},
      noMatchFor,  // tv
      notFound,    // mobi
      // other
      Classifier{{{Test::Contains, "not found", Unregistered},
                  {Test::Contains, "no match for", Unregistered},
                  {Test::Contains, "no data found", Unregistered},
                  failed,
                  reservedEquals},
                 Registered},
  };
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

bool Holds(const StateTest& t, std::string_view reply) {
  switch (t.kind) {
    case Test::Contains: return PosChar(t.text, reply) != 0;
    case Test::Equals: return reply == t.text;
    case Test::IsFailureWord: return reply == WordFailed();
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

struct Cutter {
  CutStyle style;
  std::vector<LabelRow> rows;
};

const std::array<Cutter, kWhoisGroupCount>& Cutters() {
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

  static const std::array<Cutter, kWhoisGroupCount> table = {
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
  return table;
}

}  // namespace

std::string ClassifyWhoisReply(int group, std::string_view prepared) {
  if (group < 0 || group >= kWhoisGroupCount) return WordFailed();
  // Nothing said, or a refusal to answer, is a failed query in every group:
  // the row is asked again instead of getting an answer the registry never
  // gave.
  if (prepared.empty() || prepared == WordFailed() || IsWhoisRefusal(prepared)) return WordFailed();
  const Classifier& c = Classifiers()[static_cast<size_t>(group)];
  for (const StateTest& t : c.tests)
    if (Holds(t, prepared)) return OutcomeWord(t.outcome);
  return OutcomeWord(c.otherwise);
}

void CutWhoisFields(int group, std::string_view prepared, WhoisFields& fields) {
  if (group < 0 || group >= kWhoisGroupCount) return;
  const Cutter& c = Cutters()[static_cast<size_t>(group)];
  size_t from = 0;  // progressive style: where the next label is looked for
  std::string value;
  for (const LabelRow& row : c.rows) {
    for (std::string_view label : row.labels) {
      if (label.empty()) break;
      size_t skip = 0;
      if (c.style == CutStyle::Progressive && label != "name server:") skip = 1;
      size_t pos = 0;
      if (!CutLabelValue(prepared, label, c.style == CutStyle::Progressive ? from : 0, skip,
                         value, &pos))
        continue;
      fields.*row.field = c.style == CutStyle::FromLabelTrimmed ? Trim(value) : value;
      if (c.style == CutStyle::Progressive) from = pos + 1;
      break;
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
