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

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/text/codepage.h"
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

// `s` with its percent-escapes undone; a "%" not followed by two hex digits
// before the end stays as it is.
inline std::string PercentDecoded(std::string_view s) {
  auto hex = [](char c) {
    return c >= '0' && c <= '9' ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10 : c >= 'A' && c <= 'F' ? c - 'A' + 10 : -1;
  };
  std::string out;
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] == '%' && i + 2 < s.size() && hex(s[i + 1]) >= 0 && hex(s[i + 2]) >= 0) {
      out += static_cast<char>(hex(s[i + 1]) * 16 + hex(s[i + 2]));
      i += 2;
    } else {
      out += s[i];
    }
  }
  return out;
}

// The value of `key` in the request's query with its percent-escapes undone:
// from after "key=" up to the next "&", or to the end of the query when
// `toEnd` (a domain may itself hold "&").
inline std::string QueryValue(const test::HttpRequest& r, std::string_view key, bool toEnd = false) {
  const std::string query = r.Query();
  const std::string k = std::string(key) + "=";
  size_t at = 0;
  while ((at = query.find(k, at)) != std::string::npos && at != 0 && query[at - 1] != '&') at += k.size();
  if (at == std::string::npos) return std::string();
  at += k.size();
  const size_t end = toEnd ? query.size() : std::min(query.find('&', at), query.size());
  return PercentDecoded(std::string_view(query).substr(at, end - at));
}

// `text` without `prefix` at its start.
inline std::string WithoutPrefix(const std::string& text, std::string_view prefix) {
  return text.compare(0, prefix.size(), prefix) == 0 ? text.substr(prefix.size()) : text;
}

// A search for "link:<domain>" or "site:<domain>" (or the bare domain).
struct SiteOrLink {
  explicit SiteOrLink(const std::string& q)
      : link(q.rfind("link:", 0) == 0), domain(WithoutPrefix(WithoutPrefix(q, "link:"), "site:")) {}
  bool link;
  std::string domain;
};

// How long a search engine takes to answer: 30 to 149 ms, following `h`.
inline std::chrono::milliseconds SearchDelay(uint32_t h) { return std::chrono::milliseconds(30 + h % 120); }

// A made-up figure of a domain, stable from run to run; `what` tells the
// figures of one domain apart.
inline uint32_t Figure(std::string_view domain, std::string_view what) {
  return NameHash(std::string(what) + "|" + std::string(domain));
}

// The services find nothing for a domain whose name starts with "none".
inline bool NothingFound(std::string_view domain) { return domain.substr(0, 4) == "none"; }

// A count written as the search engines write it: 1234567 as 1,234,567.
inline std::string Grouped(uint64_t n) {
  std::string digits = std::to_string(n), out;
  for (size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) out += ',';
    out += digits[i];
  }
  return out;
}

// A domain as the program sent it (GBK) put into a UTF-8 page.
inline std::string DomainAsUtf8(const std::string& domain) {
  return domain.empty() || !orlu::Utf8ToAnsi(domain).empty() ? domain : orlu::AnsiToUtf8(domain);
}

}  // namespace orlu::substitute
