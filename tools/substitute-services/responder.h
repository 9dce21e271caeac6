// Responders of the substitute-services program: each outside service the
// program calls gets a file of its own (<service>_responder.cpp) that
// registers a function installing its routes on the two servers:
//
//   #include "responder.h"
//   namespace {
//   void Install(orlu::substitute::Servers& s) {
//     s.http.OnHost("data.example.com", "/xml", [](const orlu::test::HttpRequest& r) {
//       return orlu::test::HttpReply::Ok(...);
//     });
//     s.whois.AddResponder(...);
//   }
//   const orlu::substitute::Responder registered("ranking data", Install);
//   }  // namespace
//
// Every page host reaches the HTTP server (the services file maps "*http"
// to it) with its own name in the Host header, so routes are set per host
// with OnHost; every WHOIS host reaches the WHOIS server, which tells the
// questions apart by the query text, except a host that a responder gives
// a server of its own (serviceLines).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "substitute-services/servers/substitute_http.h"
#include "substitute-services/servers/substitute_whois.h"

namespace orlu::substitute {

struct Servers {
  test::SubstituteHttpServer& http;
  test::SubstituteWhoisServer& whois;
  std::string fixtureDir;  // tests/fixtures of the source tree, or --fixtures
  // Lines "name=host:port" a responder adds to the services file, for a host
  // that needs a server of its own.
  std::string serviceLines;
};

using Installer = void (*)(Servers&);

// Every responder registered so far, in registration order.
std::vector<std::pair<std::string, Installer>>& Responders();

// Registers at static initialisation (a namespace-scope object).
struct Responder {
  Responder(const char* name, Installer install) { Responders().emplace_back(name, install); }
};

// A stable hash of a name (FNV-1a), so each name keeps its made-up figures
// from one run to the next.
inline uint32_t NameHash(std::string_view s) {
  uint32_t h = 2166136261u;
  for (unsigned char c : s) h = (h ^ c) * 16777619u;
  return h;
}

}  // namespace orlu::substitute
