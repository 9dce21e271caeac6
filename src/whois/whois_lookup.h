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

  // The "other" group's question: the server IANA names for the suffix.
  // Returns AskIanaServer's result.
  bool WhoisOther(std::string domain);

  // Asks IANA which server answers for the domain's suffix. `found` is false
  // when the IANA question failed (the result is then true); the result is
  // false when IANA names no server.
  bool AskIanaServer(std::string domain, std::string& server, bool& found);

  // The "other" group's classifier: sets `State`, and cuts the fields when
  // it is "已注册".
  void ParseOtherState(std::string reply);

  // Sets the eight fields to " " (not `State`).
  void ResetWhoisFields();

  // Stops a question in progress (any thread), e.g. at shutdown.
  void AbortQuestions();

 private:
  // Asks `host` through `client` and prepares the reply; "失败" on any error,
  // an empty host, or a name that is no plain host name, included.
  static std::string Ask(WhoisClient& client, const std::string& host, const std::string& query);
  // A question to a group's registry server as the registry table names it.
  void AskRegistry(int group, const std::string& domain);
  void Classify(int group, const std::string& reply);
};

}  // namespace orlu
