// The site-information page in the real main window (offscreen), its
// workers asking substitute services on loopback.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "app/program_windows.h"
#include "pages/stat_show_form.h"
#include "site_info_test_util.h"
#include "sitequery/site_info_page.h"

namespace orlu {
namespace {

using namespace std::chrono_literals;
using test::GoodText;
using Lines = std::vector<std::string>;

class SiteInfoPageTest : public testing::ProgramWindowTest, protected test::SiteServer {
 protected:
  void SetUp() override {
    ProgramWindowTest::SetUp();
    ASSERT_NE(FormStatShow, nullptr);
    f = &FormMain->SiteInfoPage;
    FormMain->ShowPage(kPageSiteInfo);
    keyWords = f->mmoSiteInfoKeword.Lines();
  }
  void TearDown() override {
    EndSiteInfoWorkers(&SiteInfo);
    for (SiteInfoCell* cell : SiteInfo.Cells()) cell->Timer.SetEnabled(false);
    for (ListView* list : {&f->lvSiteInfo, &f->lvSiteInfoBak}) list->Clear();
    f->mmoSiteInfoDomainList1.Clear();
    f->mmoSiteInfoKeword.SetLines(keyWords);
    f->edtSiteInfoThCount.SetText("2");
    f->UncheckAllSiteInfoColumns();
    f->chkPr.SetChecked(true);
    FormStatShow->Hide();
    ProgramWindowTest::TearDown();
  }
  bool WaitForGroups() {
    const bool ended = WaitUntil([] { return test::AllEnded(SiteInfo); }, 20s);
    ProcessEventsFor(10ms);
    return ended;
  }
  int StatusRows() { return FormStatShow->lvStatShow.RowCount(); }

  TSiteInfoPage* f = nullptr;
  Lines keyWords;
};

// Without a settings file the keyword memo holds its own list, each line
// byte for byte in GBK; the blank after "外文导航" belongs to the line.
TEST_F(SiteInfoPageTest, TheKeywordMemoStartsWithItsDefaultList) {
  Lines expected;
  for (const char* word : {"六月", "淫", "好色", "色情", "三级", "女体", "诱惑", "激情", "妹妹", "电影",
                           "银行", "金融", "风投", "牙科", "牙医", "健康", "积分换礼", "网络答题", "积分",
                           "外文导航 ", "英文导航", "英语导航", "英语"}) {
    expected.push_back(Gbk(word));
  }
  EXPECT_EQ(keyWords, expected);
  ASSERT_EQ(keyWords.size(), 23u);
  EXPECT_EQ(keyWords[19], "\xCD\xE2\xCE\xC4\xB5\xBC\xBA\xBD ");
}

// The boxes ticked and the keywords reach the job; ticks and the buttons
// reach the window. (What each column gets is the job's own test.)
TEST_F(SiteInfoPageTest, ABatchFillsTheTickedColumnsAndTheStatusWindow) {
  ServeGood();
  const int before = StatusRows();
  f->CheckAllSiteInfoColumns();
  f->mmoSiteInfoKeword.SetLines(test::kKeyWords);
  f->mmoSiteInfoDomainList1.SetLines({" A.com", "b.cn"});
  f->btnSiteInfoPlay.Click();
  EXPECT_EQ(f->lvSiteInfoBak.RowTexts(0), (Lines{"1", "a.com", " ", " ", " ", " ", " ", " ", " ", " "}));
  ASSERT_EQ(StatusRows(), before + 7);
  ASSERT_TRUE(WaitForGroups());
  for (int kind : test::kAllKinds) EXPECT_EQ(f->lvSiteInfo.SubItem(1, kind + 1), GoodText(kind, "b.cn")) << kind;
  EXPECT_EQ(f->lvSiteInfoBak.RowTexts(1), f->lvSiteInfo.RowTexts(1));
  // A page timer ticks its cell; the stop-timer button reaches the first
  // three cells only.
  f->SiteInfoJob.StatusTimers[3].OnTimer();
  EXPECT_EQ(FormStatShow->lvStatShow.SubItem(before + 3, 2), "2");
  f->btnInfoSiteStopTime.Click();
  for (int k = 0; k < 7; ++k) EXPECT_EQ(f->SiteInfoJob.StatusTimers[k].Enabled(), k >= 4) << k;

  // Clear empties the memo and the visible list only.
  f->btnSiteInfoClearMmo.Click();
  EXPECT_EQ(f->mmoSiteInfoDomainList1.LineCount(), 0);
  EXPECT_EQ(f->lvSiteInfo.RowCount(), 0);
  EXPECT_EQ(f->lvSiteInfoBak.RowCount(), 2);
}

TEST_F(SiteInfoPageTest, ALinkAloneStartsNothingAndReQueryAsksTheBoxesTickedNow) {
  ServeGood();
  f->UncheckAllSiteInfoColumns();
  f->chkAlink.SetChecked(true);
  f->mmoSiteInfoDomainList1.SetLines({"a.com", "c.com"});
  f->btnSiteInfoPlay.Click();
  ASSERT_TRUE(WaitForGroups());
  EXPECT_EQ(http.RequestCount(), 0u);
  f->chkBsite.SetChecked(true);
  f->btnSiteInfoRePlay.Click();
  ASSERT_TRUE(WaitForGroups());
  EXPECT_EQ(http.RequestCount(), 2u);
  EXPECT_EQ(f->lvSiteInfo.SubItem(1, 7), GoodText(6, "c.com"));
}

TEST_F(SiteInfoPageTest, TooManyThreadsOrABoxWithoutANumberStartsNothing) {
  const int before = StatusRows();
  f->edtSiteInfoThCount.SetText("101");
  f->mmoSiteInfoDomainList1.SetLines({"x.com"});
  f->btnSiteInfoPlay.Click();
  EXPECT_EQ(f->lvSiteInfoBak.RowCount(), 0);

  f->lvSiteInfo.AddRow("1", Lines(9, " "));
  for (Edit* box : {&f->edtSiteInfoTimeOut, &f->edtSiteInfoThCount, &f->edtSiteInfoRearchTimes}) {
    const std::string kept = box->Text();
    box->SetText("x1");
    f->btnSiteInfoPlay.Click();
    box->SetText(kept);
  }
  EXPECT_EQ(boxMessages, Lines(3, Gbk("“x1”不是有效的整数")));
  EXPECT_EQ(f->lvSiteInfo.RowCount(), 1);
  EXPECT_EQ(StatusRows(), before);
}

}  // namespace
}  // namespace orlu
