// Parts drawn by their owner (list header items, page tabs) as they come out
// of a real paint, the scroll box's wheel notches and a page's show event.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QAbstractScrollArea>
#include <QImage>
#include <QTabBar>
#include <QWheelEvent>

#include "platform/ui/ui.h"
#include "platform/ui/ui_internal.h"
#include "support/window_test.h"

namespace orlu {
namespace {

Color At(const QImage& image, int x, int y) { return image.pixel(x, y) & 0xFFFFFFu; }

TEST(OwnerDraw, HeaderItemsAndTabsComeFromTheirHandlers) {
  Form form;
  form.SetBounds(0, 0, 500, 400);
  ListView list(form);
  list.SetBounds(0, 0, 400, 100);
  list.SetColumns({{"a", 150}, {"b", 150}});
  list.SetHeaderItemOwnerDraw(1, true);
  std::vector<int> drawn;
  list.OnDrawHeaderItem = [&](Canvas& c, int item, const Rect& r) {
    drawn.push_back(item);
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
  EXPECT_NE(At(header, 20, 6), colors::Red);
  EXPECT_EQ(std::count(drawn.begin(), drawn.end(), 0), 0);

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
  wheel(-240);
  wheel(60);
  wheel(60);
  EXPECT_EQ(downs, 2);
  EXPECT_EQ(ups, 1);
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
