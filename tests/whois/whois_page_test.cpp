// The batch WHOIS page in the real main window (offscreen), with the workers
// asking a substitute WHOIS server on loopback.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "app/program_windows.h"
#include "platform/thread/dispatcher.h"
#include "whois/whois_batch.h"
#include "whois/whois_reply.h"
#include "whois_test_util.h"

namespace orlu {
namespace {

using test::WhoisReply;
using test::WhoisRequest;
using Lines = std::vector<std::string>;
using namespace std::chrono_literals;

class WhoisPageTest : public testing::ProgramWindowTest {
 protected:
  void SetUp() override {
    ProgramWindowTest::SetUp();
    f = &FormMain->WhoisPage;
    saved_ = WhoisConfig;
    WhoisConfig.Delays.fill(0);
    FormMain->ShowPage(kPageWhois);
  }
  void TearDown() override {
    f->WhoisJob.Workers.Stop();
    WhoisConfig = saved_;
    f->lvWhois.Clear();
    f->lvWhoisBak.Clear();
    ProgramWindowTest::TearDown();
  }

  // Lets the workers run until every row of the list has a final status.
  bool WaitForRows() {
    return WaitUntil([this] { return !f->WhoisJob.Workers.Running(); }, 20s);
  }

  TWhoisPage* f = nullptr;
  WhoisSettings saved_;
  test::SubstituteWhoisServer server;
  test::ScopedServices scope{nullptr, &server};
  test::TempDir dir;
};

TEST_F(WhoisPageTest, SearchBuildsRowsAndTheWorkersFillThem) {
  server.On("ab.com", WhoisReply::Text("Domain Name: AB.COM\nRegistrar: Reg One\n"));
  f->mmoWhoisDomain.SetText("  Ab.COM \r\n\r\nc.org\r\n\r\n");
  f->btnWhoisSearch.Click();
  ASSERT_TRUE(WaitForRows());
  ASSERT_EQ(f->lvWhois.RowCount(), 3);
  EXPECT_EQ(f->lvWhois.RowTexts(0),
            (Lines{"1", "Ab.COM", WordRegistered(), " ", "reg one", " ", " ", " ", " ", " ", " "}));
  // The hidden twin got the prepared rows, nothing more.
  ASSERT_EQ(f->lvWhoisBak.RowCount(), 3);
  EXPECT_EQ(f->lvWhoisBak.RowTexts(0),
            (Lines{"1", "Ab.COM", " ", " ", " ", " ", " ", " ", " ", " ", " "}));

  // The row display: caption, then a tab before each of the ten cells.
  f->mmoWhoisShow.SetText("old");
  f->lvWhois.SetSelectedIndex(-1);
  f->lvWhois.Click();
  EXPECT_EQ(f->mmoWhoisShow.Lines(), Lines{"old"});
  f->lvWhois.SetSelectedIndex(0);
  f->lvWhois.Click();
  EXPECT_EQ(f->mmoWhoisShow.Lines(),
            Lines{"1\tAb.COM\t" + WordRegistered() + "\t \treg one\t \t \t \t \t \t "});
}

TEST_F(WhoisPageTest, ReSearchAsksTheFailedRowsOfTheStartAndNothingWhileRunning) {
  // bad.com: the server closes without a word (a failure).
  server.On("ok.com", WhoisReply::Text("Domain Name: OK.COM\n"));
  f->mmoWhoisDomain.SetLines({"ok.com", "bad.com"});
  f->btnWhoisSearch.Click();
  ASSERT_TRUE(WaitForRows());
  ASSERT_EQ(f->lvWhois.SubItem(1, 1), WordFailed());
  // The memo is replaced (as the suffix expansion does) before the re-query:
  // row 1 still holds bad.com, and only bad.com is asked again.
  f->mmoWhoisDomain.SetLines({"new0.com", "new1.com", "new2.com"});
  server.ClearRequests();
  f->btnWhoisReSearch.Click();
  ASSERT_TRUE(WaitForRows());
  EXPECT_EQ(server.Queries(), Lines(5, "bad.com"));
  EXPECT_EQ(f->lvWhois.RowCount(), 2);

  // While a batch runs, "失败重查" starts nothing.
  WhoisConfig.Delays[kGroupCom] = 60000;
  server.ClearRequests();
  f->btnWhoisReSearch.Click();
  ASSERT_TRUE(server.WaitForRequests(1, 5s));
  f->btnWhoisReSearch.Click();
  EXPECT_EQ(f->WhoisJob.Workers.WorkerCount(), 24);
  ProcessEventsFor(100ms);
  EXPECT_EQ(server.RequestCount(), 1u);
}

TEST_F(WhoisPageTest, SearchPressedAgainWhileTheFirstPressStopsTheWorkers) {
  // The com workers answer and then wait in their row writes (nothing serves
  // the window thread's queue): the first press serves it while it stops
  // them, and a second press queued meanwhile comes in then.
  WhoisConfig.Delays[kGroupCom] = 60000;
  server.AddResponder([](const WhoisRequest& r) -> std::optional<WhoisReply> {
    return WhoisReply::Text("Domain Name: " + r.query + "\n");
  });
  f->mmoWhoisDomain.SetLines({"one.com", "two.com"});
  f->btnWhoisSearch.Click();
  ASSERT_TRUE(server.WaitForRequests(2, 5s));
  std::this_thread::sleep_for(200ms);
  bool pressedWhileStarting = false;
  PostToWindowThread([&] {
    pressedWhileStarting = f->WhoisJob.Starting;
    f->btnWhoisSearch.Click();
  });
  server.ClearRequests();
  f->btnWhoisSearch.Click();
  ASSERT_TRUE(pressedWhileStarting);
  // One start: 24 workers, each row asked once and answered.
  EXPECT_EQ(f->WhoisJob.Workers.WorkerCount(), 24);
  const std::string both = WordRegistered() + WordRegistered();
  ASSERT_TRUE(WaitUntil([&] { return f->lvWhois.SubItem(0, 1) + f->lvWhois.SubItem(1, 1) == both; },
                        5s));
  ProcessEventsFor(50ms);
  Lines asked = server.Queries();
  std::sort(asked.begin(), asked.end());
  EXPECT_EQ(asked, (Lines{"one.com", "two.com"}));
}

TEST_F(WhoisPageTest, PopupActionsNeedRowsASelectionAndTheFocus) {
  // "单域名Whois" shows the window without a question.
  ASSERT_NE(FormWhoisInfo, nullptr);
  FormWhoisInfo->Hide();
  f->btnSingleWhois.Click();
  EXPECT_TRUE(FormWhoisInfo->Visible());
  EXPECT_TRUE(modalForms.empty());
  FormWhoisInfo->Hide();

  // Shown and made the active window, so its list can take the focus. Rows,
  // but no selection; then a selection, but the focus elsewhere.
  FormMain->Restore();
  ProcessEventsFor(50ms);
  f->mmoWhoisDomain.SetLines({"Pop.COM"});
  f->FillWhoisRows();
  f->lvWhois.SetSelectedIndex(-1);
  f->lvWhois.SetFocus();
  f->pmWhois.Item(0).Click();
  EXPECT_TRUE(modalForms.empty());
  f->lvWhois.SetSelectedIndex(0);
  f->edtWhoisGet.SetFocus();
  ProcessEventsFor(20ms);
  f->pmWhois.Item(1).Click();
  EXPECT_TRUE(modalForms.empty());

  f->lvWhois.SetFocus();
  ProcessEventsFor(20ms);
  if (!f->lvWhois.Focused()) GTEST_SKIP() << "no keyboard focus on this platform";
  // The domain as shown goes into the window, which asks it before it opens.
  f->actWhoisBaseInfo.Execute();
  EXPECT_EQ(modalForms, std::vector<Form*>{FormWhoisInfo});
  EXPECT_EQ(FormWhoisInfo->edtWhois.Text(), "Pop.COM");
  EXPECT_EQ(server.RequestCount(), 1u);

  f->lvWhois.SetFocus();
  ProcessEventsFor(20ms);
  f->pmWhois.Item(1).Click();
  EXPECT_EQ(modalForms.size(), 2u);
  EXPECT_EQ(server.RequestCount(), 2u);
}

TEST_F(WhoisPageTest, ImportReplacesTheListAndExportWritesTheResultList) {
  // A name GBK cannot hold (결과.txt) is used as chosen.
  const std::string path = dir / "\xEA\xB2\xB0\xEA\xB3\xBC.txt";
  test::Spit(path, Gbk("x.com\r\n中国.cn\n"));
  f->mmoWhoisDomain.SetLines({"old.com"});
  dialogAnswer = path;
  f->btnWhoisGet.Click();
  EXPECT_EQ(dialogRequests.at(0).kind, FileDialogKind::Open);
  EXPECT_EQ(f->edtWhoisGet.FileName(), path);
  EXPECT_EQ(f->mmoWhoisDomain.Lines(), (Lines{"x.com", Gbk("中国.cn")}));
  EXPECT_EQ(f->lvWhois.RowCount(), 0);  // no rows until "查询"

  server.On("x.com", WhoisReply::Text("No match for \"X.COM\".\n"));
  f->mmoWhoisDomain.SetLines({"x.com"});
  f->btnWhoisSearch.Click();
  ASSERT_TRUE(WaitForRows());
  dialogAnswer = dir / "out.csv";
  f->btnWhoisExc.Click();
  EXPECT_EQ(dialogRequests.back().kind, FileDialogKind::Save);
  // The shown list, not its twin (the header is the export's own test).
  EXPECT_NE(test::Slurp(*dialogAnswer).find("\r\n\"1\",\"x.com\",\"" + WordUnregistered() + "\""),
            std::string::npos);
  // The whole file byte for byte: the list's own header, then the row's caption and ten cells.
  EXPECT_EQ(test::Slurp(*dialogAnswer),
            Gbk("\"ID\",\"域名\",\"域名状态\",\"注册单位\",\"注册商\",\"注册日期\",\"过期日期\","
                "\"EMail\",\"域名状态\",\"联系人\",\"DNS\",\r\n"
                "\"1\",\"x.com\",\"未注册\",\" \",\" \",\" \",\" \",\" \",\" \",\" \",\" \",\r\n"));
}

}  // namespace
}  // namespace orlu
