// The single-site report's workers, their cuts, the store and the job.
#include "sitequery/single_info.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "platform/text/gbk.h"
#include "support/service_scope.h"
#include "substitute-services/servers/substitute_http.h"

namespace orlu {
namespace {

using namespace std::chrono_literals;
using test::HttpReply;
using test::HttpRequest;

const std::string kFail = Gbk("失败");

// The national ranking's count cell.
const std::string kCell =
    "<td height=\"39\" align=\"center\" valign=\"top\" background=\"../v4/images/cr_bg25.gif\" "
    "class=\"y-n3\">";

TEST(SingleInfoParse, EveryKindsRules) {
  using S = CSingleDomainInfo;
  S w(true, "a.com ", 4);  // trailing blank kept in the markers
  const struct {
    std::string (S::*parse)(const std::string&) const;
    std::string page, answer;
  } cases[] = {
      {&S::ParsePr, "Rank_1:1:5\r\n", "5"},
      {&S::ParsePr, "<html>busy</html>", "0"},
      {&S::ParseSogouRank, Gbk("搜狗评级:7&nbsp;分 &nbsp;"), "7"},
      {&S::ParseSogouRank, Gbk("搜狗评级:7"), "0"},
      // Any domain's popularity element, first match; then the block page,
      // the nothing-found markers, junk.
      {&S::ParseAlexaRank, "<POPULARITY URL=\"b.org/\" TEXT=\"88\"/></ALEXA>", "88"},
      {&S::ParseAlexaRank, "<POPULARITY URL=\"b.org/\" TEXT=\"88", ""},
      {&S::ParseAlexaRank, "Please click here to continue using Alexa</ALEXA>", kFail},
      {&S::ParseAlexaRank, "<RLS PREFIX=\"http://\" more=\"0\">", "0"},
      {&S::ParseAlexaRank, "<html>", kFail},
      {&S::ParseChinaRank, Gbk("您要查询的内容暂时无法找到"), "0"},
      {&S::ParseChinaRank, "<td>1</td>", kFail},
      // A count wins over a nothing-found text elsewhere on the page.
      {&S::ParseChinaRank, Gbk("您要查询的内容暂时无法找到") + kCell + "8</td>", "8"},
      {&S::ParseBaiduDomain, Gbk("抱歉，没有找到 找到相关网页45篇"), "45"},
      // "Nothing found" wins over an address line; the bare domain before www.
      {&S::ParseBaiduSnapshot, Gbk("抱歉，没有找到<font color=#008000>a.com / 1K 2009-1-1  </font>"),
       Gbk("无收录")},
      {&S::ParseBaiduSnapshot,
       "<font color=#008000>www.a.com / 9K 2008-2-2  </font><font color=#008000>a.com / 1K 2009-1-1  </font>",
       "2009-1-1"},
      {&S::ParseBaiduSnapshot, "<font color=#008000>www.a.com /x 9K 2008-2-2  </font>", "2008-2-2"},
      {&S::ParseBaiduSnapshot, "<font color=#008000>a.com/ 1K 2009-1-1  </font>", kFail},
      // Without "K " only the first byte goes; one blank before </font> is no end.
      {&S::ParseBaiduSnapshot, "<font color=#008000>a.com /2009  </font>", "2009"},
      {&S::ParseBaiduSnapshot, "<font color=#008000>a.com / 1K 2009 </font>", ""},
      {&S::ParseBaiduSiteDays, Gbk("抱歉，没有找到"), "0"},
      {&S::ParseBaiduSite, Gbk("篇找到相关网页12"), ""},
      {&S::ParseBaiduSite, "<html>", kFail},
      {&S::ParseGoogleSite, Gbk("共有 <b>9</b> 大约 <b>1,000</b>"), "1,000"},
      {&S::ParseGoogleSite, Gbk("找不到和您的查询 共有 <b>9</b>"), "0"},
      {&S::ParseGoogleSite, Gbk("共有 <b>9</b>"), "9"},
      {&S::ParseGoogleSite, "<b>9</b>", kFail},
      {&S::ParseGoogleLink, Gbk("找不到和您的查询"), "0"},
      {&S::ParseYahooSite, Gbk("对不起，没有找到与"), "0"},
      {&S::ParseYahooLink, Gbk("没有搜索到结果"), "0"},
      {&S::ParseYahooLink, Gbk("链向该地址的网页：共 <strong>56</strong> 条"), kFail},
      {&S::ParseYoudaoSite, Gbk("抱歉，没有找到与 搜索到结果约 <B>3,400</B>"), "3,400"},
      {&S::ParseYoudaoSite, Gbk("抱歉，没有找到与 搜索到结果 <B>3</B>"), ""},
      {&S::ParseYoudaoSite, "<B>12</B>", kFail},
      // Bold text: past the first <B> after the marker, else from the marker's
      // third byte on; "" when that is past the end or no </B> follows.
      {&S::ParseYoudaoSite, Gbk("<B>0</B>搜索到结果 x <B>1,5</B><B>2</B>"), "1,5"},
      {&S::ParseYoudaoSite, Gbk("搜索到结果: 42</B>"), "42"},
      {&S::ParseYoudaoSite, Gbk("搜索到结果1"), ""},
      {&S::ParseYoudaoSite, Gbk("搜索到结果<B>7"), ""},
      {&S::ParseYoudaoLink, Gbk("抱歉，没有找到链接到"), "0"},
      {&S::ParseYoudaoLink, Gbk("抱歉，没有找到与"), kFail},
      {&S::ParseSosoLink, Gbk("抱歉，找不到与"), "0"},
      {&S::ParseSosoLink, Gbk("搜索到8项"), kFail},
  };
  for (const auto& c : cases) EXPECT_EQ((w.*c.parse)(c.page), c.answer) << c.page;
}

// Every endpoint of a report for the domain "a b.com", with a page in the
// encoding its service sends (kinds 11 to 16 UTF-8, the others GBK) and the
// answer cut from it.
struct Endpoint {
  int kind;
  std::string host, target, page, answer;
};

std::vector<Endpoint> Endpoints() {
  const std::string baidu = "www.baidu.com", google = "www.google.cn", youdao = "www.youdao.com";
  return {
      {0, "toolbarqueries.google.cn", "/search?client=navclient-auto&features=Rank:&q=info:a%20b.com&ch=61082203484",
       "Rank_1:1:6\n", "6"},
      {1, "www.sogou.com", "/web?query=link%3Ahttp://a%20b.com", Gbk("搜狗评级:4&nbsp;"), "4"},
      {2, "data.alexa.com", "/data?cli=10&dat=snba&url=a%20b.com",
       "<ALEXA><SD><POPULARITY URL=\"a b.com/\" TEXT=\"1234\"/></SD></ALEXA>", "1234"},
      {3, "www.chinarank.org.cn", "/overview/Info.do?url=http://a%20b.com", kCell + "567</td>", "567"},
      {4, baidu, "/s?wd=http://a%20b.com&ct=0", "<font color=#008000>a b.com/ 12K 2009-6-1  </font>",
       "2009-6-1"},
      {5, baidu, "/s?wd=domain%3Aa%20b.com", Gbk("找到相关网页约1,230篇"), "1,230"},
      {6, baidu, "/s?q1=site%3Aa%20b.com&lm=1", Gbk("找到相关网页6篇"), "6"},
      {7, baidu, "/s?q1=site%3Aa%20b.com&lm=7", Gbk("找到相关网页77篇"), "77"},
      {8, baidu, "/s?q1=site%3Aa%20b.com&lm=30", Gbk("找到相关网页300篇"), "300"},
      {9, baidu, "/s?q1=site%3Aa%20b.com&lm=360", Gbk("找到相关网页约3,600篇"), "3,600"},
      {10, baidu, "/s?wd=site%3Aa%20b.com&ct=0", Gbk("找到相关网页约10,000篇"), "10,000"},
      {11, google, "/search?hl=zh-CN&q=site%3Aa%20b.com&btnG=Google+%E6%90%9C%E7%B4%A2&meta=&aq=f&oq=",
       "大约 <b>11,100</b>", "11,100"},
      {12, google, "/search?hl=zh-CN&q=link%3Aa%20b.com", "约有 <b>1,200</b>", "1,200"},
      {13, "search.cn.yahoo.com", "/s?p=site%3Aa%20b.com&pid=hp&v=web", "找到相关网页约1,300条", "1,300"},
      {14, "sitemap.cn.yahoo.com", "/search?bwm=i&p=a%20b.com",
       "链向该地址的网页： 共 <strong>1,400</strong> 条", "1,400"},
      {15, youdao, "/search?q=site%3Aa%20b.com", "搜索到结果约 <B>1,500</B>", "1,500"},
      {16, youdao, "/search?q=link%3Aa%20b.com&btnIndex=%E6%90%9C+%E7%B4%A2&ue=utf8&keyfrom=web.index",
       "搜索到结果 <B>1,600</B>", "1,600"},
      {19, "www.soso.com", "/q?pid=s.idx&w=site%3Aa%20b.com", Gbk("搜索到约1,900项"), "1,900"},
      {20, "www.soso.com", "/q?w=link%3Aa%20b.com&sc=web&ch=w.ptl&lr=chs", Gbk("搜索到约2,000项"),
       "2,000"},
  };
}

// A second report ends the first at once (all its requests in flight); the slots
// hold the second's answers only. Ending the job is as prompt.
TEST(SingleInfoJob, AddressesCutsAndASecondReport) {
  test::SubstituteHttpServer http;
  test::ScopedServices services(&http);
  // A request for "first.com" is never answered.
  http.AddResponder([](const HttpRequest& r) -> std::optional<HttpReply> {
    if (r.target.find("first.com") != std::string::npos) return HttpReply::Hang();
    for (const Endpoint& e : Endpoints()) {
      if (r.Host() == e.host && r.target == e.target) return HttpReply::Ok(e.page);
    }
    return HttpReply::Status(404);
  });
  SingleInfoStore store;
  auto job = std::make_unique<SingleInfoJob>(store);
  job->Start("first.com");
  ASSERT_TRUE(http.WaitForRequests(19, 5s));
  auto t0 = std::chrono::steady_clock::now();
  job->Start("a b.com");
  EXPECT_LT(std::chrono::steady_clock::now() - t0, 2s);
  while (job->Running() && std::chrono::steady_clock::now() - t0 < 10s)
    std::this_thread::sleep_for(5ms);
  ASSERT_FALSE(job->Running());
  for (const Endpoint& e : Endpoints()) EXPECT_EQ(store.Read(e.kind), Gbk(e.answer)) << e.kind;
  EXPECT_EQ(http.RequestCount(), 38u);

  job->Start("first.com");
  ASSERT_TRUE(http.WaitForRequests(57, 5s));
  t0 = std::chrono::steady_clock::now();
  job.reset();
  EXPECT_LT(std::chrono::steady_clock::now() - t0, 2s);
  for (const Endpoint& e : Endpoints()) EXPECT_EQ(store.Read(e.kind), Gbk(e.answer)) << e.kind;
}

TEST(SingleInfoStore, AnswersOfAnEarlierReportAreDropped) {
  SingleInfoStore store;
  const unsigned first = store.NextGeneration();
  store.Publish(3, "old", first);
  const unsigned second = store.NextGeneration();
  store.Publish(4, "late", first);
  EXPECT_EQ(store.Read(3) + "|" + store.Read(4), "old|");  // nothing clears a slot
  store.Publish(4, "new", second);
  EXPECT_EQ(store.Read(4), "new");
  store.Publish(21, "x", second);
  store.Publish(-1, "x", second);
  EXPECT_EQ(store.Read(21), "");
}

TEST(SingleInfoStore, ReadsWholeTextsWhilePublished) {
  SingleInfoStore store;
  const unsigned g = store.NextGeneration();
  const std::string a(4096, 'a'), b(100, 'b');
  std::thread writer([&] {
    for (int i = 0; i < 20000; ++i) store.Publish(7, i % 2 ? a : b, g);
  });
  for (int i = 0; i < 20000; ++i) {
    const std::string seen = store.Read(7);
    if (!seen.empty() && seen != a && seen != b) ADD_FAILURE() << "torn text of " << seen.size();
  }
  writer.join();
}

TEST(SingleInfoWorker, AFailedTryIsShownWhileTheNextOneRuns) {
  test::SubstituteHttpServer http;
  test::ScopedServices services(&http);
  http.OnSequence("/s?wd=site%3Aa.com&ct=0", {HttpReply::Status(500), HttpReply::Hang()});
  SingleInfoStore store;
  store.NextGeneration();
  CSingleDomainInfo worker(false, "a.com", 10, store);
  worker.Start();
  ASSERT_TRUE(http.WaitForRequests(2, 5s));
  EXPECT_EQ(store.Read(10), kFail);
  worker.AbortTransfer();
  worker.WaitFor();
}

// One worker against a scripted service: how many requests it makes and
// what it leaves in its slot.
struct Tries {
  int kind;
  std::vector<HttpReply> replies;
  size_t requests;
  std::string answer;
  bool cookieBack = false;  // the second request carries the first reply's cookie
};

TEST(SingleInfoWorker, TriesWhileTheAnswerIsFailure) {
  const std::string count = Gbk("找到相关网页约12篇");
  const Tries cases[] = {
      // A persistent failure: three requests; a redirect is not followed (that would be a fourth).
      {10, {HttpReply::Redirect("/elsewhere"), HttpReply::Status(500)}, 3, kFail},
      {10, {HttpReply::Ok("<html>").Header("Set-Cookie", "sid=7"), HttpReply::Ok(count)}, 2, "12", true},
      // Youdao's nothing-found answers "" and ends the tries.
      {15, {HttpReply::Ok("抱歉，没有找到与")}, 1, ""},
      // A page served in GBK is no UTF-8 page: a failure, three times.
      {11, {HttpReply::Ok(Gbk("大约 <b>5</b>"))}, 3, kFail},
      // A UTF-8 page with a stray Latin-1 byte is still read.
      {11, {HttpReply::Ok("<title>caf\xE9</title>大约 <b>5</b>")}, 1, "5"},
      // A failed fetch is a failure even where a page without the marker is "0".
      {0, {HttpReply::Status(503)}, 3, kFail},
      {1, {HttpReply::Status(503), HttpReply::Ok("<html>")}, 2, "0"},
      {17, {HttpReply::Ok("x")}, 0, "before"},  // a kind without a query asks nothing
      {18, {HttpReply::Ok("x")}, 0, "before"},
  };
  for (const Tries& c : cases) {
    test::SubstituteHttpServer http;
    test::ScopedServices services(&http);
    auto asked = std::make_shared<std::atomic<size_t>>(0);
    http.AddResponder([&c, asked](const HttpRequest&) -> std::optional<HttpReply> {
      return c.replies[std::min(asked->fetch_add(1), c.replies.size() - 1)];
    });
    SingleInfoStore store;
    store.Publish(c.kind, "before", store.NextGeneration());
    CSingleDomainInfo worker(false, "a.com", c.kind, store);
    worker.WaitFor();
    EXPECT_EQ(http.RequestCount(), c.requests) << c.kind;
    EXPECT_EQ(store.Read(c.kind), c.answer) << c.kind;
    // One client serves the tries: the cookie set at the first comes back.
    const auto reqs = http.Requests();
    if (c.cookieBack && reqs.size() == 2) {
      EXPECT_EQ(reqs[0].Header("Accept-Language") + "|" + reqs[1].Header("Cookie"), "zh-cn|sid=7");
    }
  }
}

}  // namespace
}  // namespace orlu
