// The ranking detail workers against a substitute service on loopback, and
// their cuts and estimates on pages in the service's encoding.
#include "sitequery/alexa_detail.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <vector>

#include "alexa_detail_fixture.h"
#include "platform/text/gbk.h"
#include "support/plain_loop_test.h"
#include "support/service_scope.h"
#include "substitute-services/servers/substitute_http.h"

namespace orlu {
namespace {

using namespace std::chrono_literals;
using test::HttpReply;
using test::HttpRequest;
using Lines = std::vector<std::string>;

struct Field : DetailField {
  std::string text = "old";
  bool enabled = false;
  void SetText(const std::string& t) override { text = t; }
  void SetEnabled(bool e) override { enabled = e; }
};

class AlexaDetailTest : public test::PlainLoopTest {
 protected:
  void SetUp() override {
    PlainLoopTest::SetUp();
    AlexaDetailView = {.TrafficLv = &traffic, .IpEdit = &ip, .PvEdit = &pv, .CountryLv = &countries,
                       .QueryButton = &button, .FailLabel = &fail};
    for (size_t k = 0; k < 14; ++k) AlexaDetailView.Edits[k] = &edits[k];
    for (size_t k = 0; k < 8; ++k) AlexaDetailView.RankEdits[k] = &ranks[k];
    traffic.AddRow("stale", {"1%"});
  }
  void TearDown() override {
    job.EndAll();
    AlexaDetailView = TAlexaDetailView{};
    PlainLoopTest::TearDown();
  }
  // Serves the workers' calls until they have ended.
  bool Finish() { return PumpUntil([this] { return !job.Running(); }, 15s); }
  // A query for example.com with the fail label and the button set back first.
  bool Query(const HttpReply& site, const HttpReply& data) {
    fail.text = "old";
    button.enabled = false;
    http.OnHost("www.alexa.com", "/siteinfo/", site);
    http.OnHost("data.alexa.com", "/data/", data);
    job.Start("example.com");
    return Finish();
  }

