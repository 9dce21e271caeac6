// Reading registry replies: preparation, the registration state of each
// registry group, and the registration fields cut out of a reply.
//
// Every routine here takes the prepared reply: converted from UTF-8 to GBK
// and lower-cased, so every marker and label is lower-case.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "pages/fail_words.h"

namespace orlu {

// Result words (GBK); the failure word is WordFailed.
const std::string& WordUnregistered();  // "未注册"
const std::string& WordRegistered();    // "已注册"
const std::string& WordReserved();      // "限制注册"
const std::string& WordUnsupported();   // "后缀不支持"

// The registration fields of one answer. Each holds " " until a cutter finds
// its label.
struct WhoisFields {
  std::string Organization = " ";
  std::string StatusText = " ";
  std::string Contact = " ";
  std::string Email = " ";
  std::string Registrar = " ";
  std::string NameServer = " ";
  std::string CreationDate = " ";
  std::string ExpirationDate = " ";

  void Reset() { *this = WhoisFields(); }
};

// UTF-8 to GBK, then lower-cased; bytes that are not UTF-8 become "?".
std::string PrepareWhoisReply(std::string_view raw);

// True for a reply that holds a text with which registries refuse to answer
// (query limits, outages).
bool IsWhoisRefusal(std::string_view prepared);

// The state ("未注册", "已注册", "限制注册" or "失败") a registry group's
// reply stands for. An empty reply, the text "失败" and a refusal are "失败"
// in every group, unless the refusal is a query-limit notice that heads an
// answer. A reply that records the name (its registrar, creation date, name
// servers or status) is never "未注册", whatever free wording it also holds;
// nor is a not-found statement about another object of the reply (a contact
// or name server whose "type:" line follows the statement) read as free.
std::string ClassifyWhoisReply(int group, std::string_view prepared);

// How the cutters find their labels: all labels of a group in one pass over
// the colons of the reply, or each label by its own search (slower; the
// reference the one-pass search must agree with).
enum class LabelSearch { OnePass, EachLabel };

// Cuts the group's labels out of the reply into `fields`; a label the reply
// lacks leaves its field as it was. Values end before the line's CR or LF.
void CutWhoisFields(int group, std::string_view prepared, WhoisFields& fields,
                    LabelSearch search = LabelSearch::OnePass);

// The WHOIS server an IANA reply refers to. Tries, in order: the marker
// "whois server (port 43): " anywhere (its value may be empty), then a line
// starting "refer:", then a line starting "whois:" (these two only with a
// value). False when the reply names none.
bool CutIanaReferral(std::string_view prepared, std::string& server);

// 0-based position of the first `marker` in `text` at or after `from` that
// starts at a character boundary (never inside a double-byte character);
// npos when there is none. A byte-wise search as fast as the C library's.
size_t FindMarker(std::string_view text, std::string_view marker, size_t from = 0);

// The value after `label` up to the next CR or LF, searched at character
// boundaries from 0-based `from`; `skip` bytes after the label are passed
// over first. Returns false when the label is absent; `value` is empty when
// no line end follows. `labelPos` receives the label's 0-based position.
bool CutLabelValue(std::string_view text, std::string_view label, size_t from, size_t skip,
                   std::string& value, size_t* labelPos = nullptr);

}  // namespace orlu
