// The site-information job against substitute servers on loopback, without
// windows (plain-loop dispatcher), also under ThreadSanitizer.
#include <gtest/gtest.h>

#include <chrono>
#include <map>
#include <memory>
#include <mutex>
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

TEST_F(SiteInfoJobTest, EachKindAsksItsAddressWithItsClientProfile) {
  Serve([](const ServiceAsk& a, int) { return HttpReply::Ok(GoodPage(a)).Header("Set-Cookie", "k=1"); });
  http.OnHost("web.archive.org", "/web/*dc_/http://www.x", HttpReply::Redirect("/web/2005/x"));
  http.OnHost("web.archive.org", "/web/2005/x", HttpReply::Ok(test::Page(3, "x y", "4", "2")));
  // A kind that has no service ends at once.
  CSiteInfoth none(false, 0, 2, job);
  none.Start();
  none.WaitFor();

  Start({"abc", "X y", ""}, kAllKinds, 1, 0);
  ASSERT_TRUE(Pump());
  std::map<std::string, std::vector<HttpRequest>> byHost;
  for (const HttpRequest& r : http.Requests()) byHost[r.Host()].push_back(r);
  // Each service's address for the three rows ("{}" stands for the domain).
  const std::string pr = "/search?client=navclient-auto&features=Rank:&q=info:";
  const std::map<std::string, Lines> addresses = {
      {"toolbarqueries.google.cn", {pr + "abc&ch=655950860", pr + "x%20y&ch=", pr + "&ch=62316959404"}},
      {"data.alexa.com", {"/data?cli=10&dat=snba&url={}"}},
      {"web.archive.org", {"/web/*dc_/http://www.abc", "/web/*dc_/http://www.x%20y", "/web/2005/x",
                           "/web/*dc_/http://www."}},
      {"www.google.cn", {"/search?complete=1&hl=zh-CN&q={}"}},
      {"zhidao.baidu.com", {"/q?ct=17&pn=0&tn=ikaslist&rn=10&word={}", "/q?ct=17&pn=0&tn=ikaslist&rn=10&word=www.{}"}},
      {"www.baidu.com", {"/s?wd=site%3A{}"}},
      {"sitemap.cn.yahoo.com", {"/search?bwm=i&p=www.{}"}}};
  for (const auto& [host, patterns] : addresses) {
    Lines expected = patterns;
    if (patterns[0].find("{}") != std::string::npos) {
      expected.clear();
      for (const std::string d : {"abc", "x%20y", ""})
        for (std::string p : patterns) expected.push_back(p.replace(p.find("{}"), 2, d));
    }
    ASSERT_EQ(byHost[host].size(), expected.size()) << host;
    for (size_t i = 0; i < expected.size(); ++i) {
      // The page rank's checksum of "x y" is the checksum test's business.
      EXPECT_EQ(byHost[host][i].target.substr(0, expected[i].size()), expected[i]) << host;
    }
  }
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
  const Lines words = {FigureOf(0, ""), Gbk("o失败"), " ",      Gbk("o失败"),
                       Gbk("o失败"),     Gbk("失败"),  Gbk("失败"), Gbk("失败")};
  for (int c = 1; c <= 8; ++c) EXPECT_EQ(lv.Cell(2, c), words[c - 1]) << c;
  EXPECT_EQ(lv.Cell(1, 4), "4.2");  // the redirect followed
  EXPECT_EQ(job.YahooLinkCell.Done, (std::vector<unsigned char>{1, 1, 0}));
}

