// Substitute HTTP server for tests, benchmarks and the offline run.
//
// Listens on 127.0.0.1 on a port of its own (Port(), HostPort(), Url(path)),
// serves each connection on a thread of its own (hundreds at once), answers
// one request per connection and closes it. Replies are scripted:
//
//   orlu::test::SubstituteHttpServer http;
//   http.On("/data?url=abc.com", HttpReply::Ok("<rank>12</rank>"));
//   http.OnPrefix("/slow/", HttpReply::Ok(body).Delay(200ms).Drip(64, 20ms));
//   http.OnHost("data.example.com", "/", [](const HttpRequest& r) {
//     return HttpReply::Ok("page for " + r.Query());
//   });
//   http.OnSequence("/flaky", {HttpReply::Status(500), HttpReply::Ok("x")});
//   ...
//   auto reqs = http.Requests();   // request line and headers, exact bytes
//
// Choice of reply for a request, first match wins:
//   1. a route for the request's Host (OnHost), longest path prefix;
//   2. an exact path+query route (On, OnSequence);
//   3. the longest prefix route (OnPrefix);
//   4. the responders added with AddResponder, in order, until one answers;
//   5. 404 "not found".
// Registering the same exact target or prefix again replaces the route.
//
// With ScopedServices (tests/support/service_scope.h) every page host the
// program asks for comes here; the Host header still names the host asked
// for, so OnHost routes tell the services apart.
//
// The destructor stops everything promptly, also connections in Hang() or
// in a long delay, and clients that never finish their request.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace orlu::test {

using Headers = std::vector<std::pair<std::string, std::string>>;

// One request as received.
struct HttpRequest {
  std::string rawHead;      // request line and headers up to the blank line, exact bytes
  std::string requestLine;  // "GET /a?b HTTP/1.1"
  std::string method;
  std::string target;       // path and query as sent ("/a?b")
  std::string version;      // "HTTP/1.1"
  Headers headers;          // in order; name and value as sent (value without
                            // the blanks after the colon and before CR LF)
  std::string body;         // when the request had a Content-Length

  // Names of the headers in order ("Host", "Accept", ...).
  std::vector<std::string> HeaderNames() const;
  // First value of the header (name compared case-insensitively); "" if none.
  std::string Header(const std::string& name) const;
  bool HasHeader(const std::string& name) const;
  // The Host header without its port, lower-cased.
  std::string Host() const;
  // target up to "?", and the part after the first "?" ("" if none).
  std::string Path() const;
  std::string Query() const;
};

// A scripted reply. The builder calls return *this, so they chain:
//   HttpReply::Ok(body).Header("Set-Cookie", "a=1").Delay(50ms)
struct HttpReply {
  int status = 200;
  Headers headers;             // sent in this order after the status line
  std::string body;            // exact bytes
  bool contentLength = true;   // add "Content-Length" (unless in headers);
                               // "Connection: close" is added the same way
  std::optional<std::string> raw;  // sent instead of the assembled reply

  std::chrono::milliseconds delay{0};  // wait before the first byte
  size_t dripBytes = 0;                // >0: send this many bytes ...
  std::chrono::milliseconds dripEvery{0};  // ... then wait this long, repeat
  std::optional<size_t> closeAfter;    // close once this many bytes of the
                                       // assembled reply are sent
  std::optional<size_t> closeAfterBody;  // close once the head and this many
                                         // bytes of the body are sent
  bool hang = false;                   // never answer; close only at stop

  static HttpReply Ok(std::string body, std::string contentType = "text/html");
  static HttpReply Status(int status, std::string body = "");
  // 301/302/303/307 with a Location header.
  static HttpReply Redirect(std::string location, int status = 302);
  // Sends exactly these bytes and closes (no header added).
  static HttpReply Raw(std::string bytes);
  static HttpReply Hang();

  HttpReply& Header(std::string name, std::string value);
  HttpReply& Delay(std::chrono::milliseconds d);
  HttpReply& Drip(size_t bytes, std::chrono::milliseconds every);
  // Sends the head with the full Content-Length and only the first `bytes`
  // bytes of the body, then closes.
  HttpReply& CloseEarly(size_t bodyBytes);
  HttpReply& NoContentLength();

  // The bytes on the wire (status line, headers, blank line, body).
  std::string Serialize() const;
};

using HttpResponder = std::function<HttpReply(const HttpRequest&)>;
// Answers or declines (std::nullopt) so the next responder is asked.
using HttpMaybeResponder = std::function<std::optional<HttpReply>(const HttpRequest&)>;

class SubstituteHttpServer {
 public:
  SubstituteHttpServer();   // starts listening at once
  ~SubstituteHttpServer();  // stops and joins every thread
  SubstituteHttpServer(const SubstituteHttpServer&) = delete;
  SubstituteHttpServer& operator=(const SubstituteHttpServer&) = delete;

  uint16_t Port() const;
  std::string HostPort() const;                    // "127.0.0.1:PORT"
  std::string Url(const std::string& target) const;  // "http://127.0.0.1:PORT" + target

  void On(const std::string& target, HttpReply reply);
  void On(const std::string& target, HttpResponder responder);
  // Successive requests get successive replies; the last one repeats.
  void OnSequence(const std::string& target, std::vector<HttpReply> replies);
  void OnPrefix(const std::string& prefix, HttpReply reply);
  void OnPrefix(const std::string& prefix, HttpResponder responder);
  // Requests whose Host header (port dropped, case ignored) is `host`.
  void OnHost(const std::string& host, const std::string& pathPrefix, HttpReply reply);
  void OnHost(const std::string& host, const std::string& pathPrefix, HttpResponder responder);
  void AddResponder(HttpMaybeResponder responder);
  // Called with each request as it arrives, before the reply is chosen
  // (from the connection's thread), e.g. to log the traffic.
  void Observe(std::function<void(const HttpRequest&)> observer);

  // Every request received so far, in order of arrival.
  std::vector<HttpRequest> Requests() const;
  size_t RequestCount() const;
  HttpRequest LastRequest() const;  // empty request if none
  void ClearRequests();
  // Waits until at least n requests have arrived; false on time-out.
  bool WaitForRequests(size_t n, std::chrono::milliseconds timeout) const;
  // Connections accepted so far (also those that sent no full request).
  size_t ConnectionCount() const;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

// A loopback port where nothing listens: a connection to it is refused.
// The port stays reserved (bound, never listening) while the object lives.
class RefusingPort {
 public:
  RefusingPort();
  ~RefusingPort();
  RefusingPort(const RefusingPort&) = delete;
  RefusingPort& operator=(const RefusingPort&) = delete;
  uint16_t Port() const { return port_; }
  std::string HostPort() const;                      // "127.0.0.1:PORT"
  std::string Url(const std::string& target) const;  // "http://127.0.0.1:PORT" + target

 private:
  int fd_ = -1;
  uint16_t port_ = 0;
};

}  // namespace orlu::test
