// The WHOIS questions of a batch worker: routing a domain to its registry
// group, asking the group's server (or the server IANA names), and reading
// the reply into the registration state and fields. A batch worker thread
// owns one object and asks only about the domains of its own `Group`.
#pragma once

#include <cstdint>
#include <string>

#include "platform/net/whois_client.h"
#include "whois/whois_registry.h"
#include "whois/whois_reply.h"

namespace orlu {

class WhoisLookup : public WhoisFields {
 public:
  explicit WhoisLookup(uint8_t group = kGroupOther);
  virtual ~WhoisLookup() = default;

  uint8_t Group;
  // `Whois` asks the registries (its host is set before every question);
  // `IanaWhois` asks the IANA server.
  WhoisClient Whois;
  WhoisClient IanaWhois;
  // "未注册", "已注册", "限制注册" or "失败" after a question.
  std::string State;

  // Routes the domain (lower-cased and trimmed) to its group. When that is
  // this object's group, asks it and sets `handled`; otherwise asks nothing.
  // False only when an "other" domain has no server named by IANA.
  bool WhoisBySuffix(std::string domain, bool& handled);

  // One question per registry group: ask, prepare the reply, classify it.
  void WhoisCn(std::string domain);
  void WhoisCom(std::string domain);
  void WhoisOrg(std::string domain);
  void WhoisCc(std::string domain);
  void WhoisBiz(std::string domain);
  void WhoisDotInfo(std::string domain);
  void WhoisDotName(std::string domain);
  void WhoisTv(std::string domain);
  void WhoisMobi(std::string domain);
  bool WhoisOther(std::string domain);

  // Asks IANA which server answers for the domain's suffix. `found` is false
  // when the IANA question failed (the result is then true); the result is
  // false when IANA names no server.
  bool AskIanaServer(std::string domain, std::string& server, bool& found);

  // Classifiers: set `State`, and cut the fields when it is "已注册".
  void ParseCnState(std::string reply);
  void ParseComState(std::string reply);
  void ParseOrgState(std::string reply);
  void ParseCcState(std::string reply);
  void ParseBizState(std::string reply);
  void ParseDotInfoState(std::string reply);
  void ParseDotNameState(std::string reply);
  void ParseTvState(std::string reply);
  void ParseMobiState(std::string reply);
  void ParseOtherState(std::string reply);

  // Cutters: fill the fields whose labels the reply holds.
  void ParseCnFields(std::string reply);
  void ParseComFields(std::string reply);
  void ParseOrgFields(std::string reply);
  void ParseCcFields(std::string reply);
  void ParseBizFields(std::string reply);
  void ParseDotInfoFields(std::string reply);
  void ParseDotNameFields(std::string reply);
  void ParseTvFields(std::string reply);
  void ParseMobiFields(std::string reply);
  void ParseOtherFields(std::string reply);

  // Sets the eight fields to " " (not `State`).
  void ResetWhoisFields();

  // Stops a question in progress (any thread), e.g. at shutdown.
  void AbortQuestions();

 private:
  // Asks `host` through `client` and prepares the reply; "失败" on any error,
  // an empty host, or a name that is no plain host name, included.
  static std::string Ask(WhoisClient& client, const std::string& host, const std::string& query);
  void AskRegistry(int group, const std::string& domain);
  void Classify(int group, const std::string& reply);
};

}  // namespace orlu
