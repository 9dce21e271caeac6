// The application object: exception box, timers, the anti-freeze wait and
// its per-window guard; file dialogs' default extension and shell open.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCoreApplication>
#include <QEvent>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include <algorithm>
#include <memory>
#include <new>
#include <stdexcept>
#include <thread>
#include <vector>

#include "platform/text/errors.h"
#include "platform/text/gbk.h"
#include "platform/thread/dispatcher.h"
#include "platform/ui/ui.h"
#include "support/window_test.h"

namespace orlu {
namespace {

using std::chrono::milliseconds;

TEST(Application, ExceptionsEscapingHandlersAreShownAndTheLoopGoesOn) {
  Form form;
  Button a(form, "a"), b(form, "b"), c(form, "c");
  a.OnClick = [] { throw FileError("Unable to write to /x/y.ini"); };
  b.OnClick = [] { throw 42; };
  int after = 0;
  c.OnClick = [&] { ++after; };
  for (Button* button : {&a, &b, &c}) button->Click();
  EXPECT_EQ(test::ExceptionMessages(),
            (std::vector<std::string>{"Unable to write to /x/y.ini", ""}));
  EXPECT_EQ(after, 1);

  CurrentDispatcher()->Post([] { throw Error("late"); });
  EXPECT_TRUE(WaitUntil([] { return test::ExceptionMessages().size() == 3; }, milliseconds(2000)));
  EXPECT_EQ(test::ExceptionMessages().back(), "late");

  Timer timer(10);
  int ticks = 0;
  timer.OnTimer = [&] {
    ++ticks;
    throw std::runtime_error("tick");
  };
  EXPECT_TRUE(WaitUntil([&] { return ticks >= 3; }, milliseconds(2000)));
  timer.Stop();
  EXPECT_EQ(test::ExceptionMessages().size(), 3u + ticks);

  struct Broken : Form {
    Broken() { throw Error("broken form"); }
  };
  Broken* global = reinterpret_cast<Broken*>(&form);
  Application::Instance()->CreateForm(global);
  EXPECT_EQ(global, nullptr);
  EXPECT_EQ(test::ExceptionMessages().back(), "broken form");
}

// A library's own text ("std::bad_alloc") never reaches the box: running out of memory and other
// library errors are told in the program's words, its own errors keep theirs; whatever the toolkit
// dispatches outside the handlers (here an event) is caught the same way.
TEST(Application, LibraryErrorsAreToldInTheProgramsOwnWords) {
  Form form;
  Button a(form, "a"), b(form, "b"), c(form, "c");
  a.OnClick = [] { throw std::bad_alloc(); };
  b.OnClick = [] { (void)std::vector<int>().at(3); };
  c.OnClick = [] { throw ConvertError("x9"); };
  for (Button* button : {&a, &b, &c}) button->Click();
  struct Thrower : QObject {
    bool event(QEvent*) override { throw std::bad_alloc(); }
  } thrower;
  QEvent event(QEvent::User);
  QCoreApplication::sendEvent(&thrower, &event);
  const std::string noMemory = Gbk("内存不足，操作未完成。请清空不需要的列表后再试。");
  EXPECT_EQ(test::ExceptionMessages(),
            (std::vector<std::string>{noMemory, Gbk("程序内部出错，操作未完成。"),
                                      Gbk("“x9”不是有效的整数"), noMemory}));
}

// An error raised again while its box is open (a timer in the box's loop) gets no second box.
TEST(Application, AnErrorAlreadyInItsBoxIsNotShownTwice) {
  Application::SetExceptionHook({});
  int most = 0;
  QTimer closer;
  QObject::connect(&closer, &QTimer::timeout, [&] {
    int open = 0;
    for (QWidget* w : QApplication::topLevelWidgets()) {
      open += qobject_cast<QMessageBox*>(w) != nullptr && w->isVisible() ? 1 : 0;
    }
    most = std::max(most, open);
    if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) box->done(0);
  });
  closer.start(50);
  QTimer::singleShot(10, [] { Application::ShowException("x"); });
  Application::ShowException("x");
  closer.stop();
  EXPECT_EQ(most, 1);
}

// The toolkit's own dialogs speak Chinese like the program's windows.
TEST(Application, TheToolkitsOwnTextsAreChinese) {
  QMessageBox box(QMessageBox::NoIcon, "t", "x", QMessageBox::Ok | QMessageBox::Cancel);
  EXPECT_EQ(box.button(QMessageBox::Ok)->text().toStdString(), "\u786E\u5B9A");        // 确定
  EXPECT_EQ(box.button(QMessageBox::Cancel)->text().toStdString(), "\u53D6\u6D88");    // 取消
  QFileDialog dialog;
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  auto* lookIn = dialog.findChild<QLabel*>(QStringLiteral("lookInLabel"));
  ASSERT_NE(lookIn, nullptr);
  EXPECT_EQ(lookIn->text().toStdString(), "\u67E5\u627E\u8303\u56F4\uFF1A");  // 查找范围：
}

TEST(Timer, TicksAndEnablingRestartsTheInterval) {
  Timer timer(500, false);
  int ticks = 0;
  timer.OnTimer = [&] { ++ticks; };
  ProcessEventsFor(milliseconds(600));
  EXPECT_EQ(ticks, 0);

  timer.SetEnabled(true);
  ProcessEventsFor(milliseconds(300));
  // Enabling again restarts the count: no tick 600 ms after the first start.
  timer.SetEnabled(true);
  ProcessEventsFor(milliseconds(300));
  EXPECT_EQ(ticks, 0);
  EXPECT_TRUE(WaitUntil([&] { return ticks >= 1; }, milliseconds(1000)));
  timer.Stop();
  const int stopped = ticks;
  ProcessEventsFor(milliseconds(600));
  EXPECT_EQ(ticks, stopped);

  timer.SetInterval(0);
  timer.Start();
  ProcessEventsFor(milliseconds(50));
  EXPECT_EQ(ticks, stopped);
}

// A handler may end its own timer (a record going away on a tick).
TEST(Timer, AHandlerMayDestroyItsOwnTimer) {
  auto timer = std::make_unique<Timer>(10);
  int ticks = 0;
  timer->OnTimer = [&] {
    ++ticks;
    timer.reset();
  };
  EXPECT_TRUE(WaitUntil([&] { return timer == nullptr; }, milliseconds(2000)));
  ProcessEventsFor(milliseconds(50));
  EXPECT_EQ(ticks, 1);
}

// While a handler waits on slow work, timers run and a second request is ignored.
TEST(AntiFreeze, WindowsStayAliveAndASecondRequestIsIgnored) {
  Form form;
  Button go(form, "go");
  int started = 0, ignored = 0, ticksDuringWait = 0;
  bool waiting = false;
  Timer ticker(10);
  ticker.OnTimer = [&] {
    if (waiting && ++ticksDuringWait == 3) go.Click();
  };
  go.OnClick = [&] {
    BusyGuard guard(form);
    if (!guard) {
      ++ignored;
      return;
    }
    ++started;
    waiting = true;
    RunKeepingWindowsAlive([] { std::this_thread::sleep_for(milliseconds(300)); });
    waiting = false;
  };
  go.Click();
  ticker.Stop();
  EXPECT_EQ(std::pair(started, ignored), std::pair(1, 1));
  EXPECT_GT(ticksDuringWait, 5);
  EXPECT_FALSE(form.Busy());
  go.Click();
  EXPECT_EQ(started, 2);
}

TEST(Dialogs, SaveAddsTheDefaultExtensionOnlyToANameWithoutOne) {
  std::vector<std::string> answers{"/tmp/out", "/tmp/a.b/out.txt", "/tmp/x", ""};
  size_t next = 0;
  SetFileDialogHook([&](const FileDialogRequest&) -> std::optional<std::string> {
    return answers[next++];
  });
  SaveDialog save;
  save.SetDefaultExt("csv");
  ASSERT_TRUE(save.Execute());
  EXPECT_EQ(save.FileName(), "/tmp/out.csv");
  ASSERT_TRUE(save.Execute());
  EXPECT_EQ(save.FileName(), "/tmp/a.b/out.txt");
  OpenDialog open;
  open.SetDefaultExt("csv");
  ASSERT_TRUE(open.Execute());
  EXPECT_EQ(open.FileName(), "/tmp/x");
  EXPECT_FALSE(open.Execute());  // an empty answer is a cancel
}

TEST(ShellOpen, OnlyHttpAndHttpsAndBareAddressesGetHttp) {
  EXPECT_EQ(ShellOpenAddress("HTTPS://a.com"), std::optional<std::string>("HTTPS://a.com"));
  EXPECT_EQ(ShellOpenAddress("  a.com/p  "), std::optional<std::string>("http://a.com/p"));
  EXPECT_EQ(ShellOpenAddress("\xD6\xD0\xCE\xC4.cn"), std::optional<std::string>("http://\xD6\xD0\xCE\xC4.cn"));
  for (const char* refused : {"javascript:alert(1)", "ftp://a.com", "C:\\Windows\\x.exe", "   ",
                              "http:", "http://", "http:a.com", "a.com\nb"}) {
    EXPECT_EQ(ShellOpenAddress(refused), std::nullopt) << refused;
  }
  EXPECT_EQ(ShellOpen("file:///etc/passwd"), std::nullopt);
  EXPECT_EQ(ShellOpen("a.com"), std::optional<std::string>("http://a.com"));
  EXPECT_EQ(test::ShellOpened(), std::vector<std::string>{"http://a.com"});
}

}  // namespace
}  // namespace orlu
