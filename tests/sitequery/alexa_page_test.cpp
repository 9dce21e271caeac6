// The batch ranking page in the real main window (offscreen), its workers
// asking a substitute data endpoint on loopback.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "alexa_test_util.h"
#include "app/program_windows.h"
#include "app/stat_show_form.h"
#include "sitequery/alexa_page.h"
#include "support/temp_files.h"

namespace orlu {
namespace {

using namespace std::chrono_literals;
using test::Domains;
using test::HttpReply;
using test::RankOf;
using test::RankPage;
using Lines = std::vector<std::string>;

class AlexaPageTest : public testing::ProgramWindowTest, protected test::RankServer {
 protected:
  void SetUp() override {
    ProgramWindowTest::SetUp();
    ASSERT_NE(FormStatShow, nullptr);
    f = &FormMain->AlexaPage;
    FormMain->ShowPage(kPageAlexa);
  }
  void TearDown() override {
    EndAlexaWorkers(&AlexaSea);
    AlexaSea.Timer.SetEnabled(false);
    f->lvAlexa.Clear();
    f->lvAlexaBak.Clear();
    f->mmoAlexaDomainList1.Clear();
    f->mmoAlexaDomainList2.Clear();
    f->edtAlexaReadTimeOut.SetText("5");
    f->edtAlexaThCount.SetText("10");
    f->edtReSearchTimes.SetText("100");
    f->chkShowLv.SetChecked(true);
    FormStatShow->Hide();
    ProgramWindowTest::TearDown();
  }

  bool WaitForGroup(std::chrono::milliseconds limit = 20s) {
    const bool ended = WaitUntil([] { return test::GroupEnded(AlexaSea); }, limit);
    ProcessEventsFor(10ms);
    return ended;
  }
  void Tick() { f->AlexaJob.StatusTimer.OnTimer(); }
  Lines StatusRow(int row) { return FormStatShow->lvStatShow.RowTexts(row); }
  int StatusRows() { return FormStatShow->lvStatShow.RowCount(); }

