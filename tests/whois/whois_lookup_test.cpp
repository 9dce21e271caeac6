// The batch questions against substitute WHOIS servers on loopback: bytes on
// the wire, the IANA step, and failures.
#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "platform/text/gbk.h"
#include "whois/whois_lookup.h"
#include "whois_test_util.h"

namespace orlu {
namespace {

using test::SubstituteWhoisServer;
using test::WhoisReply;
using Servers = test::WhoisHosts;
using namespace std::chrono_literals;

// Short waits, so a hung substitute costs little.
struct Lookup : WhoisLookup {
  explicit Lookup(int group, int readTimeout = 2000) : WhoisLookup(static_cast<uint8_t>(group)) {
    Whois.ConnectTimeout = IanaWhois.ConnectTimeout = 2000;
    Whois.ReadTimeout = IanaWhois.ReadTimeout = readTimeout;
  }
  // The batch's question: true unless the suffix is unsupported.
  bool Ask(const std::string& domain, bool expectHandled = true) {
    bool handled = !expectHandled;
    const bool ok = WhoisBySuffix(domain, handled);
    EXPECT_EQ(handled, expectHandled) << domain;
    return ok;
  }
};

TEST(WhoisLookup, AsksItsOwnGroupWithTheLineAsPrepared) {
  Servers s;
  s.com.On("google.com", WhoisReply::Text("   Domain Name: GOOGLE.COM\r\n   Registrar: MarkMonitor Inc.\r\n"));
  Lookup l(kGroupCom);
  l.ResetWhoisFields();
  EXPECT_TRUE(l.Ask(PrepareWhoisDomain("  \tGoogle.COM \r")));
  ASSERT_EQ(s.com.RequestCount(), 1u);
  EXPECT_EQ(s.com.LastRequest().raw, "google.com\r\n");
  EXPECT_EQ(l.State, WordRegistered());
  EXPECT_EQ(l.Registrar, "markmonitor inc.");
  EXPECT_EQ(s.iana.RequestCount() + s.referred.RequestCount() + s.other.RequestCount(), 0u);

  // Another group's domain: nothing asked, nothing handled.
  EXPECT_TRUE(l.Ask("google.org", false));
  EXPECT_EQ(s.com.RequestCount() + s.other.RequestCount(), 1u);
}

TEST(WhoisLookup, CnNamesGoOutInUtf8OtherNamesUnconverted) {
  Servers s;
  s.cn.Fallback([](const test::WhoisRequest&) { return WhoisReply::Text("no matching record"); });
  s.iana.Fallback([](const test::WhoisRequest&) { return WhoisReply::Text("refer: whois.nic.test\r\n"); });
  Lookup cn(kGroupCn);
  EXPECT_TRUE(cn.Ask(Gbk("例子.中国")));
  ASSERT_EQ(s.cn.RequestCount(), 1u);
  EXPECT_EQ(s.cn.LastRequest().raw, "\xE4\xBE\x8B\xE5\xAD\x90.\xE4\xB8\xAD\xE5\x9B\xBD\r\n");
  EXPECT_EQ(cn.State, WordUnregistered());

  Lookup other(kGroupOther);
  const std::string domain = Gbk("例子.测试");
  EXPECT_TRUE(other.Ask(domain));
  ASSERT_EQ(s.iana.RequestCount(), 1u);
  EXPECT_EQ(s.iana.LastRequest().raw, Gbk("测试") + "\r\n");
  ASSERT_EQ(s.other.RequestCount(), 1u);
  EXPECT_EQ(s.other.LastRequest().raw, domain + "\r\n");
}

// IANA's answer for "xy" and what the referred server whois.nic.xy is asked.
TEST(WhoisLookup, IanaReferrals) {
  struct Case {
    const char* iana;
    bool asked;  // whether whois.nic.xy gets the question
  };
  for (const Case c : {Case{"% iana\r\n\r\nrefer:        whois.nic.xy\r\n\r\ndomain: XY\r\n", true},
                       // A port in the name never steers the question.
                       Case{"refer: whois.nic.xy:4343\r\n", false}}) {
    Servers s;
    SubstituteWhoisServer referred;
    s.scope.Map("whois.nic.xy", referred.HostPort());
    s.iana.On("xy", WhoisReply::Text(c.iana));
    referred.On("abc.xy", WhoisReply::Text("Domain Name: abc.xy\r\nRegistrar: Reg\r\n"));
    Lookup l(kGroupOther);
    EXPECT_TRUE(l.Ask("abc.xy")) << c.iana;
    EXPECT_EQ(s.iana.LastRequest().raw, "xy\r\n");
    ASSERT_EQ(referred.RequestCount(), c.asked ? 1u : 0u) << c.iana;
    EXPECT_EQ(s.other.RequestCount(), 0u) << c.iana;
    if (!c.asked) {
      EXPECT_EQ(l.State, WordFailed()) << c.iana;
      continue;
    }
    EXPECT_EQ(referred.LastRequest().raw, "abc.xy\r\n");
    EXPECT_EQ(l.State, WordRegistered());
    EXPECT_EQ(l.Registrar, "reg");
  }
}

TEST(WhoisLookup, IanaWithoutReferralIsUnsupportedAndAsksNothingMore) {
  Servers s;
  s.iana.On("arpa", WhoisReply::Text("% IANA WHOIS server\r\ndomain: ARPA\r\nstatus: ACTIVE\r\n"));
  Lookup l(kGroupOther);
  EXPECT_FALSE(l.Ask("x.arpa"));
  EXPECT_EQ(l.State, WordFailed());
  EXPECT_EQ(s.other.RequestCount(), 0u);
  std::string server;
  bool found = false;
  EXPECT_FALSE(l.AskIanaServer("x.arpa", server, found));
  EXPECT_TRUE(found);
}

TEST(WhoisLookup, IanaFailuresAreRetriedNotUnsupported) {
  Servers s;
  s.iana.On("hang", WhoisReply::Hang());
  s.iana.On("quiet", WhoisReply::Text(""));  // closes without a word
  // The marker with no line feed after it names the empty host, which is
  // not handed to the catch-all host either.
  s.iana.On("xy", WhoisReply::Text("whois server (port 43): whois.nic.xy"));
  for (const char* suffix : {"hang", "quiet", "xy"}) {
    Lookup l(kGroupOther, 200);
    std::string server = "x";
    bool found = true;
    EXPECT_TRUE(l.AskIanaServer(std::string("a.") + suffix, server, found)) << suffix;
    EXPECT_EQ(found, suffix == std::string("xy")) << suffix;
    if (found) {
      EXPECT_EQ(server, "");
    }
    EXPECT_TRUE(l.Ask(std::string("a.") + suffix)) << suffix;
    EXPECT_EQ(l.State, WordFailed()) << suffix;
  }
  EXPECT_EQ(s.other.RequestCount(), 0u);
}

// Whatever way the exchange fails (the client's test tells them apart), the
// row is failed and no field is cut.
TEST(WhoisLookup, FailedQuestionsGiveFailed) {
  Servers s;
  s.com.On("slow.com", WhoisReply::Hang());
  Lookup l(kGroupCom, 200);
  l.ResetWhoisFields();
  EXPECT_TRUE(l.Ask("slow.com"));
  EXPECT_EQ(l.State, WordFailed());
  EXPECT_EQ(l.StatusText, " ");
}

}  // namespace
}  // namespace orlu