  test::SubstituteHttpServer http;
  test::ScopedServices services{&http};
  Field edits[14], ranks[8], ip, pv, button, fail;
  MemoryRows traffic, countries;
  AlexaDetailJob job;
};

TEST_F(AlexaDetailTest, BothAnswersFillEveryFieldAndAskTheNormalisedDomain) {
  http.OnHost("www.alexa.com", "/siteinfo/", HttpReply::Ok(test::kDetailSitePage));
  http.OnHost("data.alexa.com", "/data/", HttpReply::Ok(test::kDetailXml));
  job.Start("  HTTP://Example.COM ");
  ASSERT_TRUE(Finish());
  // Every field's place is checked through the page; here the button,
  // which the site worker alone frees.
  EXPECT_TRUE(button.enabled);
  EXPECT_EQ(button.text, Gbk("查询"));
  EXPECT_EQ(fail.text, "old");

  Lines asked;
  for (const HttpRequest& r : http.Requests()) {
    asked.push_back(r.Host() + r.target);
    EXPECT_EQ(r.Header("Accept-Language"), "zh-cn");
    EXPECT_EQ(r.Header("User-Agent"),
              "Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.1; SV1; .NET CLR 2.0.50727; CIBA)");
  }
  std::sort(asked.begin(), asked.end());
  EXPECT_EQ(asked, (Lines{"data.alexa.com/data/qmRv52HtLw83Kx?cli=10&dat=snba&ver=7.0&cdt=alx_vw="
                          "20&wid=16865&act=00000000000&ss=1024x768&bw=775&t=0&ttl=1125&vis=1&rq=2"
                          "&url=http://example.com",
                          "www.alexa.com/siteinfo/example.com"}));
}

TEST_F(AlexaDetailTest, AFailedFetchEmptiesItsFieldsAndOnlyTheSiteWorkerFreesTheButton) {
  const std::string partly = Gbk("部分查询失败，请检查网络并重查");
  // The data answer over its 1 MiB cap fails: its edits are emptied, the site page's are not.
  ASSERT_TRUE(Query(HttpReply::Ok(test::kDetailSitePage),
                    HttpReply::Ok(test::kDetailXml + std::string(1 << 20, ' '))));
  EXPECT_EQ(edits[0].text, Gbk("示例网站 Example"));
  for (int k : {2, 3, 5, 6, 7, 8, 9, 10, 11, 12, 13}) EXPECT_EQ(edits[k].text, "") << k;
  EXPECT_EQ(fail.text, partly);

  // The site page over its 2 MiB cap fails: dashes, the domain, no lists; the button is freed.
  ASSERT_TRUE(Query(HttpReply::Ok(test::kDetailSitePage + std::string(2 << 20, ' ')),
                    HttpReply::Ok(test::kDetailXml)));
  Lines rankTexts;
  for (const Field& e : ranks) rankTexts.push_back(e.text);
  EXPECT_EQ(rankTexts, (Lines{"", "-", "", "-", "", "-", "", ""}));
  EXPECT_EQ((Lines{edits[0].text, edits[1].text, edits[3].text}),
            (Lines{"", "example.com", "1234"}));
  EXPECT_EQ(traffic.RowCount() + countries.RowCount(), 0);
  EXPECT_EQ(ip.text + pv.text, "");
  EXPECT_EQ(fail.text, partly);
  EXPECT_TRUE(button.enabled);

  // A stray byte (Latin-1 in a UTF-8 page) becomes "?"; the rest is cut.
  std::string xml = test::kDetailXml;
  xml.insert(xml.find("网站\"></SITE>"), "\xE9");
  ASSERT_TRUE(Query(HttpReply::Ok("<!-- caf\xE9 -->" + test::kDetailSitePage), HttpReply::Ok(xml)));
  EXPECT_EQ(edits[0].text, Gbk("示例网站 Example"));
  EXPECT_EQ(edits[13].text, Gbk("示例：一个?网站"));
  EXPECT_EQ(fail.text, "old");
}

TEST_F(AlexaDetailTest, AnEarlierQueryNeverWritesOverANewerOne) {
  http.OnHost("www.alexa.com", "/siteinfo/", [](const HttpRequest& r) {
    if (r.target == "/siteinfo/slow.com") return HttpReply::Hang();
    return HttpReply::Ok(test::kDetailSitePage);
  });
  http.OnHost("data.alexa.com", "/data/",
              [](const HttpRequest&) { return HttpReply::Ok(test::kDetailXml).Delay(300ms); });
  job.Start("slow.com");
  loop.ProcessEvents(20ms);
  const auto t0 = std::chrono::steady_clock::now();
  job.Start("example.com");
  // The older query's hanging fetch is aborted; neither its failure nor its
  // late answers show.
  ASSERT_TRUE(Finish());
  EXPECT_LT(std::chrono::steady_clock::now() - t0, 3s);
  EXPECT_EQ((Lines{edits[1].text, edits[3].text, fail.text}),
            (Lines{"example.com", "1234", "old"}));

  // A worker of an old query writes nothing at all, the button included.
  CAlexaDetail stale(true, "stale.com", 0);
  ++AlexaDetailView.Generation;
  button.enabled = false;
  stale.Result.SiteTitle = "stale";
  stale.ShowAlexaDetail();
  stale.ShowAlexaDetailFail();
  EXPECT_FALSE(button.enabled);
  EXPECT_EQ((Lines{edits[0].text, fail.text}), (Lines{Gbk("示例网站 Example"), "old"}));
  // The data worker of the current query leaves the button to the other.
  CAlexaDetail data(true, "x.com", 1);
  data.ShowAlexaDetail();
  EXPECT_FALSE(button.enabled);
  EXPECT_EQ(edits[3].text, "");
}

// The older query's workers end with the newer one's: their transfers, which
// would drip on for hours and never time out, are aborted by the new start.
TEST_F(AlexaDetailTest, ANewQueryAbortsTheOlderQueriesTransfers) {
  const HttpReply endless = HttpReply::Ok(std::string(1 << 20, ' ')).Drip(1, 50ms);
  http.OnHost("www.alexa.com", "/siteinfo/", [endless](const HttpRequest& r) {
    return r.target == "/siteinfo/old.com" ? endless : HttpReply::Ok(test::kDetailSitePage);
  });
  http.OnHost("data.alexa.com", "/data/", [endless](const HttpRequest& r) {
    return r.target.ends_with("old.com") ? endless : HttpReply::Ok(test::kDetailXml);
  });
  job.Start("old.com");
  ASSERT_TRUE(http.WaitForRequests(2, 5s));
  job.Start("example.com");
  ASSERT_TRUE(Finish());
  EXPECT_EQ((Lines{edits[1].text, edits[3].text, fail.text}),
            (Lines{"example.com", "1234", "old"}));
}

TEST_F(AlexaDetailTest, EndingTheJobAbortsHangingFetchesPromptly) {
  http.OnHost("www.alexa.com", "/siteinfo/", HttpReply::Hang());
  http.OnHost("data.alexa.com", "/data/", HttpReply::Hang());
  job.Start("a.com");
  job.Start("b.com");
  loop.ProcessEvents(50ms);
  const auto start = std::chrono::steady_clock::now();
  job.EndAll();
  EXPECT_LT(std::chrono::steady_clock::now() - start, 3s);
  EXPECT_EQ(job.Kept(), 0u);
  EXPECT_EQ(button.text, "old");
}

TEST(AlexaDetailCut, RankChangeTitleAndEndMarkers) {
  CAlexaDetailInfo i, none;
  ParseSitePageHead("<div class=\"data down\"> 12 </a></div>", "d.com", i);
  EXPECT_EQ((Lines{i.RankChange, i.SiteTitle, i.SiteDomain}), (Lines{"12", "", "d.com"}));
  ParseSitePageHead("<div class=\"data\">1</a></div>", "d.com", none);
  EXPECT_EQ(none.RankChange, "");
  // A start marker without its end marker gives the empty text; the speed is the unit alone.
  CAlexaDetailInfo x;
  ParseDetailXmlFields("<SPEED TEXT=\"12\" PCT=\"5\" /><EMAIL ADDR=\"a@b\"", x);
  EXPECT_EQ((Lines{x.Speed, x.Email}), (Lines{Gbk("分"), ""}));
  // A marker inside a double-byte character is no marker.
  CAlexaDetailInfo g;
  ParseDetailXmlFields(std::string("\x81") + "CODE=\"x\"/>", g);
  EXPECT_EQ(g.Encoding, "");
  ParseDetailXmlFields(Gbk("中") + "<LINKSIN NUM=\"7\"/>", g);
  EXPECT_EQ(g.LinksIn, "7");
}

TEST(AlexaDetailCut, ShareListsPairByIndex) {
  const std::string share = "<span class=\"geo_number descbold\">";
  const std::string name = "<span class=\"geo_country\">";
  const std::string traffic = "<h2>Where people go on x</h2>";
  const std::string more = "<a id=\"toggleMoreTraffic\">";
  CAlexaDetailInfo i;
  i.SubSiteNames = {"old"};
  ParseSubDomains(traffic + share + "1%</span>" + name + "a</span>" + share + "2%</span>" + name +
                      "b</span>" + share + "3%</span>" + more,
                  i);
  EXPECT_EQ(i.SubSiteShares, (Lines{"1%", "2%", "3%"}));
  EXPECT_EQ(i.SubSiteNames, (Lines{"a", "b"}));
  // A name without its "</span>" is empty.
  ParseSubDomains(traffic + share + "1%</span>" + name + "a" + more, i);
  EXPECT_EQ(i.SubSiteNames, (Lines{""}));
  ParseSubDomains(traffic + "<p>none</p>" + more, i);
  EXPECT_EQ(i.SubSiteNames.size() + i.SubSiteShares.size(), 0u);

  // A link without its closing "<" gives the empty text.
  ParseCountries("users come from these countries" + share + "9%</span>" + name +
                     "<a href=x>Japan</span>" + share + "8%</span>" + name +
                     "<b> Peru </b></span><a id=\"toggleMoreCountry\">More</a>",
                 i);
  EXPECT_EQ(i.CountryNames, (Lines{"", "Peru"}));
  EXPECT_EQ(i.CountryShares, (Lines{"9%", "8%"}));
}

TEST(AlexaDetailEstimate, VisitorsAndPageViews) {
  const std::string reach = "Percent of global Internet users who visit x<th>7 day avg</th><td>";
  const std::string views = "Daily pageviews per user for x<th>7 day avg</th><td>";
  struct Case {
    std::string page, ip, pv;
  } cases[] = {
      {reach + "0.0123%</td></table>" + views + "2.5</td></table>", "73800", "184500"},
      {reach + "n/a%</td></table>" + views + "2.5</td></table>", "0", "0"},
      {reach + "0.00000123%</td></table>" + views + "2.5</td></table>", "7.38", "-"},
      {reach + "1.5%</td></table>" + views + "lots</td></table>", "9000000", "-"},
      // Past the 32-bit range the page views cannot be worked out.
      {reach + "400%</td></table>" + views + "2</td></table>", "2400000000", "-"},
      {"Percent of global Internet users who visit x</table>" + views + "2.5</td></table>", "",
       "-"},
      {reach + "1%</td></table>Daily pageviews per user for x</table>", "6000000", ""},
      {views + "2.5</td></table>", "", ""},
  };
  for (const Case& c : cases) {
    CAlexaDetailInfo i;
    ParseReachPv(c.page, i);
    EXPECT_EQ((Lines{i.IpEstimate, i.PvEstimate}), (Lines{c.ip, c.pv})) << c.page;
  }
}

TEST(AlexaDetailEstimate, NumberForms) {
  long double v = 0;
  for (const char* good : {"2.5", "-3", "+.5", "5.", "1e3", "1.5E-2"}) {
    EXPECT_TRUE(ReadDecimal(good, v)) << good;
  }
  for (const char* bad : {"", ".", "1,5", "inf", "nan", "1e", "0x10", "1 ", "1e99999"}) {
    EXPECT_FALSE(ReadDecimal(bad, v)) << bad;
  }
  EXPECT_EQ(FormatGeneralFloat(0.00001), "0.00001");
  EXPECT_EQ(FormatGeneralFloat(0.0000015), "1.5E-6");
  EXPECT_EQ(FormatGeneralFloat(-2.5), "-2.5");
  EXPECT_EQ(FormatGeneralFloat(123456789012345.0), "123456789012345");
  EXPECT_EQ(FormatGeneralFloat(1234567890123456.0), "1.23456789012346E15");
  EXPECT_EQ(FormatGeneralFloat(1e20), "1E20");
  EXPECT_EQ(FormatGeneralFloat(1.0 / 3), "0.333333333333333");
}

TEST(AlexaDetailAddress, DomainAsQueried) {
  // One pass: what the removal joins stays.
  EXPECT_EQ(NormalizeDetailDomain("hthttp://tp://a.cn/http://"), "http://a.cn/");
  EXPECT_EQ(NormalizeDetailDomain(Gbk("網") + "A.cn"), Gbk("網") + "a.cn");
}

}  // namespace
}  // namespace orlu
