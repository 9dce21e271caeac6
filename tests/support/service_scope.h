// Points the program's outside hosts at substitute servers for one scope.
//
//   SubstituteHttpServer http;
//   SubstituteWhoisServer whois;
//   ScopedServices services(&http, &whois);   // "*http" and "*whois"
//   services.Map("whois.cnnic.cn", other.HostPort());  // one name elsewhere
//
// While it lives, every page host and every WHOIS host resolves to the
// servers given (the ORLU_SERVICES file is ignored); at its end the
// overrides are cleared. Header-only: link the test with orlu_net (or a
// library that brings it).
#pragma once

#include <string>

#include "platform/net/services.h"
#include "substitute-services/servers/substitute_http.h"
#include "substitute-services/servers/substitute_whois.h"

namespace orlu::test {

class ScopedServices {
 public:
  explicit ScopedServices(const SubstituteHttpServer* http = nullptr,
                          const SubstituteWhoisServer* whois = nullptr) {
    orlu::ClearServiceOverrides();
    if (http) orlu::SetServiceOverride("*http", http->HostPort());
    if (whois) orlu::SetServiceOverride("*whois", whois->HostPort());
  }
  ~ScopedServices() { orlu::ClearServiceOverrides(); }
  ScopedServices(const ScopedServices&) = delete;
  ScopedServices& operator=(const ScopedServices&) = delete;

  void Map(const std::string& name, const std::string& hostPort) {
    orlu::SetServiceOverride(name, hostPort);
  }
};

}  // namespace orlu::test
