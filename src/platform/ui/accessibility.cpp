// What assistive technology (screen readers) sees of the windows: top-level
// forms are frames, and a control hidden by code is left out of its
// container, as it is for the eye (the hidden twin lists, a page control's
// hidden tab bar).
#include <QAccessible>
#include <QAccessibleWidget>
#include <QTabWidget>
#include <QWidget>

#include "platform/ui/ui_internal.h"

namespace orlu {

namespace {

class ContainerAccessible : public QAccessibleWidget {
 public:
  explicit ContainerAccessible(QWidget* w)
      : QAccessibleWidget(w, w->isWindow() ? QAccessible::Window : QAccessible::Client) {}

  int childCount() const override { return static_cast<int>(Shown().size()); }

  QAccessibleInterface* child(int index) const override {
    const QList<QWidget*> shown = Shown();
    if (index < 0 || index >= shown.size()) return nullptr;
    return QAccessible::queryAccessibleInterface(shown[index]);
  }

  int indexOfChild(const QAccessibleInterface* child) const override {
    if (child == nullptr) return -1;
    return static_cast<int>(Shown().indexOf(qobject_cast<QWidget*>(child->object())));
  }

 private:
  // The child widgets a user can see when the container shows.
  QList<QWidget*> Shown() const {
    QList<QWidget*> shown;
    for (QObject* o : widget()->children()) {
      auto* w = qobject_cast<QWidget*>(o);
      if (w != nullptr && !w->isWindow() && !w->isHidden()) shown.append(w);
    }
    return shown;
  }
};

QAccessibleInterface* ContainerFactory(const QString& className, QObject* object) {
  auto* w = qobject_cast<QWidget*>(object);
  if (w == nullptr || !w->property(kContainerProperty).toBool()) return nullptr;
  // Only where the toolkit itself would give the plain interface.
  if (className != QLatin1String("QWidget") && className != QLatin1String("QTabWidget")) {
    return nullptr;
  }
  return new ContainerAccessible(w);
}

}  // namespace

void InstallAccessibility() {
  static bool installed = false;
  if (installed) return;
  installed = true;
  QAccessible::installFactory(ContainerFactory);
}

void MarkContainer(QWidget* widget) {
  if (widget != nullptr) widget->setProperty(kContainerProperty, true);
}

}  // namespace orlu
