// The main window: start-up, navigation, the settings file and the status window's docking.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <set>
#include <string>
#include <tuple>
#include <utility>
#include <variant>
#include <vector>

#include <QAbstractItemView>
#include <QAbstractScrollArea>
#include <QAccessible>
#include <QFontMetrics>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QStyle>
#include <QStyleOptionViewItem>

#include "platform/ui/ui_internal.h"
#include "program_windows.h"
#include "sitequery/alexa_page.h"

namespace orlu {
namespace {

using namespace std::chrono_literals;
using test::Slurp;
using Lines = std::vector<std::string>;
using MainFormTest = testing::ProgramWindowTest;

TEST_F(MainFormTest, StartUpMakesTheOtherWindowsHiddenAndShowsTheStartPage) {
  EXPECT_EQ(Application::Instance()->MainForm(), FormMain);
  for (Form* f : std::vector<Form*>{FormStatShow, FormKWordMi, FormWhoisInfo, FormSource,
                                    FormDaoqi, FormBanquan}) {
    ASSERT_NE(f, nullptr);
    EXPECT_FALSE(f->Visible()) << f->Caption();
  }
  EXPECT_EQ(testing::PageAtStart, kPageAll);
  // The banner decoded from the program's own bytes, running.
  EXPECT_EQ(FormMain->ImageAd.FrameCount(), 3);
  EXPECT_TRUE(FormMain->ImageAd.Animating());
}

// The result lists reach their page's bottom or the row memo there, whatever the bars above.
TEST_F(MainFormTest, ResultListsReachTheBottomOfTheirPages) {
  TFormMain& m = *FormMain;
  const std::tuple<TabSheet&, ListView&, Memo*> fills[] = {
      {m.tsWhois, m.WhoisPage.lvWhois, &m.WhoisPage.mmoWhoisShow},
      {m.tsAleax, m.AlexaPage.lvAlexa, nullptr},
      {m.tsSiteInfo, m.SiteInfoPage.lvSiteInfo, nullptr},
      {m.tsKeyWordComp, m.KeyWordCompPage.lvKeyWord, nullptr},
      {m.tsPinyin, m.PinyinPage.lvPinyin, &m.PinyinPage.mmoPinyinShow},
      {m.tsEngWord, m.EngWordPage.lvEngWord, &m.EngWordPage.mmoEngWordShow}};
  for (const auto& [page, list, below] : fills) {
    SCOPED_TRACE(page.Caption());
    const int bottom = below ? below->Top() : page.ClientHeight();
    const int listBottom = list.Top() + list.Height();
    EXPECT_LE(listBottom, bottom);
    EXPECT_GE(listBottom, bottom - 12);
  }
}

// Site-information counts beside the scroll bar, the detail's site name and e-mail show whole.
TEST_F(MainFormTest, LongValuesShowWhole) {
  auto textWidth = [](Control& c, const char* text) {
    return QFontMetrics(c.Impl()->widget->font()).horizontalAdvance(QString::fromUtf8(text));
  };
  ListView& lv = FormMain->SiteInfoPage.lvSiteInfo;
  const QStyle* style = lv.Impl()->widget->style();
  int total = style->pixelMetric(QStyle::PM_ScrollBarExtent);
  for (int c = 0; c < lv.ColumnCount(); ++c) total += lv.ColumnWidth(c);
  const auto* area = qobject_cast<QAbstractScrollArea*>(lv.Impl()->widget);
  EXPECT_LE(total, area->maximumViewportSize().width());
  const char* values[] = {"银行,金融", "1,270,000", "约1,870,000", "12,345,678"};
  const int pad = 2 * (style->pixelMetric(QStyle::PM_FocusFrameHMargin) + 1);
  for (int c = 6; c <= 9; ++c) EXPECT_GE(lv.ColumnWidth(c) - pad, textWidth(lv, values[c - 6]));
  TAlexaDetailPage& d = FormMain->AlexaDetailPage;
  EXPECT_GE(d.edtAD1.Width() - 4, textWidth(d.edtAD1, "example.com 示例网站 - 站长之家"));
  EXPECT_LE(d.edtAD1.Left() + d.edtAD1.Width(), d.lbl35.Left());
  EXPECT_GE(d.edtAD3.Width() - 4, textWidth(d.edtAD3, "webmaster@example.com"));
  EXPECT_LE(d.edtAD3.Left() + d.edtAD3.Width(), d.pnl1.Left() + d.pnl1.Width());
}

// The width a list's cell needs to draw `text` whole (as the list's own items measure it).
int CellWidth(ListView& list, const char* text) {
  QWidget* view = list.Impl()->widget;
  QStyleOptionViewItem option;
  option.initFrom(view);
  option.widget = view;
  option.features = QStyleOptionViewItem::HasDisplay;
  option.text = QString::fromUtf8(text);
  option.displayAlignment = Qt::AlignLeft | Qt::AlignVCenter;
  return view->style()->sizeFromContents(QStyle::CT_ItemViewItem, &option, QSize(), view).width();
}

// The site-information values the services give and the status list's task names show whole.
TEST_F(MainFormTest, SiteInformationAndStatusTaskValuesShowWhole) {
  ListView& lv = FormMain->SiteInfoPage.lvSiteInfo;
  const std::pair<int, const char*> cells[] = {
      {3, "2500000"},     {4, "8999"},        {5, "26,877.8,133"}, {6, "外文导航 ,电影,"},
      {7, "4,999,4,999"}, {8, "约1,870,000"}, {9, "12,345,678"}};
  for (const auto& [column, text] : cells) EXPECT_GE(lv.ColumnWidth(column), CellWidth(lv, text)) << text;
  ListView& status = FormStatShow->lvStatShow;
  for (const char* task : {"SiteInfo.BaiduZhidaoCell", "SiteInfo.YahooLinkCell"}) {
    EXPECT_GE(status.ColumnWidth(1), CellWidth(status, task)) << task;
  }
}

// Every navigating tool button, menu item and page button: its page, or its modal window.
TEST_F(MainFormTest, NavigationSelectsEveryPage) {
  TFormMain& m = *FormMain;
  m.SiteInfoPage.UncheckAllSiteInfoColumns();
  using Forms = std::vector<Form*>;
  const std::pair<std::variant<Control*, MenuItem*>, std::variant<MainPage, Form*>> table[] = {
      {&m.btnAll, kPageAll}, {&m.btntsWhois, kPageWhois}, {&m.btnShoulu, kPageShoulu},
      {&m.btnDomainFilter, kPageDomainFilter}, {&m.btnDomainCreate, kPageDomainCreate},
      {&m.btnAlexaTableShow, kPageAlexa}, {&m.btnSiteInfoTableShow, kPageSiteInfo},
      {&m.N12, kPageWhois}, {&m.N13, FormWhoisInfo}, {&m.N8, kPageDomainFilter},
      {&m.N9, kPageDomainCreate}, {&m.N14, kPageAlexa}, {&m.N15, kPageAlexaDetail},
      {&m.N10, kPageSiteInfo}, {&m.N11, kPageShoulu}, {&m.N16, kPageKeyWordComp},
      {&m.N17, kPagePinyin}, {&m.N18, kPageEngWord}, {&m.mnuKeyWord, kPageKeyWord},
      {&m.N7, FormBanquan}, {&m.AlexaPage.btn11, kPageAlexaDetail},
      {&m.KeyWordPage.btnOpenKeyWordMidu, FormKWordMi}};
  std::set<int> reached;
  for (const auto& [control, target] : table) {
    SCOPED_TRACE(std::visit([](auto* c) { return c->Caption(); }, control));
    const MainPage* page = std::get_if<MainPage>(&target);
    // Start from a page the control does not select.
    const int from = page && *page == kPageAll ? kPageWhois : kPageAll;
    m.pgcMain.SetActivePageIndex(from);
    modalForms.clear();
    std::visit([](auto* c) { c->Click(); }, control);
    EXPECT_EQ(m.pgcMain.ActivePageIndex(), page ? *page : from);
    EXPECT_TRUE(m.pgcMain.Visible());
    EXPECT_EQ(modalForms, page ? Forms{} : Forms{std::get<Form*>(target)});
    if (page) reached.insert(*page);
  }
  EXPECT_EQ(reached, (std::set<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}));
  // N10 runs the routine that ticks every service box (the start page's link test counts them).
  EXPECT_TRUE(m.SiteInfoPage.chkKeyWord.Checked());
  EXPECT_TRUE(boxMessages.empty());
}

class SettingsTest : public testing::ProgramWindowTest {
 protected:
  void TearDown() override {
    SetMemos(saved.first, saved.second);
    ProgramWindowTest::TearDown();
  }
  std::pair<Lines, Lines> Memos() { return {filter.Lines(), siteInfo.Lines()}; }
  void SetMemos(const Lines& filterLines, const Lines& siteInfoLines) {
    filter.SetLines(filterLines);
    siteInfo.SetLines(siteInfoLines);
  }

