// Buttons, edits, memos, labels, check and radio buttons, up-downs, panels,
// group boxes and scroll boxes.
#include "platform/ui/controls.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QResizeEvent>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QToolButton>
#include <QWheelEvent>

#include <algorithm>
#include <climits>

#include "platform/ui/application.h"
#include "platform/ui/ui_internal.h"

namespace orlu {

namespace {

template <class W>
W* As(const Control* c) {
  return static_cast<W*>(c->Impl()->widget.data());
}

}  // namespace

// ---------------------------------------------------------------------------
// Button

namespace {
std::unique_ptr<ControlImpl> NewButton(const std::string& caption) {
  auto* b = new QPushButton(ToQ(caption));
  b->setAutoDefault(false);
  return MakeImpl(b);
}
}  // namespace

Button::Button(Container& parent, const std::string& caption)
    : Control(&parent, NewButton(caption)) {
  auto* b = As<QPushButton>(this);
  SetBounds(0, 0, 75, 25);
  QObject::connect(b, &QPushButton::clicked, b, [this] { Fire(OnClick); });
}


// ---------------------------------------------------------------------------
// Edit

Edit::Edit(Container& parent, const std::string& text)
    : Control(&parent, MakeImpl(new QLineEdit(ToQ(text)))) {
  auto* e = As<QLineEdit>(this);
  e->setCursorPosition(0);
  SetBounds(0, 0, 121, 21);
  QObject::connect(e, &QLineEdit::textChanged, e, [this] { Fire(OnChange); });
}

void Edit::SetBorder(bool border) { As<QLineEdit>(this)->setFrame(border); }

std::string Edit::Caption() const { return FromQ(As<QLineEdit>(this)->text()); }

std::string Edit::FileName() const { return FileNameFromQ(As<QLineEdit>(this)->text()); }

void Edit::SetFileName(const std::string& fileName) {
  auto* e = As<QLineEdit>(this);
  e->setText(FileNameToQ(fileName));
  e->setCursorPosition(0);
}

void Edit::SetCaption(const std::string& text) {
  auto* e = As<QLineEdit>(this);
  e->setText(ToQ(text));
  e->setCursorPosition(0);
}

// ---------------------------------------------------------------------------
// Label

namespace {

void FitLabel(Label* label);

struct LabelImpl : ControlImpl {
  bool autoSize = true;
  void AfterFont(Control& self) override { FitLabel(static_cast<Label*>(&self)); }
};

std::unique_ptr<ControlImpl> NewLabel(const std::string& caption) {
  auto impl = std::make_unique<LabelImpl>();
  auto* l = new QLabel(ToQ(caption));
  l->setTextFormat(Qt::PlainText);
  impl->widget = l;
  impl->clickFromMouse = true;
  return impl;
}

void FitLabel(Label* label) {
  auto* impl = static_cast<LabelImpl*>(label->Impl());
  if (!impl->autoSize) return;
  auto* l = static_cast<QLabel*>(impl->widget.data());
  const QSize hint = l->sizeHint();
  label->SetBounds(label->Left(), label->Top(), hint.width(), hint.height());
}

}  // namespace

Label::Label(Container& parent, const std::string& caption) : Control(&parent, NewLabel(caption)) {
  SetBounds(0, 0, 0, 0);
  FitLabel(this);
}

void Label::SetAutoSize(bool autoSize) {
  static_cast<LabelImpl*>(Impl())->autoSize = autoSize;
  FitLabel(this);
}

std::string Label::Caption() const { return FromQ(As<QLabel>(this)->text()); }

void Label::SetCaption(const std::string& caption) {
  As<QLabel>(this)->setText(ToQ(caption));
  FitLabel(this);
}

// ---------------------------------------------------------------------------
// CheckBox and RadioButton

CheckBox::CheckBox(Container& parent, const std::string& caption)
    : Control(&parent, MakeImpl(new QCheckBox(ToQ(caption)))) {
  auto* b = As<QCheckBox>(this);
  SetBounds(0, 0, 97, 17);
  QObject::connect(b, &QCheckBox::clicked, b, [this] { Fire(OnClick); });
}

bool CheckBox::Checked() const { return As<QCheckBox>(this)->isChecked(); }
void CheckBox::SetChecked(bool checked) { As<QCheckBox>(this)->setChecked(checked); }

void CheckBox::Click() {
  SetChecked(!Checked());
  Fire(OnClick);
}

RadioButton::RadioButton(Container& parent, const std::string& caption)
    : Control(&parent, MakeImpl(new QRadioButton(ToQ(caption)))) {
  auto* b = As<QRadioButton>(this);
  SetBounds(0, 0, 113, 17);
  QObject::connect(b, &QRadioButton::clicked, b, [this] { Fire(OnClick); });
}

bool RadioButton::Checked() const { return As<QRadioButton>(this)->isChecked(); }
void RadioButton::SetChecked(bool checked) { As<QRadioButton>(this)->setChecked(checked); }

void RadioButton::Click() {
  SetChecked(true);
  Fire(OnClick);
}


// ---------------------------------------------------------------------------
// UpDown

namespace {

struct UpDownImpl : ControlImpl {
  int min = 0;
  int max = 100;
  int position = 0;
  Edit* edit = nullptr;
  QToolButton* up = nullptr;
  QToolButton* down = nullptr;

