// Main menus (the bar of a form), popup menus and their items.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace orlu {

class Form;
struct MenuItemImpl;
struct MenuImpl;

class MenuItem {
 public:
  ~MenuItem();
  MenuItem(const MenuItem&) = delete;
  MenuItem& operator=(const MenuItem&) = delete;

  // Adds a sub-item (the item becomes a sub-menu); the item owns it.
  MenuItem& Add(const std::string& caption, std::function<void()> onClick = {});
  int Count() const { return static_cast<int>(items_.size()); }
  MenuItem& Item(int index) const { return *items_.at(index); }

  std::string Caption() const { return caption_; }
  void SetCaption(const std::string& caption);
  bool Enabled() const;
  void SetEnabled(bool enabled);
  bool Visible() const;
  void SetVisible(bool visible);
  bool Checked() const;
  void SetChecked(bool checked);

  // A click from code: runs OnClick (also when disabled).
  void Click();
  std::function<void()> OnClick;

  MenuItemImpl* Impl() const { return impl_.get(); }

 private:
  friend class MainMenu;
  friend class PopupMenu;
  MenuItem(MenuImpl& parentMenu, const std::string& caption, bool separator);
  std::string caption_;
  std::unique_ptr<MenuItemImpl> impl_;
  std::vector<std::unique_ptr<MenuItem>> items_;
};

// The menu bar of a form.
class MainMenu {
 public:
  explicit MainMenu(Form& form);
  ~MainMenu();
  MainMenu(const MainMenu&) = delete;
  MainMenu& operator=(const MainMenu&) = delete;
  // A top item.
  MenuItem& Add(const std::string& caption, std::function<void()> onClick = {});
  int Count() const { return static_cast<int>(items_.size()); }
  MenuItem& Item(int index) const { return *items_.at(index); }

 private:
  std::unique_ptr<MenuImpl> impl_;
  std::vector<std::unique_ptr<MenuItem>> items_;
};

// A menu shown by a right click on a control (Control::SetPopupMenu).
class PopupMenu {
 public:
  PopupMenu();
  ~PopupMenu();
  PopupMenu(const PopupMenu&) = delete;
  PopupMenu& operator=(const PopupMenu&) = delete;
  MenuItem& Add(const std::string& caption, std::function<void()> onClick = {});
  int Count() const { return static_cast<int>(items_.size()); }
  MenuItem& Item(int index) const { return *items_.at(index); }
  // Runs before the menu shows.
  std::function<void()> OnPopup;

  MenuImpl* Impl() const { return impl_.get(); }

 private:
  std::unique_ptr<MenuImpl> impl_;
  std::vector<std::unique_ptr<MenuItem>> items_;
};

}  // namespace orlu
