// The main window under the offscreen platform: start-up, navigation, the
// settings file, the status window's docking, the banner and a picture of
// the whole window.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "app/banner_gif.h"
#include "program_windows.h"

namespace orlu {
namespace {

using namespace std::chrono_literals;
using testing::ProgramWindowTest;
using test::Slurp;
using test::Spit;
using Lines = std::vector<std::string>;

class MainFormTest : public ProgramWindowTest {};

TEST_F(MainFormTest, StartUpMakesSevenWindowsAndShowsTheStartPage) {
  Application* app = Application::Instance();
  EXPECT_EQ(app->Title(), Gbk("Orlu站长工具"));
  EXPECT_EQ(app->MainForm(), FormMain);
  ASSERT_NE(FormStatShow, nullptr);
  ASSERT_NE(FormKWordMi, nullptr);
  ASSERT_NE(FormWhoisInfo, nullptr);
  ASSERT_NE(FormSource, nullptr);
  ASSERT_NE(FormDaoqi, nullptr);
  ASSERT_NE(FormBanquan, nullptr);
  for (Form* f : std::vector<Form*>{FormStatShow, FormKWordMi, FormWhoisInfo, FormSource,
                                    FormDaoqi, FormBanquan}) {
    EXPECT_FALSE(f->Visible()) << f->Caption();
  }
  EXPECT_EQ(FormStatShow->Caption(), Gbk("状态显示"));
  EXPECT_EQ(FormKWordMi->Caption(), Gbk("关键字密度"));
  EXPECT_EQ(FormSource->Caption(), Gbk("网页源代码"));
  EXPECT_EQ(FormDaoqi->Caption(), Gbk("到期删除域名"));
  EXPECT_EQ(FormBanquan->Caption(), Gbk("关于"));
  EXPECT_TRUE(FormStatShow->StayOnTop());

  EXPECT_EQ(FormMain->Caption().rfind(Gbk("Orlu站长工具v0.9"), 0), 0u);
  EXPECT_EQ(FormMain->Width(), 913);
  EXPECT_EQ(FormMain->Height(), 697);
  EXPECT_EQ(FormMain->pgcMain.PageCount(), 12);
  EXPECT_EQ(testing::PageAtStart(), kPageAll);
  EXPECT_EQ(FormMain->tsAll.PageIndex(), kPageAll);
  EXPECT_EQ(FormMain->tsKeyWord.PageIndex(), kPageKeyWord);
  EXPECT_EQ(FormMain->tsEngWord.PageIndex(), kPageEngWord);
  EXPECT_EQ(FormMain->SponsorIndex, 0);
  ASSERT_TRUE(FormMain->SponsorUrls && FormMain->SponsorTitles && FormMain->FilterWorkList);
  EXPECT_EQ(FormMain->SponsorUrls->Count(), 0);
  EXPECT_EQ(FormMain->AlexaDetailDomain, "");

  // The link labels start empty, blue, with the hand cursor.
  for (Label* link : {&FormMain->lblUrl1, &FormMain->lblUrl2, &FormMain->lblUrl3,
                      &FormMain->lblUrl4}) {
    EXPECT_EQ(link->Caption(), "");
    EXPECT_EQ(link->FontColor(), colors::Blue);
    EXPECT_EQ(link->GetCursor(), Cursor::Hand);
    EXPECT_EQ(link->Width(), 150);
  }
  EXPECT_EQ(FormMain->lblUrl1.Left(), 58);
  EXPECT_EQ(FormMain->lblUrl2.Left(), 255);
  EXPECT_EQ(FormMain->lblUrl3.Left(), 451);
  EXPECT_EQ(FormMain->lblUrl4.Left(), 648);
  EXPECT_EQ(FormMain->pnlLinks.Height(), 35);
  EXPECT_EQ(FormMain->ImageAd.GetCursor(), Cursor::Hand);

  // The status list's columns.
  ListView& lv = FormStatShow->lvStatShow;
  ASSERT_EQ(lv.ColumnCount(), 6);
  const char* captions[] = {"ID", "任务", "总共", "成功次数", "共失败次数", "定时器备注"};
  for (int c = 0; c < 6; ++c) EXPECT_EQ(lv.ColumnCaption(c), Gbk(captions[c]));
  EXPECT_EQ(lv.ColumnWidth(5), 200);
  EXPECT_EQ(FormStatShow->mmoStatShow.Height(), 65);
  EXPECT_EQ(lv.Height(), 120);
}

// The eleven links of the start page: underlined, hand cursor, the page
// links in the window-text colour and the deletion-list links in blue.
TEST_F(MainFormTest, StartPageLinksAreUnderlinedInTheirRestingColours) {
  TFormMain& m = *FormMain;
  for (Label* link : {&m.lbl23, &m.lbl24, &m.lbl26, &m.lbl28, &m.lbl30, &m.lbl31}) {
    SCOPED_TRACE(link->Caption());
    EXPECT_TRUE(link->FontUnderline());
    EXPECT_EQ(link->GetCursor(), Cursor::Hand);
    EXPECT_EQ(link->FontColor(), colors::Black);
  }
  for (Label* link : {&m.lblAllDaoqi1, &m.lblAllDaoqi2, &m.lblAllDaoqi3, &m.lblAllDaoqi4,
                      &m.lblAllDaoqi5}) {
    SCOPED_TRACE(link->Caption());
    EXPECT_TRUE(link->FontUnderline());
    EXPECT_EQ(link->GetCursor(), Cursor::Hand);
    EXPECT_EQ(link->FontColor(), colors::Blue);
  }
  EXPECT_EQ(m.lbl24.Caption(), Gbk("网页值各项值批量查询。"));
  EXPECT_EQ(m.lblAllDaoqi5.Caption(), Gbk("前天删除域名"));
  // Other captions on the page are plain text.
  EXPECT_FALSE(m.lbl33.FontUnderline());
  EXPECT_FALSE(m.lblAllWhoisPrompt.FontUnderline());
}

// The result lists of the pages fill their page down to its bottom edge or
// to the row memo docked there, whatever the heights of the bars above.
TEST_F(MainFormTest, ResultListsReachTheBottomOfTheirPages) {
  TFormMain& m = *FormMain;
  struct Fill {
    TabSheet& page;
    ListView& list;
    Memo* below;
  };
  const Fill fills[] = {{m.tsSiteInfo, m.lvSiteInfo, nullptr},
                        {m.tsKeyWordComp, m.lvKeyWord, nullptr},
                        {m.tsPinyin, m.lvPinyin, &m.mmoPinyinShow},
                        {m.tsEngWord, m.lvEngWord, &m.mmoEngWordShow}};
  for (const auto& f : fills) {
    SCOPED_TRACE(f.page.Caption());
    const int bottom = f.below ? f.below->Top() : f.page.ClientHeight();
    const int listBottom = f.list.Top() + f.list.Height();
    EXPECT_LE(listBottom, bottom);
    EXPECT_GE(listBottom, bottom - 12);
  }
}

// Every tool button and menu item: the page it selects, or the window it
// shows modally.
TEST_F(MainFormTest, NavigationSelectsEveryPageButTheKeywordToolsPage) {
  TFormMain& m = *FormMain;
  struct Nav {
    const char* name;
    std::function<void()> press;
    int page;           // -1: opens a window instead
    Form* modal;
  };
  const std::vector<Nav> table = {
      {"btnAll", [&] { m.btnAll.Click(); }, kPageAll, nullptr},
      {"btntsWhois", [&] { m.btntsWhois.Click(); }, kPageWhois, nullptr},
      {"btnDomainFilter", [&] { m.btnDomainFilter.Click(); }, kPageDomainFilter, nullptr},
      {"btnDomainCreate", [&] { m.btnDomainCreate.Click(); }, kPageDomainCreate, nullptr},
      {"btnAlexaTableShow", [&] { m.btnAlexaTableShow.Click(); }, kPageAlexa, nullptr},
      {"btnSiteInfoTableShow", [&] { m.btnSiteInfoTableShow.Click(); }, kPageSiteInfo, nullptr},
      {"btnShoulu", [&] { m.btnShoulu.Click(); }, kPageShoulu, nullptr},
      {"N12", [&] { m.N12.Click(); }, kPageWhois, nullptr},
      {"N13", [&] { m.N13.Click(); }, -1, FormWhoisInfo},
      {"N8", [&] { m.N8.Click(); }, kPageDomainFilter, nullptr},
      {"N9", [&] { m.N9.Click(); }, kPageDomainCreate, nullptr},
      {"N14", [&] { m.N14.Click(); }, kPageAlexa, nullptr},
      {"N15", [&] { m.N15.Click(); }, kPageAlexaDetail, nullptr},
      {"N10", [&] { m.N10.Click(); }, kPageSiteInfo, nullptr},
      {"N11", [&] { m.N11.Click(); }, kPageShoulu, nullptr},
      {"N16", [&] { m.N16.Click(); }, kPageKeyWordComp, nullptr},
      {"N17", [&] { m.N17.Click(); }, kPagePinyin, nullptr},
      {"N18", [&] { m.N18.Click(); }, kPageEngWord, nullptr},
      {"N7", [&] { m.N7.Click(); }, -1, FormBanquan},
      {"btnOpenKeyWordMidu", [&] { m.btnOpenKeyWordMidu.Click(); }, -1, FormKWordMi},
  };
  std::set<int> reached;
  for (const auto& nav : table) {
    SCOPED_TRACE(nav.name);
    // Start from a page the control does not select.
    int from = nav.page == kPageAll ? kPageWhois : kPageAll;
    m.pgcMain.SetActivePageIndex(from);
    modalForms.clear();
    nav.press();
    if (nav.page >= 0) {
      EXPECT_EQ(m.pgcMain.ActivePageIndex(), nav.page);
      EXPECT_TRUE(m.pgcMain.Visible());
      EXPECT_TRUE(modalForms.empty());
      reached.insert(nav.page);
    } else {
      EXPECT_EQ(m.pgcMain.ActivePageIndex(), from);
      ASSERT_EQ(modalForms.size(), 1u);
      EXPECT_EQ(modalForms[0], nav.modal);
    }
  }
  EXPECT_EQ(reached, (std::set<int>{0, 1, 2, 3, 4, 5, 7, 8, 9, 10, 11}));
  EXPECT_TRUE(boxMessages.empty());

  // The menu's shape: three top items, the sub-menus in their order.
  ASSERT_EQ(m.mmMain.Count(), 3);
  EXPECT_EQ(m.mmMain.Item(0).Caption(), Gbk("功能"));
  EXPECT_EQ(m.mmMain.Item(1).Caption(), Gbk("辅助"));
  EXPECT_EQ(m.mmMain.Item(2).Caption(), Gbk("帮助"));
  ASSERT_EQ(m.N1.Count(), 9);
  EXPECT_EQ(&m.N1.Item(0), &m.whois1);
  EXPECT_EQ(&m.N1.Item(3), &m.Alexa1);
  EXPECT_EQ(&m.N1.Item(8), &m.N18);
  EXPECT_EQ(m.N13.Caption(), Gbk("单域名查询"));
  EXPECT_EQ(m.btnShoulu.Caption(), Gbk("收录详情"));
  EXPECT_EQ(m.btnAll.ImageIndex(), 6);
  EXPECT_EQ(m.btntsWhois.ImageIndex(), 0);
}

TEST_F(MainFormTest, SiteInfoMenuTicksAllEightServiceBoxes) {
  TFormMain& m = *FormMain;
  m.UncheckAllSiteInfoColumns();
  m.N10.Click();
  for (CheckBox* box : {&m.chkPr, &m.chkAlexa, &m.chkAlink, &m.chkZhidao, &m.chkBsite,
                        &m.chkYlink, &m.chkArchive, &m.chkKeyWord}) {
    EXPECT_TRUE(box->Checked()) << box->Caption();
  }
  m.UncheckAllSiteInfoColumns();
  m.chkPr.SetChecked(true);
}

// --- Settings file ---

class SettingsTest : public ProgramWindowTest {
 protected:
  void SetUp() override {
    ProgramWindowTest::SetUp();
    savedFilter = FormMain->mmoFilterKeyWord.Lines();
    savedSiteInfo = FormMain->mmoSiteInfoKeword.Lines();
  }
  void TearDown() override {
    FormMain->mmoFilterKeyWord.SetLines(savedFilter);
    FormMain->mmoSiteInfoKeword.SetLines(savedSiteInfo);
    ProgramWindowTest::TearDown();
  }
  Memo& Filter() { return FormMain->mmoFilterKeyWord; }
  Memo& SiteInfo() { return FormMain->mmoSiteInfoKeword; }

