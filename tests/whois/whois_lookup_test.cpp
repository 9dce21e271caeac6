// The batch questions against substitute WHOIS servers on loopback: bytes on
// the wire, the IANA step, and failures.
#include <gtest/gtest.h>

#include <string>

#include "platform/text/gbk.h"
#include "whois/whois_lookup.h"
#include "whois_test_util.h"

namespace orlu {
namespace {

using test::SubstituteWhoisServer;
using test::Texts;
using test::WhoisReply;
using Servers = test::WhoisHosts;

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
  s.com.On("google.com",
           WhoisReply::Text("   Domain Name: GOOGLE.COM\r\n   Registrar: MarkMonitor Inc.\r\n"));
  Lookup l(kGroupCom);
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
  s.iana.Fallback([](const test::WhoisRequest&) { return WhoisReply::Text("refer: w.x\n"); });
  Lookup cn(kGroupCn);
  EXPECT_TRUE(cn.Ask(Gbk("例子.中国")));
  EXPECT_EQ(s.cn.Queries(), Texts{"\xE4\xBE\x8B\xE5\xAD\x90.\xE4\xB8\xAD\xE5\x9B\xBD"});
  EXPECT_EQ(cn.State, WordUnregistered());

  Lookup other(kGroupOther);
  const std::string domain = Gbk("例子.测试");
  EXPECT_TRUE(other.Ask(domain));
  EXPECT_EQ(s.iana.Queries(), Texts{Gbk("测试")});
  EXPECT_EQ(s.other.Queries(), Texts{domain});
}

// IANA's answer for "xy" and what the referred server whois.nic.xy is asked.
TEST(WhoisLookup, IanaReferrals) {
  Servers s;
  SubstituteWhoisServer referred;
  s.scope.Map("whois.nic.xy", referred.HostPort());
  s.iana.On("xy", WhoisReply::Text("% iana\r\n\r\nrefer:   whois.nic.xy\r\n\r\ndomain: XY\r\n"));
  referred.On("abc.xy", WhoisReply::Text("Domain Name: abc.xy\r\nRegistrar: Reg\r\n"));
  Lookup l(kGroupOther);
  EXPECT_TRUE(l.Ask("abc.xy"));
  EXPECT_EQ(s.iana.LastRequest().raw, "xy\r\n");
  ASSERT_EQ(referred.RequestCount(), 1u);
  EXPECT_EQ(referred.LastRequest().raw, "abc.xy\r\n");
  EXPECT_EQ(l.State, WordRegistered());
  EXPECT_EQ(l.Registrar, "reg");
  // A port in the name never steers the question.
  s.iana.On("xy", WhoisReply::Text("refer: whois.nic.xy:4343\r\n"));
  EXPECT_TRUE(l.Ask("abc.xy"));
  EXPECT_EQ(l.State, WordFailed());
  EXPECT_EQ(referred.RequestCount() + s.other.RequestCount(), 1u);  // the first question
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
  for (const std::string suffix : {"hang", "quiet", "xy"}) {
    Lookup l(kGroupOther, 200);
    std::string server = "x";
    bool found = true;
    EXPECT_TRUE(l.AskIanaServer("a." + suffix, server, found)) << suffix;
    EXPECT_EQ(found ? server : "not found", suffix == "xy" ? "" : "not found") << suffix;
    EXPECT_TRUE(l.Ask("a." + suffix)) << suffix;
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
  EXPECT_TRUE(l.Ask("slow.com"));
  EXPECT_EQ(l.State, WordFailed());
  EXPECT_EQ(l.StatusText, " ");
}

}  // namespace
}  // namespace orlu
