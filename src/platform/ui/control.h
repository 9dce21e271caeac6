// Base of every window control. Controls are plain C++ objects that own
// their native widget. A control is usually a member of its form, declared
// after its parent so that it is built after the parent and destroyed before
// it; a parent must not go before its children.
//
// All texts are GBK byte strings. Every call is for the window thread unless
// a comment says otherwise. Handlers (On...) run on the window thread; an
// exception escaping one is shown in the application's box and the program
// goes on.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "platform/ui/types.h"

namespace orlu {

struct ControlImpl;
class Container;
class PopupMenu;

class Control {
 public:
  virtual ~Control();
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;

  Container* Parent() const { return parent_; }

  // Position relative to the parent's client area (for a form: on screen).
  int Left() const;
  int Top() const;
  int Width() const;
  int Height() const;
  void SetLeft(int left);
  void SetTop(int top);
  void SetWidth(int width);
  void SetHeight(int height);
  void SetBounds(int left, int top, int width, int height);

  void SetAlign(Align align);
  // A mask of Anchor values; distances are taken from the current position.
  void SetAnchors(unsigned anchors);

  bool Visible() const;  // the control's own Visible property
  void SetVisible(bool visible);
  void Show() { SetVisible(true); }
  void Hide() { SetVisible(false); }
  bool Enabled() const;
  void SetEnabled(bool enabled);

  // Caption of buttons, labels, check boxes, group boxes, forms; the text of
  // edits. Controls without a caption keep it and show nothing.
  virtual std::string Caption() const;
  virtual void SetCaption(const std::string& caption);

  void SetFontColor(Color color);
  Color FontColor() const;
  void SetFontUnderline(bool underline);
  void SetFontBold(bool bold);
  void SetColor(Color background);  // kDefaultColor: the style's colour
  void SetCursor(Cursor cursor);

  // The name a screen reader gives the control (GBK): for an edit or memo
  // the caption of the label beside it, or what it holds.
  void SetAccessibleName(const std::string& name);

  void SetFocus();
  bool Focused() const;
  // Schedules a repaint.
  void Invalidate();
  // Right click shows this menu (nullptr: none). The menu must outlive the
  // control or be unset first.
  void SetPopupMenu(PopupMenu* menu);

  // A click made from code: runs OnClick even when the control is disabled.
  virtual void Click();

  std::function<void()> OnClick;
  std::function<void()> OnDblClick;
  // Character keys as the single byte typed; Enter is '\r', Escape 27,
  // Backspace 8. Setting key to 0 swallows it.
  std::function<void(char& key)> OnKeyPress;
  std::function<void()> OnMouseEnter;
  std::function<void()> OnMouseLeave;

  // Internal: the native side.
  ControlImpl* Impl() const { return impl_.get(); }

 protected:
  Control(Container* parent, std::unique_ptr<ControlImpl> impl);

 private:
  friend class Container;
  Container* parent_;
  std::unique_ptr<ControlImpl> impl_;
};

// A control that holds other controls: forms, panels, group boxes, tab
// sheets, scroll boxes, tool bars.
class Container : public Control {
 public:
  ~Container() override;
  int ClientWidth() const;
  int ClientHeight() const;
  // Places docked and anchored children again (done on every resize and
  // whenever a child's alignment, size or visibility changes).
  void Realign();

 protected:
  Container(Container* parent, std::unique_ptr<ControlImpl> impl);
};

}  // namespace orlu
