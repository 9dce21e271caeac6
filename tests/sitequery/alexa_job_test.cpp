// The batch ranking job against the substitute HTTP server, without windows
// (plain-loop dispatcher), also under ThreadSanitizer.
#include <gtest/gtest.h>

#include <chrono>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "alexa_test_util.h"
#include "platform/text/gbk.h"
#include "support/plain_loop_test.h"

namespace orlu {
namespace {

using namespace std::chrono_literals;
using test::Domains;
using test::HttpReply;
using test::RankOf;
using test::RankPage;
using Lines = std::vector<std::string>;

class AlexaJobTest : public test::PlainLoopTest, protected test::RankServer {
 protected:
  void TearDown() override {
    EndAlexaWorkers(&job);
    PlainLoopTest::TearDown();
  }

  // The page's start: the record, then one row per line in both lists.
  void Start(const Lines& lines, int threads, int retry, int timeoutMs = 5000, bool show = true) {
    lv.Clear();
    bak.Clear();
    StartAlexaSea(&job, timeoutMs, threads, lines, retry, show, &status, 1);
    job.ResultLv = &lv;
    job.ResultBakLv = &bak;
    for (size_t i = 0; i < job.Domains.size(); ++i) {
      if (show) lv.AddRow(std::to_string(i + 1), {job.Domains[i], " "});
      bak.AddRow(std::to_string(i + 1), {job.Domains[i], " "});
    }
    StartAlexaWorkers(&job);
  }

