// WHOIS question over TCP: connect, send the query and CR LF, read until the
// server closes.
#pragma once

#include <string>

#include "platform/net/page_client.h"

namespace orlu {

class WhoisClient {
 public:
  std::string Host;            // host or host:port (port 43 by default)
  int ConnectTimeout = 30000;  // ms
  int ReadTimeout = 30000;     // ms of inactivity
  size_t MaxReply = 4 * 1024 * 1024;

  // The reply as received. Raises NetError on every failure (refused,
  // time-out, reply over the cap, no host).
  std::string WhoIs(const std::string& query);

  // Aborts a question in progress (any thread).
  void Abort();
};

}  // namespace orlu
