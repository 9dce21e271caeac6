// The start page, the sponsor-link strip and the small windows they open, on substitute servers.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "app/sponsor_links.h"
#include "platform/thread/dispatcher.h"
#include "program_windows.h"
#include "sitequery/site_info_job.h"
#include "support/service_scope.h"

namespace orlu {
namespace {

using namespace std::chrono_literals;
using test::HttpReply;
using test::ShellOpened;
using Lines = std::vector<std::string>;

class StartPageTest : public testing::ProgramWindowTest {
 protected:
  void SetUp() override {
    ProgramWindowTest::SetUp();
    Form::SetShowModalHook([this](Form& f) {
      modalForms.push_back(&f);
      // What the window shows when it comes up.
      if (&f == FormSource) shownLines = FormSource->mmoShowSource.Lines();
      if (&f == FormWhoisInfo) shownLines = FormWhoisInfo->mmoWhoisInfo.Lines();
      return kModalCancel;
    });
    m.pgcMain.SetActivePageIndex(kPageAll);
    ResetStrip();
  }
  void TearDown() override {
    m.tmrUrlBegin.Stop();
    m.tmrUrlBegin.SetInterval(1000);
    m.tmrChangeUrl.Stop();
    m.tmrChangeUrl.SetInterval(5000);
    ProgramWindowTest::TearDown();
  }
  // The sponsor strip as the window makes it, before its first tick.
  void ResetStrip() {
    m.SponsorUrls->Clear();
    m.SponsorTitles->Clear();
    m.SponsorIndex = 0;
    m.tmrChangeUrl.Stop();
  }
  static void Enter(Edit& edit) {
    char key = 13;
    edit.OnKeyPress(key);
  }

