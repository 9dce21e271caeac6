// The sponsor-link strip of the main window against a substitute tools
// server.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "app/page_layout.h"
#include "app/sponsor_links.h"
#include "program_windows.h"
#include "support/service_scope.h"

namespace orlu {
namespace {

using namespace std::chrono_literals;
using test::HttpReply;
using test::ShellOpened;
using Lines = std::vector<std::string>;

class SponsorBarTest : public testing::ProgramWindowTest {
 protected:
  void SetUp() override {
    ProgramWindowTest::SetUp();
    ResetStrip();
  }
  // The strip as the window makes it, before its first tick.
  void ResetStrip() {
    m.SponsorUrls->Clear();
    m.SponsorTitles->Clear();
    m.SponsorIndex = 0;
    for (Label* link : {&m.lblUrl1, &m.lblUrl2, &m.lblUrl3, &m.lblUrl4}) link->SetCaption("");
    m.tmrUrlBegin.Stop();
    m.tmrChangeUrl.Stop();
    m.tmrChangeUrl.SetInterval(5000);
  }
  void TearDown() override {
    m.tmrUrlBegin.Stop();
    m.tmrChangeUrl.Stop();
    ProgramWindowTest::TearDown();
  }
  Lines Captions() const {
    return {m.lblUrl1.Caption(), m.lblUrl2.Caption(), m.lblUrl3.Caption(), m.lblUrl4.Caption()};
  }

  TFormMain& m = (testing::EnsureProgramWindows(), *FormMain);
  test::SubstituteHttpServer http;
  test::ScopedServices services{&http};
};

const std::string kSponsored = Gbk("赞助链接");

TEST_F(SponsorBarTest, FirstTickFillsTheStripAndTicksRotateIt) {
  http.On("/SpUrl.aspx", HttpReply::Ok("甲|a.cn<br>乙|file:///etc/passwd<br>丙|c.cn<br>"
                                       "丁|d.cn<br>戊|e.cn<br>己|f.cn<br>"));
  // A click and a tick before the list exists do nothing.
  m.tmrChangeUrlTimer();
  m.lblUrl1.Click();
  EXPECT_EQ(m.SponsorIndex, 0);
  EXPECT_TRUE(ShellOpened().empty());

  m.tmrUrlBeginTimer();
  ASSERT_EQ(http.RequestCount(), 1u);
  EXPECT_EQ(http.LastRequest().Host(), "tools.orlu.example");
  EXPECT_FALSE(m.tmrUrlBegin.Enabled());
  EXPECT_TRUE(m.tmrChangeUrl.Enabled());
  EXPECT_EQ(Captions(), GbkLines({"甲", "乙", "丙", "丁"}));
  m.tmrChangeUrlTimer();
  EXPECT_EQ(Captions(), GbkLines({"戊", "己", "甲", "乙"}));
  // Each link opens the address of its caption; a local file is refused.
  m.lblUrl3.Click();
  m.lblUrl4.Click();
  m.ImageAd.Click();
  EXPECT_EQ(ShellOpened(), (Lines{"http://a.cn", kHomePageUrl}));
  m.tmrChangeUrlTimer();
  EXPECT_EQ(Captions(), GbkLines({"丙", "丁", "戊", "己"}));
  EXPECT_TRUE(boxMessages.empty());
}

TEST_F(SponsorBarTest, FailedOrNonUtf8ListKeepsTheBuiltInEntries) {
  for (HttpReply reply : {HttpReply::Status(500, "A|a.cn<br>"), HttpReply::Ok(Gbk("中文") + "|a.cn<br>")}) {
    ResetStrip();
    http.On("/SpUrl.aspx", reply);
    m.tmrUrlBeginTimer();
    EXPECT_EQ(Captions(), (Lines{Gbk("Orlu站长工具主页"), kSponsored, kSponsored, kSponsored}));
    m.tmrChangeUrlTimer();
    EXPECT_EQ(m.SponsorTitles->Count(), 4);
    m.lblUrl2.Click();
  }
  EXPECT_EQ(ShellOpened(), (Lines{kHomePageUrl, kHomePageUrl}));
  EXPECT_TRUE(boxMessages.empty());
}

TEST_F(SponsorBarTest, HoverPausesTheRotationAndLeavingRestartsAFullInterval) {
  http.On("/SpUrl.aspx", HttpReply::Ok("0|u<br>1|u<br>2|u<br>3|u<br>4|u<br>"));
  m.tmrUrlBeginTimer();
  m.tmrChangeUrl.SetInterval(1200);
  ProcessEventsFor(600ms);
  m.lblUrl2.OnMouseEnter();
  EXPECT_EQ(m.lblUrl2.FontColor(), colors::Red);
  EXPECT_FALSE(m.tmrChangeUrl.Enabled());
  m.lblUrl2.OnMouseLeave();
  EXPECT_EQ(m.lblUrl2.FontColor(), colors::Blue);
  // Without the restart the tick would come 600 ms from here.
  ProcessEventsFor(900ms);
  EXPECT_EQ(m.SponsorIndex, 0);
  EXPECT_TRUE(WaitUntil([&] { return m.SponsorIndex == 1; }, 3000ms));
}

TEST_F(SponsorBarTest, ASlowServerIsAskedOnce) {
  http.On("/SpUrl.aspx", HttpReply::Ok("A|a.cn<br>").Delay(800ms));
  m.tmrUrlBegin.SetInterval(50);
  m.tmrUrlBegin.Start();
  EXPECT_TRUE(WaitUntil([&] { return m.tmrChangeUrl.Enabled(); }, 5000ms));
  EXPECT_EQ(http.RequestCount(), 1u);
  EXPECT_EQ(m.lblUrl1.Caption(), "A");
  EXPECT_EQ(m.SponsorTitles->Count(), 4);
  m.tmrUrlBegin.SetInterval(1000);
}

}  // namespace
}  // namespace orlu
