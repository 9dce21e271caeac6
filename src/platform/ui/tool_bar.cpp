// Image lists, the tool bar with its buttons, and the status bar.
#include "platform/ui/tool_bar.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QToolButton>

#include <algorithm>

#include "platform/ui/ui_internal.h"

namespace orlu {

struct ImageListData {
  int width;
  int height;
  std::vector<QPixmap> images;
};

ImageList::ImageList(int width, int height) : data_(new ImageListData{width, height, {}}) {}
ImageList::~ImageList() { delete data_; }
int ImageList::Width() const { return data_->width; }
int ImageList::Height() const { return data_->height; }
int ImageList::Count() const { return static_cast<int>(data_->images.size()); }

int ImageList::AddGlyph(const std::string& text, Color color) {
  QPixmap pixmap(data_->width, data_->height);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  QPainterPath path;
  path.addRoundedRect(QRectF(1, 1, data_->width - 2, data_->height - 2), 5, 5);
  p.fillPath(path, ToQColor(color));
  QFont font = p.font();
  font.setBold(true);
  font.setPixelSize(std::max(8, data_->height * 2 / 5));
  p.setFont(font);
  p.setPen(Qt::white);
  p.drawText(QRect(0, 0, data_->width, data_->height), Qt::AlignCenter, ToQ(text));
  p.end();
  data_->images.push_back(pixmap);
  return Count() - 1;
}

// ---------------------------------------------------------------------------

namespace {

std::unique_ptr<ControlImpl> NewToolButton(const std::string& caption) {
  auto* b = new QToolButton;
  b->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
  b->setAutoRaise(true);
  b->setText(ToQ(caption));
  return MakeImpl(b);
}

QToolButton* Tb(const ToolButton* b) { return static_cast<QToolButton*>(b->Impl()->widget.data()); }

}  // namespace

ToolButton::ToolButton(ToolBar& bar, const std::string& caption, int imageIndex)
    : Control(&bar, NewToolButton(caption)) {
  QToolButton* b = Tb(this);
  QObject::connect(b, &QToolButton::clicked, b, [this] { Fire(OnClick); });
  SetImageIndex(imageIndex);
  bar.Realign();
}

void ToolButton::SetImageIndex(int index) {
  imageIndex_ = index;
  QToolButton* b = Tb(this);
  auto* bar = static_cast<ToolBar*>(Parent());
  ImageList* images = bar->Images();
  if (images != nullptr && index >= 0 && index < images->Count()) {
    b->setIcon(QIcon(images->Data()->images[static_cast<size_t>(index)]));
    b->setIconSize(QSize(images->Width(), images->Height()));
  } else {
    b->setIcon(QIcon());
  }
}

std::string ToolButton::Caption() const { return FromQ(Tb(this)->text()); }
void ToolButton::SetCaption(const std::string& caption) { Tb(this)->setText(ToQ(caption)); }

// ---------------------------------------------------------------------------

namespace {

// The tool bar places its children in a row instead of by their own
// position.
struct ToolBarImpl : ControlImpl {
  bool LayOutChildren(Container& self) override {
    auto& bar = static_cast<ToolBar&>(self);
    int x = 0;
    for (Control* c : children) {
      if (!c->Impl()->visible) continue;
      if (dynamic_cast<ToolButton*>(c) != nullptr) {
        PlaceControl(*c, QRect(x, 2, bar.ButtonWidth(), bar.ButtonHeight()));
      } else {
        PlaceControl(*c, QRect(x, c->Top(), c->Width(), c->Height()));
      }
      x += c->Width();
    }
    return true;
  }
};

std::unique_ptr<ControlImpl> NewToolBar() {
  auto impl = std::make_unique<ToolBarImpl>();
  impl->widget = new QWidget;
  impl->flowsChildren = true;
  return impl;
}

}  // namespace

ToolBar::ToolBar(Container& parent) : Container(&parent, NewToolBar()) {
  SetBounds(0, 0, 200, buttonHeight_ + 4);
  SetAlign(Align::Top);
}

void ToolBar::SetImages(ImageList* images) {
  images_ = images;
  for (Control* c : Impl()->children) {
    if (auto* b = dynamic_cast<ToolButton*>(c)) b->SetImageIndex(b->ImageIndex());
  }
}

void ToolBar::SetButtonSize(int width, int height) {
  buttonWidth_ = width;
  buttonHeight_ = height;
  Realign();
}

// ---------------------------------------------------------------------------

namespace {

struct StatusBarImpl : ControlImpl {
  std::vector<QLabel*> panels;
  std::vector<int> widths;
  void AfterGeometry() override { LayOut(); }
  void LayOut() {
    const int h = widget->height();
    int x = 0;
    for (size_t i = 0; i < panels.size(); ++i) {
      const bool last = i + 1 == panels.size();
      const int w = last ? std::max(0, widget->width() - x) : widths[i];
      panels[i]->setGeometry(x, 1, w - 2, h - 2);
      x += w;
    }
  }
};

StatusBarImpl* Si(const StatusBar* s) { return static_cast<StatusBarImpl*>(s->Impl()); }

std::unique_ptr<ControlImpl> NewStatusBar() {
  auto impl = std::make_unique<StatusBarImpl>();
  impl->widget = new QWidget;
  return impl;
}

}  // namespace

StatusBar::StatusBar(Container& parent) : Control(&parent, NewStatusBar()) {
  SetPanelCount(1);
  SetBounds(0, 0, 200, 19);
  SetAlign(Align::Bottom);
}

void StatusBar::SetPanelCount(int count) {
  StatusBarImpl* impl = Si(this);
  count = std::max(1, count);
  while (static_cast<int>(impl->panels.size()) > count) {
    delete impl->panels.back();
    impl->panels.pop_back();
    impl->widths.pop_back();
  }
  while (static_cast<int>(impl->panels.size()) < count) {
    auto* label = new QLabel(impl->widget);
    label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    label->setTextFormat(Qt::PlainText);
    label->show();
    impl->panels.push_back(label);
    impl->widths.push_back(100);
  }
  impl->LayOut();
}

int StatusBar::PanelCount() const { return static_cast<int>(Si(this)->panels.size()); }

void StatusBar::SetPanelText(int panel, const std::string& text) {
  StatusBarImpl* impl = Si(this);
  if (panel < 0 || panel >= PanelCount()) return;
  impl->panels[static_cast<size_t>(panel)]->setText(ToQ(text));
}

std::string StatusBar::PanelText(int panel) const {
  if (panel < 0 || panel >= PanelCount()) return {};
  return FromQ(Si(this)->panels[static_cast<size_t>(panel)]->text());
}

}  // namespace orlu
