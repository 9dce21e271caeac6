// WHOIS question over TCP: connect, send the query and CR LF, read until the
// server closes. The host goes through the outside-hosts configuration
// (services.h) first.
#pragma once

#include <atomic>
#include <cstddef>
#include <string>

#include "platform/net/page_client.h"

namespace orlu {

class WhoisClient {
 public:
  std::string Host;            // host or host:port (port 43 by default)
  int ConnectTimeout = 30000;  // ms
  int ReadTimeout = 30000;     // ms of inactivity
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

 private:
  int wakeFd_ = -1;  // written by Abort, watched by every wait
  std::atomic<bool> aborted_{false};
};

}  // namespace orlu
