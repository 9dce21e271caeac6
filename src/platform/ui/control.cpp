// Control and Container: geometry, docking, anchors, common properties and
// the mouse/key events every control shares.
#include "platform/ui/control.h"

#include <QAbstractButton>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QCursor>
#include <QEvent>
#include <QFile>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPalette>
#include <QResizeEvent>

#include <algorithm>

#include "platform/text/codepage.h"
#include "platform/ui/application.h"
#include "platform/ui/menu.h"
#include "platform/ui/ui_internal.h"

namespace orlu {

namespace {

bool IsAscii(const std::string& s) {
  for (unsigned char c : s) {
    if (c >= 0x80) return false;
  }
  return true;
}

Qt::CursorShape ToQCursor(Cursor cursor) {
  switch (cursor) {
    case Cursor::Hand: return Qt::PointingHandCursor;
    case Cursor::Wait: return Qt::WaitCursor;
    case Cursor::IBeam: return Qt::IBeamCursor;
    case Cursor::Cross: return Qt::CrossCursor;
    case Cursor::Default: break;
  }
  return Qt::ArrowCursor;
}

// Changes one property of a control's font; a self-sizing label then fits
// its text again.
template <class Change>
void ChangeFont(Control& control, Change change) {
  ControlImpl* impl = control.Impl();
  QFont f = impl->widget->font();
  change(f);
  impl->widget->setFont(f);
  impl->AfterFont(control);
}

}  // namespace

QString ToQ(const std::string& gbk) {
  if (IsAscii(gbk)) return QString::fromLatin1(gbk.data(), static_cast<qsizetype>(gbk.size()));
  return QString::fromStdString(AnsiToUtf8(gbk));
}

std::string FromQ(const QString& text) {
  bool ascii = true;
  for (QChar c : text) {
    if (c.unicode() >= 0x80) {
      ascii = false;
      break;
    }
  }
  if (ascii) return text.toLatin1().toStdString();
  return Utf8ToAnsi(text.toStdString());
}

QString FileNameToQ(const std::string& name) {
  return QFile::decodeName(QByteArray(name.data(), static_cast<qsizetype>(name.size())));
}

std::string FileNameFromQ(const QString& name) { return QFile::encodeName(name).toStdString(); }

void Fire(const std::function<void()>& handler) {
  if (!handler) return;
  // A copy: the handler may replace itself while it runs.
  std::function<void()> call = handler;
  Application::GuardedRun(call);
}

QColor ToQColor(Color color) {
  return QColor(static_cast<int>((color >> 16) & 0xFF), static_cast<int>((color >> 8) & 0xFF),
                static_cast<int>(color & 0xFF));
}

// ---------------------------------------------------------------------------

EventBridge::EventBridge(Control* control, QObject* parent)
    : QObject(parent), control_(control) {}

bool EventBridge::eventFilter(QObject* watched, QEvent* event) {
  ControlImpl* impl = control_->Impl();
  switch (event->type()) {
    case QEvent::Resize:
      if (impl->isContainer && watched == SurfaceOf(*static_cast<Container*>(control_))) {
        static_cast<Container*>(control_)->Realign();
      }
      break;
    case QEvent::Enter:
      Fire(control_->OnMouseEnter);
      break;
    case QEvent::Leave:
      Fire(control_->OnMouseLeave);
      break;
    case QEvent::MouseButtonRelease: {
      auto* me = static_cast<QMouseEvent*>(event);
      auto* w = qobject_cast<QWidget*>(watched);
      if (impl->clickFromMouse && me->button() == Qt::LeftButton && w &&
          w->rect().contains(me->position().toPoint()) && control_->Enabled()) {
        Fire(control_->OnClick);
      }
      break;
    }
    case QEvent::MouseButtonDblClick: {
      auto* me = static_cast<QMouseEvent*>(event);
      if (me->button() == Qt::LeftButton) Fire(control_->OnDblClick);
      break;
    }
    case QEvent::ContextMenu:
      if (impl->popup != nullptr) {
        auto* ce = static_cast<QContextMenuEvent*>(event);
        Fire(impl->popup->OnPopup);
        MenuOf(*impl->popup)->popup(ce->globalPos());
        return true;
      }
      break;
    case QEvent::KeyPress: {
      if (!control_->OnKeyPress) break;
      auto* ke = static_cast<QKeyEvent*>(event);
      char key = 0;
      switch (ke->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter: key = '\r'; break;
        case Qt::Key_Escape: key = 27; break;
        case Qt::Key_Backspace: key = 8; break;
        case Qt::Key_Tab: key = '\t'; break;
        default: {
          const QString text = ke->text();
          if (text.size() == 1 && text[0].unicode() >= 0x20 && text[0].unicode() < 0x7F) {
            key = static_cast<char>(text[0].unicode());
          }
        }
      }
      if (key == 0) break;
      const char before = key;
      Application::GuardedRun([&] { control_->OnKeyPress(key); });
      if (key == 0) return true;  // swallowed
      if (key != before) {
        QKeyEvent replaced(QEvent::KeyPress, 0, ke->modifiers(), QString(QChar(key)));
        QCoreApplication::sendEvent(watched, &replaced);
        return true;
      }
      break;
    }
    default:
      break;
  }
  return false;
}

ControlImpl::~ControlImpl() = default;

std::unique_ptr<ControlImpl> MakeImpl(QWidget* widget) {
  auto impl = std::make_unique<ControlImpl>();
  impl->widget = widget;
  return impl;
}

QWidget* SurfaceOf(Container& parent) {
  ControlImpl* impl = parent.Impl();
  return impl->surface ? impl->surface.data() : impl->widget.data();
}

// ---------------------------------------------------------------------------

Control::Control(Container* parent, std::unique_ptr<ControlImpl> impl)
    : parent_(parent), impl_(std::move(impl)) {
  impl_->owner = this;
  QWidget* w = impl_->widget;
  if (parent_ != nullptr) {
    QWidget* surface = SurfaceOf(*parent_);
    if (w->parentWidget() != surface) w->setParent(surface);
    parent_->impl_->children.push_back(this);
    w->setVisible(true);
  }
  QWidget* input = impl_->input ? impl_->input.data() : w;
  auto* bridge = new EventBridge(this, w);
  impl_->bridge = bridge;
  input->installEventFilter(bridge);
  if (input != w) w->installEventFilter(bridge);
  if (impl_->surface && impl_->surface != w && impl_->surface != input) {
    impl_->surface->installEventFilter(bridge);
  }
}

Control::~Control() {
  if (parent_ != nullptr) {
    auto& siblings = parent_->impl_->children;
    siblings.erase(std::remove(siblings.begin(), siblings.end(), this), siblings.end());
  }
  if (impl_->widget) {
    // No event or signal may reach this object while its widget goes.
    delete impl_->bridge.data();
    QObject::disconnect(impl_->widget, nullptr, impl_->widget, nullptr);
    delete impl_->widget.data();
  }
}

int Control::Left() const { return impl_->widget->x(); }
int Control::Top() const { return impl_->widget->y(); }
int Control::Width() const { return impl_->widget->width(); }
int Control::Height() const { return impl_->widget->height(); }

void Control::SetLeft(int left) { SetBounds(left, Top(), Width(), Height()); }
void Control::SetTop(int top) { SetBounds(Left(), top, Width(), Height()); }
void Control::SetWidth(int width) { SetBounds(Left(), Top(), width, Height()); }
void Control::SetHeight(int height) { SetBounds(Left(), Top(), Width(), height); }

void Control::SetBounds(int left, int top, int width, int height) {
  PlaceControl(*this, QRect(left, top, std::max(0, width), std::max(0, height)));
  if (parent_ != nullptr) {
    // Anchored distances follow the position set from code.
    const int pw = parent_->ClientWidth();
    const int ph = parent_->ClientHeight();
    impl_->anchorRight = pw - (left + width);
    impl_->anchorBottom = ph - (top + height);
    if (impl_->align != Align::None || parent_->impl_->flowsChildren) parent_->Realign();
  }
}

void PlaceControl(Control& control, const QRect& rect) {
  ControlImpl* impl = control.Impl();
  QWidget* w = impl->widget;
  const QSize before = w->size();
  if (w->isWindow()) {
    // A window's position is that of its frame.
    if (w->pos() != rect.topLeft()) w->move(rect.topLeft());
    if (w->size() != rect.size()) w->resize(rect.size());
  } else if (w->geometry() != rect) {
    w->setGeometry(rect);
  }
  impl->AfterGeometry();
  // A visible widget gets its resize event at once (and its children are
  // placed then); a hidden one only when shown, so place them now.
  if (impl->isContainer && before != rect.size() && !w->isVisible()) {
    static_cast<Container&>(control).Realign();
  }
}

void Control::SetAlign(Align align) {
  impl_->align = align;
  if (parent_ != nullptr) parent_->Realign();
}

void Control::SetAnchors(unsigned anchors) {
  impl_->anchors = anchors;
  if (parent_ != nullptr) {
    impl_->anchorRight = parent_->ClientWidth() - (Left() + Width());
    impl_->anchorBottom = parent_->ClientHeight() - (Top() + Height());
  }
}

bool Control::Visible() const { return impl_->visible; }

void Control::SetVisible(bool visible) {
  impl_->visible = visible;
  impl_->widget->setVisible(visible);
  if (parent_ != nullptr && (impl_->align != Align::None || parent_->impl_->flowsChildren)) {
    parent_->Realign();
  }
}

bool Control::Enabled() const { return impl_->widget->isEnabled(); }
void Control::SetEnabled(bool enabled) { impl_->widget->setEnabled(enabled); }

// Buttons, check and radio buttons keep their caption in the widget.
std::string Control::Caption() const {
  if (auto* b = qobject_cast<QAbstractButton*>(impl_->widget.data())) return FromQ(b->text());
  return {};
}

void Control::SetCaption(const std::string& caption) {
  if (auto* b = qobject_cast<QAbstractButton*>(impl_->widget.data())) b->setText(ToQ(caption));
}

void Control::SetFontColor(Color color) {
  impl_->fontColor = color;
  QWidget* w = impl_->widget;
  QPalette pal = w->palette();
  const QPalette def;
  for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText}) {
    pal.setColor(role, color == kDefaultColor ? def.color(role) : ToQColor(color));
  }
  w->setPalette(pal);
}

