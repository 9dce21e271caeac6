#include "platform/net/whois_client.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <netdb.h>

#include <chrono>
#include <thread>

#include "platform/net/services.h"
#include "support/service_scope.h"
#include "substitute-services/servers/substitute_http.h"
#include "substitute-services/servers/substitute_whois.h"

namespace orlu {
namespace {

using namespace std::chrono_literals;
using test::SubstituteWhoisServer;
using test::WhoisReply;
using ::testing::HasSubstr;

std::string AskOrError(WhoisClient& c, const std::string& query) {
  try {
    return "reply:" + c.WhoIs(query);
  } catch (const NetError& e) {
    return std::string("error:") + e.what();
  }
}

class WhoisClientTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ClearServiceOverrides();
    client.Host = whois.HostPort();
    client.ConnectTimeout = 2000;
    client.ReadTimeout = 2000;
  }
  SubstituteWhoisServer whois;
  WhoisClient client;
};

TEST_F(WhoisClientTest, SendsTheQueryAndCrLfAndReadsUntilClose) {
  const std::string reply = "Domain Name: ABC.COM\r\nRegistrar: \xd6\xd0\xb9\xfa\r\n\r\nend\n";
  whois.On("abc.com", WhoisReply::Text(reply).Drip(7, 20ms));
  EXPECT_EQ(client.WhoIs("abc.com"), reply);
  ASSERT_EQ(whois.RequestCount(), 1u);
  EXPECT_EQ(whois.LastRequest().raw, "abc.com\r\n");

  // Query bytes go out as given (here GBK); a close without a word is the empty reply.
  EXPECT_EQ(AskOrError(client, "\xd6\xd0\xb9\xfa.cn"), "reply:");
  EXPECT_EQ(whois.LastRequest().raw, "\xd6\xd0\xb9\xfa.cn\r\n");
}

TEST_F(WhoisClientTest, ReadTimeOutCountsSilenceNotTheWholeReply) {
  whois.On("hang.com", WhoisReply::Hang());
  whois.On("open.com", WhoisReply::Text("partial reply").KeepOpen());  // never closes
  const std::string body(600, 'w');
  whois.On("slow.com", WhoisReply::Text(body).Delay(100ms).Drip(50, 50ms));
  client.ReadTimeout = 250;
  auto t0 = std::chrono::steady_clock::now();
  for (const char* query : {"hang.com", "open.com"})
    EXPECT_THAT(AskOrError(client, query), HasSubstr("error:WHOIS read timed out")) << query;
  EXPECT_LT(std::chrono::steady_clock::now() - t0, 2000ms);
  EXPECT_EQ(client.WhoIs("slow.com"), body);

  // A reply that keeps trickling ends at four read time-outs.
  whois.On("trickle.com", WhoisReply::Text(std::string(200, 't')).Drip(1, 50ms));
  client.ReadTimeout = 200;
  t0 = std::chrono::steady_clock::now();
  EXPECT_THAT(AskOrError(client, "trickle.com"),
              HasSubstr("error:WHOIS reply not complete within 800 ms"));
  const auto took = std::chrono::steady_clock::now() - t0;
  EXPECT_GE(took, 750ms);
  EXPECT_LT(took, 2000ms);
}

TEST_F(WhoisClientTest, RefusedAndOverTheCapRaise) {
  test::RefusingPort refused;
  WhoisClient c;
  const std::pair<std::string, std::string> hosts[] = {{"", "No WHOIS host"},
                                                       {"127.0.0.1:99999", "Bad WHOIS host"},
                                                       {refused.HostPort(), "Could not connect"}};
  for (const auto& [host, error] : hosts) {
    c.Host = host;
    EXPECT_THAT(AskOrError(c, "abc.com"), HasSubstr("error:" + error)) << host;
  }

  whois.On("big.com", WhoisReply::Text(std::string(5000, 'x')));
  whois.On("fits.com", WhoisReply::Text(std::string(4096, 'x')));
  client.MaxReply = 4096;
  EXPECT_THAT(AskOrError(client, "big.com"), HasSubstr("error:WHOIS reply longer than 4096"));
  EXPECT_EQ(client.WhoIs("fits.com").size(), 4096u);
}

TEST_F(WhoisClientTest, AbortFromAnotherThreadEndsTheQuestion) {
  whois.On("hang.com", WhoisReply::Hang());
  client.ReadTimeout = 20000;
  std::thread aborter([&] {
    whois.WaitForRequests(1, 5000ms);
    client.Abort();
  });
  auto t0 = std::chrono::steady_clock::now();
  EXPECT_THAT(AskOrError(client, "hang.com"), HasSubstr("error:WHOIS question aborted"));
  EXPECT_LT(std::chrono::steady_clock::now() - t0, 3000ms);
  aborter.join();
  EXPECT_THAT(AskOrError(client, "abc.com"), HasSubstr("error:WHOIS question aborted"));
}

TEST_F(WhoisClientTest, HostGoesThroughTheServices) {
  SubstituteWhoisServer cnnic;
  cnnic.On("abc.cn", WhoisReply::Text("cn reply"));
  test::ScopedServices services(nullptr, &whois);
  services.Map("whois.cnnic.cn", cnnic.HostPort());
  client.Host = "whois.cnnic.cn";
  EXPECT_EQ(client.WhoIs("abc.cn"), "cn reply");
  client.Host = "WHOIS.CNNIC.CN:43";
  EXPECT_EQ(client.WhoIs("abc.cn"), "cn reply");
}

// A name server that answers only long after the connect time-out.
int SlowLookup(const char*, const char* service, const addrinfo* hints, addrinfo** result) {
  std::this_thread::sleep_for(1s);
  return ::getaddrinfo("127.0.0.1", service, hints, result);
}

TEST_F(WhoisClientTest, NameLookupIsBoundedByTheConnectTimeOut) {
  whois.On("abc.com", WhoisReply::Text("ok"));
  // A name, not an address: looked up (here in the hosts file) on the side.
  client.Host = "localhost:" + std::to_string(whois.Port());
  EXPECT_EQ(client.WhoIs("abc.com"), "ok");

  WhoisClient::SetNameLookup(&SlowLookup);
  client.ConnectTimeout = 200;
  auto t0 = std::chrono::steady_clock::now();
  EXPECT_THAT(AskOrError(client, "abc.com"), HasSubstr("error:WHOIS host lookup timed out"));
  EXPECT_LT(std::chrono::steady_clock::now() - t0, 900ms);
  WhoisClient::SetNameLookup(nullptr);
  EXPECT_EQ(whois.RequestCount(), 1u);
}

}  // namespace
}  // namespace orlu
