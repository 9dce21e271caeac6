// The site-information job against substitute servers on loopback: the
// record and its status rows, each service's request and client profile,
// page checks, cuts and retries through the workers, pause, resume, stop,
// restarts during a run, and the end of the record. Runs without windows
// (plain-loop dispatcher), also under ThreadSanitizer.
#include <gtest/gtest.h>

#include <chrono>
#include <map>
#include <mutex>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "platform/net/page_client.h"
#include "platform/net/services.h"
#include "platform/thread/dispatcher.h"
#include "site_info_test_util.h"
#include "support/loopback_server.h"

namespace orlu {
namespace {

using namespace std::chrono_literals;
using test::ServiceAsk;
using test::FigureOf;
using test::GoodPage;
using test::GoodText;
using test::HttpReply;
using test::HttpRequest;
using test::kAllKinds;
using Lines = std::vector<std::string>;

Lines Domains(int n, const std::string& prefix = "site") {
  Lines v;
  for (int i = 0; i < n; ++i) v.push_back(prefix + std::to_string(i) + ".com");
  return v;
}

class SiteInfoJobTest : public ::testing::Test, protected test::SiteServer {
 protected:
  void SetUp() override {
    SetDispatcher(&loop);
    InitNetwork();
  }
  void TearDown() override {
    EndSiteInfoWorkers(&job);
    SetDispatcher(nullptr);
  }

  // The page's start: the record, one row per line in both lists, then the
  // groups.
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
    const auto end = std::chrono::steady_clock::now() + limit;
    while (!test::AllEnded(job)) {
      if (std::chrono::steady_clock::now() > end) return false;
      loop.ProcessEvents(5ms);
    }
    loop.ProcessEvents(0ms);
    return true;
  }
  void PumpFor(std::chrono::milliseconds d) {
    const auto end = std::chrono::steady_clock::now() + d;
    while (std::chrono::steady_clock::now() < end) loop.ProcessEvents(5ms);
  }
  int Successes() {
    int n = 0;
    for (SiteInfoCell* c : job.Cells()) n += c->SuccessCount;
    return n;
  }
  int Failures() {
    int n = 0;
    for (SiteInfoCell* c : job.Cells()) n += c->FailCount;
    return n;
  }

