#include "whois/whois_info.h"

#include "platform/text/codepage.h"
#include "platform/text/gbk.h"
#include "whois/whois_registry.h"
#include "whois/whois_reply.h"

namespace orlu {

namespace {

// A bare line feed becomes CR LF; a CR LF stays one line break.
std::string ExpandLineFeeds(const std::string& text) {
  std::string out;
  out.reserve(text.size() + text.size() / 16);
  char before = 0;
  for (char c : text) {
    if (c == '\n' && before != '\r') out += '\r';
    out += c;
    before = c;
  }
  return out;
}

// Clears the busy mark however a question ends.
class BusyMark {
 public:
  explicit BusyMark(bool& flag) : flag_(flag) { flag_ = true; }
  ~BusyMark() { flag_ = false; }
  BusyMark(const BusyMark&) = delete;
  BusyMark& operator=(const BusyMark&) = delete;

 private:
  bool& flag_;
};

}  // namespace

std::string WhoisInfoMemoText(const std::string& domain, const std::string& reply) {
  static const std::string heading = Gbk("域名注册信息:");
  return domain + heading + "\r\n" + "\r\n" + ExpandLineFeeds(reply) + "\r\n";
}

std::string WhoisInfoFailureText(const std::string& domain) {
  static const std::string failed = Gbk("域名查询失败");
  return domain + failed + "\r\n";
}

WhoisInfoQuery::WhoisInfoQuery(Exchange exchange) : exchange_(std::move(exchange)) {
  Client.Host = std::string(RegistryServer(kGroupCom));
}

std::string WhoisInfoQuery::Ask(const std::string& host, const std::string& query) {
  Client.Host = host;
  // An empty host would otherwise reach whatever the configuration maps
  // unnamed hosts to; a name cut from a reply with a port or anything else
  // in it is no host name at all.
  if (!IsWhoisHostName(host)) throw NetError("no WHOIS server");
  if (exchange_) return exchange_(host, query);
  return Client.WhoIs(query);
}

std::string WhoisInfoQuery::CutWhoisServer(const std::string& reply) {
  std::string value;
  if (!CutLabelValue(LowerCase(reply), "whois server:", 0, 0, value)) return std::string(kNoWhoisServer);
  return Trim(value);
}

std::string WhoisInfoQuery::FindIanaServer(std::string domain) {
  std::string reply;
  try {
    reply = PrepareWhoisReply(Ask(std::string(kIanaWhoisServer), std::string(DomainSuffix(domain))));
  } catch (...) {
    return std::string(kNoWhoisServer);
  }
  std::string server;
  if (!CutIanaReferral(reply, server)) return std::string(kNoWhoisServer);
  return server;
}

std::string WhoisInfoQuery::ChooseServer(const std::string& domain) {
  const int group = WhoisGroupOfDomain(domain);
  if (group != kGroupOther) return std::string(RegistryServer(group));
  std::string server = FindIanaServer(domain);
  if (server == kNoWhoisServer) return {};
  return server;
}

std::optional<std::string> WhoisInfoQuery::ShowBaseWhois(std::string domain) {
  return Run(std::move(domain), false);
}

std::optional<std::string> WhoisInfoQuery::ShowDetailWhois(std::string domain) {
  return Run(std::move(domain), true);
}

std::optional<std::string> WhoisInfoQuery::Run(std::string domain, bool detailed) {
  if (busy_) return std::nullopt;
  BusyMark mark(busy_);
  domain = LowerCase(domain);
  const std::string server = ChooseServer(domain);
  // No server named by IANA, or an empty name: nothing more is asked.
  if (server.empty()) return WhoisInfoFailureText(domain);
  std::string reply;
  try {
    // The window sends the domain in the system code page, unconverted.
    reply = Utf8ToAnsiLenient(Ask(server, domain));
  } catch (...) {
    return WhoisInfoFailureText(domain);
  }
  if (detailed) {
    const std::string referral = CutWhoisServer(reply);
    // A referral that cuts out empty is no referral: the first reply stands.
    if (referral != kNoWhoisServer && !referral.empty()) {
      try {
        reply = Utf8ToAnsiLenient(Ask(referral, domain));
      } catch (...) {
        return WhoisInfoFailureText(domain);
      }
    }
  }
  return WhoisInfoMemoText(domain, reply);
}

}  // namespace orlu
