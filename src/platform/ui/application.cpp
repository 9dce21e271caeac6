// The application object, its exception box and the window-thread
// dispatcher on the toolkit's event loop.
#include "platform/ui/application.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QEventLoop>
#include <QLibraryInfo>
#include <QMessageBox>
#include <QMetaObject>
#include <QTimer>
#include <QTranslator>

#include <algorithm>
#include <exception>
#include <mutex>
#include <new>
#include <string>
#include <thread>
#include <vector>

#include "platform/text/errors.h"
#include "platform/text/gbk.h"
#include "platform/thread/dispatcher.h"
#include "platform/ui/form.h"
#include "platform/ui/ui_internal.h"

namespace orlu {

void ActivateTimers();    // timer.cpp
void DeactivateTimers();  // timer.cpp

namespace {

Application* g_application = nullptr;

// What the box says for errors that carry no message of the system's own.
// Made once, early: when memory has run out the words must not need much.
const std::string& OutOfMemoryMessage() {
  static const std::string message = Gbk("内存不足，操作未完成。请清空不需要的列表后再试。");
  return message;
}
const std::string& InternalErrorMessage() {
  static const std::string message = Gbk("程序内部出错，操作未完成。");
  return message;
}

// The last catch of the window thread: an exception escaping anything the
// toolkit dispatches (a paint, a list's data, a call not made through a
// handler) is shown in the box, and the loop goes on.
class GuardedQApplication : public QApplication {
 public:
  using QApplication::QApplication;

  bool notify(QObject* receiver, QEvent* event) override {
    try {
      return QApplication::notify(receiver, event);
    } catch (...) {
      Application::ShowCurrentException();
      return false;
    }
  }
};

std::mutex g_hookMutex;
std::function<void(const std::string&)> g_exceptionHook;

// Posted calls run on the window thread through a receiver living there.
class QtDispatcher : public Dispatcher {
 public:
  QtDispatcher() : windowThread_(std::this_thread::get_id()), receiver_(new QObject) {}
  ~QtDispatcher() override { delete receiver_; }

  void Post(std::function<void()> call) override {
    QMetaObject::invokeMethod(
        receiver_, [c = std::move(call)] { Application::GuardedRun(c); },
        Qt::QueuedConnection);
  }

  bool InWindowThread() const override { return std::this_thread::get_id() == windowThread_; }

  void ProcessEvents(std::chrono::milliseconds wait) override {
    if (wait.count() <= 0) {
      QCoreApplication::processEvents(QEventLoop::AllEvents);
      return;
    }
    // Wait for the next event, at most `wait`: the timer ends the wait.
    QTimer limit;
    limit.setSingleShot(true);
    limit.start(static_cast<int>(std::min<long long>(wait.count(), 1 << 30)));
    if (QAbstractEventDispatcher* d = QAbstractEventDispatcher::instance()) {
      d->processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    }
    // Calls posted while the first events ran.
    QCoreApplication::sendPostedEvents();
  }

