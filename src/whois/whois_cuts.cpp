#include "whois/whois_reply.h"

#include <array>
#include <cstdint>
#include <cstring>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/text/gbk.h"
#include "whois/whois_registry.h"
#include "whois/whois_reply_internal.h"

namespace orlu {

namespace {

// The value from `start` up to the line end (CR or LF) that follows
// `after`; empty when none follows or it comes before `start`.
void ValueBeforeLineEnd(std::string_view text, size_t after, size_t start, std::string& value) {
  const size_t end = LineEndFrom(text, after);
  if (end == std::string_view::npos || end < start)
    value.clear();
  else
    value.assign(text.substr(start, end - start));
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

bool CutLabelValue(std::string_view text, std::string_view label, size_t from, size_t skip,
                   std::string& value, size_t* labelPos) {
  const size_t pos = FindMarker(text, label, from);
  if (pos == std::string_view::npos) return false;
  if (labelPos) *labelPos = pos;
  ValueBeforeLineEnd(text, pos + label.size(), pos + label.size() + skip, value);
  return true;
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
