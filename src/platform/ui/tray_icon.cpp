// The notification-area icon of a form.
#include "platform/ui/tray_icon.h"

#include <QApplication>
#include <QIcon>
#include <QPixmap>
#include <QSystemTrayIcon>

#include <atomic>

#include "platform/ui/form.h"
#include "platform/ui/ui_internal.h"

namespace orlu {

namespace {

// -1: ask the desktop; 0/1: forced by a test.
std::atomic<int> g_areaOverride{-1};

QIcon DefaultIcon() {
  QIcon icon = QApplication::windowIcon();
  if (!icon.isNull()) return icon;
  QPixmap pixmap(16, 16);
  pixmap.fill(QColor(0x20, 0x60, 0xC0));
  return QIcon(pixmap);
}

}  // namespace

struct TrayIconImpl {
  Form* form = nullptr;
  QSystemTrayIcon* icon = nullptr;
  bool visible = true;
};

// While the form is minimised: hide its task-bar button when the icon can
// stand in for it.
bool TrayWantsHide(TrayIconImpl* tray) { return tray->visible && TrayIcon::AreaAvailable(); }

TrayIcon::TrayIcon(Form& form) : impl_(std::make_unique<TrayIconImpl>()) {
  impl_->form = &form;
  impl_->icon = new QSystemTrayIcon(DefaultIcon());
  QObject::connect(impl_->icon, &QSystemTrayIcon::activated, impl_->icon,
                   [this](QSystemTrayIcon::ActivationReason reason) {
                     if (reason == QSystemTrayIcon::DoubleClick) DoubleClick();
                   });
  if (QSystemTrayIcon::isSystemTrayAvailable()) impl_->icon->show();
  SetFormTray(form, impl_.get());
}

TrayIcon::~TrayIcon() {
  SetFormTray(*impl_->form, nullptr);
  delete impl_->icon;
}

void TrayIcon::SetHint(const std::string& hint) { impl_->icon->setToolTip(ToQ(hint)); }

void TrayIcon::SetVisible(bool visible) {
  impl_->visible = visible;
  impl_->icon->setVisible(visible && QSystemTrayIcon::isSystemTrayAvailable());
}

bool TrayIcon::Visible() const { return impl_->visible; }

void TrayIcon::DoubleClick() {
  impl_->form->Restore();
  Fire(OnDblClick);
}

bool TrayIcon::AreaAvailable() {
  const int forced = g_areaOverride.load();
  if (forced >= 0) return forced != 0;
  return QSystemTrayIcon::isSystemTrayAvailable();
}

void TrayIcon::SetAreaAvailableForTesting(std::optional<bool> available) {
  g_areaOverride.store(available.has_value() ? (*available ? 1 : 0) : -1);
}

}  // namespace orlu
