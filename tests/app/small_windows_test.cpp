// The page-source and page-fetch windows against a substitute HTTP server.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "platform/thread/dispatcher.h"
#include "program_windows.h"
#include "support/service_scope.h"

namespace orlu {
namespace {

using namespace std::chrono_literals;
using test::HttpReply;
using Lines = std::vector<std::string>;

class SmallWindowsTest : public testing::ProgramWindowTest {
 protected:
  test::SubstituteHttpServer http;
  test::ScopedServices services{&http};
};

TEST_F(SmallWindowsTest, PageSourceShowsUtf8ConvertedAndAnythingElseAsReceived) {
  test::RefusingPort down;
  services.Map("down.example", down.HostPort());
  http.On("/utf8", HttpReply::Ok("<p>中文</p>\r\nend").Header("Set-Cookie", "s=1; Path=/"));
  http.On("/gbk", HttpReply::Ok(Gbk("<p>中文</p>")));
  http.On("/empty", HttpReply::Ok(""));
  http.On("/gone", HttpReply::Status(404, "<p>missing</p>"));
  TFormSource& w = *FormSource;

  w.ShowSource("http://pages.example/utf8");
  EXPECT_EQ(w.mmoShowSource.Lines(), (Lines{"<p>" + Gbk("中文") + "</p>", "end"}));
  // Enter in the box fetches its trimmed text; the cookie set above goes back.
  w.edtSource.SetText(" http://pages.example/gbk \t");
  char enter = 13;
  w.edtSource.OnKeyPress(enter);
  EXPECT_EQ(w.mmoShowSource.Lines(), Lines{Gbk("<p>中文</p>")});
  EXPECT_EQ(http.LastRequest().target, "/gbk");
  EXPECT_EQ(http.LastRequest().Header("Cookie"), "s=1");

  // Empty and failed fetches: one empty line, no message.
  for (const char* url : {"http://pages.example/empty", "http://pages.example/gone",
                          "http://down.example/", ""}) {
    w.mmoShowSource.SetLines({"old"});
    w.ShowSource(url);
    EXPECT_EQ(w.mmoShowSource.Lines(), Lines{""}) << url;
  }
  EXPECT_TRUE(boxMessages.empty());
  EXPECT_FALSE(w.Visible());
}

TEST_F(SmallWindowsTest, PageSourceKeepsWindowsWorkingAndIgnoresASecondFetchMeanwhile) {
  http.On("/slow", HttpReply::Ok("slow page").Delay(400ms));
  http.On("/other", HttpReply::Ok("other page"));
  TFormSource& w = *FormSource;
  bool ranDuringWait = false;
  PostToWindowThread([&] {
    ranDuringWait = true;
    w.edtSource.SetText("http://pages.example/other");
    w.btnSourceDo.Click();  // ignored: the first fetch still waits
  });
  w.ShowSource("http://pages.example/slow");
  EXPECT_TRUE(ranDuringWait);
  EXPECT_EQ(http.RequestCount(), 1u);
  EXPECT_EQ(w.mmoShowSource.Lines(), Lines{"slow page"});
  EXPECT_FALSE(w.Busy());
}

TEST_F(SmallWindowsTest, PageFetchShowsTheBodyUnconvertedAndErrorsInTheBox) {
  http.On("/utf8", HttpReply::Ok("éé"));
  TFormKWordMi& w = *FormKWordMi;
  w.mmoKWordMi1.SetLines({"old"});
  w.edtKworMiUrl.SetText("  http://pages.example/utf8 ");
  w.btnKWrodMiSearch.Click();
  // The UTF-8 bytes as they came, read as GBK text.
  EXPECT_EQ(w.mmoKWordMi2.Lines(), Lines{"\xC3\xA9\xC3\xA9"});
  EXPECT_EQ(w.mmoKWordMi1.LineCount(), 0);
  EXPECT_TRUE(boxMessages.empty());

  for (const char* url : {"http://pages.example/missing", ""}) {
    w.edtKworMiUrl.SetText(url);
    w.btnKWrodMiSearch.Click();
    EXPECT_EQ(w.mmoKWordMi2.LineCount(), 0) << url;
  }
  ASSERT_EQ(boxMessages.size(), 2u);
  EXPECT_FALSE(boxMessages[0].empty());
}

}  // namespace
}  // namespace orlu
