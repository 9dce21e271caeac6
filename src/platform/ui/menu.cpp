// Menu bars, popup menus and their items.
#include "platform/ui/menu.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

#include "platform/ui/form.h"
#include "platform/ui/ui_internal.h"

namespace orlu {

// A place items go into: a form's menu bar or a (sub-)menu.
struct MenuImpl {
  QPointer<QMenuBar> bar;
  QPointer<QMenu> menu;
  bool ownsMenu = false;
  Form* form = nullptr;  // the form of a menu bar

  ~MenuImpl() {
    if (ownsMenu && menu) delete menu.data();
  }
  void AddAction(QAction* action) {
    if (bar) bar->addAction(action);
    else if (menu) menu->addAction(action);
  }
};

struct MenuItemImpl {
  QPointer<QAction> action;
  MenuImpl sub;  // the item's own menu once it has sub-items
  bool visible = true;
};

MenuItem::MenuItem(MenuImpl& parentMenu, const std::string& caption, bool separator)
    : caption_(caption), impl_(std::make_unique<MenuItemImpl>()) {
  QObject* owner = parentMenu.bar ? static_cast<QObject*>(parentMenu.bar.data())
                                  : static_cast<QObject*>(parentMenu.menu.data());
  auto* action = new QAction(ToQ(caption), owner);
  action->setSeparator(separator);
  impl_->action = action;
  parentMenu.AddAction(action);
  QObject::connect(action, &QAction::triggered, action, [this] { Fire(OnClick); });
}

MenuItem::~MenuItem() {
  items_.clear();
  if (impl_->action) delete impl_->action.data();
}

namespace {

void EnsureSubMenu(MenuItemImpl& impl) {
  if (impl.sub.menu) return;
  auto* menu = new QMenu;
  impl.sub.menu = menu;
  impl.sub.ownsMenu = true;
  impl.action->setMenu(menu);
}

}  // namespace

MenuItem& MenuItem::Add(const std::string& caption, std::function<void()> onClick) {
  EnsureSubMenu(*impl_);
  items_.push_back(std::unique_ptr<MenuItem>(new MenuItem(impl_->sub, caption, false)));
  items_.back()->OnClick = std::move(onClick);
  return *items_.back();
}

void MenuItem::SetCaption(const std::string& caption) {
  caption_ = caption;
  impl_->action->setText(ToQ(caption));
}

bool MenuItem::Enabled() const { return impl_->action->isEnabled(); }
void MenuItem::SetEnabled(bool enabled) { impl_->action->setEnabled(enabled); }
bool MenuItem::Visible() const { return impl_->visible; }

void MenuItem::SetVisible(bool visible) {
  impl_->visible = visible;
  impl_->action->setVisible(visible);
}

bool MenuItem::Checked() const { return impl_->action->isChecked(); }

void MenuItem::SetChecked(bool checked) {
  impl_->action->setCheckable(true);
  impl_->action->setChecked(checked);
}

void MenuItem::Click() { Fire(OnClick); }

// ---------------------------------------------------------------------------

MainMenu::MainMenu(Form& form) : impl_(std::make_unique<MenuImpl>()) {
  auto* bar = new QMenuBar(FormWidgetOf(form));
  bar->setNativeMenuBar(false);
  impl_->bar = bar;
  impl_->form = &form;
  SetFormMenuBar(form, bar);
}

MainMenu::~MainMenu() {
  items_.clear();
  if (impl_->bar) delete impl_->bar.data();
}

MenuItem& MainMenu::Add(const std::string& caption, std::function<void()> onClick) {
  items_.push_back(std::unique_ptr<MenuItem>(new MenuItem(*impl_, caption, false)));
  items_.back()->OnClick = std::move(onClick);
  // The bar's height may change with its first item.
  SetFormMenuBar(*impl_->form, impl_->bar);
  return *items_.back();
}

// ---------------------------------------------------------------------------

PopupMenu::PopupMenu() : impl_(std::make_unique<MenuImpl>()) {
  auto* menu = new QMenu;
  impl_->menu = menu;
  impl_->ownsMenu = true;
}

PopupMenu::~PopupMenu() { items_.clear(); }

MenuItem& PopupMenu::Add(const std::string& caption, std::function<void()> onClick) {
  items_.push_back(std::unique_ptr<MenuItem>(new MenuItem(*impl_, caption, false)));
  items_.back()->OnClick = std::move(onClick);
  return *items_.back();
}

QMenu* MenuOf(PopupMenu& menu) { return menu.Impl()->menu; }

}  // namespace orlu