  Lines savedFilter, savedSiteInfo;
};

TEST_F(SettingsTest, DesignLinesStayWithoutSettingsFile) {
  EXPECT_EQ(Filter().LineCount(), 8);
  EXPECT_EQ(Filter().Lines().front(), Gbk("china|前后无"));
  EXPECT_EQ(SiteInfo().LineCount(), 23);
  EXPECT_EQ(SiteInfo().Lines()[19], Gbk("外文导航 "));
  FormMain->N5.Click();  // no file: nothing changes
  EXPECT_EQ(Filter().Lines(), savedFilter);
  EXPECT_EQ(SiteInfo().Lines(), savedSiteInfo);
}

TEST_F(SettingsTest, SaveWritesLinesEachFollowedBySemicolon) {
  Filter().SetLines({"a", "b", ""});
  FormMain->N4.Click();
  EXPECT_EQ(Slurp(SettingsFileName()), "[Filter Key]\r\nKeyWord=a;b;;\r\n");
  EXPECT_TRUE(boxMessages.empty());
}

TEST_F(SettingsTest, SaveThenLoadKeepsEveryLineOfBothMemos) {
  const Lines filter{"", Gbk("中文|前后无"), "", Gbk("com|后"), " x ", ""};
  const Lines siteInfo{"  lead", Gbk("外文导航 "), "", Gbk("积分")};
  Filter().SetLines(filter);
  SiteInfo().SetLines(siteInfo);
  FormMain->btnFilterKeyWordSave.Click();
  FormMain->btnSiteInfoKeyWordSave.Click();
  Filter().SetLines({"other"});
  SiteInfo().Clear();
  FormMain->N5.Click();
  EXPECT_EQ(Filter().Lines(), filter);
  EXPECT_EQ(SiteInfo().Lines(), siteInfo);

  // A line that holds ";" comes back as two lines.
  Filter().SetLines({"a;b"});
  FormMain->SaveFilterKeyWords();
  FormMain->LoadSettings();
  EXPECT_EQ(Filter().Lines(), (Lines{"a", "b"}));
  EXPECT_TRUE(boxMessages.empty());
}

TEST_F(SettingsTest, EmptyMemoStaysEmptyOverSaveLoadCycles) {
  Filter().Clear();
  for (int i = 0; i < 3; ++i) {
    FormMain->N4.Click();
    FormMain->N5.Click();
    EXPECT_EQ(Filter().LineCount(), 0) << "cycle " << i;
  }
  EXPECT_EQ(Slurp(SettingsFileName()), "[Filter Key]\r\nKeyWord=\r\n");
}

TEST_F(SettingsTest, StoredValuesLoadByTheirSemicolons) {
  // Without ";" nothing loads; text after the last ";" is dropped; a file
  // without the site-information section empties that memo.
  Spit(SettingsFileName(), "[Filter Key]\r\nKeyWord=abc\r\n");
  FormMain->N5.Click();
  EXPECT_EQ(Filter().LineCount(), 0);
  EXPECT_EQ(SiteInfo().LineCount(), 0);

  Spit(SettingsFileName(), "[Filter Key]\nKeyWord=one;two\n[SiteInfo Key]\nKeyWord=;x;\n");
  FormMain->N5.Click();
  EXPECT_EQ(Filter().Lines(), Lines{"one"});
  EXPECT_EQ(SiteInfo().Lines(), (Lines{"", "x"}));
}

TEST_F(SettingsTest, LongStoredValueLoadsWhole) {
  Lines many;
  std::string value;
  for (int i = 0; i < 600; ++i) {
    many.push_back(Gbk("关键字") + std::to_string(i));
    value += many.back() + ";";
  }
  ASSERT_GT(value.size(), 2047u);
  Spit(SettingsFileName(), "[SiteInfo Key]\r\nKeyWord=" + value + "\r\n");
  FormMain->N5.Click();
  EXPECT_EQ(SiteInfo().Lines(), many);
  EXPECT_EQ(Filter().LineCount(), 0);
}

TEST_F(SettingsTest, SaveMenuWritesOnlyTheFilterKeyAndKeepsEveryOtherByte) {
  const std::string before =
      "; notes\n[Other]\r\nName=Value with = sign\r\n\r\n[SiteInfo Key]\nKeyWord=s1;s2;\n"
      "[Filter Key]\r\nKeyWord=old;\r\nExtra=1\r\n";
  Spit(SettingsFileName(), before);
  Filter().SetLines({"n1", Gbk("新")});
  SiteInfo().SetLines({"not saved"});
  FormMain->N4.Click();
  std::string expected = before;
  expected.replace(expected.find("KeyWord=old;"), 12, "KeyWord=n1;" + Gbk("新") + ";");
  EXPECT_EQ(Slurp(SettingsFileName()), expected);
}

TEST_F(SettingsTest, UnwritableFileShowsTheErrorAndChangesNoMemo) {
  // A folder where the settings file should be: it cannot be written.
  ASSERT_EQ(mkdir(FileSystemName(SettingsFileName()).c_str(), 0755), 0);
  Filter().SetLines({"keep", "me"});
  SiteInfo().SetLines({"site"});
  FormMain->N4.Click();
  ASSERT_EQ(boxMessages.size(), 1u);
  EXPECT_EQ(boxMessages[0], "Unable to write to " + SettingsFileName());
  FormMain->btnSiteInfoKeyWordSave.Click();
  ASSERT_EQ(boxMessages.size(), 2u);
  EXPECT_EQ(boxMessages[1], "Unable to write to " + SettingsFileName());
  EXPECT_EQ(Filter().Lines(), (Lines{"keep", "me"}));
  EXPECT_EQ(SiteInfo().Lines(), Lines{"site"});
  // Loading sees no settings file and changes nothing either.
  FormMain->N5.Click();
  EXPECT_EQ(Filter().Lines(), (Lines{"keep", "me"}));
  // The program goes on: the next command works.
  FormMain->N8.Click();
  EXPECT_EQ(FormMain->pgcMain.ActivePageIndex(), kPageDomainFilter);
  EXPECT_EQ(boxMessages.size(), 2u);
}

// --- Status window docking ---

TEST_F(MainFormTest, StatusWindowDocksUnderTheMainWindow) {
  FormMain->Show();
  FormMain->SetLeft(40);
  FormMain->SetTop(30);
  ProcessEventsFor(50ms);
  FormStatShow->Show();
  const int left = FormMain->Left();
  EXPECT_TRUE(WaitUntil(
      [&] {
        return FormStatShow->Left() == left &&
               FormStatShow->Top() == FormMain->Top() + FormMain->Height();
      },
      2000ms))
      << FormStatShow->Left() << "," << FormStatShow->Top();

  // Moving the main window up raises the status window to its bottom edge.
  FormMain->SetTop(FormMain->Top() - 20);
  EXPECT_TRUE(WaitUntil(
      [&] { return FormStatShow->Top() == FormMain->Top() + FormMain->Height(); }, 2000ms));
  EXPECT_EQ(FormStatShow->Left(), left);

  // Moving it down leaves the status window where it is.
  const int statusTop = FormStatShow->Top();
  FormMain->SetTop(FormMain->Top() + 60);
  FormMain->WMMove();
  EXPECT_EQ(FormStatShow->Top(), statusTop);

  // Its own paint puts it back under the main window.
  FormStatShow->FormPaint();
  EXPECT_EQ(FormStatShow->Top(), FormMain->Top() + FormMain->Height());
  FormStatShow->Hide();
}

// --- Banner ---

TEST_F(MainFormTest, BannerHasThreeOneSecondFramesAndLoops) {
  ASSERT_GE(kBannerGifSize, 13u);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(kBannerGif), 6), "GIF89a");
  EXPECT_EQ(kBannerGif[6] | kBannerGif[7] << 8, 383);
  EXPECT_EQ(kBannerGif[8] | kBannerGif[9] << 8, 50);

  Image& banner = FormMain->ImageAd;
  EXPECT_EQ(banner.PictureWidth(), 383);
  EXPECT_EQ(banner.PictureHeight(), 50);
  ASSERT_EQ(banner.FrameCount(), 3);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(banner.FrameDelayMs(i), 1000) << i;
  EXPECT_EQ(banner.LoopCount(), 0);
  EXPECT_TRUE(banner.Animating());
  EXPECT_EQ(banner.Width(), 383);
  EXPECT_EQ(banner.Height(), 48);
}

// --- Picture of the window ---

TEST_F(MainFormTest, GrabOfTheMainWindowShowsTheStartPage) {
  FormMain->btnAll.Click();
  FormMain->Show();
  ProcessEventsFor(300ms);
  ASSERT_EQ(FormMain->pgcMain.ActivePageIndex(), kPageAll);
  const std::string png = ExtractFileDir(ProgramFileName()) + "/main_window.png";
  ASSERT_TRUE(FormMain->GrabToPng(png));
  EXPECT_EQ(test::PngSize(png), std::make_pair(913, 697));
}

}  // namespace
}  // namespace orlu
