// Substitute WHOIS server for tests, benchmarks and the offline run.
//
// Listens on 127.0.0.1 on a port of its own (Port(), HostPort()), one thread
// per connection. It reads the question (up to and including the first LF,
// or until the client stops sending), records the exact bytes, answers and
// closes the connection, as a WHOIS server does.
//
//   orlu::test::SubstituteWhoisServer whois;
//   whois.On("abc.com", WhoisReply::Text("Domain Name: ABC.COM\r\n..."));
//   whois.AddResponder([](const WhoisRequest& r) -> std::optional<WhoisReply> {
//     if (r.query.ends_with(".cn")) return WhoisReply::Text("no matching record");
//     return std::nullopt;
//   });
//   client.Host = whois.HostPort();
//   ...
//   EXPECT_EQ(whois.Requests()[0].raw, "abc.com\r\n");
//
// Choice of reply, first match wins: an exact query route (On, OnSequence),
// the responders in order, the fallback (an empty reply: the server closes
// without a word, unless set with Fallback).
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace orlu::test {

struct WhoisRequest {
  std::string raw;    // exact bytes received, CR LF included
  std::string query;  // raw without the final CR LF (or LF)
};

struct WhoisReply {
  std::string body;                        // exact bytes
  std::chrono::milliseconds delay{0};      // wait before the first byte
  size_t dripBytes = 0;                    // >0: send this many bytes ...
  std::chrono::milliseconds dripEvery{0};  // ... then wait this long, repeat
  bool hang = false;                       // never answer; close only at stop
  bool keepOpen = false;                   // send the body, never close

  static WhoisReply Text(std::string body);
  static WhoisReply Hang();

  WhoisReply& Delay(std::chrono::milliseconds d);
  WhoisReply& Drip(size_t bytes, std::chrono::milliseconds every);
  WhoisReply& KeepOpen();
};

using WhoisResponder = std::function<WhoisReply(const WhoisRequest&)>;
using WhoisMaybeResponder = std::function<std::optional<WhoisReply>(const WhoisRequest&)>;

class SubstituteWhoisServer {
 public:
  SubstituteWhoisServer();
  ~SubstituteWhoisServer();
  SubstituteWhoisServer(const SubstituteWhoisServer&) = delete;
  SubstituteWhoisServer& operator=(const SubstituteWhoisServer&) = delete;

  uint16_t Port() const;
  std::string HostPort() const;  // "127.0.0.1:PORT"

  // Exact query (without CR LF).
  void On(const std::string& query, WhoisReply reply);
  void On(const std::string& query, WhoisResponder responder);
  // Successive questions get successive replies; the last one repeats.
  void OnSequence(const std::string& query, std::vector<WhoisReply> replies);
  void AddResponder(WhoisMaybeResponder responder);
  void Fallback(WhoisResponder responder);
  // Called with each question as it arrives (from the connection's thread).
  void Observe(std::function<void(const WhoisRequest&)> observer);

  std::vector<WhoisRequest> Requests() const;
  // The query of every request so far, in order of arrival.
  std::vector<std::string> Queries() const;
  size_t RequestCount() const;
  WhoisRequest LastRequest() const;
  void ClearRequests();
  bool WaitForRequests(size_t n, std::chrono::milliseconds timeout) const;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace orlu::test
