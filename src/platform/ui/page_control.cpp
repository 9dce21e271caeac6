// Page control over a tab widget whose tab bar can be hidden.
#include "platform/ui/page_control.h"

#include <QEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionTabWidgetFrame>
#include <QTabBar>
#include <QTabWidget>

#include <algorithm>

#include "platform/ui/application.h"
#include "platform/ui/ui_internal.h"

namespace orlu {

namespace {

QTabWidget* Tabs(const PageControl* pc) {
  return static_cast<QTabWidget*>(pc->Impl()->widget.data());
}

// A tab bar whose tabs the page control's handler may draw.
class TabBar : public QTabBar {
 public:
  PageControl* owner = nullptr;

 protected:
  void paintEvent(QPaintEvent* event) override {
    if (owner == nullptr || !owner->OwnerDrawTabs() || !owner->OnDrawTab) {
      QTabBar::paintEvent(event);
      return;
    }
    QPainter painter(this);
    const auto handler = owner->OnDrawTab;
    for (int i = 0; i < count(); ++i) {
      const QRect q = tabRect(i);
      const Rect r{q.left(), q.top(), q.left() + q.width(), q.top() + q.height()};
      Canvas canvas(painter);
      Application::GuardedRun([&] { handler(canvas, i, r, i == currentIndex()); });
    }
  }
};

// Tells a tab sheet that its page came into view.
class ShowWatcher : public QObject {
 public:
  ShowWatcher(TabSheet* sheet, QObject* parent) : QObject(parent), sheet_(sheet) {}
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Show) Fire(sheet_->OnShow);
    return QObject::eventFilter(watched, event);
  }

 private:
  TabSheet* sheet_;
};

class TabWidget : public QTabWidget {
 public:
  TabWidget() { setTabBar(new TabBar); }
  TabBar* Bar() const { return static_cast<TabBar*>(tabBar()); }
  // Where the pages sit, as the style places them.
  QRect PageArea() const {
    QStyleOptionTabWidgetFrame option;
    initStyleOption(&option);
    return style()->subElementRect(QStyle::SE_TabWidgetTabContents, &option, this);
  }
};

// The pages get their size at once, also while the window is hidden (the
// toolkit would size them only when shown), so that controls placed and
// anchored on a page see the page's real size.
struct PageControlImpl : ControlImpl {
  PageControl* self = nullptr;
  void AfterGeometry() override {
    auto* tabs = static_cast<TabWidget*>(widget.data());
    if (self == nullptr || tabs->isVisible()) return;
    const QRect area(QPoint(0, 0), tabs->PageArea().size());
    for (int i = 0; i < self->PageCount(); ++i) {
      TabSheet* page = self->Page(i);
      QWidget* w = page->Impl()->widget;
      if (w->geometry() != area) {
        w->setGeometry(area);
        if (!w->isVisible()) page->Realign();
      }
    }
  }
};

std::unique_ptr<ControlImpl> NewPageControl() {
  auto impl = std::make_unique<PageControlImpl>();
  impl->widget = new TabWidget;
  return impl;
}

}  // namespace

PageControl::PageControl(Container& parent) : Control(&parent, NewPageControl()) {
  static_cast<PageControlImpl*>(Impl())->self = this;
  static_cast<TabWidget*>(Impl()->widget.data())->Bar()->owner = this;
  MarkContainer(Impl()->widget);  // a hidden tab bar stays out of sight
  SetBounds(0, 0, 289, 193);
  QTabWidget* tabs = Tabs(this);
  QObject::connect(tabs, &QTabWidget::currentChanged, tabs, [this] { Fire(OnChange); });
}

PageControl::~PageControl() = default;

void PageControl::SetTabsVisible(bool visible) {
  QTabWidget* tabs = Tabs(this);
  tabs->tabBar()->setVisible(visible);
  tabs->setDocumentMode(!visible);
  Impl()->AfterGeometry();
}

void PageControl::SetOwnerDrawTabs(bool ownerDraw) {
  ownerDrawTabs_ = ownerDraw;
  Tabs(this)->tabBar()->update();
}

Rect PageControl::TabRect(int index) const {
  const QRect q = Tabs(this)->tabBar()->tabRect(index);
  if (!q.isValid()) return {};
  return Rect{q.left(), q.top(), q.left() + q.width(), q.top() + q.height()};
}

int PageControl::PageCount() const { return static_cast<int>(pages_.size()); }

TabSheet* PageControl::Page(int index) const {
  if (index < 0 || index >= PageCount()) return nullptr;
  return pages_[static_cast<size_t>(index)];
}

int PageControl::ActivePageIndex() const { return Tabs(this)->currentIndex(); }

void PageControl::SetActivePageIndex(int index) {
  if (index < 0 || index >= PageCount()) return;
  const QSignalBlocker block(Tabs(this));
  Tabs(this)->setCurrentIndex(index);
}

TabSheet* PageControl::ActivePage() const { return Page(ActivePageIndex()); }

void PageControl::SetActivePage(TabSheet& page) { SetActivePageIndex(page.PageIndex()); }

// ---------------------------------------------------------------------------

TabSheet::TabSheet(PageControl& owner, const std::string& caption)
    : Container(nullptr, MakeImpl(new QWidget)), owner_(owner), caption_(caption) {
  QTabWidget* tabs = Tabs(&owner_);
  const bool first = owner_.pages_.empty();
  {
    // Adding the first page makes it current; that is no change of page.
    const QSignalBlocker block(tabs);
    tabs->addTab(Impl()->widget, ToQ(caption));
  }
  owner_.pages_.push_back(this);
  Impl()->widget->installEventFilter(new ShowWatcher(this, Impl()->widget));
  if (first) tabs->setCurrentIndex(0);
  owner_.Impl()->AfterGeometry();
}

TabSheet::~TabSheet() {
  // Taking a page away is no change of page for the handler.
  QTabWidget* tabs = Tabs(&owner_);
  if (tabs != nullptr) {
    const QSignalBlocker block(tabs);
    const int i = tabs->indexOf(Impl()->widget);
    if (i >= 0) tabs->removeTab(i);
  }
  auto& pages = owner_.pages_;
  pages.erase(std::remove(pages.begin(), pages.end(), this), pages.end());
}

int TabSheet::PageIndex() const {
  const auto& pages = owner_.pages_;
  const auto it = std::find(pages.begin(), pages.end(), this);
  return it == pages.end() ? -1 : static_cast<int>(it - pages.begin());
}

std::string TabSheet::Caption() const { return caption_; }

void TabSheet::SetCaption(const std::string& caption) {
  caption_ = caption;
  QTabWidget* tabs = Tabs(&owner_);
  const int i = tabs->indexOf(Impl()->widget);
  if (i >= 0) tabs->setTabText(i, ToQ(caption));
}

}  // namespace orlu
