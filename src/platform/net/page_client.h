// HTTP GET client: one conversation (cookies, settings) per object. Never
// shared between threads, except Abort(), which any thread may call.
#pragma once

#include <memory>
#include <string>

#include "platform/text/errors.h"

namespace orlu {

// Every failure of a fetch or a WHOIS question: unreachable host, early
// close, time-out, an error status, an unfollowed redirect, a bad address.
class NetError : public Error {
 public:
  using Error::Error;
};

class PageClient {
 public:
  PageClient();
  ~PageClient();
  PageClient(const PageClient&) = delete;
  PageClient& operator=(const PageClient&) = delete;

  // Settings (the "default" header set: Accept "text/html, */*",
  // User-Agent "Mozilla/3.0 (compatible; Indy Library)").
  int ReadTimeout = 0;          // ms of inactivity; 0: none beyond the cap below
  int ConnectTimeout = 30000;   // ms
  int RecvBufferSize = 0;       // bytes; 0: library default
  bool HandleRedirects = false;
  std::string Accept = "text/html, */*";
  std::string AcceptLanguage;   // empty: not sent
  std::string AcceptEncoding;   // sent (possibly empty) once set by UseBrowserHeaders
  bool SendAcceptEncoding = false;
  std::string UserAgent = "Mozilla/3.0 (compatible; Indy Library)";
  std::string Connection;       // empty: not sent

  // The "browser" header set, field by field, then cookies kept.
  void UseBrowserHeaders();

  // One GET; the body of the final reply byte for byte. Only http and https.
  // Raises NetError on every failure.
  std::string Get(const std::string& url);

  // Aborts a transfer in progress (any thread); the Get raises NetError.
  void Abort();

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

// Process-wide set-up of the transfer library; idempotent, thread-safe.
// Called before any worker starts.
void InitNetwork();

}  // namespace orlu
