// Points every page host ("*http") and WHOIS host ("*whois") at substitute servers while it lives
// (the ORLU_SERVICES file is ignored); Map sends one name elsewhere. Link the test with orlu_net.
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