  void AfterGeometry() override {
    const int w = widget->width();
    const int h = widget->height();
    up->setGeometry(0, 0, w, h / 2);
    down->setGeometry(0, h / 2, w, h - h / 2);
  }
};

std::unique_ptr<ControlImpl> NewUpDown() {
  auto impl = std::make_unique<UpDownImpl>();
  auto* box = new QWidget;
  impl->up = new QToolButton(box);
  impl->up->setArrowType(Qt::UpArrow);
  impl->up->setAutoRepeat(true);
  impl->down = new QToolButton(box);
  impl->down->setArrowType(Qt::DownArrow);
  impl->down->setAutoRepeat(true);
  impl->widget = box;
  return impl;
}

UpDownImpl* Ui(const UpDown* u) { return static_cast<UpDownImpl*>(u->Impl()); }

}  // namespace

UpDown::UpDown(Container& parent) : Control(&parent, NewUpDown()) {
  UpDownImpl* impl = Ui(this);
  SetBounds(0, 0, 17, 21);
  QObject::connect(impl->up, &QToolButton::clicked, impl->up, [this] { StepUp(); });
  QObject::connect(impl->down, &QToolButton::clicked, impl->down, [this] { StepDown(); });
}

void UpDown::Associate(Edit* edit) {
  UpDownImpl* impl = Ui(this);
  impl->edit = edit;
  if (edit == nullptr) return;
  // The arrows take the right end of the edit's place.
  const int w = Width();
  edit->SetWidth(std::max(0, edit->Width() - w));
  SetBounds(edit->Left() + edit->Width(), edit->Top(), w, edit->Height());
  edit->SetText(std::to_string(impl->position));
}

void UpDown::SetRange(int min, int max) {
  UpDownImpl* impl = Ui(this);
  impl->min = min;
  impl->max = std::max(min, max);
  impl->position = std::clamp(impl->position, impl->min, impl->max);
}

int UpDown::Min() const { return Ui(this)->min; }
int UpDown::Max() const { return Ui(this)->max; }
int UpDown::Position() const { return Ui(this)->position; }

void UpDown::SetPosition(int position) {
  UpDownImpl* impl = Ui(this);
  impl->position = std::clamp(position, impl->min, impl->max);
  if (impl->edit != nullptr) impl->edit->SetText(std::to_string(impl->position));
}

namespace {

void Step(UpDown* u, int delta) {
  UpDownImpl* impl = Ui(u);
  int current = impl->position;
  if (impl->edit != nullptr) {
    // The number in the edit, when it holds one.
    const std::string text = impl->edit->Text();
    try {
      size_t used = 0;
      const long long v = std::stoll(text, &used);
      if (used == text.size() && v >= INT_MIN && v <= INT_MAX) current = static_cast<int>(v);
    } catch (...) {
    }
  }
  const long long next = static_cast<long long>(current) + delta;
  u->SetPosition(static_cast<int>(std::clamp<long long>(next, impl->min, impl->max)));
  Fire(u->OnChange);
}

}  // namespace

void UpDown::StepUp() { Step(this, 1); }
void UpDown::StepDown() { Step(this, -1); }

// ---------------------------------------------------------------------------
// Panel

namespace {

class PanelWidget : public QFrame {
 public:
  QString caption;