 private:
  std::thread::id windowThread_;
  QObject* receiver_;
};

}  // namespace

struct ApplicationImpl {
  std::unique_ptr<QApplication> qapp;
  std::unique_ptr<QtDispatcher> dispatcher;
  std::unique_ptr<QTranslator> qtTexts;
  std::string title;
  std::vector<std::unique_ptr<Form>> kept;
  Form* mainForm = nullptr;
  bool terminated = false;
};

Application::Application(int& argc, char** argv) : impl_(std::make_unique<ApplicationImpl>()) {
  OutOfMemoryMessage();
  InternalErrorMessage();
  impl_->qapp = std::make_unique<GuardedQApplication>(argc, argv);
  QApplication::setQuitOnLastWindowClosed(false);
  InstallAccessibility();
  // The toolkit's own texts (file dialogs, message-box buttons) in Chinese,
  // as the rest of the program; without the catalogue they stay English.
  auto qtTexts = std::make_unique<QTranslator>();
  if (qtTexts->load(QStringLiteral("qtbase_zh_CN"),
                    QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    QCoreApplication::installTranslator(qtTexts.get());
    impl_->qtTexts = std::move(qtTexts);
  }
  impl_->dispatcher = std::make_unique<QtDispatcher>();
  g_application = this;
  SetDispatcher(impl_->dispatcher.get());
  ActivateTimers();
}

Application::~Application() {
  // Forms made by CreateForm go in the reverse order of their making.
  while (!impl_->kept.empty()) impl_->kept.pop_back();
  DeactivateTimers();
  if (CurrentDispatcher() == impl_->dispatcher.get()) SetDispatcher(nullptr);
  impl_->dispatcher.reset();
  g_application = nullptr;
  if (impl_->qtTexts) QCoreApplication::removeTranslator(impl_->qtTexts.get());
  impl_->qtTexts.reset();
  impl_->qapp.reset();
}

Application* Application::Instance() { return g_application; }

std::string Application::Title() const { return impl_->title; }

void Application::SetTitle(const std::string& title) {
  impl_->title = title;
  QCoreApplication::setApplicationName(ToQ(title));
}

void Application::Keep(std::unique_ptr<Form> form) { impl_->kept.push_back(std::move(form)); }

Form* Application::MainForm() const { return impl_->mainForm; }

void Application::AddForm(Form* form) {
  if (impl_->mainForm == nullptr) impl_->mainForm = form;
}

void Application::RemoveForm(Form* form) {
  if (impl_->mainForm == form) impl_->mainForm = nullptr;
}

int Application::Run() {
  impl_->terminated = false;
  if (impl_->mainForm != nullptr && !impl_->mainForm->Visible()) {
    GuardedRun([this] { impl_->mainForm->Show(); });
  }
  if (!impl_->terminated) QApplication::exec();
  return 0;
}

void Application::Terminate() {
  impl_->terminated = true;
  QCoreApplication::quit();
}

bool Application::Terminated() const { return impl_->terminated; }

void Application::GuardedRun(const std::function<void()>& call) {
  try {
    call();
  } catch (...) {
    ShowCurrentException();
  }
}

void Application::ShowCurrentException() {
  // The system's own errors say what went wrong in its words; a library's
  // text ("std::bad_alloc", "vector::_M_realloc_insert") is no message for
  // a user.
  std::string message;
  try {
    throw;
  } catch (const Error& e) {
    message = e.what();
  } catch (const std::bad_alloc&) {
    message = OutOfMemoryMessage();
  } catch (const std::exception&) {
    message = InternalErrorMessage();
  } catch (...) {
    // Not an exception object: shown with an empty message.
  }
  ShowException(message);
}

void Application::ShowException(const std::string& message) {
  std::function<void(const std::string&)> hook;
  {
    std::lock_guard<std::mutex> lock(g_hookMutex);
    hook = g_exceptionHook;
  }
  if (hook) {
    try {
      hook(message);
    } catch (...) {
    }
    return;
  }
  // Outside the application's life (an error while starting or ending) the
  // box needs a toolkit of its own.
  std::unique_ptr<QApplication> temporary;
  if (QCoreApplication::instance() == nullptr) {
    static int argc = 1;
    static char name[] = "orlu";
    static char* argv[] = {name, nullptr};
    temporary = std::make_unique<QApplication>(argc, argv);
  }
  // The same error raised again while its box is open (a timer, a repaint
  // in the box's own loop) is not stacked on top of it.
  static std::vector<std::string> onScreen;
  if (std::find(onScreen.begin(), onScreen.end(), message) != onScreen.end()) return;
  onScreen.push_back(message);
  struct Closed {
    ~Closed() { onScreen.pop_back(); }
  } closed;
  const QString title = g_application != nullptr ? ToQ(g_application->Title()) : QString();
  QMessageBox box(QMessageBox::Critical, title, ToQ(message), QMessageBox::Ok,
                  QApplication::activeWindow());
  box.exec();
}

void Application::SetExceptionHook(std::function<void(const std::string& message)> hook) {
  std::lock_guard<std::mutex> lock(g_hookMutex);
  g_exceptionHook = std::move(hook);
}

void Application::ProcessMessages() { QCoreApplication::processEvents(QEventLoop::AllEvents); }

void ProcessEventsFor(std::chrono::milliseconds duration) {
  WaitUntil([] { return false; }, duration);
}

bool WaitUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout) {
  using Clock = std::chrono::steady_clock;
  const auto deadline = Clock::now() + timeout;
  Dispatcher* d = CurrentDispatcher();
  for (;;) {
    if (done()) return true;
    const auto now = Clock::now();
    if (now >= deadline) return done();
    auto slice = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - now);
    slice = std::clamp(slice, std::chrono::milliseconds(1), std::chrono::milliseconds(10));
    if (d != nullptr) {
      d->ProcessEvents(slice);
    } else {
      QCoreApplication::processEvents(QEventLoop::AllEvents, static_cast<int>(slice.count()));
    }
  }
}

}  // namespace orlu
