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
  if (group == kGroupOther) return WhoisOther(std::move(domain));
  AskRegistry(group, domain);
  return true;
}

void WhoisLookup::AskRegistry(int group, const std::string& domain) {
  // The cn registry takes its (possibly Chinese) names in UTF-8; the others
  // get the domain as it is.
  const std::string query = group == kGroupCn ? AnsiToUtf8(domain) : domain;
  Classify(group, Ask(Whois, std::string(RegistryServer(group)), query));
}

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

void WhoisLookup::ParseOtherState(std::string reply) { Classify(kGroupOther, reply); }

void WhoisLookup::ResetWhoisFields() { WhoisFields::Reset(); }

void WhoisLookup::AbortQuestions() {
  Whois.Abort();
  IanaWhois.Abort();
}

}  // namespace orlu
