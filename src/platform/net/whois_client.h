// WHOIS question over TCP: connect, send the query and CR LF, read until the
// server closes. The host goes through the outside-hosts configuration
// (services.h) first.
#pragma once

#include <atomic>
#include <cstddef>
#include <string>

struct addrinfo;

#include "platform/net/page_client.h"

namespace orlu {

class WhoisClient {
 public:
  std::string Host;            // host or host:port (port 43 by default)
  int ConnectTimeout = 30000;  // ms
  // ms of inactivity; once connected, the whole reply must also come within
  // four times this.
  int ReadTimeout = 30000;
  size_t MaxReply = 4 * 1024 * 1024;

  WhoisClient();
  ~WhoisClient();
  // A copy takes the settings, not the abort state.
  WhoisClient(const WhoisClient& other);
  WhoisClient& operator=(const WhoisClient& other);

  // The reply as received. Raises NetError on every failure (refused,
  // time-out, reply over the cap, no host).
  std::string WhoIs(const std::string& query);

  // Aborts a question in progress (any thread); the WhoIs raises NetError.
  // The client stays aborted: every later WhoIs raises at once too.
  void Abort();

  // The name lookup every client uses (getaddrinfo's signature), for tests
  // that need a lookup that never answers; nullptr restores the C library's.
  // A lookup runs on a helper thread of its own, so the connect time-out and
  // Abort end the wait for it.
  using NameLookup = int (*)(const char* host, const char* service, const struct addrinfo* hints,
                             struct addrinfo** result);
  static void SetNameLookup(NameLookup lookup);

 private:
  int wakeFd_ = -1;  // written by Abort, watched by every wait
  std::atomic<bool> aborted_{false};
};

}  // namespace orlu
