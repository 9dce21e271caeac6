// Top-level windows: frame, menu bar, modal loop, state changes, grabbing.
#include "platform/ui/form.h"

#include <QApplication>
#include <QCloseEvent>
#include <QEventLoop>
#include <QMenuBar>
#include <QPixmap>
#include <QScreen>
#include <QTimer>
#include <QWindowStateChangeEvent>

#include <algorithm>
#include <mutex>

#include "platform/ui/application.h"
#include "platform/ui/tray_icon.h"
#include "platform/ui/ui_internal.h"

namespace orlu {

bool TrayWantsHide(TrayIconImpl* tray);  // tray_icon.cpp

namespace {

std::mutex g_modalHookMutex;
std::function<int(Form&)> g_modalHook;

}  // namespace

class FormWidget;

struct FormImpl : ControlImpl {
  Form* form = nullptr;
  FormWidget* frame = nullptr;
  QPointer<QMenuBar> menuBar;
  FormPosition position = FormPosition::Designed;
  int centerSpaceBelow = 0;
  BorderStyle borderStyle = BorderStyle::Sizeable;
  bool minimizeButton = true;
  bool maximizeButton = true;
  bool stayOnTop = false;
  int modalResult = kModalNone;
  QEventLoop* modalLoop = nullptr;
  TrayIconImpl* tray = nullptr;
  std::string caption;

  void ApplyFlags();
  void LayOut();
  void AfterGeometry() override { LayOut(); }
};

void CenterIfAsked(Form& form);

namespace {

// Closing the main form ends the application's loop.
void EndRunIfMainForm(Form& form) {
  Application* app = Application::Instance();
  if (app != nullptr && app->MainForm() == &form) app->Terminate();
}

}  // namespace

class FormWidget : public QWidget {
 public:
  explicit FormWidget(FormImpl* impl) : QWidget(nullptr, Qt::Window), impl_(impl) {}
  void Detach() { impl_ = nullptr; }

  void setVisible(bool visible) override {
    if (impl_ != nullptr) {
      if (visible && !isVisible()) CenterIfAsked(*impl_->form);
      impl_->visible = visible;
    }
    QWidget::setVisible(visible);
  }

 protected:
  void resizeEvent(QResizeEvent* event) override {
    QWidget::resizeEvent(event);
    if (impl_ == nullptr) return;
    impl_->LayOut();
  }
  void moveEvent(QMoveEvent* event) override {
    QWidget::moveEvent(event);
    if (impl_ != nullptr) Fire(impl_->form->OnMove);
  }
  void paintEvent(QPaintEvent* event) override {
    QWidget::paintEvent(event);
    if (impl_ != nullptr) Fire(impl_->form->OnPaint);
  }
  void hideEvent(QHideEvent* event) override {
    QWidget::hideEvent(event);
    if (impl_ != nullptr && impl_->modalLoop != nullptr && !isMinimized()) {
      impl_->modalLoop->quit();
    }
  }
  void closeEvent(QCloseEvent* event) override {
    if (impl_ == nullptr) {
      event->accept();
      return;
    }
    Fire(impl_->form->OnClose);
    event->accept();
    if (impl_->modalLoop != nullptr) {
      if (impl_->modalResult == kModalNone) impl_->modalResult = kModalCancel;
      impl_->modalLoop->quit();
    }
    EndRunIfMainForm(*impl_->form);
  }
  void changeEvent(QEvent* event) override {
    QWidget::changeEvent(event);
    if (impl_ == nullptr || event->type() != QEvent::WindowStateChange) return;
    auto* sc = static_cast<QWindowStateChangeEvent*>(event);
    const bool wasMin = (sc->oldState() & Qt::WindowMinimized) != 0;
    const bool isMin = (windowState() & Qt::WindowMinimized) != 0;
    if (isMin && !wasMin) {
      if (impl_->tray != nullptr && TrayWantsHide(impl_->tray)) {
        // No task-bar button while minimised: the notification icon stands
        // in for it.
        QPointer<QWidget> self(this);
        QTimer::singleShot(0, this, [self] {
          if (self && self->isMinimized()) self->hide();
        });
      }
    }
  }

