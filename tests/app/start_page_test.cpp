// The start page: its quick-query boxes, links and page buttons drive the
// other pages and windows.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "program_windows.h"
#include "support/service_scope.h"

namespace orlu {
namespace {

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
  }
  static void Enter(Edit& edit) {
    char key = 13;
    edit.OnKeyPress(key);
  }

  TFormMain& m = (testing::EnsureProgramWindows(), *FormMain);
  TStartPage& p = m.StartPage;
  Lines shownLines;
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
    for (CheckBox* box : ServiceBoxes(s)) EXPECT_EQ(box->Checked(), box == &s.chkPr) << box->Caption();
  }
}

// The WHOIS and page-source boxes query with the trimmed text in the window
// thread and show their window once the answer is in.
TEST_F(StartPageTest, WhoisAndSourceBoxesQueryThenShowTheirWindow) {
  test::SubstituteHttpServer http;
  test::SubstituteWhoisServer whois;
  test::ScopedServices services(&http, &whois);
  whois.On("wq.com", test::WhoisReply::Text("Domain Name: WQ.COM\r\n"));
  http.On("/src", HttpReply::Ok("source text"));

  for (bool byEnter : {false, true}) {
    SCOPED_TRACE(byEnter);
    modalForms.clear();
    p.edtAllWhois.SetText(" wq.com\t");
    byEnter ? Enter(p.edtAllWhois) : p.btnAllWhoisDo.Click();
    EXPECT_EQ(whois.LastRequest().raw, "wq.com\r\n");
    EXPECT_EQ(FormWhoisInfo->edtWhois.Text(), "wq.com");
    EXPECT_NE(std::find(shownLines.begin(), shownLines.end(), "Domain Name: WQ.COM"), shownLines.end());

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

TEST_F(StartPageTest, LinksAndButtonsGoToTheirPagesAndReturnToTheirColours) {
  struct Link {
    Control& control;
    int page;
    Color resting;
  };
  const Link links[] = {{p.lbl24, kPageSiteInfo, colors::Black},
                        {p.lbl23, kPageAlexa, colors::Black},
                        {p.lbl26, kPageSiteInfo, colors::Black},
                        {p.lbl28, kPageWhois, colors::Black},
                        {p.lbl30, kPageDomainFilter, colors::Black},
                        {p.lbl31, kPageDomainCreate, colors::Black},
                        {p.btn18, kPageKeyWordComp, 0},
                        {p.btn17, kPagePinyin, 0},
                        {p.btn19, kPageEngWord, 0}};
  for (const Link& link : links) {
    SCOPED_TRACE(link.control.Caption());
    m.pgcMain.SetActivePageIndex(kPageAll);
    link.control.Click();
    EXPECT_EQ(m.pgcMain.ActivePageIndex(), link.page);
    if (link.page == kPageSiteInfo) {
      // lbl24 ticks every service box, lbl26 only the page rank.
      for (CheckBox* box : ServiceBoxes(m.SiteInfoPage)) {
        EXPECT_EQ(box->Checked(), &link.control == &p.lbl24 || box == &m.SiteInfoPage.chkPr);
      }
    }
  }
  for (Label* blue : {&p.lblAllDaoqi1, &p.lblAllDaoqi2, &p.lblAllDaoqi3, &p.lblAllDaoqi4, &p.lblAllDaoqi5}) {
    blue->OnMouseEnter();
    EXPECT_EQ(blue->FontColor(), colors::Red);
    blue->OnMouseLeave();
    EXPECT_EQ(blue->FontColor(), colors::Blue);
  }
  for (const Link& link : links) {
    if (!link.control.OnMouseEnter) continue;
    link.control.OnMouseEnter();
    EXPECT_EQ(link.control.FontColor(), colors::Red);
    link.control.OnMouseLeave();
    EXPECT_EQ(link.control.FontColor(), link.resting);
  }
}

// Each deletion list opens its own file, from the window's buttons and from
// the start page's links, and no window is shown.
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

}  // namespace
}  // namespace orlu
