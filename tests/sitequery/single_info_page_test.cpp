// The single-site report page in the real main window (offscreen): the
// timer's copy of the store, the text report, the domain box's Enter.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "app/program_windows.h"
#include "sitequery/single_info_page.h"
#include "support/service_scope.h"
#include "substitute-services/servers/substitute_http.h"

namespace orlu {
namespace {

using namespace std::chrono_literals;
using test::HttpRequest;
using Lines = std::vector<std::string>;

class ShouluPageTest : public testing::ProgramWindowTest {
 protected:
  void SetUp() override {
    ProgramWindowTest::SetUp();
    p = &FormMain->ShouluPage;
    FormMain->ShowPage(kPageShoulu);
  }
  void TearDown() override {
    p->ShouluJob.End();
    p->tmrSingleInfo.Stop();
    ProgramWindowTest::TearDown();
  }
  // Slot k holds `prefix` and k ("" alone for an empty prefix).
  static void Fill(const std::string& prefix) {
    const unsigned g = SingleInfoResults.Generation();
    for (int k = 0; k < kSingleInfoSlots; ++k)
      SingleInfoResults.Publish(k, prefix.empty() ? "" : prefix + std::to_string(k), g);
  }

  TShouluPage* p = nullptr;
};

TEST_F(ShouluPageTest, TimerCopiesTheSlotsIntoLabelsAndGrid) {
  Fill("v");
  p->tmrSingleInfo.OnTimer();
  const std::vector<Label*> labels = {
      &p->lblShouluPr,   &p->lblSholuSr,    &p->lblShouluAlexa, &p->lblChinaRank, &p->lblShouluTime,
      &p->lblShouluBailink, &p->lblBaidu1tian, &p->lblBaidu1Zhou, &p->lblBaidu1Yue, &p->lblBaidu1Nian};
  for (int k = 0; k < 10; ++k) EXPECT_EQ(labels[k]->Caption(), "v" + std::to_string(k));
  EXPECT_EQ(p->lvShoulu.RowTexts(0), (Lines{Gbk("收录情况"), "v10", "v11", "v13", "v15", "v19"}));
  EXPECT_EQ(p->lvShoulu.RowTexts(1), (Lines{Gbk("反向链接"), "v5", "v12", "v14", "v16", "v20"}));
}

TEST_F(ShouluPageTest, TextReportLinesByteForByte) {
  // The box's text as typed.
  Fill("s");
  p->edtShouluDomain.SetText(" http://a.com");
  p->btn12.Click();
  EXPECT_EQ(p->mmoSingleDomainShow.Lines(),
            (Lines{" http://a.com",
                   Gbk("Google PR:s0 Sogou Rank:s1 Alexa Rank:s2 China Rank:s3 快照时间：s4 百度链接数：s5"),
                   Gbk(" 百度一天收录：s6 百度一周收录：s7 百度一月收录：s8 百度一年收录：s9"),
                   Gbk(" BSite：s10 GSite：s11 YSite：s13 YouDaoSite：s15 SosoSite：s19"),
                   Gbk(" BLink：s5 GLink：s12 YLink：s14 YouDaoLink：s16 SosoLink：s20")}));
}

// Enter in the box starts a report for its text with every "http://" gone,
// the rest as typed; any other key does nothing.
TEST_F(ShouluPageTest, EnterStartsAReportForTheBoxWithoutHttp) {
  test::SubstituteHttpServer http;
  test::ScopedServices services(&http);
  p->edtShouluDomain.SetText("http://a b.comhttp://HTTP://x");
  char key = 'a';
  p->edtShouluDomain.OnKeyPress(key);
  ProcessEventsFor(50ms);
  EXPECT_EQ(http.RequestCount(), 0u);
  key = 13;
  p->edtShouluDomain.OnKeyPress(key);
  EXPECT_TRUE(p->tmrSingleInfo.Enabled());
  ASSERT_TRUE(http.WaitForRequests(57, 10s));  // every kind fails three times
  bool asked = false;
  for (const HttpRequest& r : http.Requests()) asked |= r.target == "/s?wd=site%3Aa%20b.comHTTP://x&ct=0";
  EXPECT_TRUE(asked);
  p->ShouluJob.End();  // before the services go
}

}  // namespace
}  // namespace orlu
