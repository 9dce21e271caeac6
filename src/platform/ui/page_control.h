// Pages stacked in one place, with or without tabs.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/ui/canvas.h"
#include "platform/ui/control.h"

namespace orlu {

class TabSheet;

class PageControl : public Control {
 public:
  explicit PageControl(Container& parent);
  ~PageControl() override;

  // Hidden tabs: pages change only from code.
  void SetTabsVisible(bool visible);
  int PageCount() const;
  TabSheet* Page(int index) const;
  int ActivePageIndex() const;  // -1 without pages
  void SetActivePageIndex(int index);
  TabSheet* ActivePage() const;
  void SetActivePage(TabSheet& page);
  // The user picked another page by its tab (a change from code is silent).
  std::function<void()> OnChange;

  // Tabs drawn by OnDrawTab instead of the style: each tab of the bar, in
  // tab-bar coordinates, with whether it is the active one.
  void SetOwnerDrawTabs(bool ownerDraw);
  bool OwnerDrawTabs() const { return ownerDrawTabs_; }
  std::function<void(Canvas& canvas, int index, const Rect& rect, bool active)> OnDrawTab;
  // The tab's rectangle in tab-bar coordinates (empty without that tab).
  Rect TabRect(int index) const;

 private:
  friend class TabSheet;
  std::vector<TabSheet*> pages_;
  bool ownerDrawTabs_ = false;
};

// One page; the pages are in the order they were made.
class TabSheet : public Container {
 public:
  TabSheet(PageControl& owner, const std::string& caption = "");
  ~TabSheet() override;
  PageControl& Owner() const { return owner_; }
  int PageIndex() const;
  std::string Caption() const override;
  void SetCaption(const std::string& caption) override;
  // The page came into view (it became the active page of a shown page
  // control, or its window was shown with it active).
  std::function<void()> OnShow;

 private:
  PageControl& owner_;
  std::string caption_;
};

}  // namespace orlu