 protected:
  void paintEvent(QPaintEvent* event) override {
    QFrame::paintEvent(event);
    if (caption.isEmpty()) return;
    QPainter p(this);
    p.setPen(palette().color(QPalette::WindowText));
    p.drawText(contentsRect(), Qt::AlignCenter, caption);
  }
};

}  // namespace

Panel::Panel(Container& parent) : Container(&parent, MakeImpl(new PanelWidget)) {
  SetBounds(0, 0, 185, 41);
  SetBevel(Bevel::Raised);
}

void Panel::SetBevel(Bevel outer) {
  auto* f = As<QFrame>(this);
  switch (outer) {
    case Bevel::None: f->setFrameStyle(QFrame::NoFrame); break;
    case Bevel::Raised: f->setFrameStyle(QFrame::Panel | QFrame::Raised); break;
    case Bevel::Lowered: f->setFrameStyle(QFrame::Panel | QFrame::Sunken); break;
  }
}

std::string Panel::Caption() const { return FromQ(As<PanelWidget>(this)->caption); }

void Panel::SetCaption(const std::string& caption) {
  As<PanelWidget>(this)->caption = ToQ(caption);
  Invalidate();
}

// ---------------------------------------------------------------------------
// GroupBox

GroupBox::GroupBox(Container& parent, const std::string& caption)
    : Container(&parent, MakeImpl(new QGroupBox(ToQ(caption)))) {
  SetBounds(0, 0, 185, 105);
}

std::string GroupBox::Caption() const { return FromQ(As<QGroupBox>(this)->title()); }
void GroupBox::SetCaption(const std::string& caption) {
  As<QGroupBox>(this)->setTitle(ToQ(caption));
}

// ---------------------------------------------------------------------------
// ScrollBox

namespace {

struct ScrollBoxImpl : ControlImpl {
  int contentHeight = 0;
  void Fit();
  // Lays out the view at once, also while hidden, then sizes the content.
  void AfterGeometry() override {
    QResizeEvent resize(widget->size(), widget->size());
    QCoreApplication::sendEvent(widget, &resize);
    Fit();
  }
};

class ScrollArea : public QScrollArea {
 public:
  ScrollBoxImpl* impl = nullptr;
  ScrollBox* box = nullptr;

 protected:
  void resizeEvent(QResizeEvent* event) override {
    QScrollArea::resizeEvent(event);
    if (impl != nullptr) impl->Fit();
  }
  // Each whole notch goes to the box's handler of its direction.
  void wheelEvent(QWheelEvent* event) override {
    if (box == nullptr) return QScrollArea::wheelEvent(event);
    wheelRest_ += event->angleDelta().y();
    bool handled = false;
    bool any = false;
    while (wheelRest_ >= 120 || wheelRest_ <= -120) {
      const bool down = wheelRest_ < 0;
      wheelRest_ += down ? 120 : -120;
      const auto& handler = down ? box->OnMouseWheelDown : box->OnMouseWheelUp;
      if (!handler) continue;
      any = true;
      bool notch = false;
      Application::GuardedRun([&] { handler(notch); });
      handled = handled || notch;
    }
    if (any && handled) {
      event->accept();
      return;
    }
    QScrollArea::wheelEvent(event);
  }

 private:
  int wheelRest_ = 0;
};

void ScrollBoxImpl::Fit() {
  auto* area = static_cast<QScrollArea*>(widget.data());
  const QSize view = area->viewport()->size();
  const int w = view.width();
  const int h = contentHeight > 0 ? contentHeight : view.height();
  // The range is set here as the view would set it once shown, so that a
  // hidden box scrolls too.
  QScrollBar* bar = area->verticalScrollBar();
  bar->setRange(0, std::max(0, h - view.height()));
  bar->setPageStep(view.height());
  if (surface->size() == QSize(w, h)) return;
  surface->resize(w, h);
  if (!surface->isVisible() && owner != nullptr) static_cast<Container*>(owner)->Realign();
}

std::unique_ptr<ControlImpl> NewScrollBox() {
  auto impl = std::make_unique<ScrollBoxImpl>();
  auto* area = new ScrollArea;
  area->impl = impl.get();
  auto* content = new QWidget;
  area->setWidget(content);
  area->setWidgetResizable(false);
  impl->widget = area;
  impl->surface = content;
  return impl;
}

}  // namespace

ScrollBox::ScrollBox(Container& parent) : Container(&parent, NewScrollBox()) {
  auto* area = As<ScrollArea>(this);
  area->box = this;
  area->verticalScrollBar()->setSingleStep(8);
  SetBounds(0, 0, 185, 41);
}

int ScrollBox::ScrollPosition() const { return As<QScrollArea>(this)->verticalScrollBar()->value(); }

void ScrollBox::SetScrollPosition(int position) {
  As<QScrollArea>(this)->verticalScrollBar()->setValue(position);
}

int ScrollBox::ScrollRange() const { return As<QScrollArea>(this)->verticalScrollBar()->maximum(); }

int ScrollBox::ScrollIncrement() const {
  return As<QScrollArea>(this)->verticalScrollBar()->singleStep();
}

void ScrollBox::SetContentHeight(int height) {
  auto* impl = static_cast<ScrollBoxImpl*>(Impl());
  impl->contentHeight = height;
  impl->Fit();
  Realign();
}

}  // namespace orlu