Color Control::FontColor() const { return impl_->fontColor; }

void Control::SetFontUnderline(bool underline) {
  ChangeFont(*this, [underline](QFont& f) { f.setUnderline(underline); });
}

void Control::SetFontBold(bool bold) {
  ChangeFont(*this, [bold](QFont& f) { f.setBold(bold); });
}

void Control::SetColor(Color background) {
  impl_->color = background;
  QWidget* w = impl_->widget;
  QPalette pal = w->palette();
  const QPalette def;
  for (QPalette::ColorRole role : {QPalette::Window, QPalette::Base}) {
    pal.setColor(role, background == kDefaultColor ? def.color(role) : ToQColor(background));
  }
  w->setAutoFillBackground(background != kDefaultColor);
  w->setPalette(pal);
}

void Control::SetCursor(Cursor cursor) {
  QWidget* target = impl_->input ? impl_->input.data() : impl_->widget.data();
  if (cursor == Cursor::Default) {
    impl_->widget->unsetCursor();
    target->unsetCursor();
  } else {
    impl_->widget->setCursor(ToQCursor(cursor));
    target->setCursor(ToQCursor(cursor));
  }
}

void Control::SetFocus() { impl_->widget->setFocus(Qt::OtherFocusReason); }
bool Control::Focused() const { return impl_->widget->hasFocus(); }
void Control::Invalidate() { impl_->widget->update(); }