  PlainLoopDispatcher loop;
  MemoryRows status, lv, bak;
  ThreadSiteInfoStru job;
};

TEST_F(SiteInfoJobTest, EveryStartAddsSevenStatusRowsAndTimersThatTheTicksFill) {
  const std::string on = Gbk("定时器启动"), off = Gbk("定时器停止");
  StartSiteInfo(&job, 7000, 3, {"  ExAmple.COM", "", Gbk("中文Ab.cn\t")}, 4, true, &status, &lv, &bak,
                {" Ab ", "", "x"});
  EXPECT_EQ(job.Domains, (Lines{"example.com", "", Gbk("中文ab.cn")}));
  EXPECT_EQ(job.KeyWords, (Lines{" Ab ", "", "x"}));
  const Lines labels = {"SiteInfo.AlexaCell",      "SiteInfo.ArchiveCell",  "SiteInfo.KeyWordCell",
                        "SiteInfo.PrCell",         "SiteInfo.BaiduZhidaoCell", "SiteInfo.BaiduSiteCell",
                        "SiteInfo.YahooLinkCell"};
  ASSERT_EQ(status.RowCount(), 7);
  for (int r = 0; r < 7; ++r) {
    EXPECT_EQ(status.Row(r).caption, std::to_string(r + 1));
    EXPECT_EQ(status.Row(r).cells, (Lines{labels[r], "3", "0", "0", on}));
    EXPECT_TRUE(job.Cells()[r]->Timer.Enabled());
    EXPECT_EQ(job.Cells()[r]->Done, (std::vector<unsigned char>{0, 0, 0}));
  }
  // Counts reach a row at its cell's tick only; the timer stops once every
  // row has succeeded.
  job.PrCell.SuccessCount = 2;
  job.PrCell.FailCount = 5;
  SiteInfoCellTimerTick(&job.PrCell);
  EXPECT_EQ(status.Row(3).cells, (Lines{"SiteInfo.PrCell", "3", "2", "5", on}));
  EXPECT_EQ(status.Row(2).cells[2], "0");
  job.PrCell.SuccessCount = 3;
  SiteInfoCellTimerTick(&job.PrCell);
  EXPECT_EQ(status.Row(3).cells, (Lines{"SiteInfo.PrCell", "3", "3", "5", off}));
  EXPECT_FALSE(job.PrCell.Timer.Enabled());

  // A second start with an empty list: rows 8 to 14, and every timer stops
  // at its first tick.
  StartSiteInfo(&job, 7000, 3, {}, 4, true, &status, &lv, &bak, {});
  ASSERT_EQ(status.RowCount(), 14);
  EXPECT_EQ(status.Row(3).cells[4], off);
  for (SiteInfoCell* cell : job.Cells()) {
    EXPECT_TRUE(cell->Timer.Enabled());
    SiteInfoCellTimerTick(cell);
    EXPECT_FALSE(cell->Timer.Enabled());
  }
  for (int r = 7; r < 14; ++r) {
    EXPECT_EQ(status.Row(r).caption, std::to_string(r + 1));
    EXPECT_EQ(status.Row(r).cells, (Lines{labels[r - 7], "0", "0", "0", off}));
  }
}

TEST_F(SiteInfoJobTest, EachKindAsksItsAddressWithItsClientProfile) {
  Serve([](const ServiceAsk& a, int) { return HttpReply::Ok(GoodPage(a)).Header("Set-Cookie", "k=1"); });
  http.OnHost("web.archive.org", "/web/*dc_/http://www.x", HttpReply::Redirect("/web/2005/x"));
  http.OnHost("web.archive.org", "/web/2005/x", HttpReply::Ok(test::ArchivePage("x y", "4", "2")));
  // A kind that has no service ends at once.
  CSiteInfoth none(false, 0, 2, job);
  none.Start();
  none.WaitFor();

  Start({"abc", "X y", ""}, kAllKinds, 1, 0);
  ASSERT_TRUE(Pump());
  std::map<std::string, std::vector<HttpRequest>> byHost;
  for (const HttpRequest& r : http.Requests()) byHost[r.Host()].push_back(r);
  auto targets = [&](const std::string& host) {
    Lines v;
    for (const HttpRequest& r : byHost[host]) v.push_back(r.target);
    return v;
  };
  const std::string prX = "/search?client=navclient-auto&features=Rank:&q=info:x%20y&ch=6";
  auto pr = targets("toolbarqueries.google.cn");
  ASSERT_EQ(pr.size(), 3u);
  EXPECT_EQ(pr[0], "/search?client=navclient-auto&features=Rank:&q=info:abc&ch=655950860");
  EXPECT_EQ(pr[1].substr(0, prX.size()), prX);
  EXPECT_EQ(pr[2], "/search?client=navclient-auto&features=Rank:&q=info:&ch=62316959404");
  EXPECT_EQ(targets("data.alexa.com"), (Lines{"/data?cli=10&dat=snba&url=abc", "/data?cli=10&dat=snba&url=x%20y",
                                              "/data?cli=10&dat=snba&url="}));
  EXPECT_EQ(targets("web.archive.org"), (Lines{"/web/*dc_/http://www.abc", "/web/*dc_/http://www.x%20y",
                                               "/web/2005/x", "/web/*dc_/http://www."}));
  EXPECT_EQ(targets("www.google.cn"), (Lines{"/search?complete=1&hl=zh-CN&q=abc", "/search?complete=1&hl=zh-CN&q=x%20y",
                                             "/search?complete=1&hl=zh-CN&q="}));
  const std::string zd = "/q?ct=17&pn=0&tn=ikaslist&rn=10&word=";
  EXPECT_EQ(targets("zhidao.baidu.com"),
            (Lines{zd + "abc", zd + "www.abc", zd + "x%20y", zd + "www.x%20y", zd, zd + "www."}));
  EXPECT_EQ(targets("www.baidu.com"), (Lines{"/s?wd=site%3Aabc", "/s?wd=site%3Ax%20y", "/s?wd=site%3A"}));
  EXPECT_EQ(targets("sitemap.cn.yahoo.com"),
            (Lines{"/search?bwm=i&p=www.abc", "/search?bwm=i&p=www.x%20y", "/search?bwm=i&p=www."}));

  // Header sets: the browser's, with cookies kept for the client's life, for
  // the site: and inbound-link counts; the client's own for the others.
  for (const auto& [host, reqs] : byHost) {
    const bool browser = host == "www.baidu.com" || host == "sitemap.cn.yahoo.com";
    for (size_t i = 0; i < reqs.size(); ++i) {
      const HttpRequest& r = reqs[i];
      if (browser) {
        Lines names = {"Host", "Accept", "Accept-Language", "Accept-Encoding", "User-Agent", "Connection"};
        if (i > 0) names.insert(names.begin() + 1, "Cookie");
        EXPECT_EQ(r.HeaderNames(), names) << host << i;
        EXPECT_EQ(r.Header("Accept"),
                  "image/gif, image/x-xbitmap, image/jpeg, image/pjpeg, application/x-shockwave-flash, "
                  "application/vnd.ms-excel, application/vnd.ms-powerpoint, application/msword, "
                  "application/x-silverlight, */*");
        EXPECT_EQ(r.Header("Accept-Language"), "zh-cn") << host;
        EXPECT_EQ(r.Header("User-Agent"),
                  "Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.1; SV1; .NET CLR 2.0.50727; CIBA)");
        EXPECT_EQ(r.Header("Connection"), "Keep-Alive");
        EXPECT_TRUE(r.HasHeader("Accept-Encoding"));
        EXPECT_EQ(r.Header("Cookie"), i == 0 ? "" : "k=1") << host << i;
      } else {
        EXPECT_EQ(r.HeaderNames(), (Lines{"Host", "Accept", "User-Agent"})) << host << i;
        EXPECT_EQ(r.Header("Accept"), "text/html, */*");
        EXPECT_EQ(r.Header("User-Agent"), "Mozilla/3.0 (compatible; Indy Library)");
      }
    }
  }
  // The empty domain is never on a page: every checked kind gives its word
  // and asks again later; the page rank asks "info:" alone.
  const Lines words = {FigureOf(0, ""), Gbk("o失败"), " ", Gbk("o失败"), Gbk("o失败"),
                       Gbk("失败"), Gbk("失败"), Gbk("失败")};
  for (int c = 1; c <= 8; ++c) EXPECT_EQ(lv.Cell(2, c), words[c - 1]) << c;
  EXPECT_EQ(lv.Cell(1, 4), "4.2");  // the redirect followed
  EXPECT_EQ(job.PrCell.Done, (std::vector<unsigned char>{1, 1, 1}));
  EXPECT_EQ(job.YahooLinkCell.Done, (std::vector<unsigned char>{1, 1, 0}));
}

// A server that keeps each connection open for further requests, so a test
// sees which request came on a connection of its own.
class KeepAliveServer {
 public:
  KeepAliveServer()
      : server_([this](test::LoopbackConnection& c) { Serve(c); }) {
    SetServiceOverride("*http", "127.0.0.1:" + std::to_string(server_.Port()));
  }
  ~KeepAliveServer() {
    server_.Stop();
    ClearServiceOverrides();
  }
  // (connection, kind, domain) of each request in order.
  struct Seen {
    int connection;
    ServiceAsk asked;
  };
  std::vector<Seen> Requests() {
    std::lock_guard lock(mutex_);
    return seen_;
  }

