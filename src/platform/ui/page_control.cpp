// Page control over a tab widget whose tab bar can be hidden.
#include "platform/ui/page_control.h"

#include <QTabBar>
#include <QTabWidget>

#include <algorithm>

#include "platform/ui/ui_internal.h"

namespace orlu {

namespace {

QTabWidget* Tabs(const PageControl* pc) {
  return static_cast<QTabWidget*>(pc->Impl()->widget.data());
}

}  // namespace

PageControl::PageControl(Container& parent) : Control(&parent, MakeImpl(new QTabWidget)) {
  SetBounds(0, 0, 289, 193);
  QTabWidget* tabs = Tabs(this);
  QObject::connect(tabs, &QTabWidget::currentChanged, tabs, [this] { Fire(OnChange); });
}

PageControl::~PageControl() = default;

void PageControl::SetTabsVisible(bool visible) {
  QTabWidget* tabs = Tabs(this);
  tabs->tabBar()->setVisible(visible);
  tabs->setDocumentMode(!visible);
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
  if (first) tabs->setCurrentIndex(0);
}

TabSheet::~TabSheet() {
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
