#include "whois/whois_lookup.h"

#include <optional>

#include "platform/text/codepage.h"

namespace orlu {

namespace {

// One exchange; the prepared reply, or nothing when the question failed
// (unreachable, refused, closed early, timed out, no host).
std::optional<std::string> Exchange(WhoisClient& client, const std::string& host,
                                    const std::string& query) {
  // An empty host would otherwise reach whatever the configuration maps
  // unnamed hosts to; a name cut from a reply with a port or anything else
  // in it is no host name at all.
  if (!IsWhoisHostName(host)) return std::nullopt;
  try {
    client.Host = host;
    return PrepareWhoisReply(client.WhoIs(query));
  } catch (...) {
    return std::nullopt;
  }
}

}  // namespace

WhoisLookup::WhoisLookup(uint8_t group) : Group(group) {
  IanaWhois.Host = std::string(kIanaWhoisServer);
}

std::string WhoisLookup::Ask(WhoisClient& client, const std::string& host,
                             const std::string& query) {
  std::optional<std::string> reply = Exchange(client, host, query);
  return reply ? std::move(*reply) : WordFailed();
}

bool WhoisLookup::WhoisBySuffix(std::string domain, bool& handled) {
  const int group = WhoisGroupOfDomain(domain);
  if (group != Group) {
    handled = false;
    return true;
  }
  handled = true;
  switch (group) {
    case kGroupCn: WhoisCn(std::move(domain)); break;
    case kGroupCom: WhoisCom(std::move(domain)); break;
    case kGroupOrg: WhoisOrg(std::move(domain)); break;
    case kGroupCc: WhoisCc(std::move(domain)); break;
    case kGroupBiz: WhoisBiz(std::move(domain)); break;
    case kGroupInfo: WhoisDotInfo(std::move(domain)); break;
    case kGroupName: WhoisDotName(std::move(domain)); break;
    case kGroupTv: WhoisTv(std::move(domain)); break;
    case kGroupMobi: WhoisMobi(std::move(domain)); break;
    default: return WhoisOther(std::move(domain));
  }
  return true;
}

void WhoisLookup::AskRegistry(int group, const std::string& domain) {
  // The cn registry takes its (possibly Chinese) names in UTF-8; the others
  // get the domain as it is.
  const std::string query = group == kGroupCn ? AnsiToUtf8(domain) : domain;
  Classify(group, Ask(Whois, std::string(RegistryServer(group)), query));
}

void WhoisLookup::WhoisCn(std::string domain) { AskRegistry(kGroupCn, domain); }
void WhoisLookup::WhoisCom(std::string domain) { AskRegistry(kGroupCom, domain); }
void WhoisLookup::WhoisOrg(std::string domain) { AskRegistry(kGroupOrg, domain); }
void WhoisLookup::WhoisCc(std::string domain) { AskRegistry(kGroupCc, domain); }
void WhoisLookup::WhoisBiz(std::string domain) { AskRegistry(kGroupBiz, domain); }
void WhoisLookup::WhoisDotInfo(std::string domain) { AskRegistry(kGroupInfo, domain); }
void WhoisLookup::WhoisDotName(std::string domain) { AskRegistry(kGroupName, domain); }
void WhoisLookup::WhoisTv(std::string domain) { AskRegistry(kGroupTv, domain); }
void WhoisLookup::WhoisMobi(std::string domain) { AskRegistry(kGroupMobi, domain); }

bool WhoisLookup::WhoisOther(std::string domain) {
  std::string server;
  bool found = false;
  const bool referred = AskIanaServer(domain, server, found);
  // The referred server gets the domain unconverted.
  ParseOtherState(found && referred ? Ask(Whois, server, domain) : WordFailed());
  return referred;
}

bool WhoisLookup::AskIanaServer(std::string domain, std::string& server, bool& found) {
  found = true;
  const std::optional<std::string> reply =
      Exchange(IanaWhois, IanaWhois.Host, std::string(DomainSuffix(domain)));
  // A failed question, a reply of nothing and a refusal say nothing about the
  // suffix: the row is asked again rather than marked unsupported for good.
  if (!reply || reply->empty() || IsWhoisRefusal(*reply)) {
    found = false;
    return true;
  }
  return CutIanaReferral(*reply, server);
}

void WhoisLookup::Classify(int group, const std::string& reply) {
  State = ClassifyWhoisReply(group, reply);
  if (State == WordRegistered()) CutWhoisFields(group, reply, *this);
}

void WhoisLookup::ParseCnState(std::string reply) { Classify(kGroupCn, reply); }
void WhoisLookup::ParseComState(std::string reply) { Classify(kGroupCom, reply); }
void WhoisLookup::ParseOrgState(std::string reply) { Classify(kGroupOrg, reply); }
void WhoisLookup::ParseCcState(std::string reply) { Classify(kGroupCc, reply); }
void WhoisLookup::ParseBizState(std::string reply) { Classify(kGroupBiz, reply); }
void WhoisLookup::ParseDotInfoState(std::string reply) { Classify(kGroupInfo, reply); }
void WhoisLookup::ParseDotNameState(std::string reply) { Classify(kGroupName, reply); }
void WhoisLookup::ParseTvState(std::string reply) { Classify(kGroupTv, reply); }
void WhoisLookup::ParseMobiState(std::string reply) { Classify(kGroupMobi, reply); }
void WhoisLookup::ParseOtherState(std::string reply) { Classify(kGroupOther, reply); }

void WhoisLookup::ParseCnFields(std::string reply) { CutWhoisFields(kGroupCn, reply, *this); }
void WhoisLookup::ParseComFields(std::string reply) { CutWhoisFields(kGroupCom, reply, *this); }
void WhoisLookup::ParseOrgFields(std::string reply) { CutWhoisFields(kGroupOrg, reply, *this); }
void WhoisLookup::ParseCcFields(std::string reply) { CutWhoisFields(kGroupCc, reply, *this); }
void WhoisLookup::ParseBizFields(std::string reply) { CutWhoisFields(kGroupBiz, reply, *this); }
void WhoisLookup::ParseDotInfoFields(std::string reply) {
  CutWhoisFields(kGroupInfo, reply, *this);
}
void WhoisLookup::ParseDotNameFields(std::string reply) {
  CutWhoisFields(kGroupName, reply, *this);
}
void WhoisLookup::ParseTvFields(std::string reply) { CutWhoisFields(kGroupTv, reply, *this); }
void WhoisLookup::ParseMobiFields(std::string reply) { CutWhoisFields(kGroupMobi, reply, *this); }
void WhoisLookup::ParseOtherFields(std::string reply) {
  CutWhoisFields(kGroupOther, reply, *this);
}

void WhoisLookup::ResetWhoisFields() { WhoisFields::Reset(); }

void WhoisLookup::AbortQuestions() {
  Whois.Abort();
  IanaWhois.Abort();
}

}  // namespace orlu
