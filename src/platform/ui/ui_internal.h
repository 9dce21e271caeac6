// Private to the window layer: the native side of the controls. Only the
// window layer's own sources include this header.
#pragma once

#include <QImage>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <functional>
#include <string>
#include <vector>

#include "platform/ui/control.h"
#include "platform/ui/types.h"

class QMenu;
class QMenuBar;
class QEventLoop;

namespace orlu {

class Form;
class PopupMenu;
struct TrayIconImpl;

// GBK text to and from the toolkit's strings.
QString ToQ(const std::string& gbk);
std::string FromQ(const QString& text);
// A file name (the file system's bytes) to and from the toolkit's strings;
// every name the toolkit can show survives the round trip.
QString FileNameToQ(const std::string& name);
std::string FileNameFromQ(const QString& name);

// Accessibility (accessibility.cpp): the factory that shows forms as frames
// and leaves controls hidden by code out of their containers, installed once
// by the application; containers mark their widgets for it.
inline constexpr const char* kContainerProperty = "orluContainer";
void InstallAccessibility();
void MarkContainer(QWidget* widget);

// Runs a handler, showing an exception that escapes it.
void Fire(const std::function<void()>& handler);

QColor ToQColor(Color color);

// Mouse, key, hover and context-menu events of a control's widget.
class EventBridge : public QObject {
 public:
  EventBridge(Control* control, QObject* parent);
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  Control* control_;
};

struct ControlImpl {
  virtual ~ControlImpl();

  Control* owner = nullptr;
  QPointer<QWidget> widget;    // the control's own widget
  QPointer<QWidget> surface;   // containers: where children sit
  QPointer<QWidget> input;     // where mouse and keys arrive (default: widget)
  QPointer<QObject> bridge;    // the EventBridge
  bool clickFromMouse = false; // a mouse release runs OnClick (non-buttons)
  bool isContainer = false;
  bool flowsChildren = false;  // places its children itself (tool bar)
  bool visible = true;
  Align align = Align::None;
  unsigned anchors = kAnchorLeft | kAnchorTop;
  int anchorRight = 0;
  int anchorBottom = 0;
  Color fontColor = kDefaultColor;
  Color color = kDefaultColor;
  std::string hint;
  PopupMenu* popup = nullptr;
  std::vector<Control*> children;  // containers, in the order made

  // Extra work after geometry changes (e.g. an up-down following its edit).
  virtual void AfterGeometry() {}
  // Extra work after a font change (a self-sizing label fits its text).
  virtual void AfterFont(Control&) {}
  // Containers that place their children their own way (true when done).
  virtual bool LayOutChildren(Container&) { return false; }
};

// Makes an impl for `widget`, a new child of `parent`'s surface.
std::unique_ptr<ControlImpl> MakeImpl(QWidget* widget);
QWidget* SurfaceOf(Container& parent);

// Sets a child's geometry and lays out its own children.
void PlaceControl(Control& control, const QRect& rect);

// Form internals shared with menus and the tray icon.
QWidget* FormWidgetOf(Form& form);
void SetFormMenuBar(Form& form, QMenuBar* bar);
void SetFormTray(Form& form, TrayIconImpl* tray);
QMenu* MenuOf(PopupMenu& menu);

// Memos: from how many lines a content set in one piece is held in the
// light read view instead of the editor (tests lower it), and whether a
// memo holds its lines there now.
class Memo;
void SetMemoViewThreshold(size_t lines);
size_t MemoViewThreshold();
bool MemoHoldsLinesInView(const Memo& memo);

}  // namespace orlu
