// The single-domain WHOIS window under the offscreen platform, against
// substitute WHOIS servers on loopback.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <vector>

#include "whois/whois_info_form.h"
#include "platform/text/gbk.h"
#include "platform/thread/dispatcher.h"
#include "platform/ui/application.h"
#include "whois_test_util.h"

namespace orlu {
namespace {

using namespace std::chrono_literals;
using test::WhoisReply;
using Servers = test::WhoisHosts;

TEST(WhoisInfoForm, ButtonAndEnterAskTheTrimmedBox) {
  Servers s;
  s.com.On("google.com", WhoisReply::Text("Domain Name: GOOGLE.COM\r\n"
                                          "Registrar WHOIS Server: whois.markmonitor.com\r\n"));
  s.referred.On("google.com", WhoisReply::Text("Registrant Organization: Google LLC\r\n"));
  TFormWhoisInfo w;
  w.m_thWhois.Client.ConnectTimeout = w.m_thWhois.Client.ReadTimeout = 2000;
  w.edtWhois.SetText("  Google.COM \t");
  w.btnBaseInfo.Click();
  EXPECT_EQ(s.com.LastRequest().raw, "google.com\r\n");
  EXPECT_EQ(s.referred.RequestCount(), 0u);
  EXPECT_EQ(w.mmoWhoisInfo.Lines().at(2), "Domain Name: GOOGLE.COM");
  EXPECT_FALSE(w.Visible());  // a query neither shows nor hides the window
  char key = 13;
  w.edtWhois.OnKeyPress(key);  // Enter: the detailed query
  EXPECT_EQ(key, 13);          // passed on unchanged
  EXPECT_EQ(s.referred.RequestCount(), 1u);
  EXPECT_EQ(w.mmoWhoisInfo.Lines().at(2), "Registrant Organization: Google LLC");
  char other = 'a';
  w.edtWhois.OnKeyPress(other);
  EXPECT_EQ(s.com.RequestCount(), 2u);
}

// The program ends (its main window closed) while the window waits for a
// server that never answers: the question is given up at once instead of
// holding the end of the program for the server's time-out. Run in a
// process of its own, since the application stays ended.
TEST(WhoisInfoFormDeathTest, EndOfTheProgramGivesUpAWaitingQuestion) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        Servers s;
        s.com.On("hang.com", WhoisReply::Hang());
        TFormWhoisInfo w;  // the window's own time-outs
        w.edtWhois.SetText("hang.com");
        PostToWindowThread([] { Application::Instance()->Terminate(); });
        const auto start = std::chrono::steady_clock::now();
        w.btnBaseInfo.Click();
        const bool quick = std::chrono::steady_clock::now() - start < 5s;
        const bool failed =
            w.mmoWhoisInfo.Lines() == std::vector<std::string>{"hang.com" + Gbk("域名查询失败")};
        std::_Exit(quick && failed ? 0 : 1);
      },
      ::testing::ExitedWithCode(0), "");
}

}  // namespace
}  // namespace orlu
