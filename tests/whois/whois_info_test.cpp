// The single-domain questions: servers asked, bytes sent, memo texts.
#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "platform/text/gbk.h"
#include "whois/whois_info.h"
#include "whois_test_util.h"

namespace orlu {
namespace {

using test::WhoisReply;
using Servers = test::WhoisHosts;

// The memo after a reply (with the memo's line ends), and after a failure.
std::string Memo(const std::string& domain, const std::string& reply) {
  return domain + Gbk("域名注册信息:") + "\r\n\r\n" + reply + "\r\n";
}
std::string Failed(const std::string& domain) { return domain + Gbk("域名查询失败") + "\r\n"; }

struct Query : WhoisInfoQuery {
  Query() {
    Client.ConnectTimeout = 2000;
    Client.ReadTimeout = 500;
  }
};

TEST(WhoisInfoText, MemoTexts) {
  // A bare LF becomes CR LF; CR LF and a lone CR stay as they are.
  EXPECT_EQ(WhoisInfoMemoText("a.com", "line 1\nline 2\r\nline 3\rend"),
            Memo("a.com", "line 1\r\nline 2\r\nline 3\rend"));
  EXPECT_EQ(WhoisInfoFailureText("a.com"), Failed("a.com"));
}

TEST(WhoisInfoText, CutWhoisServer) {
  const auto cut = WhoisInfoQuery::CutWhoisServer;
  EXPECT_EQ(cut("Registrar WHOIS Server: WHOIS.Reg.COM \r\nx"), "whois.reg.com");
  EXPECT_EQ(cut("Whois Server: a\r\nWhois Server: b\r\n"), "a");
  EXPECT_EQ(cut("whois server: no line end"), "");
  EXPECT_EQ(cut(""), "fail");
}

TEST(WhoisInfo, BasicQueryShowsTheReplyInItsOwnCaseLatin1AsQuestionMarks) {
  Servers s;
  const std::string reply =
      "   Domain Name: GOOGLE.COM\r\n   Registrar WHOIS Server: whois.markmonitor.com\r\n";
  s.com.On("google.com", WhoisReply::Text(reply));
  s.com.On("a.com", WhoisReply::Text("Registrant: Jos\xE9\r\n"));
  Query q;
  EXPECT_EQ(q.ShowBaseWhois("Google.COM"), Memo("google.com", reply));  // asked lower-case
  ASSERT_EQ(s.com.RequestCount(), 1u);
  EXPECT_EQ(s.com.LastRequest().raw, "google.com\r\n");
  EXPECT_EQ(s.referred.RequestCount(), 0u);  // the basic query follows nothing
  EXPECT_EQ(q.ShowBaseWhois("a.com"), Memo("a.com", "Registrant: Jos?\r\n"));
}

TEST(WhoisInfo, ChineseNamesGoOutInGbk) {
  Servers s;
  s.cn.Fallback([](const test::WhoisRequest&) { return WhoisReply::Text("no matching record\r\n"); });
  Query q;
  const std::string domain = Gbk("例子.中国");
  // No "whois server:" in the reply: the first reply is shown.
  EXPECT_EQ(q.ShowDetailWhois(domain), Memo(domain, "no matching record\r\n"));
  EXPECT_EQ(s.cn.LastRequest().raw, domain + "\r\n");
}

TEST(WhoisInfo, DetailedQueryFollowsOneReferral) {
  Servers s;
  s.com.On("google.com", WhoisReply::Text("Domain Name: GOOGLE.COM\r\nRegistrar WHOIS Server: "
                                          "WHOIS.MarkMonitor.COM\r\n"));
  s.referred.On("google.com", WhoisReply::Text("Registrant: Google\nWhois Server: whois.other.net\n"));
  Query q;
  EXPECT_EQ(q.ShowDetailWhois("google.com"),
            Memo("google.com", "Registrant: Google\r\nWhois Server: whois.other.net\r\n"));
  EXPECT_EQ(s.referred.LastRequest().raw, "google.com\r\n");
  EXPECT_EQ(s.other.RequestCount(), 0u);  // no third question
}

// The first reply's referral: a second step that fails, a name with a port,
// an empty name.
TEST(WhoisInfo, DetailedQueryReferralsThatLeadNowhere) {
  const std::string empty = "Domain Name: A.COM\nWHOIS Server: \nReferral URL: \n";
  const std::tuple<std::string, std::string, unsigned> cases[] = {
      {"Registrar WHOIS Server: whois.markmonitor.com\r\n", Failed("a.com"), 1},
      {"Registrar WHOIS Server: whois.markmonitor.com:4343\r\n", Failed("a.com"), 0},
      {empty, Memo("a.com", "Domain Name: A.COM\r\nWHOIS Server: \r\nReferral URL: \r\n"), 0}};
  for (const auto& [first, memo, followed] : cases) {  // followed: questions to the referred
    Servers s;
    s.com.On("a.com", WhoisReply::Text(first));
    s.referred.On("a.com", WhoisReply::Hang());
    EXPECT_EQ(Query().ShowDetailWhois("a.com"), memo) << first;
    EXPECT_EQ(s.referred.RequestCount(), followed) << first;
    EXPECT_EQ(s.other.RequestCount(), 0u) << first;
  }
}

TEST(WhoisInfo, OtherSuffixesAskIanaFirst) {
  Servers s;
  s.iana.On("cn.com", WhoisReply::Text("% IANA\r\nrefer:        whois.markmonitor.com\r\n"));
  s.referred.On("abc.cn.com", WhoisReply::Text("Domain Name: ABC.CN.COM\r\n"));
  EXPECT_EQ(Query().ShowBaseWhois("abc.cn.com"), Memo("abc.cn.com", "Domain Name: ABC.CN.COM\r\n"));
  EXPECT_EQ(s.iana.LastRequest().raw, "cn.com\r\n");
}

TEST(WhoisInfo, FailuresShowTheFailureLineAlone) {
  Servers s;
  s.iana.On("xy", WhoisReply::Text("% IANA WHOIS server\r\ndomain: XY\r\n"));
  s.iana.On("zz", WhoisReply::Text("whois server (port 43): whois.nic.zz"));  // empty name
  s.iana.On("", WhoisReply::Text("% Error: Invalid query\r\n"));
  s.com.On("down.com", WhoisReply::Hang());
  Query q;
  EXPECT_EQ(q.ShowBaseWhois("a.xy"), Failed("a.xy"));
  EXPECT_EQ(q.ShowDetailWhois("a.zz"), Failed("a.zz"));
  EXPECT_EQ(q.ShowBaseWhois(""), Failed(""));
  EXPECT_EQ(s.iana.LastRequest().raw, "\r\n");
  EXPECT_EQ(q.ShowBaseWhois("down.com"), Failed("down.com"));
  EXPECT_EQ(s.other.RequestCount(), 0u);  // nothing reached the catch-all host
}

TEST(WhoisInfo, SecondQueryDuringAWaitIsIgnored) {
  int exchanges = 0;
  std::optional<std::string> nested = "not run";
  WhoisInfoQuery q([&](const std::string& host, const std::string& query) -> std::string {
    ++exchanges;
    EXPECT_EQ(host + " " + query, "whois.verisign-grs.com a.com");
    EXPECT_TRUE(q.Busy());
    nested = q.ShowDetailWhois("b.com");  // a click handled inside the wait
    return "Domain Name: A.COM\n";
  });
  EXPECT_EQ(q.ShowBaseWhois("A.com"), Memo("a.com", "Domain Name: A.COM\r\n"));
  EXPECT_FALSE(nested.has_value());
  EXPECT_EQ(exchanges, 1);
  EXPECT_FALSE(q.Busy());
  // After an exchange that threw, the next question runs again.
  WhoisInfoQuery failing([](const std::string&, const std::string&) -> std::string {
    throw NetError("refused");
  });
  EXPECT_EQ(failing.ShowBaseWhois("a.com"), Failed("a.com"));
  EXPECT_FALSE(failing.Busy());
}

}  // namespace
}  // namespace orlu
