// The ranking detail page in the real main window (offscreen), its workers
// and charts asking substitute services on loopback.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <set>
#include <string>
#include <vector>

#include "alexa_detail_fixture.h"
#include "app/program_windows.h"
#include "sitequery/alexa_placeholder_jpeg.h"
#include "support/service_scope.h"
#include "substitute-services/servers/substitute_http.h"

namespace orlu {
namespace {

using namespace std::chrono_literals;
using test::HttpReply;
using test::HttpRequest;
using Lines = std::vector<std::string>;

class AlexaDetailPageTest : public testing::ProgramWindowTest {
 protected:
  void SetUp() override {
    ProgramWindowTest::SetUp();
    f = &FormMain->AlexaDetailPage;
    FormMain->ShowPage(kPageAlexaDetail);
    const std::string jpeg(reinterpret_cast<const char*>(kAlexaPlaceholderJpeg),
                           kAlexaPlaceholderJpegSize);
    http.OnHost("traffic.alexa.com", "/graph", HttpReply::Ok(jpeg, "image/jpeg"));
  }
  void TearDown() override {
    f->Job().EndAll();
    f->btnAlexaDetailOn.SetEnabled(true);
    f->btnAlexaDetailOn.SetCaption(Gbk("查询"));
    ProgramWindowTest::TearDown();
  }
  bool Finish() {
    return WaitUntil([this] {
      return !f->Job().Running() && std::ranges::none_of(f->Charts, &ChartView::Busy);
    }, 15s);
  }

