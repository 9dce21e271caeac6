// Pages stacked in one place, with or without tabs.
#pragma once

#include <functional>
#include <string>
#include <vector>

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

 private:
  friend class TabSheet;
  std::vector<TabSheet*> pages_;
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

 private:
  PageControl& owner_;
  std::string caption_;
};

}  // namespace orlu
