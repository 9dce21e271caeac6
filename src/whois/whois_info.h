// The single-domain WHOIS questions behind the "域名信息" window: the basic
// question asks the suffix's registry once; the detailed one follows one
// "whois server:" referral. The reply is shown whole, in its own letter
// case; the window only puts the text returned here into its memo.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "platform/net/whois_client.h"

namespace orlu {

// What CutWhoisServer and FindIanaServer return when they find no server.
inline constexpr std::string_view kNoWhoisServer = "fail";

// Memo texts (GBK, lines ended by CR LF as the memo holds them).
// Success: domain + "域名注册信息:", an empty line, then the reply with each
// bare line feed turned into CR LF, ended by a line break.
std::string WhoisInfoMemoText(const std::string& domain, const std::string& reply);
// Failure: the one line domain + "域名查询失败".
std::string WhoisInfoFailureText(const std::string& domain);

class WhoisInfoQuery {
 public:
  // One exchange with a WHOIS server: the reply as received; throws on any
  // failure. The window passes one that waits without freezing its windows.
  using Exchange = std::function<std::string(const std::string& host, const std::string& query)>;

  // Without an exchange the questions go through `Client`.
  explicit WhoisInfoQuery(Exchange exchange = {});

  // The window's WHOIS client; preset to the com/net registry's server, and
  // set to the server of every question before it is asked.
  WhoisClient Client;

  // The memo text after a question; nothing while another question of this
  // object is still waiting (a click during the wait is ignored).
  std::optional<std::string> ShowBaseWhois(std::string domain);
  std::optional<std::string> ShowDetailWhois(std::string domain);

  // The server named on the first "whois server:" line of a reply,
  // lower-case and trimmed; "fail" when there is none.
  static std::string CutWhoisServer(const std::string& reply);
  // Asks IANA for the server of the domain's suffix; "fail" when the
  // question fails or IANA names none.
  std::string FindIanaServer(std::string domain);

  bool Busy() const { return busy_; }

 private:
  std::string Ask(const std::string& host, const std::string& query);
  std::optional<std::string> Run(std::string domain, bool detailed);
  // The server that answers for the lower-cased domain, or empty when the
  // IANA step named none.
  std::string ChooseServer(const std::string& domain);

  Exchange exchange_;
  bool busy_ = false;
};

}  // namespace orlu