 private:
  FormImpl* impl_;
};

void FormImpl::LayOut() {
  int top = 0;
  if (menuBar) {
    const int h = menuBar->sizeHint().height();
    menuBar->setGeometry(0, 0, frame->width(), h);
    top = h;
  }
  const QRect client(0, top, frame->width(), std::max(0, frame->height() - top));
  if (surface->geometry() != client) {
    const bool deferred = !surface->isVisible();
    surface->setGeometry(client);
    if (deferred) form->Realign();
  }
}

void FormImpl::ApplyFlags() {
  const bool wasVisible = frame->isVisible();
  Qt::WindowFlags flags = Qt::Window;
  if (borderStyle == BorderStyle::Dialog) flags = Qt::Dialog;
  if (borderStyle == BorderStyle::ToolWindow) flags = Qt::Tool;
  flags |= Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
           Qt::WindowCloseButtonHint;
  if (minimizeButton && borderStyle != BorderStyle::Dialog) flags |= Qt::WindowMinimizeButtonHint;
  if (maximizeButton && borderStyle == BorderStyle::Sizeable) {
    flags |= Qt::WindowMaximizeButtonHint;
  }
  if (stayOnTop) flags |= Qt::WindowStaysOnTopHint;
  frame->setWindowFlags(flags);
  if (wasVisible) frame->show();
}

namespace {

std::unique_ptr<ControlImpl> NewFormImpl() {
  auto impl = std::make_unique<FormImpl>();
  impl->frame = new FormWidget(impl.get());
  impl->widget = impl->frame;
  auto* surface = new QWidget(impl->frame);
  impl->surface = surface;
  impl->visible = false;
  return impl;
}

FormImpl* Fi(const Form* form) { return static_cast<FormImpl*>(form->Impl()); }

}  // namespace

Form::Form() : Container(nullptr, NewFormImpl()) {
  FormImpl* impl = Fi(this);
  impl->form = this;
  impl->ApplyFlags();
  impl->frame->resize(640, 480);
  impl->LayOut();
  if (Application* app = Application::Instance()) app->AddForm(this);
}

Form::~Form() {
  FormImpl* impl = Fi(this);
  if (impl->modalLoop != nullptr) impl->modalLoop->quit();
  impl->frame->Detach();
  if (Application* app = Application::Instance()) app->RemoveForm(this);
}

void Form::SetCaption(const std::string& caption) {
  Fi(this)->caption = caption;
  Impl()->widget->setWindowTitle(ToQ(caption));
}

std::string Form::Caption() const { return Fi(this)->caption; }

void Form::SetClientSize(int width, int height) {
  FormImpl* impl = Fi(this);
  const int menu = impl->menuBar ? impl->menuBar->sizeHint().height() : 0;
  SetBounds(Left(), Top(), width, height + menu);
}

void Form::SetPosition(FormPosition position) { Fi(this)->position = position; }

void Form::SetCenterSpaceBelow(int height) { Fi(this)->centerSpaceBelow = std::max(0, height); }

Rect CenteredPlace(const Rect& frame, int below, const Rect& workArea) {
  const int width = frame.Width();
  const int height = frame.Height();
  const int left = workArea.left + (workArea.Width() - width) / 2;
  const int top = workArea.top + std::max(0, (workArea.Height() - height - below) / 2);
  return {left, top, left + width, top + height};
}

Rect Form::FrameBounds() const {
  const QRect r = Fi(this)->frame->frameGeometry();
  return {r.x(), r.y(), r.x() + r.width(), r.y() + r.height()};
}

Rect Form::WorkArea() const {
  QScreen* screen = Fi(this)->frame->screen();
  if (screen == nullptr) screen = QGuiApplication::primaryScreen();
  if (screen == nullptr) return {};
  const QRect r = screen->availableGeometry();
  return {r.x(), r.y(), r.x() + r.width(), r.y() + r.height()};
}

void Form::SetBorderStyle(BorderStyle style) {
  Fi(this)->borderStyle = style;
  Fi(this)->ApplyFlags();
}

void Form::SetBorderIcons(bool minimize, bool maximize) {
  Fi(this)->minimizeButton = minimize;
  Fi(this)->maximizeButton = maximize;
  Fi(this)->ApplyFlags();
}

void Form::SetStayOnTop(bool stayOnTop) {
  Fi(this)->stayOnTop = stayOnTop;
  Fi(this)->ApplyFlags();
}

WindowState Form::State() const {
  const Qt::WindowStates s = Impl()->widget->windowState();
  if (s & Qt::WindowMinimized) return WindowState::Minimized;
  if (s & Qt::WindowMaximized) return WindowState::Maximized;
  return WindowState::Normal;
}

void Form::SetState(WindowState state) {
  QWidget* w = Impl()->widget;
  Qt::WindowStates s = w->windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized);
  if (state == WindowState::Minimized) s |= Qt::WindowMinimized;
  if (state == WindowState::Maximized) s |= Qt::WindowMaximized;
  w->setWindowState(s);
}

