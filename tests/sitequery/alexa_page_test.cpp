// The batch ranking page in the real main window (offscreen), its workers
// asking a substitute data endpoint on loopback.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "alexa_test_util.h"
#include "app/program_windows.h"
#include "pages/stat_show_form.h"
#include "sitequery/alexa_page.h"
#include "support/temp_files.h"

namespace orlu {
namespace {

using namespace std::chrono_literals;
using test::Domains;
using test::RankOf;
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
    for (ListView* list : {&f->lvAlexa, &f->lvAlexaBak}) list->Clear();
    for (Memo* memo : {&f->mmoAlexaDomainList1, &f->mmoAlexaDomainList2}) memo->Clear();
    f->edtAlexaThCount.SetText("10");
    f->chkShowLv.SetChecked(true);
    FormStatShow->Hide();
    ProgramWindowTest::TearDown();
  }

  bool WaitForGroup() {
    const bool ended = WaitUntil([] { return test::GroupEnded(AlexaSea); }, 20s);
    ProcessEventsFor(10ms);
    return ended;
  }
  int StatusRows() { return FormStatShow->lvStatShow.RowCount(); }

  TAlexaPage* f = nullptr;
};

// Rows and status row come up at the start; answers and ticks reach the
// window. (What the job fills and counts is the job's own test.)
TEST_F(AlexaPageTest, WholeBatchFillsTheRowsAndTheStatusWindow) {
  ServeRanks();
  const int before = StatusRows();
  f->mmoAlexaDomainList1.SetLines({"A.com", "b.cn", "c.net"});
  f->btnAlexaSeaPlay.Click();
  ASSERT_EQ(f->lvAlexa.RowCount(), 3);
  EXPECT_EQ(f->lvAlexaBak.RowTexts(2), (Lines{"3", "c.net", " "}));
  ASSERT_EQ(StatusRows(), before + 1);
  EXPECT_EQ(FormStatShow->lvStatShow.SubItem(before, 0), "ALEXA");
  EXPECT_TRUE(FormStatShow->Visible());

  ASSERT_TRUE(WaitForGroup());
  EXPECT_EQ(f->lvAlexa.SubItem(1, 1), RankOf("b.cn"));
  f->AlexaJob.StatusTimer.OnTimer();
  EXPECT_EQ(FormStatShow->lvStatShow.SubItem(before, 2), "3");
  // Its close box hides it; the next start shows it again.
  FormStatShow->Close();
  f->btnAlexaSeaPlay.Click();
  EXPECT_TRUE(FormStatShow->Visible());
  ASSERT_TRUE(WaitForGroup());
}

TEST_F(AlexaPageTest, UntickedShowFillsOnlyTheTwinAndTheExportWritesTheHeaderAlone) {
  ServeRanks();
  f->chkShowLv.SetChecked(false);
  f->mmoAlexaDomainList1.SetLines({"x.com", "y.com"});
  f->btnAlexaSeaPlay.Click();
  ASSERT_TRUE(WaitForGroup());
  EXPECT_EQ(f->lvAlexa.RowCount(), 0);
  EXPECT_EQ(f->lvAlexaBak.SubItem(1, 1), RankOf("y.com"));

  test::TempDir dir;
  dialogAnswer = dir / "export.csv";
  f->btnAlexaPutOut.Click();
  EXPECT_EQ(test::Slurp(*dialogAnswer), "\"ID\",\"" + Gbk("域名") + "\",\"" + Gbk("排名") + "\",\r\n");
}

TEST_F(AlexaPageTest, TooManyThreadsOrABoxWithoutANumberStartsNothing) {
  const int before = StatusRows();
  f->edtAlexaThCount.SetText("101");
  f->mmoAlexaDomainList1.SetLines({"x.com"});
  f->btnAlexaSeaPlay.Click();
  EXPECT_EQ(f->lvAlexaBak.RowCount(), 0);

  f->lvAlexa.AddRow("1", {"old.com", "5"});
  for (Edit* box : {&f->edtAlexaReadTimeOut, &f->edtAlexaThCount, &f->edtReSearchTimes}) {
    const std::string kept = box->Text();
    box->SetText("abc");
    f->btnAlexaSeaPlay.Click();
    box->SetText(kept);
  }
  EXPECT_EQ(boxMessages, Lines(3, Gbk("“abc”不是有效的整数")));
  EXPECT_EQ(f->lvAlexa.RowCount(), 1);
  EXPECT_EQ(StatusRows(), before);
}

// The buttons reach the job. (How the job pauses, stops and restarts is the
// job's own test.)
TEST_F(AlexaPageTest, PauseStopRequeryAndStopTimerButtonsDriveTheJob) {
  ServeRanks(15ms);
  f->edtAlexaThCount.SetText("6");
  f->mmoAlexaDomainList1.SetLines(Domains(60));
  f->btnAlexaSeaPlay.Click();
  ProcessEventsFor(40ms);
  f->btnAlexaSeaPause.Click();
  ASSERT_TRUE(WaitUntil([] { return test::AllHeldOrEnded(AlexaSea); }, 10s));
  f->btnAlexaSeaResume.Click();
  f->btnAlexaSeaStop.Click();
  ASSERT_TRUE(WaitForGroup());
  EXPECT_LT(AlexaSea.SuccessCount, 60);
  f->btnAlexaSeaRePlay.Click();
  ASSERT_TRUE(WaitForGroup());
  EXPECT_EQ(AlexaSea.SuccessCount, 60);
  EXPECT_TRUE(AlexaSea.Timer.Enabled());
  f->btnManualTimer.Click();
  EXPECT_FALSE(f->AlexaJob.StatusTimer.Enabled());
  EXPECT_FALSE(AlexaSea.Timer.Enabled());
}

TEST_F(AlexaPageTest, ImportReplacesTheListAndClearEmptiesBothMemos) {
  test::TempDir dir;
  test::Spit(dir / "list.txt", "one.com\r\nTwo.com\n");
  f->mmoAlexaDomainList1.SetLines({"old.com"});
  f->btnAlexaFileOpen.Click();  // cancelled
  EXPECT_EQ(f->mmoAlexaDomainList1.Lines(), Lines{"old.com"});
  dialogAnswer = dir / "list.txt";
  f->btnAlexaFileOpen.Click();
  EXPECT_EQ(f->mmoAlexaDomainList1.Lines(), (Lines{"one.com", "Two.com"}));
  f->mmoAlexaDomainList2.SetLines({"x"});
  f->btnAlexaClearMmo.Click();
  EXPECT_EQ(f->mmoAlexaDomainList1.LineCount() + f->mmoAlexaDomainList2.LineCount(), 0);
}

}  // namespace
}  // namespace orlu