  Memo& filter = (testing::EnsureProgramWindows(), FormMain->DomainFilterPage.mmoFilterKeyWord);
  Memo& siteInfo = FormMain->SiteInfoPage.mmoSiteInfoKeword;
  std::pair<Lines, Lines> saved = Memos();
};

// Which control writes or reads which memo and section (the lists' contents: the reader's test).
TEST_F(SettingsTest, SaveControlsWriteTheirSectionAndTheLoadMenuRefillsBoth) {
  SetMemos({"f1"}, {"not saved"});
  FormMain->N4.Click();
  EXPECT_EQ(Slurp(SettingsFileName()), "[Filter Key]\r\nKeyWord=f1;\r\n");
  SetMemos({Gbk("新")}, {"s1"});
  FormMain->DomainFilterPage.btnFilterKeyWordSave.Click();
  FormMain->SiteInfoPage.btnSiteInfoKeyWordSave.Click();
  SetMemos({"other"}, {});
  FormMain->N5.Click();
  EXPECT_EQ(Memos(), (std::pair<Lines, Lines>{{Gbk("新")}, {"s1"}}));

  // A file without the site-information section empties that memo.
  test::Spit(SettingsFileName(), "[Filter Key]\nKeyWord=one;two\n");
  FormMain->N5.Click();
  EXPECT_EQ(Memos(), (std::pair<Lines, Lines>{{"one"}, {}}));
  EXPECT_TRUE(boxMessages.empty());
}

TEST_F(SettingsTest, UnwritableFileShowsTheErrorAndLoadingChangesNoMemo) {
  // A folder where the settings file should be: it cannot be written or read.
  ASSERT_TRUE(std::filesystem::create_directory(SettingsFileName()));
  SetMemos({"keep"}, {"site"});
  FormMain->N4.Click();
  FormMain->SiteInfoPage.btnSiteInfoKeyWordSave.Click();
  EXPECT_EQ(boxMessages, Lines(2, "Unable to write to " + SettingsFileName()));
  FormMain->N5.Click();
  EXPECT_EQ(Memos(), (std::pair<Lines, Lines>{{"keep"}, {"site"}}));
  EXPECT_EQ(boxMessages.size(), 2u);
}

// A screen reader can tell the edits and memos of the seven windows apart: each has a name.
TEST_F(MainFormTest, EveryEditAndMemoHasAnAccessibleName) {
  std::vector<std::string> unnamed;
  int edits = 0;
  for (Form* f : std::vector<Form*>{FormMain, FormStatShow, FormKWordMi, FormWhoisInfo,
                                    FormSource, FormDaoqi, FormBanquan}) {
    for (QWidget* w : f->Impl()->widget->findChildren<QWidget*>()) {
      if (!qobject_cast<QLineEdit*>(w) && !qobject_cast<QPlainTextEdit*>(w)) continue;
      ++edits;
      if (QAccessible::queryAccessibleInterface(w)->text(QAccessible::Name).isEmpty()) {
        unnamed.push_back(f->Caption() + "/" + w->metaObject()->className());
      }
    }
  }
  EXPECT_GE(edits, 31);
  EXPECT_TRUE(unnamed.empty()) << unnamed.size() << " unnamed, first in " << unnamed.front();
}

// Frames as a desktop with title bars draws them, on a 1280 x 1024 screen.
TEST(StatusWindowPlace, UnderTheMainWindowsFrameAndWholeOnTheScreen) {
  const Rect screen{0, 0, 1280, 1024};
  const Rect status{0, 0, 972, 210};
  // Room below: directly under the frame, left edges equal.
  EXPECT_EQ(DockedStatusPlace({100, 20, 1015, 742}, status, screen), (Rect{100, 742, 1072, 952}));
  // The main window centred: moved up until its bottom is the screen's.
  EXPECT_EQ(DockedStatusPlace({183, 151, 1098, 873}, status, screen), (Rect{183, 814, 1155, 1024}));
  // A narrow work area below a panel: moved left and up, never past its top-left.
  EXPECT_EQ(DockedStatusPlace({60, 100, 975, 822}, status, {0, 30, 1024, 768}),
            (Rect{52, 558, 1024, 768}));
  EXPECT_EQ(DockedStatusPlace({-50, -40, 865, 682}, status, {10, 30, 810, 130}),
            (Rect{10, 30, 982, 240}));
  // The main window at start: centred with the docked status window's room kept below.
  const Rect start = CenteredPlace({0, 0, 915, 722}, 210, screen);
  EXPECT_EQ(start, (Rect{182, 46, 1097, 768}));
  EXPECT_EQ(DockedStatusPlace(start, status, screen).top, start.bottom);
}

TEST_F(MainFormTest, StatusWindowDocksUnderTheMainWindow) {
  // Shown on the low (800 x 600) offscreen screen, the main window keeps its title bar on it.
  FormMain->Hide();
  FormMain->Show();
  EXPECT_EQ(FormMain->FrameBounds().top, FormMain->WorkArea().top);
  FormMain->SetTop(-400);
  ProcessEventsFor(50ms);
  FormStatShow->Show();
  auto docked = [] { return FormStatShow->Top() == FormMain->FrameBounds().bottom; };
  EXPECT_TRUE(WaitUntil(docked, 2000ms)) << FormStatShow->Top();
  // Under the frame, not the window inside it.
  EXPECT_GT(FormMain->FrameBounds().bottom, FormMain->Top() + FormMain->Height());

  // Moving the main window up raises the status window to its bottom edge.
  FormMain->SetTop(FormMain->Top() - 20);
  EXPECT_TRUE(WaitUntil(docked, 2000ms));

  // Moving it down leaves the status window where it is.
  const int statusTop = FormStatShow->Top();
  FormMain->SetTop(FormMain->Top() + 60);
  FormMain->WMMove();
  EXPECT_EQ(FormStatShow->Top(), statusTop);

  // Its own paint puts it back under the main window.
  FormStatShow->FormPaint();
  EXPECT_TRUE(docked());

  // Where the screen ends it is moved up, whole on it; memo and list fill it without a gap.
  FormMain->SetTop(30);
  FormStatShow->FormPaint();
  EXPECT_EQ(FormStatShow->FrameBounds().bottom, FormMain->WorkArea().bottom);
  const TFormStatShow& s = *FormStatShow;
  EXPECT_EQ(s.lvStatShow.Top(), s.mmoStatShow.Top() + s.mmoStatShow.Height());
  EXPECT_EQ(s.lvStatShow.Top() + s.lvStatShow.Height(), s.ClientHeight());
  FormStatShow->Hide();
}

// Each status row a job adds is scrolled into the status list's view.
TEST_F(MainFormTest, StatusListScrollsToEachRowAJobAdds) {
  StatusWindowRows rows;
  auto* view = static_cast<QAbstractItemView*>(FormStatShow->lvStatShow.Impl()->widget.data());
  const int first = rows.RowCount();
  for (int k = 0; k < 15; ++k) {
    const int row = rows.AddRow(std::to_string(first + k + 1), {"SiteInfo.PrCell", "2", "0", "0", ""});
    ASSERT_EQ(row, first + k);
    const QRect shown = view->visualRect(view->model()->index(row, 0));
    EXPECT_TRUE(view->viewport()->rect().contains(shown)) << row;
  }
  EXPECT_FALSE(view->viewport()->rect().intersects(view->visualRect(view->model()->index(first, 0))));
  FormStatShow->Hide();
}

}  // namespace
}  // namespace orlu