 private:
  void Serve(test::LoopbackConnection& c) {
    int id;
    {
      std::lock_guard lock(mutex_);
      id = ++connections_;
    }
    std::string in;
    bool eof = false;
    for (;;) {
      size_t end;
      while ((end = in.find("\r\n\r\n")) == std::string::npos) {
        if (!c.Read(in, 5s, eof)) return;
      }
      HttpRequest r;
      const size_t sp = in.find(' ');
      r.target = in.substr(sp + 1, in.find(' ', sp + 1) - sp - 1);
      const size_t h = in.find("\r\nHost: ");
      r.headers = {{"Host", in.substr(h + 8, in.find("\r\n", h + 8) - h - 8)}};
      in.erase(0, end + 4);
      const ServiceAsk a = test::WhatIsAsked(r);
      {
        std::lock_guard lock(mutex_);
        seen_.push_back({id, a});
      }
      // "bad.com" is on none of its pages.
      const std::string body = a.domain == "bad.com" ? "<html></html>" : GoodPage(a);
      if (!c.Send("HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(body.size()) + "\r\n\r\n" + body)) return;
    }
  }

  std::mutex mutex_;
  int connections_ = 0;
  std::vector<Seen> seen_;
  test::LoopbackServer server_;
};

TEST_F(SiteInfoJobTest, KeywordAndLaterKindsReconnectAfterAFailedPageCheck) {
  KeepAliveServer server;
  Start({"bad.com", "good.com"}, kAllKinds, 1, 0);
  ASSERT_TRUE(Pump());
  std::map<int, std::vector<int>> connectionsOf;
  for (const auto& s : server.Requests()) connectionsOf[s.asked.kind].push_back(s.connection);
  for (int kind : kAllKinds) {
    const auto& c = connectionsOf[kind];
    ASSERT_EQ(c.size(), kind == 5 ? 4u : 2u) << kind;
    const bool reconnects = kind >= 4;
    EXPECT_EQ(c.back() != c.front(), reconnects) << kind;
  }
  EXPECT_EQ(lv.Cell(1, 6), GoodText(5, "good.com"));
}

TEST_F(SiteInfoJobTest, CutsReachTheirColumnsAndFailedRowsAreAskedAgain) {
  Serve([](const ServiceAsk& a, int n) {
    const std::string& d = a.domain;
    if (a.kind == 1 && d == "a.com") return HttpReply::Ok(test::AlexaPage(d, "9", "77"));
    if (a.kind == 3 && d == "a.com" && n == 1)
      return HttpReply::Ok("a.com <p align=\"right\"><b>5</b> Results</p> no rows");
    if (a.kind == 3 && d == "b.com" && n == 1) return HttpReply::Ok("b.com Data Retrieval Failure");
    if (a.kind == 4) return HttpReply::Ok(d + " <b>a</b> b ");
    if (a.kind == 7 && d == "a.com") return HttpReply::Ok(Gbk(test::YahooPage(d, "12")));
    return HttpReply::Ok(GoodPage(a));
  });
  Start({"a.com", "b.com"}, kAllKinds, 2, 0, {"a", "", "b"});
  ASSERT_TRUE(Pump());
  // Ranking: the rank counted, the inbound links beside it uncounted.
  EXPECT_EQ(lv.Cell(0, 2), "9");
  EXPECT_EQ(lv.Cell(0, 3), "77");
  EXPECT_EQ(bak.Cell(0, 3), "77");
  EXPECT_EQ(job.AlexaCell.SuccessCount, 2);
  EXPECT_EQ(job.AlexaCell.FailCount, 0);
  // Archive: a count without its rows, and the retrieval failure (flag 2).
  EXPECT_EQ(lv.Cell(0, 4), Gbk("p失败"));
  EXPECT_EQ(lv.Cell(1, 4), Gbk("不确定"));
  EXPECT_EQ(job.ArchiveCell.Done, (std::vector<unsigned char>{0, 2}));
  EXPECT_EQ(job.ArchiveCell.FailCount, 2);
  EXPECT_EQ(lv.Cell(1, 5), "a,b,");
  // The "www." figure first; both asked in order.
  EXPECT_EQ(lv.Cell(1, 6), FigureOf(9, "b.com") + "," + FigureOf(5, "b.com"));
  EXPECT_EQ(Asked(5, "b.com"), 2);
  // A GBK page where UTF-8 is expected converts to nothing: "0".
  EXPECT_EQ(lv.Cell(0, 8), "0");
  EXPECT_EQ(lv.Cell(1, 8), FigureOf(7, "b.com"));

  // The re-query asks the archive's two rows again, and nothing else.
  http.ClearRequests();
  StartSiteInfoGroups(&job, kAllKinds);
  ASSERT_TRUE(Pump());
  EXPECT_EQ(http.RequestCount(), 2u);
  EXPECT_EQ(lv.Cell(0, 4), GoodText(3, "a.com"));
  EXPECT_EQ(lv.Cell(1, 4), GoodText(3, "b.com"));
  EXPECT_EQ(job.ArchiveCell.SuccessCount, 2);
  EXPECT_EQ(job.ArchiveCell.FailCount, 2);
}

TEST_F(SiteInfoJobTest, DisplayDropsRowsThatAreGoneAndAnswersOfAnEarlierStart) {
  StartSiteInfo(&job, 5000, 1, {"a.com", "b.com"}, 0, true, &status, &lv, &bak, {});
  CSiteInfoth old(true, 0, kKindBaiduSite, job);
  old.ItemIndex = 1;
  old.Result = "9";
  job.BaiduSiteCell.Done[1] = 1;
  // The visible list was emptied by the clear button: the twin and the count
  // still take the answer.
  bak.AddRow("1", Lines(9, " "));
  bak.AddRow("2", Lines(9, " "));
  old.ShowBaiduSite();
  EXPECT_EQ(lv.RowCount(), 0);
  EXPECT_EQ(bak.Cell(1, 7), "9");
  EXPECT_EQ(job.BaiduSiteCell.SuccessCount, 1);
  old.ItemIndex = 5;
  old.ShowBaiduSite();
  EXPECT_EQ(job.BaiduSiteCell.SuccessCount, 1);

  StartSiteInfo(&job, 5000, 1, {"c.com", "d.com"}, 0, true, &status, &lv, &bak, {});
  old.ItemIndex = 1;
  old.Result = "8";
  old.ShowBaiduSite();
  EXPECT_EQ(bak.Cell(1, 7), "9");
  EXPECT_EQ(job.BaiduSiteCell.SuccessCount, 0);
}

TEST_F(SiteInfoJobTest, EveryRowIsAskedOncePerStartThroughPauseResumeStopStorms) {
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
  EXPECT_EQ(Failures(), 0);
  EXPECT_EQ(Successes(), 7 * 120);
  for (const auto& [key, n] : AskedAll()) EXPECT_EQ(n, key.first == 5 ? 2 : 1) << key.first << key.second;
  for (int i = 0; i < 120; ++i)
    for (int kind : kAllKinds) ASSERT_EQ(lv.Cell(i, kind + 1), GoodText(kind, lines[i])) << i << " " << kind;

  // Paused, told to stop, paused again: held workers end once resumed and
  // ask nothing more.
  http.ClearRequests();
  Start(Domains(60, "n"), kAllKinds, 4, 0);
  PauseSiteInfoWorkers(&job);
  StopSiteInfoWorkers(&job);
  const auto until = std::chrono::steady_clock::now() + 10s;
  while (!test::AllHeldOrEnded(job) && std::chrono::steady_clock::now() < until) loop.ProcessEvents(5ms);
  const size_t asked = http.RequestCount();
  PumpFor(50ms);
  EXPECT_EQ(http.RequestCount(), asked);
  ResumeSiteInfoWorkers(&job);
  ASSERT_TRUE(Pump(5s));
  EXPECT_EQ(http.RequestCount(), asked);
}

TEST_F(SiteInfoJobTest, RestartsDuringARunEndTheOldGroupsFirst) {
  ServeGood(10ms);
  const Lines lines = Domains(80);
  Start(lines, kAllKinds, 5, 0);
  PumpFor(40ms);
  PauseSiteInfoWorkers(&job);  // some held, some in flight
  StartSiteInfoGroups(&job, kAllKinds);  // the re-query
  PumpFor(20ms);
  StartSiteInfoGroups(&job, {1, 6});
  PumpFor(20ms);
  StartSiteInfoGroups(&job, kAllKinds);
  ASSERT_TRUE(Pump());
  EXPECT_EQ(Successes(), 7 * 80);
  EXPECT_EQ(Failures(), 0);

  // A new start: no answer of the old rows lands in the new ones.
  Start(Domains(100, "old"), kAllKinds, 10, 3);
  PumpFor(30ms);
  const Lines fresh = Domains(20, "new");
  Start(fresh, {0, 7}, 3, 0);
  ASSERT_TRUE(Pump());
  ASSERT_EQ(lv.RowCount(), 20);
  for (int i = 0; i < 20; ++i) {
    EXPECT_EQ(lv.Cell(i, 1), GoodText(0, fresh[i])) << i;
    EXPECT_EQ(lv.Cell(i, 2), " ") << i;
  }
  EXPECT_EQ(Successes(), 40);
  EXPECT_EQ(status.RowCount(), 21);
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
