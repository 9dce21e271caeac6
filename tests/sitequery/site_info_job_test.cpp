// The site-information job against substitute servers on loopback, without
// windows (plain-loop dispatcher), also under ThreadSanitizer.
#include <gtest/gtest.h>

#include <chrono>
#include <map>
#include <string>
#include <vector>

#include "site_info_test_util.h"
#include "support/plain_loop_test.h"
#include "substitute-services/servers/loopback_server.h"

namespace orlu {
namespace {

using namespace std::chrono_literals;
using test::Domains;
using test::FigureOf;
using test::ServiceAsk;
using test::GoodPage;
using test::GoodText;
using test::HttpReply;
using test::HttpRequest;
using test::kAllKinds;
using Lines = std::vector<std::string>;

class SiteInfoJobTest : public test::PlainLoopTest, protected test::SiteServer {
 protected:
  void TearDown() override {
    EndSiteInfoWorkers(&job);
    PlainLoopTest::TearDown();
  }

  // The page's start: the record, a row per line in both lists, the groups.
  void Start(const Lines& lines, const std::vector<int>& kinds, int threads, int retry,
             const Lines& keyWords = test::kKeyWords, int timeoutMs = 5000) {
    lv.Clear();
    bak.Clear();
    StartSiteInfo(&job, timeoutMs, threads, lines, retry, true, &status, &lv, &bak, keyWords);
    for (size_t i = 0; i < job.Domains.size(); ++i) {
      std::vector<std::string> cells(9, " ");
      cells[0] = job.Domains[i];
      lv.AddRow(std::to_string(i + 1), cells);
      bak.AddRow(std::to_string(i + 1), cells);
    }
    StartSiteInfoGroups(&job, kinds);
  }
  bool Pump(std::chrono::milliseconds limit = 30s) {
    return PumpUntil([this] { return test::AllEnded(job); }, limit);
  }
  MemoryRows status, lv, bak;
  ThreadSiteInfoStru job;
};

TEST_F(SiteInfoJobTest, EveryStartAddsSevenStatusRowsThatTheirCellsTicksFill) {
  const std::string on = Gbk("定时器启动"), off = Gbk("定时器停止");
  StartSiteInfo(&job, 7000, 3, {"  ExAmple.COM", "", Gbk("中文Ab.cn\t")}, 4, true, &status, &lv, &bak,
                {" Ab ", "", "x"});
  EXPECT_EQ(job.Domains, (Lines{"example.com", "", Gbk("中文ab.cn")}));
  EXPECT_EQ(job.KeyWords, (Lines{" Ab ", "", "x"}));
  ASSERT_EQ(status.RowCount(), 7);
  EXPECT_EQ(status.Row(6).caption, "7");
  // Counts reach a row at its cell's tick only; the timer stops once every
  // row has succeeded.
  job.PrCell.SuccessCount = 2;
  job.PrCell.FailCount = 5;
  SiteInfoCellTimerTick(&job.PrCell);
  EXPECT_EQ(status.Row(3).cells, (Lines{"SiteInfo.PrCell", "3", "2", "5", on}));
  job.PrCell.SuccessCount = 3;
  SiteInfoCellTimerTick(&job.PrCell);
  EXPECT_EQ(status.Row(3).cells[4], off);
  EXPECT_FALSE(job.PrCell.Timer.Enabled());
  EXPECT_TRUE(job.AlexaCell.Timer.Enabled());
  for (SiteInfoCell* cell : job.Cells()) EXPECT_EQ(cell->Timer.Interval(), 3000);

  // A second start with an empty list: rows 8 to 14, earlier rows kept.
  StartSiteInfo(&job, 7000, 3, {}, 4, true, &status, &lv, &bak, {});
  SiteInfoCellTimerTick(&job.YahooLinkCell);
  ASSERT_EQ(status.RowCount(), 14);
  EXPECT_EQ(status.Row(13).cells, (Lines{"SiteInfo.YahooLinkCell", "0", "0", "0", off}));
}

// The first cell of the first start owns the list's row 0.
TEST_F(SiteInfoJobTest, TheFirstStatusRowShowsItsCounts) {
  StartSiteInfo(&job, 5000, 1, {"a.com", "b.com"}, 0, true, &status, &lv, &bak, {});
  job.AlexaCell.SuccessCount = 2;
  job.AlexaCell.FailCount = 1;
  SiteInfoCellTimerTick(&job.AlexaCell);
  EXPECT_EQ(status.Row(0).cells, (Lines{"SiteInfo.AlexaCell", "2", "2", "1", Gbk("定时器停止")}));
}

TEST_F(SiteInfoJobTest, EachKindAsksItsAddressWithItsClientProfile) {
  Serve([](const ServiceAsk& a, int) { return HttpReply::Ok(GoodPage(a)).Header("Set-Cookie", "k=1"); });
  http.OnHost("web.archive.org", "/web/*dc_/http://www.x", HttpReply::Redirect("/web/2005/x"));
  http.OnHost("web.archive.org", "/web/2005/x", HttpReply::Ok(test::Page(3, "x y", "4", "2")));
  Start({"abc", "X y", ""}, kAllKinds, 1, 0);
  ASSERT_TRUE(Pump());
  std::map<std::string, std::vector<HttpRequest>> byHost;
  std::map<std::string, Lines> targets;
  for (const HttpRequest& r : http.Requests()) {
    byHost[r.Host()].push_back(r);
    targets[r.Host()].push_back(r.target);
  }
  const std::string pr = "/search?client=navclient-auto&features=Rank:&q=info:";
  const std::string ar = "/web/*dc_/http://www.", kw = "/search?complete=1&hl=zh-CN&q=";
  const std::string zd = "/q?ct=17&pn=0&tn=ikaslist&rn=10&word=", al = "/data?cli=10&dat=snba&url=";
  const std::string yl = "/search?bwm=i&p=www.";
  EXPECT_EQ(targets, (std::map<std::string, Lines>{
      {"toolbarqueries.google.cn",
       {pr + "abc&ch=655950860", pr + "x%20y&ch=63210144053", pr + "&ch=62316959404"}},
      {"data.alexa.com", {al + "abc", al + "x%20y", al}},
      {"web.archive.org", {ar + "abc", ar + "x%20y", "/web/2005/x", ar}},
      {"www.google.cn", {kw + "abc", kw + "x%20y", kw}},
      {"zhidao.baidu.com",
       {zd + "abc", zd + "www.abc", zd + "x%20y", zd + "www.x%20y", zd, zd + "www."}},
      {"www.baidu.com", {"/s?wd=site%3Aabc", "/s?wd=site%3Ax%20y", "/s?wd=site%3A"}},
      {"sitemap.cn.yahoo.com", {yl + "abc", yl + "x%20y", yl}}}));
  // The browser header set, with cookies kept for the client's life, for
  // the site: and inbound-link counts; the client's own for the others.
  for (const auto& [host, reqs] : byHost) {
    const bool browser = host == "www.baidu.com" || host == "sitemap.cn.yahoo.com";
    for (size_t i = 0; i < reqs.size(); ++i) {
      Lines names = {"Host", "Accept", "User-Agent"};
      if (browser) names = {"Host", "Accept", "Accept-Language", "Accept-Encoding", "User-Agent", "Connection"};
      if (browser && i > 0) names.insert(names.begin() + 1, "Cookie");
      EXPECT_EQ(reqs[i].HeaderNames(), names) << host << i;
      if (browser && i > 0) {
        EXPECT_EQ(reqs[i].Header("Cookie"), "k=1");
      }
    }
  }
  // The empty domain is on no page: every checked kind gives its word; the
  // page rank asks "info:" alone.
  EXPECT_EQ(lv.Row(2).cells, (Lines{"", FigureOf(0, ""), Gbk("o失败"), " ", Gbk("o失败"), Gbk("o失败"),
                                    Gbk("失败"), Gbk("失败"), Gbk("失败")}));
  EXPECT_EQ(lv.Cell(1, 4), "4.2");  // the redirect followed
  EXPECT_EQ(job.YahooLinkCell.Done, (std::vector<unsigned char>{1, 1, 0}));
}

// The page's highest thread count for every service at once: each group
// fills exactly its hundred slots, and worker k answers the rows k, k + 100,
// ... of its service, every row asked once.
TEST_F(SiteInfoJobTest, EveryServiceRunsAHundredWorkersThatShareTheRows) {
  ServeGood();
  const Lines names = Domains(2 * kMaxSiteInfoThreads);
  Start(names, kAllKinds, kMaxSiteInfoThreads, 0);
  for (int kind : kAllKinds) {
    const SiteInfoCell& cell = *job.CellOf(kind);
    for (int k = 0; k < kMaxSiteInfoThreads; ++k) {
      ASSERT_NE(cell.Threads[k], nullptr) << kind << " " << k;
      EXPECT_EQ(cell.Threads[k]->ThreadIndex, k);
    }
  }
  ASSERT_TRUE(Pump());
  for (int kind : kAllKinds) {
    const SiteInfoCell& cell = *job.CellOf(kind);
    EXPECT_EQ(cell.SuccessCount, 2 * kMaxSiteInfoThreads) << kind;
    EXPECT_EQ(cell.FailCount, 0) << kind;
    for (int i = 0; i < static_cast<int>(names.size()); ++i) {
      ASSERT_EQ(lv.Cell(i, kind + 1), GoodText(kind, names[i])) << kind << " " << i;
      // The question service asks each row twice (the name, then "www.").
      ASSERT_EQ(Asked(kind, names[i]), kind == kKindBaiduZhidao ? 2 : 1) << kind << " " << i;
    }
  }
}

// Kinds 4 to 7 close the connection after a page without the domain; the
// server keeps each connection open for further requests, and every page
// names good.com only.
TEST_F(SiteInfoJobTest, KeywordAndLaterKindsReconnectAfterAFailedPageCheck) {
  test::LoopbackServer server([](test::LoopbackConnection& c) {
    std::string in;
    bool eof = false;
    for (;;) {
      size_t end;
      while ((end = in.find("\r\n\r\n")) == std::string::npos)
        if (!c.Read(in, 5s, eof)) return;
      in.erase(0, end + 4);
      if (!c.Send("HTTP/1.1 200 OK\r\nContent-Length: 8\r\n\r\ngood.com")) return;
    }
  });
  services.Map("*http", "127.0.0.1:" + std::to_string(server.Port()));
  for (int kind : kAllKinds) {
    const size_t before = server.ConnectionCount();
    Start({"bad.com", "good.com"}, {kind}, 1, 0);
    ASSERT_TRUE(Pump());
    EXPECT_EQ(server.ConnectionCount() - before, kind >= 4 ? 2u : 1u) << kind;
  }
}

TEST_F(SiteInfoJobTest, CutsReachTheirColumnsAndFailedRowsAreAskedAgain) {
  Serve([](const ServiceAsk& a, int n) {
    const std::string& d = a.domain;
    if (a.kind == 1 && d == "a.com") return HttpReply::Ok(test::Page(1, d, "9", "77"));
    if (a.kind == 3 && d == "a.com" && n == 1)
      return HttpReply::Ok("a.com <p align=\"right\"><b>5</b> Results</p> no rows");
    if (a.kind == 3 && d == "b.com" && n == 1) return HttpReply::Ok("b.com Data Retrieval Failure");
    // The keyword service's automated-query page; the question service's
    // first page without the domain (its "www." page has it).
    if (a.kind == 4 && d == "a.com" && n == 1)
      return HttpReply::Ok(d + Gbk(" 该请求通过电脑病毒或间谍软件向我们自动发送"));
    if (a.kind == 4) return HttpReply::Ok(d + " <b>a</b> b ");
    if (a.kind == 5 && d == "a.com" && n == 1) return HttpReply::Ok("<html></html>");
    if (a.kind == 7 && d == "a.com") return HttpReply::Ok(Gbk(test::Page(7, d, "12")));
    if (a.kind == 7) return HttpReply::Ok("<b>caf\xE9</b>" + GoodPage(a));
    return HttpReply::Ok(GoodPage(a));
  });
  Start({"a.com", "b.com"}, kAllKinds, 2, 0, {"a", "", "b"});
  ASSERT_TRUE(Pump());
  // Columns: page rank, ranking, its inbound links (uncounted), archive
  // (a count without its rows; the retrieval failure, flag 2), keywords,
  // questions ("www." figure first), site:, links. A GBK page where UTF-8 is
  // expected has no markers: "0"; a UTF-8 page with a stray byte is read.
  Lines a = {"a.com", GoodText(0, "a.com"), "9", "77", Gbk("p失败"), Gbk("失败"), Gbk("失败"),
             GoodText(6, "a.com"), "0"};
  EXPECT_EQ(lv.Row(0).cells, a);
  EXPECT_EQ(lv.Row(1).cells, (Lines{"b.com", GoodText(0, "b.com"), GoodText(1, "b.com"),
                                    FigureOf(2, "b.com"), Gbk("不确定"), "a,b,", GoodText(5, "b.com"),
                                    GoodText(6, "b.com"), GoodText(7, "b.com")}));
  EXPECT_EQ(job.AlexaCell.SuccessCount + job.AlexaCell.FailCount, 2);
  EXPECT_EQ(job.ArchiveCell.Done, (std::vector<unsigned char>{0, 2}));
  EXPECT_EQ(job.ArchiveCell.FailCount, 2);
  EXPECT_EQ(Asked(5, "b.com"), 2);

  // The re-query asks those rows again, and nothing else.
  http.ClearRequests();
  StartSiteInfoGroups(&job, kAllKinds);
  ASSERT_TRUE(Pump());
  EXPECT_EQ(http.RequestCount(), 5u);
  a[4] = GoodText(3, "a.com");
  a[5] = "a,b,";
  a[6] = GoodText(5, "a.com");
  EXPECT_EQ(lv.Row(0).cells, a);
  EXPECT_EQ(lv.Cell(1, 4), GoodText(3, "b.com"));
  EXPECT_EQ(job.ArchiveCell.SuccessCount, 2);
  EXPECT_EQ(job.ArchiveCell.FailCount, 2);
}

TEST_F(SiteInfoJobTest, DisplayDropsRowsThatAreGoneAndAnswersOfAnEarlierStart) {
  StartSiteInfo(&job, 5000, 1, {"a.com", "b.com"}, 0, true, &status, &lv, &bak, {});
  CSiteInfoth old(true, 0, kKindBaiduSite, job);
  job.BaiduSiteCell.Done[1] = 1;
  // The visible list was emptied by the clear button: the twin and the count
  // still take the answer; a row past the lists is dropped.
  bak.AddRows({{"1", Lines(9, " ")}, {"2", Lines(9, " ")}});
  for (int row : {1, 5}) {
    old.ItemIndex = row;
    old.Result = "9";
    old.ShowResult();
  }
  EXPECT_EQ(bak.Cell(1, 7), "9");
  EXPECT_EQ(job.BaiduSiteCell.SuccessCount, 1);
  // After a new start the old worker's answer lands nowhere.
  StartSiteInfo(&job, 5000, 1, {"c.com", "d.com"}, 0, true, &status, &lv, &bak, {});
  old.ItemIndex = 1;
  old.Result = "8";
  old.ShowResult();
  EXPECT_EQ(bak.Cell(1, 7), "9");
  EXPECT_EQ(job.BaiduSiteCell.SuccessCount, 0);
}

// Pauses and resumes reach every service's group: nested pauses hold until the
// last resume, a resume with nothing paused does nothing, and no row is lost
// or asked twice.
TEST_F(SiteInfoJobTest, PauseResumeStormsCountEveryRowOnce) {
  ServeGood(2ms);
  const Lines lines = Domains(120);
  Start(lines, kAllKinds, 6, 2);
  for (int i = 0; i < 20; ++i) {
    PauseSiteInfoWorkers(&job);
    if (i % 3 == 0) PauseSiteInfoWorkers(&job);
    loop.ProcessEvents(1ms);
    ResumeSiteInfoWorkers(&job);
    if (i % 3 == 0) ResumeSiteInfoWorkers(&job);
    ResumeSiteInfoWorkers(&job);  // one too many: does nothing
    loop.ProcessEvents(3ms);
  }
  ASSERT_TRUE(Pump());
  for (const auto& [key, n] : AskedAll())
    EXPECT_EQ(n, key.first == 5 ? 2 : 1) << key.first << key.second;
  for (int i = 0; i < 120; ++i)
    for (int kind : kAllKinds)
      ASSERT_EQ(lv.Cell(i, kind + 1), GoodText(kind, lines[i])) << i << " " << kind;
}

// The question service asks two pages a row: a stop between them leaves the
// row unshown, to be asked whole by the next query.
TEST_F(SiteInfoJobTest, AStopBetweenARowsTwoRequestsLeavesTheRowToTheNextQuery) {
  Serve([](const ServiceAsk& a, int) {
    return HttpReply::Ok(GoodPage(a)).Delay(a.second ? 0ms : 300ms);
  });
  Start({"a.com"}, {kKindBaiduZhidao}, 1, 0);
  ASSERT_TRUE(http.WaitForRequests(1, 5s));
  StopSiteInfoWorkers(&job);
  ASSERT_TRUE(Pump());
  EXPECT_EQ(http.RequestCount(), 1u);
  EXPECT_EQ(lv.Cell(0, 6), " ");
  StartSiteInfoGroups(&job, {kKindBaiduZhidao});
  ASSERT_TRUE(Pump());
  EXPECT_EQ(lv.Cell(0, 6), GoodText(5, "a.com"));
  EXPECT_EQ(job.BaiduZhidaoCell.SuccessCount + job.BaiduZhidaoCell.FailCount, 1);
}

TEST_F(SiteInfoJobTest, ANewStartEndsTheRunningGroupsFirstAndTheirAbortedRowsShowNothing) {
  ServeGood(2s);
  Start(Domains(20), kAllKinds, 3, 0);
  ASSERT_TRUE(http.WaitForRequests(21, 5s));
  StartSiteInfo(&job, 5000, 1, {"new.com"}, 0, true, &status, &lv, &bak, {});
  EXPECT_TRUE(test::AllEnded(job));
  for (int i = 0; i < 20; ++i)
    for (int c = 1; c <= 8; ++c) ASSERT_EQ(lv.Cell(i, c), " ") << i << " " << c;
}

// A re-query of one service leaves another service's running group alone.
TEST_F(SiteInfoJobTest, ReQueryOfOneServiceLetsTheOtherGroupsFinishEveryRow) {
  ServeGood(3ms);
  Start(Domains(60), {kKindAlexa}, 2, 0);
  ASSERT_TRUE(PumpUntil([this] { return http.RequestCount() >= 4; }, 10s));
  ASSERT_FALSE(test::AllEnded(job));
  StartSiteInfoGroups(&job, {kKindBaiduSite});
  StartSiteInfoGroups(&job, {kKindBaiduSite});  // over its own running group
  ASSERT_TRUE(Pump());
  for (SiteInfoCell* c : {&job.AlexaCell, &job.BaiduSiteCell}) {
    EXPECT_EQ(c->SuccessCount, 60) << c->Label;
    EXPECT_EQ(c->FailCount, 0) << c->Label;
  }
}

}  // namespace
}  // namespace orlu
