// The substitute servers themselves: routing, recording, concurrency and a
// prompt stop, since every network test of the program leans on them.
#include <arpa/inet.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "platform/net/page_client.h"
#include "platform/net/whois_client.h"
#include "support/substitute_http.h"
#include "support/substitute_whois.h"

namespace orlu::test {
namespace {

using namespace std::chrono_literals;

// A bare client socket, for what no well-behaved client does.
int ConnectRaw(uint16_t port) {
  int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  a.sin_port = htons(port);
  if (::connect(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0) {
    ::close(fd);
    return -1;
  }
  return fd;
}

std::string ReadAll(int fd) {
  std::string out;
  char buf[4096];
  ssize_t n;
  while ((n = ::recv(fd, buf, sizeof buf, 0)) > 0) out.append(buf, static_cast<size_t>(n));
  return out;
}

// Sends `bytes` (then ends the sending side if asked) and reads until close.
std::string Exchange(uint16_t port, const std::string& bytes, bool halfClose = false) {
  int fd = ConnectRaw(port);
  ::send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL);
  if (halfClose) ::shutdown(fd, SHUT_WR);
  std::string reply = ReadAll(fd);
  ::close(fd);
  return reply;
}

TEST(SubstituteHttpServerTest, RoutesByHostThenExactThenPrefixThenResponders) {
  SubstituteHttpServer http;
  http.OnHost("a.example.com", "/", HttpReply::Ok("host a"));
  http.OnHost("a.example.com", "/deep/", HttpReply::Ok("host a deep"));
  http.On("/x?y=1", HttpReply::Ok("exact"));
  http.OnPrefix("/x", HttpReply::Ok("prefix"));
  http.OnPrefix("/x?y", HttpReply::Ok("longer prefix"));
  http.AddResponder([](const HttpRequest& r) -> std::optional<HttpReply> {
    if (r.Path() == "/maybe") return HttpReply::Ok("responder " + r.Query());
    return std::nullopt;
  });
  auto ask = [&](const std::string& head) {
    std::string reply = Exchange(http.Port(), head + "\r\n\r\n");
    return reply.substr(reply.find("\r\n\r\n") + 4);
  };
  EXPECT_EQ(ask("GET /x?y=1 HTTP/1.1\r\nHost: A.Example.com:81"), "host a");
  EXPECT_EQ(ask("GET /deep/1 HTTP/1.1\r\nHost: a.example.com"), "host a deep");
  EXPECT_EQ(ask("GET /x?y=1 HTTP/1.1\r\nHost: b.example.com"), "exact");
  EXPECT_EQ(ask("GET /x?y=2 HTTP/1.1\r\nHost: b"), "longer prefix");
  EXPECT_EQ(ask("GET /xz HTTP/1.1\r\nHost: b"), "prefix");
  EXPECT_EQ(ask("GET /maybe?q HTTP/1.1\r\nHost: b"), "responder q");
  EXPECT_EQ(ask("GET /none HTTP/1.1\r\nHost: b"), "not found");

  auto reqs = http.Requests();
  ASSERT_EQ(reqs.size(), 7u);
  EXPECT_EQ(reqs[0].requestLine, "GET /x?y=1 HTTP/1.1");
  EXPECT_EQ(reqs[0].Host(), "a.example.com");
  EXPECT_EQ(reqs[0].Header("HOST"), "A.Example.com:81");
  EXPECT_EQ(reqs[0].rawHead, "GET /x?y=1 HTTP/1.1\r\nHost: A.Example.com:81\r\n\r\n");
}

TEST(SubstituteHttpServerTest, SequenceRepeatsItsLastReply) {
  SubstituteHttpServer http;
  http.OnSequence("/f", {HttpReply::Status(500), HttpReply::Ok("second")});
  PageClient c;
  EXPECT_THROW(c.Get(http.Url("/f")), NetError);
  EXPECT_EQ(c.Get(http.Url("/f")), "second");
  EXPECT_EQ(c.Get(http.Url("/f")), "second");
}

TEST(SubstituteHttpServerTest, ServesManyConnectionsAtOnce) {
  SubstituteHttpServer http;
  http.OnPrefix("/", [](const HttpRequest& r) { return HttpReply::Ok(r.target).Delay(300ms); });
  constexpr int kClients = 150;
  std::atomic<int> good{0};
  std::vector<std::thread> threads;
  auto t0 = std::chrono::steady_clock::now();
  for (int i = 0; i < kClients; ++i) {
    threads.emplace_back([&, i] {
      PageClient c;
      std::string t = "/c" + std::to_string(i);
      if (c.Get(http.Url(t)) == t) ++good;
    });
  }
  for (auto& t : threads) t.join();
  EXPECT_EQ(good.load(), kClients);
  // All waited at the same time, not one after another.
  EXPECT_LT(std::chrono::steady_clock::now() - t0, 20s);
  EXPECT_EQ(http.RequestCount(), static_cast<size_t>(kClients));
}

TEST(SubstituteWhoisServerTest, RecordsExactBytesAndAnswersByQuery) {
  SubstituteWhoisServer whois;
  whois.On("a.com", WhoisReply::Text("A"));
  whois.AddResponder([](const WhoisRequest& r) -> std::optional<WhoisReply> {
    if (r.query.size() > 3 && r.query.substr(r.query.size() - 3) == ".cn") return WhoisReply::Text("CN");
    return std::nullopt;
  });
  whois.Fallback([](const WhoisRequest& r) { return WhoisReply::Text("other " + r.query); });
  EXPECT_EQ(Exchange(whois.Port(), "a.com\r\n"), "A");
  EXPECT_EQ(Exchange(whois.Port(), "b.cn\n"), "CN");
  // No line end: the client stopped sending.
  EXPECT_EQ(Exchange(whois.Port(), "x.org", /*halfClose=*/true), "other x.org");
  auto reqs = whois.Requests();
  ASSERT_EQ(reqs.size(), 3u);
  EXPECT_EQ(reqs[0].raw, "a.com\r\n");
  EXPECT_EQ(reqs[1].raw, "b.cn\n");
  EXPECT_EQ(reqs[1].query, "b.cn");
  EXPECT_EQ(reqs[2].raw, "x.org");
}

TEST(SubstituteServersTest, StopPromptlyWithHungAndSilentClients) {
  auto t0 = std::chrono::steady_clock::now();
  std::vector<int> fds;
  std::vector<std::thread> threads;
  std::atomic<int> failed{0};
  {
    SubstituteHttpServer http;
    SubstituteWhoisServer whois;
    http.OnPrefix("/", HttpReply::Hang());
    whois.Fallback([](const WhoisRequest&) { return WhoisReply::Hang(); });
    for (int i = 0; i < 20; ++i) {
      int fd = ConnectRaw(http.Port());
      std::string req = i % 2 ? "GET /h HTTP/1.1\r\n\r\n" : "GET /half";  // some never finish
      ::send(fd, req.data(), req.size(), MSG_NOSIGNAL);
      fds.push_back(fd);
    }
    for (int i = 0; i < 10; ++i) {
      threads.emplace_back([&] {
        WhoisClient c;
        c.Host = whois.HostPort();
        c.ReadTimeout = 60000;
        try {
          c.WhoIs("hang.com");
        } catch (const NetError&) {
          ++failed;
        }
      });
    }
    http.WaitForRequests(10, 5s);
    whois.WaitForRequests(10, 5s);
    EXPECT_EQ(http.RequestCount(), 10u);
  }
  for (auto& t : threads) t.join();
  EXPECT_LT(std::chrono::steady_clock::now() - t0, 5s);
  for (int fd : fds) {
    EXPECT_EQ(ReadAll(fd), "");  // closed without a word
    ::close(fd);
  }
  EXPECT_EQ(failed.load(), 0);  // the stop closes quietly: an empty reply
}

}  // namespace
}  // namespace orlu::test