  TAlexaPage* f = nullptr;
};

TEST_F(AlexaPageTest, WholeBatchFillsTheRowsAndTheStatusRowFollowsTheTicks) {
  Serve([](const std::string& d, int n) {
    if (d == "b.cn" && n == 1) return HttpReply::Ok("Please click here to continue using Alexa");
    return HttpReply::Ok(RankPage(d, RankOf(d)));
  });
  const int before = StatusRows();
  f->mmoAlexaDomainList1.SetLines({"A.com", "b.cn", "c.net"});
  f->btnAlexaSeaPlay.Click();

  // Rows and status row are there at once.
  ASSERT_EQ(f->lvAlexa.RowCount(), 3);
  EXPECT_EQ(f->lvAlexa.RowTexts(0), (Lines{"1", "a.com", " "}));
  EXPECT_EQ(f->lvAlexaBak.RowTexts(2), (Lines{"3", "c.net", " "}));
  ASSERT_EQ(StatusRows(), before + 1);
  EXPECT_EQ(StatusRow(before),
            (Lines{std::to_string(before + 1), "ALEXA", "3", "0", "0", Gbk("定时器启动")}));
  EXPECT_TRUE(f->btnAlexaSeaRePlay.Enabled());
  EXPECT_TRUE(f->AlexaJob.StatusTimer.Enabled());
  // The status window came up docked under the main window, or as far up as
  // the screen's end makes it.
  EXPECT_TRUE(FormStatShow->Visible());
  const Rect status = FormStatShow->FrameBounds();
  EXPECT_TRUE(status.top == FormMain->FrameBounds().bottom ||
              status.bottom == FormMain->WorkArea().bottom);

  ASSERT_TRUE(WaitForGroup());
  EXPECT_EQ(f->lvAlexa.SubItem(0, 1), RankOf("a.com"));
  EXPECT_EQ(f->lvAlexa.SubItem(1, 1), RankOf("b.cn"));
  EXPECT_EQ(f->lvAlexaBak.SubItem(1, 1), RankOf("b.cn"));
  // The page's timer ticks the job.
  Tick();
  EXPECT_EQ(StatusRow(before)[4], "1");
  EXPECT_FALSE(f->AlexaJob.StatusTimer.Enabled());
  // Its close box hides it; the next start shows it again.
  FormStatShow->Close();
  EXPECT_FALSE(FormStatShow->Visible());
  f->btnAlexaSeaPlay.Click();
  EXPECT_TRUE(FormStatShow->Visible());
  ASSERT_TRUE(WaitForGroup());

  // A row picked in the list goes to the status window's memo.
  FormStatShow->mmoStatShow.Clear();
  f->lvAlexa.SetSelectedIndex(2);
  f->lvAlexa.Click();
  EXPECT_EQ(FormStatShow->mmoStatShow.Lines(),
            Lines{"ID: 3  " + Gbk("域名") + ": c.net  " + Gbk("排名") + ": " + RankOf("c.net") + "  "});
}

TEST_F(AlexaPageTest, StopTimerButtonSwitchesTheStatusTimerOff) {
  Serve([](const std::string&, int) { return HttpReply::Ok("junk"); });
  f->edtReSearchTimes.SetText("0");
  f->mmoAlexaDomainList1.SetLines({"a.com"});
  f->btnAlexaSeaPlay.Click();
  ASSERT_TRUE(WaitForGroup());
  Tick();
  EXPECT_TRUE(f->AlexaJob.StatusTimer.Enabled());
  f->btnManualTimer.Click();
  EXPECT_FALSE(f->AlexaJob.StatusTimer.Enabled());
  EXPECT_FALSE(AlexaSea.Timer.Enabled());
}

TEST_F(AlexaPageTest, UntickedShowFillsOnlyTheTwinAndTheExportWritesTheHeaderAlone) {
  ServeRanks();
  f->chkShowLv.SetChecked(false);
  f->mmoAlexaDomainList1.SetLines({"x.com", "y.com"});
  f->btnAlexaSeaPlay.Click();
  ASSERT_TRUE(WaitForGroup());
  EXPECT_EQ(f->lvAlexa.RowCount(), 0);
  ASSERT_EQ(f->lvAlexaBak.RowCount(), 2);
  EXPECT_EQ(f->lvAlexaBak.SubItem(1, 1), RankOf("y.com"));
  EXPECT_EQ(AlexaSea.SuccessCount, 2);

  test::TempDir dir;
  dialogAnswer = dir / "export.csv";
  f->btnAlexaPutOut.Click();
  ASSERT_EQ(dialogRequests.size(), 1u);
  EXPECT_EQ(test::Slurp(*dialogAnswer), "\"ID\",\"" + Gbk("域名") + "\",\"" + Gbk("排名") + "\",\r\n");
}

TEST_F(AlexaPageTest, TooManyThreadsOrABoxWithoutANumberStartsNothing) {
  ServeRanks();
  // Over a hundred threads: both lists cleared, nothing else.
  const int before = StatusRows();
  const Lines domainsBefore = AlexaSea.Domains;
  f->edtAlexaThCount.SetText("101");
  f->mmoAlexaDomainList1.SetLines({"x.com"});
  f->btnAlexaSeaPlay.Click();
  ProcessEventsFor(50ms);
  EXPECT_EQ(f->lvAlexa.RowCount(), 0);
  EXPECT_EQ(f->lvAlexaBak.RowCount(), 0);
  EXPECT_EQ(StatusRows(), before);
  EXPECT_EQ(AlexaSea.Domains, domainsBefore);
  EXPECT_EQ(http.RequestCount(), 0u);
  EXPECT_TRUE(boxMessages.empty());

  // A box holding no number: the conversion error, nothing changed.
  f->edtAlexaThCount.SetText("10");
  f->lvAlexa.AddRow("1", {"old.com", "5"});
  for (Edit* box : {&f->edtAlexaReadTimeOut, &f->edtAlexaThCount, &f->edtReSearchTimes}) {
    const std::string kept = box->Text();
    box->SetText("abc");
    f->btnAlexaSeaPlay.Click();
    box->SetText(kept);
  }
  EXPECT_EQ(boxMessages, Lines(3, "'abc' is not a valid integer value"));
  EXPECT_EQ(f->lvAlexa.RowCount(), 1);
  EXPECT_EQ(StatusRows(), before);
}

// The buttons reach the job: pause holds every worker, stop ends the group
// and re-query asks what is left. (How the job pauses, stops and restarts is
// the job's own test.)
TEST_F(AlexaPageTest, PauseStopAndRequeryButtonsDriveTheJob) {
  ServeRanks(15ms);
  const Lines lines = Domains(60);
  f->edtAlexaThCount.SetText("6");
  f->mmoAlexaDomainList1.SetLines(lines);
  f->btnAlexaSeaPlay.Click();
  ProcessEventsFor(40ms);
  f->btnAlexaSeaPause.Click();
  ASSERT_TRUE(WaitUntil([] { return test::AllHeldOrEnded(AlexaSea); }, 10s));
  const size_t held = http.RequestCount();
  ProcessEventsFor(60ms);
  EXPECT_EQ(http.RequestCount(), held);
  f->btnAlexaSeaResume.Click();
  f->btnAlexaSeaStop.Click();
  ASSERT_TRUE(WaitForGroup());
  f->btnAlexaSeaRePlay.Click();
  ASSERT_TRUE(WaitForGroup());
  EXPECT_EQ(AlexaSea.SuccessCount, 60);
  for (int i = 0; i < 60; ++i) ASSERT_EQ(f->lvAlexa.SubItem(i, 1), RankOf(lines[i])) << i;
  EXPECT_TRUE(boxMessages.empty());
}

TEST_F(AlexaPageTest, ImportReplacesTheListAndClearEmptiesBothMemos) {
  test::TempDir dir;
  const std::string file = dir / "list.txt";
  test::Spit(file, "one.com\r\nTwo.com\n");
  f->mmoAlexaDomainList1.SetLines({"old.com"});
  f->btnAlexaFileOpen.Click();  // cancelled
  EXPECT_EQ(f->mmoAlexaDomainList1.Lines(), Lines{"old.com"});
  dialogAnswer = file;
  f->btnAlexaFileOpen.Click();
  EXPECT_EQ(f->mmoAlexaDomainList1.Lines(), (Lines{"one.com", "Two.com"}));

  f->mmoAlexaDomainList2.SetLines({"x"});
  f->btnAlexaClearMmo.Click();
  EXPECT_TRUE(f->mmoAlexaDomainList1.Lines().empty());
  EXPECT_TRUE(f->mmoAlexaDomainList2.Lines().empty());
}

}  // namespace
}  // namespace orlu