// Kinds 4 to 7 close the connection after a page without the domain; the
// server keeps each connection open for further requests and notes which
// one each request came on.
TEST_F(SiteInfoJobTest, KeywordAndLaterKindsReconnectAfterAFailedPageCheck) {
  std::mutex mutex;
  std::map<int, std::vector<int>> connectionsOf;  // kind -> connection of each request
  int connections = 0;
  test::LoopbackServer server([&](test::LoopbackConnection& c) {
    int id;
    {
      std::lock_guard lock(mutex);
      id = ++connections;
    }
    std::string in;
    bool eof = false;
    for (;;) {
      size_t end;
      while ((end = in.find("\r\n\r\n")) == std::string::npos)
        if (!c.Read(in, 5s, eof)) return;
      HttpRequest r;
      r.target = in.substr(4, in.find(' ', 4) - 4);
      const size_t h = in.find("\r\nHost: ") + 8;
      r.headers = {{"Host", in.substr(h, in.find("\r\n", h) - h)}};
      in.erase(0, end + 4);
      const ServiceAsk a = test::WhatIsAsked(r);
      {
        std::lock_guard lock(mutex);
        connectionsOf[a.kind].push_back(id);
      }
      const std::string body = a.domain == "bad.com" ? "<html></html>" : GoodPage(a);
      if (!c.Send("HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(body.size()) + "\r\n\r\n" + body)) return;
    }
  });
  services.Map("*http", "127.0.0.1:" + std::to_string(server.Port()));
  Start({"bad.com", "good.com"}, kAllKinds, 1, 0);
  ASSERT_TRUE(Pump());
  server.Stop();
  for (int kind : kAllKinds) {
    const auto& c = connectionsOf[kind];
    ASSERT_EQ(c.size(), kind == 5 ? 4u : 2u) << kind;
    EXPECT_EQ(c.back() != c.front(), kind >= 4) << kind;
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
  // Ranking: the rank counted, the inbound links beside it uncounted.
  EXPECT_EQ(lv.Cell(0, 2), "9");
  EXPECT_EQ(lv.Cell(0, 3), "77");
  EXPECT_EQ(job.AlexaCell.SuccessCount + job.AlexaCell.FailCount, 2);
  // Archive: a count without its rows, and the retrieval failure (flag 2).
  EXPECT_EQ(lv.Cell(0, 4), Gbk("p失败"));
  EXPECT_EQ(lv.Cell(1, 4), Gbk("不确定"));
  EXPECT_EQ(job.ArchiveCell.Done, (std::vector<unsigned char>{0, 2}));
  EXPECT_EQ(job.ArchiveCell.FailCount, 2);
  EXPECT_EQ(lv.Cell(0, 5), Gbk("失败"));
  EXPECT_EQ(lv.Cell(1, 5), "a,b,");
  EXPECT_EQ(lv.Cell(0, 6), Gbk("失败"));
  // The "www." figure first; both asked in order.
  EXPECT_EQ(lv.Cell(1, 6), FigureOf(9, "b.com") + "," + FigureOf(5, "b.com"));
  EXPECT_EQ(Asked(5, "b.com"), 2);
  // A GBK page where UTF-8 is expected has no markers: "0"; a UTF-8 page
  // with a stray byte is read.
  EXPECT_EQ(lv.Cell(0, 8), "0");
  EXPECT_EQ(lv.Cell(1, 8), FigureOf(7, "b.com"));

  // The re-query asks those rows again, and nothing else.
  http.ClearRequests();
  StartSiteInfoGroups(&job, kAllKinds);
  ASSERT_TRUE(Pump());
  EXPECT_EQ(http.RequestCount(), 5u);
  EXPECT_EQ(lv.Cell(0, 5), "a,b,");
  EXPECT_EQ(lv.Cell(0, 6), GoodText(5, "a.com"));
  EXPECT_EQ(lv.Cell(0, 4), GoodText(3, "a.com"));
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
    old.ShowBaiduSite();
  }
  EXPECT_EQ(bak.Cell(1, 7), "9");
  EXPECT_EQ(job.BaiduSiteCell.SuccessCount, 1);
  // After a new start the old worker's answer lands nowhere.
  StartSiteInfo(&job, 5000, 1, {"c.com", "d.com"}, 0, true, &status, &lv, &bak, {});
  old.ItemIndex = 1;
  old.Result = "8";
  old.ShowBaiduSite();
  EXPECT_EQ(bak.Cell(1, 7), "9");
  EXPECT_EQ(job.BaiduSiteCell.SuccessCount, 0);
}

TEST_F(SiteInfoJobTest, PauseResumeStopStormsAndRestartsCountEveryRowOnce) {
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
  for (const auto& [key, n] : AskedAll()) EXPECT_EQ(n, key.first == 5 ? 2 : 1) << key.first << key.second;
  for (int i = 0; i < 120; ++i)
    for (int kind : kAllKinds) ASSERT_EQ(lv.Cell(i, kind + 1), GoodText(kind, lines[i])) << i << " " << kind;

  // A re-query during the run ends the old groups first (transfers in flight
  // aborted, unanswered); paused and told to stop, held workers end once
  // resumed; a last re-query asks what is left.
  Start(Domains(80, "r"), kAllKinds, 5, 0);
  PumpFor(20ms);
  StartSiteInfoGroups(&job, {1, 6});
  PumpFor(10ms);
  PauseSiteInfoWorkers(&job);
  StopSiteInfoWorkers(&job);
  ResumeSiteInfoWorkers(&job);
  ASSERT_TRUE(Pump());
  StartSiteInfoGroups(&job, kAllKinds);
  ASSERT_TRUE(Pump());
  for (SiteInfoCell* c : job.Cells()) {
    EXPECT_EQ(c->SuccessCount, 80) << c->Label;
    EXPECT_EQ(c->FailCount, 0) << c->Label;
  }

  // A new start during a run: no answer of the old rows lands in the new ones.
  Start(Domains(100, "old"), kAllKinds, 10, 3);
  PumpFor(30ms);
  const Lines fresh = Domains(20, "new");
  Start(fresh, {0, 7}, 3, 0);
  ASSERT_TRUE(Pump());
  ASSERT_EQ(lv.RowCount(), 20);
  for (int i = 0; i < 20; ++i) EXPECT_EQ(lv.Cell(i, 1), GoodText(0, fresh[i])) << i;
  EXPECT_EQ(job.PrCell.SuccessCount + job.YahooLinkCell.SuccessCount + job.AlexaCell.SuccessCount, 40);
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

TEST_F(SiteInfoJobTest, EndingTheRecordWithSevenHundredPausedAndHangingWorkersIsQuick) {
  Serve([](const ServiceAsk& a, int) {
    if (a.domain.find('7') != std::string::npos) return HttpReply::Hang();
    return HttpReply::Ok(GoodPage(a)).Delay(10s);
  });
  auto record = std::make_unique<ThreadSiteInfoStru>();
  StartSiteInfo(record.get(), 30000, 100, Domains(300), 100, true, &status, nullptr, &bak, {});
  for (int i = 0; i < 300; ++i) bak.AddRow(std::to_string(i + 1), Lines(9, " "));
  StartSiteInfoGroups(record.get(), kAllKinds);
  ASSERT_TRUE(http.WaitForRequests(300, 20s));
  // Half of every group paused, the rest in flight.
  for (SiteInfoCell* cell : record->Cells())
    for (int k = 0; k < 100; k += 2) cell->Threads[k]->Suspend();
  PumpFor(20ms);
  const auto t0 = std::chrono::steady_clock::now();
  record.reset();
  EXPECT_LT(std::chrono::steady_clock::now() - t0, 2s);
  // Aborted transfers are no answers: nothing shown.
  for (int i = 0; i < 300; ++i)
    for (int c = 1; c <= 8; ++c) ASSERT_EQ(bak.Cell(i, c), " ") << i << " " << c;
}

}  // namespace
}  // namespace orlu
