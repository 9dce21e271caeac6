#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/thread/dispatcher.h"
#include "platform/ui/ui.h"
#include "support/window_test.h"

namespace orlu {
namespace {

using namespace std::chrono_literals;

TEST(FormWindow, ShowModalRunsItsOwnLoopUntilClosed) {
  Form form;
  bool wasModal = false;
  PostToWindowThread([&] {
    wasModal = form.Modal() && form.Visible();
    form.SetModalResult(kModalOk);
  });
  EXPECT_EQ(form.ShowModal(), kModalOk);
  EXPECT_TRUE(wasModal);
  EXPECT_FALSE(form.Visible());
  EXPECT_FALSE(form.Modal());

  PostToWindowThread([&] { form.Close(); });
  EXPECT_EQ(form.ShowModal(), kModalCancel);
}

// A paint handler may move its own form (the status window docks itself so).
TEST(FormWindow, PaintMoveAndCloseEvents) {
  Form main;
  main.SetBounds(100, 50, 300, 200);
  Form docked;
  docked.SetBounds(0, 0, 300, 100);
  docked.SetStayOnTop(true);
  int moves = 0, closes = 0;
  main.OnMove = [&] { ++moves; };
  docked.OnClose = [&] { ++closes; };
  docked.OnPaint = [&] {
    docked.SetLeft(main.Left());
    docked.SetTop(main.Top() + main.Height());
  };
  main.Show();
  docked.Show();
  EXPECT_TRUE(WaitUntil([&] { return docked.Top() == 250 && docked.Left() == 100; }, 2s));
  main.SetTop(120);
  EXPECT_TRUE(WaitUntil([&] { return moves > 0; }, 2s));
  docked.Close();
  EXPECT_EQ(closes, 1);
  EXPECT_FALSE(docked.Visible());
}

// Centred with the frame: a form asked to be, and one no code has placed.
TEST(FormWindow, CentredFormsAreCentredWhenShown) {
  Form asked, unplaced, placed;
  asked.SetBounds(0, 0, 200, 100);
  asked.SetPosition(FormPosition::ScreenCenter);
  unplaced.SetWidth(300);
  unplaced.SetHeight(120);
  placed.SetBounds(10, 20, 300, 120);
  const Rect area = asked.WorkArea();
  for (Form* form : {&asked, &unplaced, &placed}) form->Show();
  for (Form* form : {&asked, &unplaced}) {
    const Rect frame = form->FrameBounds();
    EXPECT_GT(frame.Height(), form->Height());
    EXPECT_EQ(frame.left - area.left, area.right - frame.right);
    EXPECT_LE(std::abs((frame.top - area.top) - (area.bottom - frame.bottom)), 1);
  }
  EXPECT_EQ(std::pair(placed.Left(), placed.Top()), std::pair(10, 20));
}

TEST(TrayIconArea, MinimisedFormLosesItsTaskBarButtonOnlyWithANotificationArea) {
  Form form;
  TrayIcon tray(form);
  int restored = 0;
  tray.OnDblClick = [&] { ++restored; };
  form.Show();

  TrayIcon::SetAreaAvailableForTesting(false);
  form.SetState(WindowState::Minimized);
  ProcessEventsFor(30ms);
  EXPECT_EQ(form.State(), WindowState::Minimized);
  EXPECT_TRUE(form.Visible());  // still reachable from the task bar
  form.Restore();

  TrayIcon::SetAreaAvailableForTesting(true);
  form.SetState(WindowState::Minimized);
  EXPECT_TRUE(WaitUntil([&] { return !form.Visible(); }, 2s));
  tray.DoubleClick();
  EXPECT_TRUE(form.Visible());
  EXPECT_EQ(form.State(), WindowState::Normal);
  EXPECT_EQ(restored, 1);
}

TEST(FormWindow, RunShowsTheMainFormAndClosingItEndsTheLoop) {
  Application* app = Application::Instance();
  Form main;
  ASSERT_EQ(app->MainForm(), &main);  // no other form lives now
  Form other;
  EXPECT_EQ(app->MainForm(), &main);
  bool shown = false;
  PostToWindowThread([&] {
    shown = main.Visible();
    main.Close();
  });
  EXPECT_EQ(app->Run(), 0);
  EXPECT_TRUE(shown);
  EXPECT_TRUE(app->Terminated());
}

}  // namespace
}  // namespace orlu
