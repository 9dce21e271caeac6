// The single-domain questions: servers asked, bytes sent, memo texts.
#include <gtest/gtest.h>

#include <string>

#include "platform/text/gbk.h"
#include "whois/whois_info.h"
#include "whois_test_util.h"

namespace orlu {
namespace {

using test::WhoisReply;
using Servers = test::WhoisHosts;

const std::string kHeading = Gbk("域名注册信息:");
const std::string kFailed = Gbk("域名查询失败");

struct Query : WhoisInfoQuery {
  Query() {
    Client.ConnectTimeout = 2000;
    Client.ReadTimeout = 500;
  }
};

TEST(WhoisInfoText, MemoTexts) {
  // A bare LF becomes CR LF; CR LF and a lone CR stay as they are.
  EXPECT_EQ(WhoisInfoMemoText("a.com", "line 1\nline 2\r\nline 3\rend"),
            "a.com" + kHeading + "\r\n\r\nline 1\r\nline 2\r\nline 3\rend\r\n");
  EXPECT_EQ(WhoisInfoFailureText("a.com"), "a.com" + kFailed + "\r\n");
}

TEST(WhoisInfoText, CutWhoisServer) {
  EXPECT_EQ(WhoisInfoQuery::CutWhoisServer("Registrar WHOIS Server: WHOIS.Reg.COM \r\nx"), "whois.reg.com");
  EXPECT_EQ(WhoisInfoQuery::CutWhoisServer("Whois Server: a\r\nWhois Server: b\r\n"), "a");
  EXPECT_EQ(WhoisInfoQuery::CutWhoisServer("whois server: no line end"), "");
  EXPECT_EQ(WhoisInfoQuery::CutWhoisServer(""), "fail");
}

TEST(WhoisInfo, BasicQueryShowsTheReplyInItsOwnCaseLatin1AsQuestionMarks) {
  Servers s;
  s.com.On("google.com", WhoisReply::Text("   Domain Name: GOOGLE.COM\r\n   Registrar WHOIS Server: "
                                          "whois.markmonitor.com\r\n"));
  s.com.On("a.com", WhoisReply::Text("Registrant: Jos\xE9\r\n"));
  Query q;
  // The question lower-cases.
  const auto memo = q.ShowBaseWhois("Google.COM");
  ASSERT_TRUE(memo);
  EXPECT_EQ(*memo, "google.com" + kHeading +
                       "\r\n\r\n   Domain Name: GOOGLE.COM\r\n   Registrar WHOIS Server: "
                       "whois.markmonitor.com\r\n\r\n");
  ASSERT_EQ(s.com.RequestCount(), 1u);
  EXPECT_EQ(s.com.LastRequest().raw, "google.com\r\n");
  EXPECT_EQ(s.referred.RequestCount(), 0u);  // the basic query follows nothing
  EXPECT_EQ(q.ShowBaseWhois("a.com"), "a.com" + kHeading + "\r\n\r\nRegistrant: Jos?\r\n\r\n");
}

TEST(WhoisInfo, ChineseNamesGoOutInGbk) {
  Servers s;
  s.cn.Fallback([](const test::WhoisRequest&) { return WhoisReply::Text("no matching record\r\n"); });
  Query q;
  const std::string domain = Gbk("例子.中国");
  const auto memo = q.ShowDetailWhois(domain);
  ASSERT_TRUE(memo);
  EXPECT_EQ(s.cn.LastRequest().raw, domain + "\r\n");
  // No "whois server:" in the reply: the first reply is shown.
  EXPECT_EQ(*memo, domain + kHeading + "\r\n\r\nno matching record\r\n\r\n");
}

TEST(WhoisInfo, DetailedQueryFollowsOneReferral) {
  Servers s;
  s.com.On("google.com", WhoisReply::Text("Domain Name: GOOGLE.COM\r\nRegistrar WHOIS Server: "
                                          "WHOIS.MarkMonitor.COM\r\n"));
  s.referred.On("google.com", WhoisReply::Text("Registrant: Google\nWhois Server: whois.other.net\n"));
  Query q;
  const auto memo = q.ShowDetailWhois("google.com");
  ASSERT_TRUE(memo);
  EXPECT_EQ(*memo, "google.com" + kHeading +
                       "\r\n\r\nRegistrant: Google\r\nWhois Server: whois.other.net\r\n\r\n");
  EXPECT_EQ(s.referred.LastRequest().raw, "google.com\r\n");
  EXPECT_EQ(s.other.RequestCount(), 0u);  // no third question
}

// The first reply's referral: a second step that fails, a name with a port,
// an empty name.
TEST(WhoisInfo, DetailedQueryReferralsThatLeadNowhere) {
  struct Case {
    std::string first;
    std::string memo;
    unsigned followed;  // questions to the referred server
  };
  const std::string failed = "a.com" + kFailed + "\r\n";
  for (const Case& c : {Case{"Registrar WHOIS Server: whois.markmonitor.com\r\n", failed, 1},
                        Case{"Registrar WHOIS Server: whois.markmonitor.com:4343\r\n", failed, 0},
                        Case{"Domain Name: A.COM\nWHOIS Server: \nReferral URL: \n",
                             "a.com" + kHeading + "\r\n\r\nDomain Name: A.COM\r\nWHOIS Server: \r\nReferral URL: \r\n\r\n", 0}}) {
    Servers s;
    s.com.On("a.com", WhoisReply::Text(c.first));
    s.referred.On("a.com", WhoisReply::Hang());
    Query q;
    EXPECT_EQ(q.ShowDetailWhois("a.com"), c.memo) << c.first;
    EXPECT_EQ(s.referred.RequestCount(), c.followed) << c.first;
    EXPECT_EQ(s.other.RequestCount(), 0u) << c.first;
  }
}

TEST(WhoisInfo, OtherSuffixesAskIanaFirst) {
  Servers s;
  s.iana.On("cn.com", WhoisReply::Text("% IANA\r\nrefer:        whois.markmonitor.com\r\n"));
  s.referred.On("abc.cn.com", WhoisReply::Text("Domain Name: ABC.CN.COM\r\n"));
  Query q;
  const auto memo = q.ShowBaseWhois("abc.cn.com");
  ASSERT_TRUE(memo);
  EXPECT_EQ(*memo, "abc.cn.com" + kHeading + "\r\n\r\nDomain Name: ABC.CN.COM\r\n\r\n");
  EXPECT_EQ(s.iana.LastRequest().raw, "cn.com\r\n");
}

TEST(WhoisInfo, FailuresShowTheFailureLineAlone) {
  Servers s;
  s.iana.On("xy", WhoisReply::Text("% IANA WHOIS server\r\ndomain: XY\r\n"));
  s.iana.On("zz", WhoisReply::Text("whois server (port 43): whois.nic.zz"));  // empty name
  s.iana.On("", WhoisReply::Text("% Error: Invalid query\r\n"));
  s.com.On("down.com", WhoisReply::Hang());
  Query q;
  EXPECT_EQ(q.ShowBaseWhois("a.xy"), "a.xy" + kFailed + "\r\n");
  EXPECT_EQ(q.ShowDetailWhois("a.zz"), "a.zz" + kFailed + "\r\n");
  EXPECT_EQ(q.ShowBaseWhois(""), kFailed + "\r\n");
  EXPECT_EQ(s.iana.LastRequest().raw, "\r\n");
  EXPECT_EQ(q.ShowBaseWhois("down.com"), "down.com" + kFailed + "\r\n");
  EXPECT_EQ(s.other.RequestCount(), 0u);  // nothing reached the catch-all host
}

TEST(WhoisInfo, SecondQueryDuringAWaitIsIgnored) {
  int exchanges = 0;
  std::optional<std::string> nested = "not run";
  WhoisInfoQuery* self = nullptr;
  WhoisInfoQuery q([&](const std::string& host, const std::string& query) -> std::string {
    ++exchanges;
    EXPECT_EQ(host, "whois.verisign-grs.com");
    EXPECT_EQ(query, "a.com");
    EXPECT_TRUE(self->Busy());
    nested = self->ShowDetailWhois("b.com");  // a click handled inside the wait
    return "Domain Name: A.COM\n";
  });
  self = &q;
  const auto memo = q.ShowBaseWhois("A.com");
  EXPECT_EQ(memo, "a.com" + kHeading + "\r\n\r\nDomain Name: A.COM\r\n\r\n");
  EXPECT_FALSE(nested.has_value());
  EXPECT_EQ(exchanges, 1);
  EXPECT_FALSE(q.Busy());
  // After an exchange that threw, the next question runs again.
  WhoisInfoQuery failing([](const std::string&, const std::string&) -> std::string {
    throw NetError("refused");
  });
  EXPECT_EQ(failing.ShowBaseWhois("a.com"), "a.com" + kFailed + "\r\n");
  EXPECT_FALSE(failing.Busy());
}

}  // namespace
}  // namespace orlu
