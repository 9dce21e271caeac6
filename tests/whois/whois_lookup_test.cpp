// The batch questions against substitute WHOIS servers on loopback: bytes on
// the wire, the IANA step, and failures.
#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "platform/text/gbk.h"
#include "support/service_scope.h"
#include "support/substitute_whois.h"
#include "whois/whois_lookup.h"

namespace orlu {
namespace {

using test::ScopedServices;
using test::SubstituteWhoisServer;
using test::WhoisReply;
using namespace std::chrono_literals;

const char kComRecord[] =
    "   Domain Name: GOOGLE.COM\r\n"
    "   Registrar WHOIS Server: whois.markmonitor.com\r\n"
    "   Creation Date: 1997-09-15T04:00:00Z\r\n"
    "   Registry Expiry Date: 2028-09-14T04:00:00Z\r\n"
    "   Registrar: MarkMonitor Inc.\r\n"
    "   Domain Status: clientDeleteProhibited\r\n"
    "   Name Server: NS1.GOOGLE.COM\r\n";

// Every WHOIS host goes to `registry`, except IANA, which goes to `iana`.
struct Servers {
  SubstituteWhoisServer registry;
  SubstituteWhoisServer iana;
  ScopedServices scope{nullptr, &registry};
  Servers() { scope.Map("whois.iana.org", iana.HostPort()); }
};

// Short waits, so a hung substitute costs little.
struct Lookup : WhoisLookup {
  explicit Lookup(int group) : WhoisLookup(static_cast<uint8_t>(group)) {
    Whois.ConnectTimeout = IanaWhois.ConnectTimeout = 2000;
    Whois.ReadTimeout = IanaWhois.ReadTimeout = 2000;
  }
};

TEST(WhoisLookup, AsksItsOwnGroupWithTheLineAsPrepared) {
  Servers s;
  s.registry.On("google.com", WhoisReply::Text(kComRecord));
  Lookup l(kGroupCom);
  l.ResetWhoisFields();
  bool handled = false;
  EXPECT_TRUE(l.WhoisBySuffix(PrepareWhoisDomain("  \tGoogle.COM \r"), handled));
  EXPECT_TRUE(handled);
  ASSERT_EQ(s.registry.RequestCount(), 1u);
  EXPECT_EQ(s.registry.LastRequest().raw, "google.com\r\n");
  EXPECT_EQ(l.State, WordRegistered());
  EXPECT_EQ(l.Registrar, "markmonitor inc.\r");
  EXPECT_EQ(l.CreationDate, "1997-09-15t04:00:00z\r");
  EXPECT_EQ(l.ExpirationDate, "2028-09-14t04:00:00z\r");
  EXPECT_EQ(l.NameServer, "ns1.google.com\r");
  EXPECT_EQ(l.Organization, " ");
  EXPECT_EQ(s.iana.RequestCount(), 0u);

  // Another group's domain: nothing asked, nothing handled.
  handled = true;
  EXPECT_TRUE(l.WhoisBySuffix("google.org", handled));
  EXPECT_FALSE(handled);
  EXPECT_EQ(s.registry.RequestCount(), 1u);

  l.State = "kept";
  l.ResetWhoisFields();
  EXPECT_EQ(l.Registrar, " ");
  EXPECT_EQ(l.NameServer, " ");
  EXPECT_EQ(l.State, "kept");
}

TEST(WhoisLookup, CnNamesGoOutInUtf8OtherNamesUnconverted) {
  Servers s;
  s.registry.Fallback([](const test::WhoisRequest&) { return WhoisReply::Text("no matching record"); });
  s.iana.Fallback([](const test::WhoisRequest&) { return WhoisReply::Text("refer: whois.nic.test\r\n"); });

  Lookup cn(kGroupCn);
  bool handled = false;
  EXPECT_TRUE(cn.WhoisBySuffix(Gbk("例子.中国"), handled));
  ASSERT_EQ(s.registry.RequestCount(), 1u);
  EXPECT_EQ(s.registry.LastRequest().raw, "\xE4\xBE\x8B\xE5\xAD\x90.\xE4\xB8\xAD\xE5\x9B\xBD\r\n");
  EXPECT_EQ(cn.State, WordUnregistered());

  Lookup other(kGroupOther);
  const std::string domain = Gbk("例子.测试");
  EXPECT_TRUE(other.WhoisBySuffix(domain, handled));
  ASSERT_EQ(s.iana.RequestCount(), 1u);
  EXPECT_EQ(s.iana.LastRequest().raw, Gbk("测试") + "\r\n");
  ASSERT_EQ(s.registry.RequestCount(), 2u);
  EXPECT_EQ(s.registry.LastRequest().raw, domain + "\r\n");
}

TEST(WhoisLookup, IanaReferralForms) {
  for (const char* iana : {"% old\r\nwhois server (port 43): whois.nic.xy\r\n",
                           "% iana\r\n\r\nrefer:        whois.nic.xy\r\n\r\ndomain: XY\r\n",
                           "domain:       XY\r\n\r\nwhois:        whois.nic.xy\r\n"}) {
    Servers s;
    SubstituteWhoisServer referred;
    s.scope.Map("whois.nic.xy", referred.HostPort());
    s.iana.On("xy", WhoisReply::Text(iana));
    referred.On("abc.xy", WhoisReply::Text("Domain Name: abc.xy\r\nRegistrar: Reg\r\n"));
    Lookup l(kGroupOther);
    bool handled = false;
    EXPECT_TRUE(l.WhoisBySuffix("abc.xy", handled)) << iana;
    EXPECT_TRUE(handled);
    EXPECT_EQ(s.iana.LastRequest().raw, "xy\r\n");
    ASSERT_EQ(referred.RequestCount(), 1u) << iana;
    EXPECT_EQ(referred.LastRequest().raw, "abc.xy\r\n");
    EXPECT_EQ(l.State, WordRegistered());
    EXPECT_EQ(l.Registrar, "reg");
    EXPECT_EQ(s.registry.RequestCount(), 0u);
  }
}

TEST(WhoisLookup, IanaWithoutReferralIsUnsupportedAndAsksNothingMore) {
  Servers s;
  s.iana.On("arpa", WhoisReply::Text("% IANA WHOIS server\r\ndomain: ARPA\r\nstatus: ACTIVE\r\n"));
  Lookup l(kGroupOther);
  bool handled = false;
  EXPECT_FALSE(l.WhoisBySuffix("x.arpa", handled));
  EXPECT_TRUE(handled);
  EXPECT_EQ(l.State, WordFailed());
  EXPECT_EQ(s.registry.RequestCount(), 0u);

  std::string server;
  bool found = false;
  EXPECT_FALSE(l.AskIanaServer("x.arpa", server, found));
  EXPECT_TRUE(found);
}

TEST(WhoisLookup, IanaFailuresAreRetriedNotUnsupported) {
  Servers s;
  s.iana.On("hang", WhoisReply::Hang());
  s.iana.On("quiet", WhoisReply::Text(""));  // closes without a word
  s.iana.On("busy", WhoisReply::Text("WHOIS LIMIT EXCEEDED\r\n"));
  for (const char* suffix : {"hang", "quiet", "busy"}) {
    Lookup l(kGroupOther);
    l.IanaWhois.ReadTimeout = 200;
    std::string server;
    bool found = true;
    EXPECT_TRUE(l.AskIanaServer(std::string("a.") + suffix, server, found)) << suffix;
    EXPECT_FALSE(found) << suffix;
    bool handled = false;
    EXPECT_TRUE(l.WhoisBySuffix(std::string("a.") + suffix, handled)) << suffix;
    EXPECT_EQ(l.State, WordFailed()) << suffix;
  }
  EXPECT_EQ(s.registry.RequestCount(), 0u);
}

TEST(WhoisLookup, EmptyReferredHostFailsWithoutAsking) {
  Servers s;
  // The marker with no line feed after it names the empty host.
  s.iana.On("xy", WhoisReply::Text("whois server (port 43): whois.nic.xy"));
  Lookup l(kGroupOther);
  std::string server = "x";
  bool found = false;
  EXPECT_TRUE(l.AskIanaServer("a.xy", server, found));
  EXPECT_TRUE(found);
  EXPECT_EQ(server, "");
  bool handled = false;
  EXPECT_TRUE(l.WhoisBySuffix("a.xy", handled));
  EXPECT_EQ(l.State, WordFailed());
  EXPECT_EQ(s.registry.RequestCount(), 0u);  // not handed to the catch-all host
}

TEST(WhoisLookup, ReferralThatIsNoHostNameIsNotAsked) {
  // A port (or a path) in the name IANA gives never steers the question.
  for (const char* iana : {"refer: whois.nic.xy:4343\r\n", "whois server (port 43): whois.nic.xy/x\r\n"}) {
    Servers s;
    SubstituteWhoisServer referred;
    s.scope.Map("whois.nic.xy", referred.HostPort());
    s.iana.On("xy", WhoisReply::Text(iana));
    Lookup l(kGroupOther);
    bool handled = false;
    EXPECT_TRUE(l.WhoisBySuffix("abc.xy", handled)) << iana;
    EXPECT_EQ(l.State, WordFailed()) << iana;
    EXPECT_EQ(referred.RequestCount(), 0u) << iana;
    EXPECT_EQ(s.registry.RequestCount(), 0u) << iana;
  }
}

TEST(WhoisLookup, FailedQuestionsGiveFailed) {
  Servers s;
  s.registry.On("slow.com", WhoisReply::Hang());
  s.registry.On("quiet.com", WhoisReply::Text(""));
  s.registry.On("quiet.org", WhoisReply::Text(""));
  s.registry.On("latin1.org", WhoisReply::Text("Domain Name: caf\xE9.org\r\n"));
  s.registry.On("limit.org", WhoisReply::Text("WHOIS LIMIT EXCEEDED - SEE WWW.PIR.ORG/WHOIS FOR DETAILS\n"));
  s.registry.On("busy.cn", WhoisReply::Text("Queried interval is too short.\r\n"));
  struct Case {
    int group;
    const char* domain;
  };
  for (const Case c : {Case{kGroupCom, "slow.com"}, Case{kGroupCom, "quiet.com"},
                       Case{kGroupOrg, "quiet.org"}, Case{kGroupOrg, "latin1.org"},
                       Case{kGroupOrg, "limit.org"}, Case{kGroupCn, "busy.cn"}}) {
    Lookup l(c.group);
    l.Whois.ReadTimeout = 200;
    l.ResetWhoisFields();
    bool handled = false;
    EXPECT_TRUE(l.WhoisBySuffix(c.domain, handled)) << c.domain;
    EXPECT_TRUE(handled);
    EXPECT_EQ(l.State, WordFailed()) << c.domain;
    EXPECT_EQ(l.StatusText, " ") << c.domain;
  }
}

TEST(WhoisLookup, UnreachableServerGivesFailed) {
  uint16_t port = 0;
  {
    SubstituteWhoisServer gone;
    port = gone.Port();
  }
  ScopedServices scope;
  scope.Map("*whois", "127.0.0.1:" + std::to_string(port));
  Lookup l(kGroupTv);
  bool handled = false;
  EXPECT_TRUE(l.WhoisBySuffix("a.tv", handled));
  EXPECT_EQ(l.State, WordFailed());
}

}  // namespace
}  // namespace orlu