void Form::Restore() {
  QWidget* w = Impl()->widget;
  Impl()->visible = true;
  w->setWindowState(w->windowState() & ~Qt::WindowMinimized);
  w->show();
  w->raise();
  w->activateWindow();
}

int Form::ShowModal() {
  std::function<int(Form&)> hook;
  {
    std::lock_guard<std::mutex> lock(g_modalHookMutex);
    hook = g_modalHook;
  }
  if (hook) return hook(*this);
  FormImpl* impl = Fi(this);
  if (impl->modalLoop != nullptr) return kModalCancel;  // already modal
  QWidget* w = impl->frame;
  const bool wasVisible = w->isVisible();
  if (wasVisible) w->hide();
  w->setWindowModality(Qt::ApplicationModal);
  impl->modalResult = kModalNone;
  QEventLoop loop;
  impl->modalLoop = &loop;
  Show();
  if (w->isVisible()) loop.exec(QEventLoop::DialogExec);
  impl->modalLoop = nullptr;
  Hide();
  w->setWindowModality(Qt::NonModal);
  const int result = impl->modalResult == kModalNone ? kModalCancel : impl->modalResult;
  impl->modalResult = kModalNone;
  return result;
}

bool Form::Modal() const { return Fi(this)->modalLoop != nullptr; }

void Form::SetModalResult(int result) {
  Fi(this)->modalResult = result;
  if (result != kModalNone && Fi(this)->modalLoop != nullptr) Close();
}

void Form::Close() {
  QWidget* w = Impl()->widget;
  if (w->isVisible()) {
    w->close();
  } else {
    // A hidden form still runs its close steps.
    Fire(OnClose);
    EndRunIfMainForm(*this);
  }
  Impl()->visible = false;
}

void Form::SetShowModalHook(std::function<int(Form&)> hook) {
  std::lock_guard<std::mutex> lock(g_modalHookMutex);
  g_modalHook = std::move(hook);
}

// Shown forms centre themselves when asked to, and so does a form whose
// position no code has set (the toolkit marks a window moved from code);
// hooked into SetVisible. Without a window manager such a form would
// otherwise open in the screen's corner.
void CenterIfAsked(Form& form) {
  FormImpl* impl = Fi(&form);
  QWidget* frame = impl->frame;
  if (impl->position != FormPosition::ScreenCenter && frame->testAttribute(Qt::WA_Moved)) return;
  QScreen* screen = QGuiApplication::primaryScreen();
  if (screen == nullptr) return;
  const QRect area = screen->availableGeometry();
  // The native window first, so that a frame the platform already knows
  // counts (a window manager tells its frame only once the window is up).
  frame->winId();
  const QSize size = frame->frameGeometry().size();
  // The window docked below wears a frame like this one's.
  const int below = impl->centerSpaceBelow > 0 ? impl->centerSpaceBelow + size.height() - frame->height() : 0;
  const Rect place = CenteredPlace({0, 0, size.width(), size.height()}, below,
                                   {area.x(), area.y(), area.x() + area.width(), area.y() + area.height()});
  frame->move(place.left, place.top);
}

QWidget* FormWidgetOf(Form& form) { return Fi(&form)->frame; }

void SetFormMenuBar(Form& form, QMenuBar* bar) {
  FormImpl* impl = Fi(&form);
  impl->menuBar = bar;
  if (bar != nullptr) {
    bar->setParent(impl->frame);
    bar->show();
  }
  impl->LayOut();
}

void SetFormTray(Form& form, TrayIconImpl* tray) { Fi(&form)->tray = tray; }

// ---------------------------------------------------------------------------

BusyGuard::BusyGuard(Form& form) : form_(form), acquired_(!form.busy_) {
  if (acquired_) form_.busy_ = true;
}

BusyGuard::~BusyGuard() {
  if (acquired_) form_.busy_ = false;
}

}  // namespace orlu
