// Helpers shared by the WHOIS tests: the cut fields as one list, and
// substitute servers for the hosts the questions tell apart.
#pragma once

#include <string>
#include <vector>

#include "support/service_scope.h"
#include "substitute-services/servers/substitute_whois.h"
#include "whois/whois_reply.h"

namespace orlu::test {

using Texts = std::vector<std::string>;

// Status, organization, contact, email, registrar, name server, creation
// date, expiration date.
inline Texts Fields(const WhoisFields& f) {
  return {f.StatusText, f.Organization, f.Contact,      f.Email,
          f.Registrar,  f.NameServer,   f.CreationDate, f.ExpirationDate};
}

inline WhoisFields Cut(int group, const std::string& prepared) {
  WhoisFields f;
  CutWhoisFields(group, prepared, f);
  return f;
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