  // Serves the workers' calls until the group has ended.
  bool Pump(std::chrono::milliseconds limit = 30s) {
    return PumpUntil([this] { return test::GroupEnded(job); }, limit);
  }
  MemoryRows status, lv, bak;
  ThreadControlStru job;
};

TEST_F(AlexaJobTest, EachStartAddsAStatusRowThatItsTicksFill) {
  const std::string on = Gbk("定时器启动"), off = Gbk("定时器停止");
  StartAlexaSea(&job, 7000, 3, {"  ExAmple.COM", "b.cn\t", "", Gbk("中文Ab.cn")}, 4, false, &status, 1);
  // The lines as typed, lower-cased.
  EXPECT_EQ(job.Domains, (Lines{"  example.com", "b.cn\t", "", Gbk("中文ab.cn")}));
  // A second start adds row 2; its ticks write that row only.
  StartAlexaSea(&job, 1000, 1, {"X.com"}, 0, true, &status, 2);
  job.FailCount = 3;
  AlexaSeaTimerTick(&job);
  EXPECT_EQ(status.Row(0).cells, (Lines{"ALEXA", "4", "0", "0", on}));
  EXPECT_EQ(status.Row(1).caption, "2");
  EXPECT_EQ(status.Row(1).cells, (Lines{"NULL", "1", "0", "3", on}));
  // An empty list stops at its first tick; with no status row the tick only
  // compares the counts.
  StartAlexaSea(&job, 5000, 1, {}, 0, true, &status, 1);
  AlexaSeaTimerTick(&job);
  EXPECT_EQ(status.Row(2).cells, (Lines{"ALEXA", "0", "0", "0", off}));
  job.StatusRow = 65535;
  AlexaSeaTimerTick(&job);
  EXPECT_EQ(status.RowCount(), 3);
  ThreadControlStru fresh;
  fresh.Timer.SetEnabled(true);
  AlexaSeaTimerTick(&fresh);
  EXPECT_FALSE(fresh.Timer.Enabled());
}

TEST_F(AlexaJobTest, FailedRowsAreAskedAgainUntilTheyAnswerOrTheRoundsRunOut) {
  Serve([](const std::string& d, int n) {
    if (d == "b.com" && n == 1) return HttpReply::Status(500);
    if (d == "b.com" && n == 2) return HttpReply::Ok("Please click here to continue using Alexa");
    if (d == "bad.com") return HttpReply::Ok("<html>nothing here</html>");
    if (d == "slow.com" && n == 1) return HttpReply::Ok(RankPage(d, "1")).Delay(1500ms);
    return HttpReply::Ok(RankPage(d, d == "b.com" ? "1200" : "77"));
  });
  Start({"a.com", "B.com", "slow.com"}, 2, 100, 1000);
  ASSERT_TRUE(Pump());
  for (int i = 0; i < 3; ++i) EXPECT_EQ(lv.Cell(i, 1), (Lines{"77", "1200", "77"}[i])) << i;
  EXPECT_EQ(bak.Cell(1, 1), "1200");
  EXPECT_EQ(AskedAll(), (std::map<std::string, int>{{"a.com", 1}, {"b.com", 3}, {"slow.com", 2}}));
  // The counts reach the status row at the next tick only.
  EXPECT_EQ(status.Cell(0, 2), "0");
  AlexaSeaTimerTick(&job);
  EXPECT_EQ(status.Row(0).cells, (Lines{"ALEXA", "3", "3", "3", Gbk("定时器停止")}));

  // No retries: one round; the failed row keeps the failure word.
  ClearAsked();
  Start({"good.com", "bad.com"}, 1, 0);
  ASSERT_TRUE(Pump());
  EXPECT_EQ(Asked("bad.com"), 1);
  EXPECT_EQ(lv.Cell(1, 1), Gbk("失败"));
  EXPECT_EQ(job.SuccessCount, 1);
  EXPECT_EQ(job.Done[1], 0);  // left for a re-query
  // Three retries: four rounds.
  ClearAsked();
  Start({"bad.com"}, 1, 3);
  ASSERT_TRUE(Pump());
  EXPECT_EQ(Asked("bad.com"), 4);
  EXPECT_EQ(job.FailCount, 4);
}

TEST_F(AlexaJobTest, RequestsAskTheDomainAsHeldWithTheClientsOwnHeaders) {
  ServeRanks();
  // An empty line is a row too, asked with nothing after "url=".
  Start({"A b.com\t", ""}, 1, 0);
  ASSERT_TRUE(Pump());
  const auto reqs = http.Requests();
  ASSERT_EQ(reqs.size(), 2u);
  EXPECT_EQ(reqs[0].target, "/data?cli=10&dat=snba&url=a%20b.com%09");
  EXPECT_EQ(reqs[1].target, "/data?cli=10&dat=snba&url=");
  EXPECT_EQ(reqs[1].HeaderNames(), (Lines{"Host", "Accept", "User-Agent"}));
  EXPECT_EQ(job.SuccessCount, 2);
}

TEST_F(AlexaJobTest, TenThreadsOverTwentyFiveRowsThreadThreeAsksRowsThreeThirteenTwentyThree) {
  ServeRanks();
  const Lines lines = Domains(25);
  StartAlexaSea(&job, 5000, 10, lines, 0, true, &status, 1);
  job.ResultLv = &lv;
  job.ResultBakLv = &bak;
  for (size_t i = 0; i < lines.size(); ++i) bak.AddRow(std::to_string(i + 1), {lines[i], " "});
  job.Threads[3] = std::make_unique<CAlexaInfoth>(false, 3, job);
  job.Threads[3]->Start();
  ASSERT_TRUE(Pump());
  std::set<std::string> seen;
  for (const auto& r : http.Requests()) seen.insert(test::AskedDomain(r));
  EXPECT_EQ(seen, (std::set<std::string>{"site3.com", "site13.com", "site23.com"}));
  EXPECT_EQ(job.SuccessCount, 3);
  EXPECT_EQ(bak.Cell(13, 1), RankOf("site13.com"));
  EXPECT_EQ(bak.Cell(12, 1), " ");
}

TEST_F(AlexaJobTest, DisplayDropsRowsThatAreGoneAndAnswersOfAnEarlierStart) {
  StartAlexaSea(&job, 5000, 1, {"a.com", "b.com"}, 0, true, &status, 1);
  job.ResultLv = &lv;
  job.ResultBakLv = &bak;
  CAlexaInfoth old(true, 0, job);
  old.Result = "9";
  job.Done[1] = 1;
  // The lists were emptied (clear, or a start over 100 threads): counted;
  // a row past the record: dropped.
  for (int row : {1, 5}) {
    old.ItemIndex = row;
    old.ShowAlexaRank();
  }
  EXPECT_EQ(lv.RowCount(), 0);
  EXPECT_EQ(job.SuccessCount, 1);

  // A newer start: the old worker's answer lands nowhere and counts nothing.
  StartAlexaSea(&job, 5000, 1, {"c.com", "d.com"}, 0, true, &status, 1);
  lv.AddRows({{"1", {"c.com", " "}}, {"2", {"d.com", " "}}});
  old.ItemIndex = 1;
  old.ShowAlexaRank();
  EXPECT_EQ(lv.Cell(1, 1), " ");
  EXPECT_EQ(job.SuccessCount + job.FailCount, 0);
}

// Pause lets requests in flight land, then holds every worker before its
// next; resume goes on where it was; stop lets the requests in flight land
// and asks nothing more.
TEST_F(AlexaJobTest, PauseHoldsResumeGoesOnAndStopAsksNothingMore) {
  ServeRanks(150ms);
  Start(Domains(20), 4, 0);
  ASSERT_TRUE(http.WaitForRequests(4, 5s));
  PauseAlexaWorkers(&job);
  ASSERT_TRUE(PumpUntil([this] { return test::AllHeldOrEnded(job); }, 10s));
  PumpFor(100ms);
  EXPECT_EQ(http.RequestCount(), 4u);
  EXPECT_EQ(job.SuccessCount, 4);
  ResumeAlexaWorkers(&job);
  ASSERT_TRUE(http.WaitForRequests(8, 5s));
  StopAlexaWorkers(&job);
  ASSERT_TRUE(Pump(5s));
  EXPECT_EQ(http.RequestCount(), 8u);
  EXPECT_EQ(job.SuccessCount, 8);
  EXPECT_EQ(job.FailCount, 0);
  for (const auto& [domain, n] : AskedAll()) EXPECT_EQ(n, 1) << domain;
}

TEST_F(AlexaJobTest, PauseResumeRequeryAndRestartStormCountsEachRowOnceInItsOwnStart) {
  ServeRanks(10ms);
  const Lines lines = Domains(300, "old");
  Start(lines, 20, 2);
  for (int i = 0; i < 30; ++i) {
    PauseAlexaWorkers(&job);
    loop.ProcessEvents(1ms);
    ResumeAlexaWorkers(&job);
    loop.ProcessEvents(2ms);
  }
  PauseAlexaWorkers(&job);  // some held, some in flight
  StartAlexaWorkers(&job);  // the re-query
  PumpFor(10ms);
  StartAlexaWorkers(&job);  // and again
  ASSERT_TRUE(Pump());
  EXPECT_EQ(job.SuccessCount, 300);
  EXPECT_EQ(job.FailCount, 0);
  for (int i = 0; i < 300; ++i) EXPECT_EQ(lv.Cell(i, 1), RankOf(lines[i])) << i;

  // A new start while the old one runs: no old answer lands in the new rows.
  ServeRanks(20ms);
  Start(Domains(100, "older"), 10, 3);
  PumpFor(50ms);
  const Lines fresh = Domains(30, "new");
  Start(fresh, 5, 0);
  ASSERT_TRUE(Pump());
  ASSERT_EQ(lv.RowCount(), 30);
  for (int i = 0; i < 30; ++i) EXPECT_EQ(lv.Cell(i, 1), RankOf(fresh[i])) << i;
  EXPECT_EQ(job.SuccessCount, 30);
  EXPECT_EQ(job.FailCount, 0);
}

TEST_F(AlexaJobTest, EndingTheGroupWithPausedAndHangingWorkersIsQuick) {
  Serve([](const std::string& d, int) {
    if (d.find('7') != std::string::npos) return HttpReply::Hang();
    return HttpReply::Ok(RankPage(d, "1")).Delay(10s);
  });
  Start(Domains(400), 100, 100, 30000);
  ASSERT_TRUE(http.WaitForRequests(60, 10s));
  // The stop button lets transfers in flight go on; then half the group
  // paused (held before its next request once its transfer ends, which it
  // never does on its own), the rest in flight.
  StopAlexaWorkers(&job);
  for (int k = 0; k < 100; k += 2) job.Threads[k]->Suspend();
  PumpFor(20ms);
  const auto t0 = std::chrono::steady_clock::now();
  EndAlexaWorkers(&job);
  EXPECT_LT(std::chrono::steady_clock::now() - t0, 2s);
  // Aborted transfers are no answers: nothing shown.
  for (int i = 0; i < 400; ++i) ASSERT_EQ(bak.Cell(i, 1), " ") << i;
}

}  // namespace
}  // namespace orlu
