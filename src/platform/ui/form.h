// A top-level window. Left and Top are where its frame (title bar and
// borders, when the desktop draws them) sits on the screen; Width and Height
// are the window's size inside the frame (menu bar included);
// ClientWidth/ClientHeight the part below the menu bar where child controls
// sit. A form shown without a position set from code opens centred on the
// screen.
#pragma once

#include <functional>
#include <string>

#include "platform/ui/control.h"

namespace orlu {

class MainMenu;

enum class FormPosition { Designed, ScreenCenter };
enum class WindowState { Normal, Minimized, Maximized };
enum class BorderStyle { Sizeable, Single, Dialog, ToolWindow };

// Modal results (ShowModal's answer).
inline constexpr int kModalNone = 0;
inline constexpr int kModalOk = 1;
inline constexpr int kModalCancel = 2;

class Form : public Container {
 public:
  // A new form is hidden. The first form made while an Application exists
  // becomes the application's main form.
  Form();
  ~Form() override;

  void SetCaption(const std::string& caption) override;
  std::string Caption() const override;

  void SetClientSize(int width, int height);
  // The window with its frame on the screen (the frame is known once the
  // window has been shown; before that it is the window alone).
  Rect FrameBounds() const;
  // The part of the window's screen that windows may use (without panels).
  Rect WorkArea() const;
  // ScreenCenter centres the form on the desktop each time it is shown;
  // Designed keeps a position set from code (the first show of a form
  // without one centres it).
  void SetPosition(FormPosition position);
  // A ScreenCenter form centres itself together with a window this high
  // (inside its frame; the frame taken to be like this form's) docked under
  // it, so that both fit where the screen is high enough.
  void SetCenterSpaceBelow(int height);
  void SetBorderStyle(BorderStyle style);
  // Title-bar buttons besides close; both on by default.
  void SetBorderIcons(bool minimize, bool maximize);
  void SetStayOnTop(bool stayOnTop);
  // Painting is always buffered; kept for the forms that ask for it.
  void SetDoubleBuffered(bool) {}

  WindowState State() const;
  void SetState(WindowState state);
  // Shows the form in its normal state and brings it to the front.
  void Restore();

  // Shows the form modally and returns its modal result once it is closed
  // (kModalCancel when closed without one). When a ShowModal hook is set,
  // the hook answers instead and no loop runs.
  int ShowModal();
  bool Modal() const;
  // Closing a modal form: sets the result and closes it.
  void SetModalResult(int result);
  // Hides the form (the main form's close ends the application's loop).
  void Close();

  // Called after the form has painted itself.
  std::function<void()> OnPaint;
  // The form moved on screen.
  std::function<void()> OnMove;
  // The form is closing (by the user or Close()).
  std::function<void()> OnClose;

  // Busy flag of BusyGuard.
  bool Busy() const { return busy_; }

  // Tests: answers ShowModal for every form instead of running its loop.
  static void SetShowModalHook(std::function<int(Form&)> hook);

 private:
  friend class BusyGuard;
  bool busy_ = false;
};

// Where a centred frame goes on the work area with `below` pixels kept free
// under it: centred across, and the frame and that space together centred
// down; never above the work area's top.
Rect CenteredPlace(const Rect& frame, int below, const Rect& workArea);

// Held by a handler that waits (RunKeepingWindowsAlive) so that a second
// request from the same window during the wait is ignored, not nested:
//   BusyGuard guard(*this); if (!guard) return;
class BusyGuard {
 public:
  explicit BusyGuard(Form& form);
  ~BusyGuard();
  BusyGuard(const BusyGuard&) = delete;
  BusyGuard& operator=(const BusyGuard&) = delete;
  explicit operator bool() const { return acquired_; }

 private:
  Form& form_;
  bool acquired_;
};

}  // namespace orlu
