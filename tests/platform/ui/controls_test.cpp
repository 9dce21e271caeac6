// Common control behaviour: code clicks, docking, anchors, tool bar rows,
// pages, menus, up-downs; parts drawn by their owner (list header items, page
// tabs) as they come out of a real paint, and the scroll box's wheel notches.
#include <gtest/gtest.h>

#include <QAbstractScrollArea>
#include <QAccessible>
#include <QCoreApplication>
#include <QContextMenuEvent>
#include <QEnterEvent>
#include <QImage>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTabBar>
#include <QWheelEvent>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "platform/text/gbk.h"
#include "platform/ui/import_lines.h"
#include "platform/ui/ui.h"
#include "platform/ui/ui_internal.h"
#include "support/temp_files.h"
#include "support/window_test.h"

namespace orlu {
namespace {

std::vector<int> Bounds(const Control& c) { return {c.Left(), c.Top(), c.Width(), c.Height()}; }

TEST(Controls, ClickFromCodeRunsTheHandlerEvenWhenDisabled) {
  Form form;
  Button button(form, "\xB2\xE9\xD1\xAF");
  Label label(form, "link");
  CheckBox box(form, "c");
  MainMenu menu(form);
  int clicks = 0;
  button.OnClick = label.OnClick = box.OnClick = [&] { ++clicks; };
  MenuItem& item = menu.Add("\xB9\xA6\xC4\xDC").Add("x", [&] { ++clicks; });
  box.SetChecked(true);
  EXPECT_EQ(clicks, 0);  // setting the state is not a click
  item.SetEnabled(false);
  item.Click();
  for (Control* c : std::initializer_list<Control*>{&button, &label, &box}) {
    c->SetEnabled(false);
    c->Click();
  }
  EXPECT_EQ(clicks, 4);
  EXPECT_FALSE(box.Checked());
}

TEST(Controls, DockingTakesEdgesInOrderAndClientTheRest) {
  Form form;
  form.SetBounds(0, 0, 400, 300);
  Panel top(form), bottom(form), right(form), client(form), plain(form);
  top.SetHeight(30);
  top.SetAlign(Align::Top);
  bottom.SetHeight(20);
  bottom.SetAlign(Align::Bottom);
  right.SetWidth(50);
  right.SetAlign(Align::Right);
  client.SetAlign(Align::Client);
  plain.SetBounds(10, 40, 60, 20);
  form.Show();
  EXPECT_EQ(Bounds(top), (std::vector<int>{0, 0, 400, 30}));
  EXPECT_EQ(Bounds(bottom), (std::vector<int>{0, 280, 400, 20}));
  EXPECT_EQ(Bounds(right), (std::vector<int>{350, 30, 50, 250}));
  EXPECT_EQ(Bounds(client), (std::vector<int>{0, 30, 350, 250}));
  EXPECT_EQ(Bounds(plain), (std::vector<int>{10, 40, 60, 20}));
  form.SetBounds(0, 0, 500, 400);
  EXPECT_EQ(Bounds(bottom), (std::vector<int>{0, 380, 500, 20}));
  EXPECT_EQ(Bounds(client), (std::vector<int>{0, 30, 450, 350}));
  top.Hide();
  EXPECT_EQ(Bounds(client), (std::vector<int>{0, 0, 450, 380}));
  Label inner(client, "x");
  inner.SetAutoSize(false);
  inner.SetHeight(10);
  inner.SetAlign(Align::Bottom);
  EXPECT_EQ(Bounds(inner), (std::vector<int>{0, 370, 450, 10}));
}

TEST(Controls, MenuBarTakesRoomAboveTheClientAreaAndTheStatusBarSitsBelow) {
  Form form;
  form.SetBounds(0, 0, 300, 200);
  MainMenu menu(form);
  menu.Add("a").Add("b");
  Panel fill(form);
  fill.SetAlign(Align::Client);
  EXPECT_GT(form.Height() - form.ClientHeight(), 0);
  EXPECT_EQ(fill.Height(), form.ClientHeight());
  StatusBar bar(form);
  EXPECT_EQ(bar.Top() + bar.Height(), form.ClientHeight());
}

TEST(Controls, AnchoredControlsKeepTheirDistances) {
  Form form;
  form.SetBounds(0, 0, 400, 300);
  Memo grows(form);
  grows.SetBounds(10, 10, 380, 200);
  grows.SetAnchors(kAnchorLeft | kAnchorTop | kAnchorRight | kAnchorBottom);
  Button corner(form, "b");
  corner.SetBounds(300, 260, 80, 25);
  corner.SetAnchors(kAnchorRight | kAnchorBottom);
  form.SetBounds(0, 0, 500, 350);
  EXPECT_EQ(Bounds(grows), (std::vector<int>{10, 10, 480, 250}));
  EXPECT_EQ(Bounds(corner), (std::vector<int>{400, 310, 80, 25}));
}

TEST(Controls, ToolBarPutsButtonsAndControlsInOneRow) {
  Form form;
  form.SetBounds(0, 0, 913, 600);
  ImageList images(30, 30);
  images.AddGlyph("\xD7\xDB", colors::Blue);
  ToolBar bar(form);
  bar.SetImages(&images);
  ToolButton first(bar, "\xD7\xDB\xBA\xCF", 0);
  ToolButton second(bar, "WHOIS", 0);
  Panel panel(bar);
  panel.SetBounds(0, 0, 383, 50);
  EXPECT_EQ((std::vector{first.Left(), second.Left(), panel.Left(), panel.Width(), second.Top()}),
            (std::vector{0, first.Width(), second.Left() + second.Width(), 383, first.Top()}));
}

TEST(Controls, PageControlWithHiddenTabs) {
  Form form;
  PageControl pages(form);
  pages.SetTabsVisible(false);
  TabSheet a(pages, "a"), b(pages, "b");
  int changes = 0;
  pages.OnChange = [&] { ++changes; };
  pages.SetActivePage(b);
  pages.SetActivePageIndex(7);  // no such page: nothing changes
  EXPECT_EQ(std::pair(pages.ActivePage(), changes), std::pair(&b, 0));  // code's changes are silent
  pages.SetTabsVisible(true);
  QTabBar* tabs = pages.Impl()->widget->findChild<QTabBar*>();
  ASSERT_NE(tabs, nullptr);
  tabs->setCurrentIndex(0);
  EXPECT_EQ(std::pair(pages.ActivePage(), changes), std::pair(&a, 1));
}

// A screen reader sees a frame, named edits, and nothing hidden by code.
TEST(Controls, AssistiveTechnologySeesWhatTheEyeSees) {
  Form form;
  Edit edit(form);
  edit.SetAccessibleName("\xD3\xF2\xC3\xFB");  // 域名
  ListView hidden(form);
  hidden.Hide();
  PageControl pages(form);
  pages.SetTabsVisible(false);
  TabSheet page(pages, "a");
  const auto seen = [](QWidget* w) { return QAccessible::queryAccessibleInterface(w); };
  EXPECT_EQ(seen(form.Impl()->widget)->role(), QAccessible::Window);
  EXPECT_EQ(seen(edit.Impl()->widget)->text(QAccessible::Name), QString::fromUtf8("\u57DF\u540D"));
  EXPECT_EQ(seen(form.Impl()->surface)->childCount(), 2);
  EXPECT_EQ(seen(pages.Impl()->widget)->childCount(), 1);
  pages.SetTabsVisible(true);
  EXPECT_EQ(seen(pages.Impl()->widget)->childCount(), 2);
}

// Sized before the window is first shown, so controls anchored on them keep their distances.
TEST(Controls, PagesAndScrollBoxesAreSizedWhileHidden) {
  Form form;
  form.SetBounds(0, 0, 913, 600);
  PageControl pages(form);
  pages.SetAlign(Align::Client);
  pages.SetTabsVisible(false);
  TabSheet page(pages, "p");
  EXPECT_GE(page.ClientWidth(), 900);
  Memo memo(page);
  memo.SetBounds(10, 10, page.ClientWidth() - 20, page.ClientHeight() - 110);
  memo.SetAnchors(kAnchorLeft | kAnchorTop | kAnchorRight | kAnchorBottom);
  TabSheet other(pages, "scroll");
  ScrollBox box(other);
  box.SetAlign(Align::Client);
  box.SetContentHeight(1400);
  Label deep(box, "x");
  deep.SetTop(1300);
  EXPECT_EQ(deep.Top(), 1300);
  Panel band(box);
  band.SetAlign(Align::Top);
  EXPECT_GE(band.Width(), 850);

  form.SetBounds(0, 0, 1013, 700);
  form.Show();
  ProcessEventsFor(std::chrono::milliseconds(20));
  EXPECT_EQ(std::pair(memo.Width(), memo.Height()),
            std::pair(page.ClientWidth() - 20, page.ClientHeight() - 110));
  pages.SetActivePage(other);
  EXPECT_GE(band.Width(), 950);
}

TEST(Controls, UpDownStepsTheNumberInItsEdit) {
  Form form;
  Edit edit(form, "1");
  edit.SetBounds(10, 10, 100, 21);
  UpDown arrows(form);
  arrows.SetRange(1, 1000);
  arrows.SetPosition(100);
  arrows.Associate(&edit);
  EXPECT_EQ(edit.Text(), "100");
  EXPECT_EQ(edit.Width(), 100 - arrows.Width());
  EXPECT_EQ(arrows.Left(), edit.Left() + edit.Width());
  // "abc" and "12abc" are no numbers: the step goes from the last position.
  for (const auto& [text, up, after] : {std::tuple{"7", true, "8"}, {"1000", true, "1000"},
                                        {"abc", false, "999"}, {"12abc", false, "998"}}) {
    edit.SetText(text);
    up ? arrows.StepUp() : arrows.StepDown();
    EXPECT_EQ(edit.Text(), after) << text;
  }
}

TEST(Controls, KeyPressCanSwallowKeys) {
  Form form;
  Edit edit(form);
  std::string seen;
  edit.OnKeyPress = [&](char& key) {
    seen.push_back(key);
    if (key == 'x') key = 0;
  };
  for (const auto& [key, text] : {std::pair{Qt::Key_A, "a"}, {Qt::Key_X, "x"}, {Qt::Key_B, "b"},
                                  {Qt::Key_Return, "\r"}}) {
    QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier, text);
    QCoreApplication::sendEvent(edit.Impl()->widget, &event);
  }
  EXPECT_EQ(seen, "axb\r");
  EXPECT_EQ(edit.Text(), "ab");
}

// Names GBK cannot hold (결과😀.txt) are shown whole and given back as the file system's bytes.
TEST(Controls, FileNameBoxKeepsTheFileSystemBytes) {
  Form form;
  Edit edit(form);
  const std::string name = "/tmp/\xEA\xB2\xB0\xEA\xB3\xBC\xF0\x9F\x98\x80.txt";
  edit.SetFileName(name);
  auto* line = static_cast<QLineEdit*>(edit.Impl()->widget.data());
  EXPECT_EQ(line->text(), QString::fromUtf8("/tmp/\uACB0\uACFC\U0001F600.txt"));
  EXPECT_EQ(edit.FileName(), name);
  EXPECT_EQ(edit.Text(), "/tmp/???.txt");
  line->setText(QString::fromUtf8("/x/\uACB0.csv"));
  EXPECT_EQ(edit.FileName(), "/x/\xEA\xB2\xB0.csv");
}

// Every page's import: the lines replace the memo's and the file box then names the file; a file
// too large to hold (2 GB, made sparse) is refused in words of the program's own, and the memo and
// the box stay as they were.
TEST(Controls, ImportFillsTheMemoAndThenTheFileBoxOrLeavesBothAsTheyWere) {
  Form form;
  Memo memo(form);
  Edit box(form);
  OpenDialog dialog;
  Button import(form, "import");
  import.OnClick = [&] { ImportLines(dialog, memo, &box); };
  test::TempDir dir;
  std::optional<std::string> answer;
  SetFileDialogHook([&](const FileDialogRequest&) { return answer; });

  answer = dir / "list.txt";
  test::Spit(*answer, "a.com\r\nb.com\n");
  import.Click();
  EXPECT_EQ(memo.Lines(), (std::vector<std::string>{"a.com", "b.com"}));
  EXPECT_EQ(box.FileName(), *answer);

  const std::string kept = *answer;
  answer = dir / "huge.txt";
  test::Spit(*answer, "");
  std::filesystem::resize_file(*answer, 2LL << 30);
  import.Click();
  EXPECT_EQ(test::ExceptionMessages(),
            std::vector<std::string>{Gbk("文件 ") + *answer +
                                     Gbk(" 有 2147483648 字节，超过导入上限 1073741824 字节，未导入。")});
  EXPECT_EQ(memo.Lines(), (std::vector<std::string>{"a.com", "b.com"}));
  EXPECT_EQ(box.FileName(), kept);
}

TEST(Controls, HoverEventsAndThePopupMenuOfARightClick) {
  Form form;
  form.SetBounds(0, 0, 300, 200);
  ListView list(form);
  list.SetBounds(0, 0, 200, 100);
  Label link(form, "link");
  int enters = 0, leaves = 0;
  link.OnMouseEnter = [&] { ++enters; };
  link.OnMouseLeave = [&] { ++leaves; };
  form.Show();
  QWidget* lw = link.Impl()->widget;
  QEnterEvent enter(QPointF(1, 1), QPointF(1, 1), QPointF(1, 1));
  QCoreApplication::sendEvent(lw, &enter);
  QEvent leave(QEvent::Leave);
  QCoreApplication::sendEvent(lw, &leave);
  EXPECT_EQ(std::pair(enters, leaves), std::pair(1, 1));

  PopupMenu menu;
  int popups = 0, picked = 0;
  menu.OnPopup = [&] { ++popups; };
  menu.Add("\xD3\xF2\xC3\xFB\xBB\xF9\xB1\xBE\xD0\xC5\xCF\xA2", [&] { ++picked; });
  list.SetPopupMenu(&menu);
  QWidget* viewport = list.Impl()->input;
  QContextMenuEvent right(QContextMenuEvent::Mouse, QPoint(5, 5), viewport->mapToGlobal(QPoint(5, 5)));
  QCoreApplication::sendEvent(viewport, &right);
  EXPECT_EQ(popups, 1);
  menu.Item(0).Click();
  EXPECT_EQ(picked, 1);
  list.SetPopupMenu(nullptr);
}

TEST(Controls, SelfSizingLabelsFollowTheirTextAndFont) {
  Form form;
  Label label(form, "ab");
  const int narrow = label.Width();
  label.SetCaption("\xD3\xF2\xC3\xFB\xB2\xE9\xD1\xAF\xB9\xA4\xBE\xDF");
  EXPECT_GT(label.Width(), narrow);
  label.SetAutoSize(false);
  label.SetBounds(58, 10, 150, 15);
  label.SetCaption("x");
  EXPECT_EQ(label.Width(), 150);
  label.SetFontColor(colors::Blue);
  QWidget* w = label.Impl()->widget;
  EXPECT_EQ(w->palette().color(QPalette::WindowText), QColor(0, 0, 255));
  label.SetFontColor(kDefaultColor);
  EXPECT_EQ(w->palette().color(QPalette::WindowText), QPalette().color(QPalette::WindowText));
}

Color At(const QImage& image, int x, int y) { return image.pixel(x, y) & 0xFFFFFFu; }

TEST(OwnerDraw, HeaderItemsAndTabsComeFromTheirHandlers) {
  Form form;
  form.SetBounds(0, 0, 500, 400);
  ListView list(form);
  list.SetBounds(0, 0, 400, 100);
  list.SetColumns({{"a", 150}, {"b", 150}});
  list.SetHeaderItemOwnerDraw(1, true);
  list.OnDrawHeaderItem = [&](Canvas& c, int, const Rect& r) {
    c.SetBrushColor(colors::Red);
    c.FillRect(r);
  };
  PageControl pages(form);
  pages.SetBounds(0, 120, 300, 100);
  TabSheet one(pages, "one"), two(pages, "two");
  pages.OnDrawTab = [](Canvas& c, int index, const Rect& r, bool active) {
    c.SetBrushColor(index == 0 ? colors::Blue : active ? colors::Green : colors::Red);
    c.FillRect(r);
  };
  pages.SetOwnerDrawTabs(true);
  form.Show();
  ProcessEventsFor(std::chrono::milliseconds(20));

  const QImage header = list.Impl()->widget->grab().toImage();
  const Rect second = list.HeaderItemRect(1);
  EXPECT_EQ(At(header, second.left + 10 + 1, second.top + 5 + 1), colors::Red);
  EXPECT_NE(At(header, 20, 6), colors::Red);  // the first item is drawn by the list

  auto* bar = static_cast<QWidget*>(pages.Impl()->widget->findChild<QTabBar*>());
  const QImage tabs = bar->grab().toImage();
  const Rect t0 = pages.TabRect(0), t1 = pages.TabRect(1);
  EXPECT_EQ(At(tabs, t0.left + 3, t0.top + 3), colors::Blue);
  EXPECT_EQ(At(tabs, t1.left + 3, t1.top + 3), colors::Red);
}

TEST(OwnerDraw, WheelNotchesReachTheScrollBoxHandlersAndAPageTellsWhenShown) {
  Form form;
  form.SetBounds(0, 0, 300, 300);
  ScrollBox box(form);
  box.SetBounds(0, 0, 200, 200);
  box.SetContentHeight(1000);
  box.SetScrollPosition(5000);
  EXPECT_EQ(box.ScrollPosition(), box.ScrollRange());
  box.SetScrollPosition(0);
  int downs = 0, ups = 0;
  bool handle = true;
  box.OnMouseWheelDown = [&](bool& handled) { ++downs, handled = handle; };
  box.OnMouseWheelUp = [&](bool& handled) { ++ups, handled = handle; };
  form.Show();
  ProcessEventsFor(std::chrono::milliseconds(20));
  auto wheel = [&](int delta) {
    // Sent from code, the event reaches only its receiver: the view itself.
    QWidget* w = static_cast<QAbstractScrollArea*>(box.Impl()->widget.data())->viewport();
    QWheelEvent e(QPointF(10, 10), w->mapToGlobal(QPointF(10, 10)), QPoint(), QPoint(0, delta),
                  Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(w, &e);
  };
  for (const int delta : {-240, 60, 60}) wheel(delta);
  EXPECT_EQ(std::pair(downs, ups), std::pair(2, 1));
  EXPECT_EQ(box.ScrollPosition(), 0);  // handled: the box does not scroll itself
  handle = false;
  wheel(-120);
  EXPECT_GT(box.ScrollPosition(), 0);

  PageControl pages(form);
  TabSheet one(pages), two(pages);
  int shown = 0;
  two.OnShow = [&] { ++shown; };
  pages.SetActivePageIndex(1);
  EXPECT_EQ(shown, 1);
}

}  // namespace
}  // namespace orlu
