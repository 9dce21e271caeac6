// An icon in the desktop's notification area. While its form is minimised
// the form has no task-bar button, but only where a notification area
// exists (else the form stays reachable from the task bar); a double click
// on the icon restores the form.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace orlu {

class Form;
struct TrayIconImpl;

class TrayIcon {
 public:
  explicit TrayIcon(Form& form);
  ~TrayIcon();
  TrayIcon(const TrayIcon&) = delete;
  TrayIcon& operator=(const TrayIcon&) = delete;

  void SetHint(const std::string& hint);
  void SetVisible(bool visible);
  bool Visible() const;
  // A double click from code: restores the form.
  void DoubleClick();
  // Runs after the restore of a double click.
  std::function<void()> OnDblClick;

  // Whether the desktop has a notification area; tests may force an answer
  // (std::nullopt: ask the desktop).
  static bool AreaAvailable();
  static void SetAreaAvailableForTesting(std::optional<bool> available);

 private:
  std::unique_ptr<TrayIconImpl> impl_;
};

}  // namespace orlu
