// Chart pictures fetched from a substitute server.
#include <gtest/gtest.h>

#include "picture_samples.h"
#include "platform/ui/chart_view.h"
#include "platform/ui/form.h"
#include "support/service_scope.h"
#include "substitute-services/servers/substitute_http.h"
#include "support/window_test.h"

namespace orlu {
namespace {

using std::chrono::milliseconds;
using test::HttpReply;

std::string Chart(int width, int height) {
  return test::MakeGif(width, height, {{255, 255, 255}, {0, 0, 200}},
                       {test::SolidFrame(width, height, 1, 0)}, -1);
}

TEST(ChartView, ShowsThePictureAtAnAddress) {
  test::SubstituteHttpServer http;
  test::ScopedServices services(&http);
  http.OnPrefix("/graph", HttpReply::Ok(Chart(70, 28), "image/gif"));
  http.On("/missing", HttpReply::Status(404));
  http.On("/text", HttpReply::Ok("<html>no picture</html>"));
  // A picture with trailing bytes, over the reply cap.
  http.On("/long", HttpReply::Ok(Chart(70, 28) + std::string(1 << 20, ' '), "image/gif"));
  Form form;
  ChartView chart(form);
  std::vector<bool> done;
  chart.OnDocumentComplete = [&](bool shown) { done.push_back(shown); };

  chart.Navigate("http://charts.example.com/graph?w=700&h=280&r=6m&y=t&u=a.com");
  EXPECT_TRUE(chart.Busy());
  ASSERT_TRUE(WaitUntil([&] { return !done.empty(); }, milliseconds(5000)));
  EXPECT_EQ(done, std::vector<bool>{true});
  EXPECT_FALSE(chart.Busy());
  EXPECT_EQ(std::pair(chart.PictureWidth(), chart.PictureHeight()), std::pair(70, 28));
  ASSERT_EQ(http.Requests().size(), 1u);
  EXPECT_EQ(http.Requests()[0].target, "/graph?w=700&h=280&r=6m&y=t&u=a.com");
  EXPECT_EQ(http.Requests()[0].Host(), "charts.example.com");
  for (const std::string refused : {"/missing", "/text", "/long"}) {
    done.clear();
    chart.Navigate("http://charts.example.com" + refused);
    ASSERT_TRUE(WaitUntil([&] { return !done.empty(); }, milliseconds(5000)));
    EXPECT_EQ(done, std::vector<bool>{false}) << refused;
  }
  EXPECT_EQ(chart.FrameCount(), 0);

  // A new address abandons the fetch before it.
  http.On("/slow", HttpReply::Ok(Chart(10, 10), "image/gif").Delay(milliseconds(300)));
  http.On("/fast", HttpReply::Ok(Chart(20, 5), "image/gif"));
  chart.Navigate("http://c.example.com/slow");
  chart.Navigate("http://c.example.com/fast");
  done.clear();
  ASSERT_TRUE(WaitUntil([&] { return !done.empty(); }, milliseconds(5000)));
  ProcessEventsFor(milliseconds(400));
  EXPECT_EQ(done, std::vector<bool>{true});
  EXPECT_EQ(chart.PictureWidth(), 20);
  EXPECT_EQ(chart.Address(), "http://c.example.com/fast");
}

TEST(ChartView, GoingAwayDuringAHangingFetchIsPrompt) {
  test::SubstituteHttpServer http;
  test::ScopedServices services(&http);
  http.On("/hang", HttpReply::Hang());
  const auto start = std::chrono::steady_clock::now();
  {
    Form form;
    ChartView chart(form);
    chart.Navigate("http://c.example.com/hang");
    ProcessEventsFor(milliseconds(50));
  }
  EXPECT_LT(std::chrono::steady_clock::now() - start, milliseconds(3000));
  ProcessEventsFor(milliseconds(20));  // a late hand-over finds no view
}

}  // namespace
}  // namespace orlu
