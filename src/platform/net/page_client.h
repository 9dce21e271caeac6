// HTTP GET client: one conversation (cookies, settings) per object. Never
// shared between threads, except Abort(), which any thread may call.
//
// On the wire: the request line, Host, the Cookie header once the server has
// set a cookie and KeepCookies is on (cookies are kept in memory by the client
// object and lost with it), then the header fields below in this order: Accept,
// Accept-Language, Accept-Encoding, User-Agent, Connection. Nothing else is
// added. The body comes back byte for byte (never decompressed). Redirects
// are followed only with HandleRedirects; each hop is looked up in the
// outside-hosts configuration (services.h) again.
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
  // ms of inactivity; 0: 30 s. Once connected, the whole reply (redirects
  // followed included) must also come within four times this.
  int ReadTimeout = 0;
  int ConnectTimeout = 30000;   // ms
  int RecvBufferSize = 0;       // bytes; 0: library default
  // A longer body raises NetError; the body's buffer never grows past it,
  // so a job sets it to what its page can need.
  size_t MaxBody = 64u << 20;
  // On: a longer body is no error; the Get returns its first MaxBody bytes
  // (the rest is not read) and BodyWasCut() tells so.
  bool CutLongBody = false;
  bool HandleRedirects = false;
  // Cookies the server sets are sent back on later requests of this client
  // (redirect hops included). Off: none is kept or sent, and turning it off
  // drops those kept so far.
  bool KeepCookies = false;
  std::string Accept = "text/html, */*";  // empty: not sent
  std::string AcceptLanguage;   // empty: not sent
  std::string AcceptEncoding;   // sent (possibly empty) once set by UseBrowserHeaders
  bool SendAcceptEncoding = false;
  std::string UserAgent = "Mozilla/3.0 (compatible; Indy Library)";  // empty: not sent
  std::string Connection;       // empty: not sent

  // The "browser" header set, field by field, then KeepCookies on.
  void UseBrowserHeaders();

  // One GET; the body of the final reply byte for byte. Only http and https.
  // Raises NetError on every failure, also for a status of 400 or more, a
  // 3xx that is not followed, a header value with a line break.
  std::string Get(const std::string& url);
  // The last Get returned a body cut at MaxBody (CutLongBody).
  bool BodyWasCut() const;

  // Closes the connection kept open after the last Get: the next Get
  // connects anew.
  void Disconnect();

  // Aborts a transfer in progress (any thread); the Get raises NetError.
  // The client stays aborted: every later Get raises at once too.
  void Abort();

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

// The address with every byte that may not stand in a URL (control bytes,
// blank, bytes of 0x80 and above, and `"<>\^`{|}`) written as %XX. A "%"
// already there is left alone.
std::string EscapeUrlBytes(const std::string& text);

// Process-wide set-up of the transfer library; idempotent, thread-safe.
// Called before any worker starts.
void InitNetwork();

}  // namespace orlu