void Control::SetPopupMenu(PopupMenu* menu) { impl_->popup = menu; }

void Control::SetAccessibleName(const std::string& name) {
  impl_->widget->setAccessibleName(ToQ(name));
}

void Control::Click() { Fire(OnClick); }

// ---------------------------------------------------------------------------

Container::Container(Container* parent, std::unique_ptr<ControlImpl> impl)
    : Control(parent, std::move(impl)) {
  Impl()->isContainer = true;
  MarkContainer(Impl()->widget);
  MarkContainer(Impl()->surface);
}

Container::~Container() = default;

int Container::ClientWidth() const { return SurfaceOf(const_cast<Container&>(*this))->width(); }
int Container::ClientHeight() const {
  return SurfaceOf(const_cast<Container&>(*this))->height();
}

void Container::Realign() {
  if (Impl()->LayOutChildren(*this)) return;
  QWidget* surface = SurfaceOf(*this);
  const int pw = surface->width();
  const int ph = surface->height();
  QRect rest(0, 0, pw, ph);
  // Docked controls: edges first, in the order made, then the rest.
  for (Align side : {Align::Top, Align::Bottom, Align::Left, Align::Right}) {
    for (Control* c : Impl()->children) {
      ControlImpl* ci = c->Impl();
      if (ci->align != side || !ci->visible) continue;
      const int h = c->Height();
      const int w = c->Width();
      switch (side) {
        case Align::Top:
          PlaceControl(*c, QRect(rest.left(), rest.top(), rest.width(), h));
          rest.setTop(rest.top() + h);
          break;
        case Align::Bottom:
          PlaceControl(*c, QRect(rest.left(), rest.bottom() + 1 - h, rest.width(), h));
          rest.setBottom(rest.bottom() - h);
          break;
        case Align::Left:
          PlaceControl(*c, QRect(rest.left(), rest.top(), w, rest.height()));
          rest.setLeft(rest.left() + w);
          break;
        case Align::Right:
          PlaceControl(*c, QRect(rest.right() + 1 - w, rest.top(), w, rest.height()));
          rest.setRight(rest.right() - w);
          break;
        default:
          break;
      }
    }
  }
  for (Control* c : Impl()->children) {
    ControlImpl* ci = c->Impl();
    if (ci->align == Align::Client && ci->visible) {
      PlaceControl(*c, QRect(rest.left(), rest.top(), std::max(0, rest.width()),
                             std::max(0, rest.height())));
    } else if (ci->align == Align::None &&
               (ci->anchors & (kAnchorRight | kAnchorBottom)) != 0) {
      QRect g = ci->widget->geometry();
      if (ci->anchors & kAnchorRight) {
        if (ci->anchors & kAnchorLeft) {
          g.setWidth(std::max(0, pw - ci->anchorRight - g.left()));
        } else {
          g.moveLeft(pw - ci->anchorRight - g.width());
        }
      }
      if (ci->anchors & kAnchorBottom) {
        if (ci->anchors & kAnchorTop) {
          g.setHeight(std::max(0, ph - ci->anchorBottom - g.top()));
        } else {
          g.moveTop(ph - ci->anchorBottom - g.height());
        }
      }
      PlaceControl(*c, g);
    }
  }
}

}  // namespace orlu