  TFormMain& m = (testing::EnsureProgramWindows(), *FormMain);
  TStartPage& p = m.StartPage;
  Lines shownLines;
  test::SubstituteHttpServer http;
  test::ScopedServices services{&http};
};

std::vector<CheckBox*> ServiceBoxes(TSiteInfoPage& s) {
  return {&s.chkPr, &s.chkAlexa, &s.chkAlink, &s.chkZhidao,
          &s.chkBsite, &s.chkYlink, &s.chkArchive, &s.chkKeyWord};
}

TEST_F(StartPageTest, PageRankBoxLeavesOnlyItsDomainWithThePageRankBox) {
  TSiteInfoPage& s = m.SiteInfoPage;
  for (bool byEnter : {false, true}) {
    s.CheckAllSiteInfoColumns();
    s.mmoSiteInfoDomainList1.SetLines({"a.com", "b.com"});
    p.edtAllPr.SetText(byEnter ? "\tpr2.com " : "  pr.com \t");
    m.pgcMain.SetActivePageIndex(kPageAll);
    byEnter ? Enter(p.edtAllPr) : p.btnAllPrDo.Click();
    EXPECT_EQ(m.pgcMain.ActivePageIndex(), kPageSiteInfo);
    EXPECT_EQ(s.mmoSiteInfoDomainList1.Lines(), Lines{byEnter ? "pr2.com" : "pr.com"});
    for (auto* box : ServiceBoxes(s)) EXPECT_EQ(box->Checked(), box == &s.chkPr) << box->Caption();
    ASSERT_EQ(s.lvSiteInfo.RowCount(), 1);
    EXPECT_EQ(s.lvSiteInfo.RowTexts(0)[1], byEnter ? "pr2.com" : "pr.com");
    EndSiteInfoWorkers(&SiteInfo);
  }
  for (SiteInfoCell* cell : SiteInfo.Cells()) cell->Timer.SetEnabled(false);
  s.lvSiteInfo.Clear();
  s.lvSiteInfoBak.Clear();
}

// The single-site and ranking-detail boxes pass their text as typed and start the page's query.
TEST_F(StartPageTest, ReportBoxesPassTheirTextUntrimmed) {
  TAlexaDetailPage& detail = m.AlexaDetailPage;
  TShouluPage& shoulu = m.ShouluPage;
  for (bool byEnter : {false, true}) {
    p.edtAllShulu.SetText(" Www.Ex.com ");
    byEnter ? Enter(p.edtAllShulu) : p.btnAllShuluDo.Click();
    EXPECT_EQ(m.pgcMain.ActivePageIndex(), kPageShoulu);
    EXPECT_EQ(shoulu.edtShouluDomain.Text(), " Www.Ex.com ");
    EXPECT_TRUE(shoulu.ShouluJob.Running());
    shoulu.ShouluJob.End();

    p.edtAllAlexa.SetText(" Ex.com ");
    byEnter ? Enter(p.edtAllAlexa) : p.btnAllAlexaDo.Click();
    EXPECT_EQ(m.pgcMain.ActivePageIndex(), kPageAlexaDetail);
    EXPECT_EQ(detail.AlexaDetailDomain, " Ex.com ");
    EXPECT_FALSE(detail.btnAlexaDetailOn.Enabled());  // its report is coming
    detail.Job().EndAll();
    detail.btnAlexaDetailOn.SetEnabled(true);
  }
  detail.btnAlexaDetailOn.SetCaption(Gbk("查询"));
  shoulu.tmrSingleInfo.Stop();
}

// The WHOIS and page-source boxes query with the trimmed text, then show their window.
TEST_F(StartPageTest, WhoisAndSourceBoxesQueryThenShowTheirWindow) {
  test::SubstituteWhoisServer whois;
  services.Map("*whois", whois.HostPort());
  whois.On("wq.com", test::WhoisReply::Text("Domain Name: WQ.COM\r\n"));
  http.On("/src", HttpReply::Ok("source text"));

  for (bool byEnter : {false, true}) {
    SCOPED_TRACE(byEnter);
    modalForms.clear();
    p.edtAllWhois.SetText(" wq.com\t");
    byEnter ? Enter(p.edtAllWhois) : p.btnAllWhoisDo.Click();
    EXPECT_EQ(whois.LastRequest().raw, "wq.com\r\n");
    EXPECT_EQ(FormWhoisInfo->edtWhois.Text(), "wq.com");
    EXPECT_THAT(shownLines, ::testing::Contains("Domain Name: WQ.COM"));

    p.edtAllSouce.SetText("  http://pages.example/src ");
    byEnter ? Enter(p.edtAllSouce) : p.btnAllSourceDo.Click();
    EXPECT_EQ(FormSource->edtSource.Text(), "http://pages.example/src");
    EXPECT_EQ(shownLines, Lines{"source text"});
    EXPECT_EQ(modalForms, (std::vector<Form*>{FormWhoisInfo, FormSource}));
  }
  EXPECT_EQ(whois.RequestCount(), 2u);
  EXPECT_EQ(http.RequestCount(), 2u);
  EXPECT_EQ(m.pgcMain.ActivePageIndex(), kPageAll);
  EXPECT_TRUE(boxMessages.empty());
}

TEST_F(StartPageTest, LinksGoToTheirPagesAndReturnToTheirColours) {
  // The deletion lists (page kPageAll: none) rest blue, the other links in the default colour.
  const std::pair<Control*, MainPage> links[] = {
      {&p.lbl24, kPageSiteInfo}, {&p.lbl23, kPageAlexa}, {&p.lbl26, kPageSiteInfo},
      {&p.lbl28, kPageWhois}, {&p.lbl30, kPageDomainFilter}, {&p.lbl31, kPageDomainCreate},
      {&p.btn18, kPageKeyWordComp}, {&p.btn17, kPagePinyin}, {&p.btn19, kPageEngWord},
      {&p.lblAllDaoqi1, kPageAll}, {&p.lblAllDaoqi5, kPageAll}};
  for (const auto& [link, page] : links) {
    SCOPED_TRACE(link->Caption());
    m.pgcMain.SetActivePageIndex(kPageAll);
    link->Click();
    EXPECT_EQ(m.pgcMain.ActivePageIndex(), page);
    // lbl24 ticks every service box, lbl26 only the page rank.
    for (CheckBox* box : ServiceBoxes(m.SiteInfoPage)) {
      if (page != kPageSiteInfo) break;
      EXPECT_EQ(box->Checked(), link == &p.lbl24 || box == &m.SiteInfoPage.chkPr);
    }
    if (dynamic_cast<Label*>(link) == nullptr) continue;  // a button
    link->OnMouseEnter();
    EXPECT_EQ(link->FontColor(), colors::Red);
    link->OnMouseLeave();
    EXPECT_EQ(link->FontColor(), page == kPageAll ? colors::Blue : kDefaultColor);
  }
}

// Each deletion list opens its own file, from the window's buttons and the start page's links.
TEST_F(StartPageTest, EachDeletionListOpensItsOwnFile) {
  TFormDaoqi& d = *FormDaoqi;
  const std::string folder = "http://www.cnnic.cn/download/registar_list/";
  const Lines files = {"future1todayDel.txt", "future2todayDel.txt", "1todayDel.txt",
                       "2todayDel.txt", "3todayDel.txt"};
  Button* buttons[] = {&d.btnDaoqi1, &d.btnDaoqi2, &d.btnDaoqi3, &d.btnDaoqi4, &d.btnDaoqi5};
  Label* links[] = {&p.lblAllDaoqi1, &p.lblAllDaoqi2, &p.lblAllDaoqi3, &p.lblAllDaoqi4,
                    &p.lblAllDaoqi5};
  for (int i = 0; i < 5; ++i) {
    ShellOpened().clear();
    buttons[i]->Click();
    links[i]->Click();
    EXPECT_EQ(ShellOpened(), (Lines{folder + files[i], folder + files[i]}));
  }
  EXPECT_FALSE(d.Visible());
  EXPECT_TRUE(modalForms.empty());
  EXPECT_EQ(m.pgcMain.ActivePageIndex(), kPageAll);
}

TEST_F(StartPageTest, PageSourceShowsUtf8ConvertedAndAnythingElseAsReceived) {
  http.On("/utf8", HttpReply::Ok("<p>中文</p>\r\nend").Header("Set-Cookie", "s=1; Path=/"));
  http.On("/gbk", HttpReply::Ok(Gbk("<p>中文</p>")));
  http.On("/gone", HttpReply::Status(404, "<p>missing</p>"));
  TFormSource& w = *FormSource;

  w.ShowSource("http://pages.example/utf8");
  EXPECT_EQ(w.mmoShowSource.Lines(), (Lines{"<p>" + Gbk("中文") + "</p>", "end"}));
  // Enter in the box fetches its trimmed text; the cookie set above goes back.
  w.edtSource.SetText(" http://pages.example/gbk \t");
  Enter(w.edtSource);
  EXPECT_EQ(w.mmoShowSource.Lines(), Lines{Gbk("<p>中文</p>")});
  EXPECT_EQ(http.LastRequest().target, "/gbk");
  EXPECT_EQ(http.LastRequest().Header("Cookie"), "s=1");

  // Failed fetches: one empty line, no message.
  for (const char* url : {"http://pages.example/gone", ""}) {
    w.mmoShowSource.SetLines({"old"});
    w.ShowSource(url);
    EXPECT_EQ(w.mmoShowSource.Lines(), Lines{""}) << url;
  }

  // The windows keep working during a slow reply; a second fetch meanwhile is ignored.
  http.On("/slow", HttpReply::Ok("slow page").Delay(400ms));
  http.ClearRequests();
  PostToWindowThread([&] { w.ShowSource("http://pages.example/gbk"); });
  w.ShowSource("http://pages.example/slow");
  EXPECT_EQ(http.RequestCount(), 1u);
  EXPECT_EQ(w.mmoShowSource.Lines(), Lines{"slow page"});
  EXPECT_TRUE(boxMessages.empty());
  EXPECT_FALSE(w.Visible());
}

TEST_F(StartPageTest, PageFetchShowsTheBodyUnconvertedAndErrorsInTheBox) {
  http.On("/utf8", HttpReply::Ok("éé"));
  TFormKWordMi& w = *FormKWordMi;
  w.mmoKWordMi1.SetLines({"old"});
  w.edtKworMiUrl.SetText("  http://pages.example/utf8 ");
  w.btnKWrodMiSearch.Click();
  // The UTF-8 bytes as they came, read as GBK text.
  EXPECT_EQ(w.mmoKWordMi2.Lines(), Lines{"\xC3\xA9\xC3\xA9"});
  EXPECT_EQ(w.mmoKWordMi1.LineCount(), 0);

  w.edtKworMiUrl.SetText("http://pages.example/missing");
  w.btnKWrodMiSearch.Click();
  EXPECT_EQ(w.mmoKWordMi2.LineCount(), 0);
  EXPECT_EQ(boxMessages, Lines{Gbk("HTTP 错误 404：http://pages.example/missing")});
}

// Both page windows show at most 1 MiB of a page, ending at a whole character, and say when
// they cut it.
TEST_F(StartPageTest, PageWindowsCutAPageOverOneMegabyteAndSaySo) {
  constexpr size_t kCap = 1024 * 1024;
  const std::string cutNotice = Gbk("网页超过 1 MB，只显示了开头的 1 MB。");
  const std::string as(kCap - 1, 'a');
  // UTF-8 for the page-source window: "中" is three bytes.
  http.On("/source-fits", HttpReply::Ok(std::string(kCap - 3, 'a') + "中"));
  http.On("/source-long", HttpReply::Ok(as + "中文"));
  // GBK, shown as received, in the page-fetch window.
  http.On("/fetch-fits", HttpReply::Ok(std::string(kCap - 2, 'a') + Gbk("中")));
  http.On("/fetch-long", HttpReply::Ok(as + Gbk("中文")));
  TFormSource& s = *FormSource;
  TFormKWordMi& f = *FormKWordMi;

  s.ShowSource("http://pages.example/source-fits");
  EXPECT_EQ(s.mmoShowSource.Lines(), Lines{std::string(kCap - 3, 'a') + Gbk("中")});
  f.edtKworMiUrl.SetText("http://pages.example/fetch-fits");
  f.btnKWrodMiSearch.Click();
  EXPECT_EQ(f.mmoKWordMi2.Lines(), Lines{std::string(kCap - 2, 'a') + Gbk("中")});
  EXPECT_TRUE(test::MessageBoxTexts().empty());

  s.ShowSource("http://pages.example/source-long");
  EXPECT_EQ(s.mmoShowSource.Lines(), Lines{as});
  EXPECT_EQ(test::MessageBoxTexts(), Lines{cutNotice});
  f.edtKworMiUrl.SetText("http://pages.example/fetch-long");
  f.btnKWrodMiSearch.Click();
  EXPECT_EQ(f.mmoKWordMi2.Lines(), Lines{as});
  EXPECT_EQ(test::MessageBoxTexts(), (Lines{cutNotice, cutNotice}));
  EXPECT_TRUE(boxMessages.empty());
}

// The sponsor list is refused past 64 KiB: the strip keeps its built-in entries.
TEST_F(StartPageTest, SponsorListOver64KiBKeepsTheBuiltInEntries) {
  const std::string list = "A|a.cn<br>";
  http.On("/SpUrl.aspx", HttpReply::Ok(list + std::string(64 * 1024 - list.size(), ' ')));
  m.tmrUrlBeginTimer();
  EXPECT_EQ(m.lblUrl1.Caption(), "A");

  ResetStrip();
  http.On("/SpUrl.aspx", HttpReply::Ok(list + std::string(64 * 1024 - list.size() + 1, ' ')));
  m.tmrUrlBeginTimer();
  EXPECT_EQ(m.lblUrl1.Caption(), Gbk("Orlu站长工具主页"));
  EXPECT_TRUE(boxMessages.empty());
}

TEST_F(StartPageTest, FirstTickFetchesOnceAndLinksOpenTheirShownAddress) {
  http.On("/SpUrl.aspx", HttpReply::Ok("A|a.cn<br>B|file:///etc/passwd<br>C|c.cn<br>"
                                       "D|d.cn<br>E|e.cn<br>F|f.cn<br>").Delay(600ms));
  // A click and a tick before the list exists do nothing.
  m.tmrChangeUrlTimer();
  m.lblUrl1.Click();
  EXPECT_EQ(m.SponsorIndex, 0);
  EXPECT_TRUE(ShellOpened().empty());

  // The start timer ticks often during the slow reply: still one request.
  m.tmrUrlBegin.SetInterval(50);
  m.tmrUrlBegin.Start();
  ASSERT_TRUE(WaitUntil([&] { return m.tmrChangeUrl.Enabled(); }, 5000ms));
  EXPECT_EQ(http.RequestCount(), 1u);
  EXPECT_EQ(http.LastRequest().Host(), "tools.orlu.example");
  EXPECT_EQ(m.lblUrl1.Caption() + m.lblUrl4.Caption(), "AD");
  m.tmrChangeUrlTimer();
  EXPECT_EQ(m.lblUrl1.Caption() + m.lblUrl4.Caption(), "EB");
  m.lblUrl3.Click();
  m.lblUrl4.Click();  // a local file: refused
  m.ImageAd.Click();
  EXPECT_EQ(ShellOpened(), (Lines{"http://a.cn", kHomePageUrl}));

  // A failed fetch keeps the four built-in entries.
  ResetStrip();
  http.On("/SpUrl.aspx", HttpReply::Status(500, "A|a.cn<br>"));
  m.tmrUrlBeginTimer();
  EXPECT_EQ(m.lblUrl1.Caption() + m.lblUrl2.Caption(), Gbk("Orlu站长工具主页赞助链接"));
  EXPECT_TRUE(boxMessages.empty());
}

TEST_F(StartPageTest, HoverPausesTheRotationAndLeavingRestartsAFullInterval) {
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

}  // namespace
}  // namespace orlu