  TAlexaDetailPage* f = nullptr;
  test::SubstituteHttpServer http;
  test::ScopedServices services{&http};
};

TEST_F(AlexaDetailPageTest, AQueryFillsThePageFromBothAnswersAndDrawsTheCharts) {
  http.OnHost("www.alexa.com", "/siteinfo/", HttpReply::Ok(test::kDetailSitePage).Delay(200ms));
  http.OnHost("data.alexa.com", "/data/", HttpReply::Ok(test::kDetailXml));
  f->lblAlexaFail.SetCaption("old");
  f->edtAlexaDetail.SetText("  HTTP://Example.COM ");
  char enter = '\r';
  f->edtAlexaDetailKeyPress(enter);
  EXPECT_FALSE(f->btnAlexaDetailOn.Enabled());
  EXPECT_EQ(f->btnAlexaDetailOn.Caption(), Gbk("查询中，请等待"));
  EXPECT_EQ(f->lblAlexaFail.Caption(), Gbk("请输入网址，如：example.com, 不带http://"));
  // Enter while the query runs starts nothing.
  f->edtAlexaDetailKeyPress(enter);
  EXPECT_EQ(f->Job().Kept(), 2u);
  ASSERT_TRUE(Finish());

  Edit* edits[] = {&f->edtAD1, &f->edtAD2, &f->edtAD3,  &f->edtAD4,  &f->edtAD5,
                   &f->edtAD6, &f->edtAD7, &f->edtAD8,  &f->edtAD9,  &f->edtAD10,
                   &f->edtAD11, &f->edtAD12, &f->edtAD13, &f->edtAD14};
  for (int k = 0; k < 14; ++k) EXPECT_EQ(edits[k]->Text(), Gbk(test::kDetailEdits[k])) << k;
  Edit* ranks[] = {&f->edtADL1, &f->edtADL2, &f->edtADL3, &f->edtADL4,
                   &f->edtADL5, &f->edtADL6, &f->edtADL7, &f->edtADL8};
  for (int k = 0; k < 8; ++k) EXPECT_EQ(ranks[k]->Text(), test::kDetailRankEdits[k]) << k;
  EXPECT_EQ(f->edtADIP.Text(), "73800");
  EXPECT_EQ(f->edtADPV.Text(), "184500");
  EXPECT_EQ(f->lvAlexaTraffic.RowTexts(1), (Lines{Gbk("邮件.example.com"), "31.0%"}));
  EXPECT_EQ(f->lvAlexaCountry.RowTexts(0), (Lines{Gbk("中国"), "61.5%"}));
  EXPECT_TRUE(f->btnAlexaDetailOn.Enabled());

  // The charts ask for the domain as typed, escaped on the wire only.
  std::multiset<std::string> targets, expected;
  for (const HttpRequest& r : http.Requests())
    if (r.Host() == "traffic.alexa.com") targets.insert(r.target);
  for (const char* range : {"7d", "1m", "3m", "6m", "15.0m"})
    expected.insert(std::string("/graph?w=700&h=280&r=") + range + "&y=t&u=%20%20HTTP://Example.COM%20");
  EXPECT_EQ(targets, expected);
  for (ChartView* c : f->Charts) EXPECT_EQ(c->PictureWidth(), 202);

  // The picture and the links open the typed domain.
  f->imgAlexaNameClick();
  f->lbl49Click();
  f->lbl50Click();
  f->lbl54Click();
  EXPECT_EQ(test::ShellOpened(),
            (Lines{"HTTP://Example.COM",
                   "http://www.alexa.com/data/details/contact_info?url=  HTTP://Example.COM",
                   "http://www.alexa.com/data/details/editor?type=rl&url=  HTTP://Example.COM",
                   "http://www.alexa.com/data/details/traffic_details/  HTTP://Example.COM"}));
}

TEST_F(AlexaDetailPageTest, AFailedChartShowsAnEmptyFrame) {
  http.OnHost("traffic.alexa.com", "/graph", HttpReply::Status(404));
  f->btnAlexaDetailOn.Click();
  ASSERT_TRUE(Finish());
  for (ChartView* c : f->Charts) EXPECT_EQ(c->FrameCount(), 0);
}

// (Holding the position inside its range is the scroll box's own test.)
TEST_F(AlexaDetailPageTest, WheelNotchesStepEightPixels) {
  ScrollBox& box = f->scrlbxAlexa;
  ASSERT_GT(box.ScrollRange(), 24);
  bool down = false, up = false;
  box.SetScrollPosition(16);
  f->scrlbxAlexaMouseWheelDown(down);
  EXPECT_EQ(box.ScrollPosition(), 24);
  f->scrlbxAlexaMouseWheelUp(up);
  f->scrlbxAlexaMouseWheelUp(up);
  EXPECT_EQ(box.ScrollPosition(), 8);
  EXPECT_TRUE(down && up);
  box.SetScrollPosition(0);
}

// The first column from the left whose pixels are not all `band`.
int FirstInk(CanvasImage& image, int width, int height, Color band) {
  for (int x = 0; x < width; ++x)
    for (int y = 0; y < height; ++y)
      if (image.Pixel(x, y) != band) return x;
  return -1;
}

TEST_F(AlexaDetailPageTest, HeadersAndTabsAreDrawnInTheBandColour) {
  const Color band = colors::GradientInactiveCaption;
  // The caption starts 5 pixels in, after its own leading blanks.
  ListView& list = f->lvAlexaCountry;
  const Lines captions = {list.ColumnCaption(0), list.ColumnCaption(1)};
  list.SetColumns({{"W", 350}, {captions[1], 350}});
  CanvasImage plain(60, 20, colors::White);
  f->AlexaCountryWndProc(plain.GetCanvas(), 0, Rect{0, 0, 60, 20});
  EXPECT_EQ(plain.Pixel(59, 19), band);
  const int ink = FirstInk(plain, 60, 20, band);
  EXPECT_GE(ink, 5);
  EXPECT_LE(ink, 7);
  list.SetColumns({{captions[0], 350}, {captions[1], 350}});
  TAlexaDetailPage::SetHeaderOwnerDraw(list);

  // Chart tabs look the same whether active or not.
  CanvasImage active(140, 24, colors::White), idle(140, 24, colors::White);
  f->pgcAlexaPicDrawTab(active.GetCanvas(), 1, Rect{0, 0, 140, 24}, true);
  f->pgcAlexaPicDrawTab(idle.GetCanvas(), 1, Rect{0, 0, 140, 24}, false);
  EXPECT_EQ(active.Pixel(1, 1), band);
  for (int x = 0; x < 140; ++x)
    for (int y = 0; y < 24; ++y) ASSERT_EQ(active.Pixel(x, y), idle.Pixel(x, y)) << x << "," << y;
}

}  // namespace
}  // namespace orlu
