// Helpers shared by the WHOIS tests: the cut fields as one list, settings
// without pauses, and substitute servers for the hosts the questions tell
// apart.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "support/service_scope.h"
#include "substitute-services/servers/substitute_whois.h"
#include "whois/whois_batch.h"
#include "whois/whois_reply.h"

namespace orlu::test {

using Texts = std::vector<std::string>;

// Status, organization, contact, email, registrar, name server, creation
// date, expiration date.
inline Texts Fields(const WhoisFields& f) {
  return {f.StatusText, f.Organization, f.Contact,      f.Email,
          f.Registrar,  f.NameServer,   f.CreationDate, f.ExpirationDate};
}

// Every group's pause after a question set to 0, so tests run quickly.
inline void NoPauses(WhoisSettings& s) { s.Delays.fill(0); }

inline WhoisFields Cut(int group, const std::string& prepared) {
  WhoisFields f;
  CutWhoisFields(group, prepared, f);
  return f;
}

// Never answers a question that starts with "h"; a name without a dot gets
// a referral, a domain a registered reply.
inline WhoisMaybeResponder HangOnH() {
  return [](const WhoisRequest& r) -> std::optional<WhoisReply> {
    if (r.query.starts_with("h")) return WhoisReply::Hang();
    if (r.query.find('.') == std::string::npos)
      return WhoisReply::Text("whois server (port 43): whois.nic.example\r\n");
    return WhoisReply::Text("Domain Name: x\r\n");
  };
}

// Six domains under each of ten suffixes, every other one starting with
// "h" (so HangOnH leaves half of them unanswered).
inline Texts HalfHangingDomains() {
  Texts lines;
  for (const char* suffix : {"cn", "com", "org", "cc", "biz", "info", "name", "tv", "mobi", "xyz"})
    for (int i = 0; i < 6; ++i)
      lines.push_back(std::string(i % 2 ? "h" : "q") + std::to_string(i) + "." + suffix);
  return lines;
}

// One substitute per host the tests tell apart; every other host goes to
// `other`.
struct WhoisHosts {
  SubstituteWhoisServer com, cn, iana, referred, other;
  ScopedServices scope{nullptr, &other};
  WhoisHosts() {
    scope.Map("whois.verisign-grs.com", com.HostPort());
    scope.Map("whois.cnnic.cn", cn.HostPort());
    scope.Map("whois.iana.org", iana.HostPort());
    scope.Map("whois.markmonitor.com", referred.HostPort());
  }
};

}  // namespace orlu::test
