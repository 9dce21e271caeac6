// File pickers, message boxes and opening web addresses in the browser.
// Each can be answered by a hook instead of showing anything, so tests can
// script them; a hook stays until it is replaced or cleared with {}.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace orlu {

enum class FileDialogKind { Open, Save, Folder };

// What a dialog is asked to show. Title and filter are GBK text; folder and
// file names are the file system's bytes, as the dialog's answer is.
struct FileDialogRequest {
  FileDialogKind kind = FileDialogKind::Open;
  std::string title;
  std::string filter;       // "csv文件|*.csv" (pairs of text|patterns)
  std::string defaultExt;   // added to a saved name without an extension
  std::string initialDir;
  std::string fileName;
};

// Answers a dialog: the chosen name, or std::nullopt for a cancel.
using FileDialogHook = std::function<std::optional<std::string>(const FileDialogRequest&)>;
void SetFileDialogHook(FileDialogHook hook);

// Open and save dialogs as objects with the usual properties; Execute shows
// the dialog, true when the user chose a file (FileName() then holds it).
class FileDialog {
 public:
  explicit FileDialog(FileDialogKind kind) { request_.kind = kind; }
  void SetTitle(const std::string& title) { request_.title = title; }
  void SetFilter(const std::string& filter) { request_.filter = filter; }
  void SetDefaultExt(const std::string& ext) { request_.defaultExt = ext; }
  void SetInitialDir(const std::string& dir) { request_.initialDir = dir; }
  std::string FileName() const { return request_.fileName; }
  const FileDialogRequest& Request() const { return request_; }
  bool Execute();

 private:
  FileDialogRequest request_;
};

class OpenDialog : public FileDialog {
 public:
  OpenDialog() : FileDialog(FileDialogKind::Open) {}
};

class SaveDialog : public FileDialog {
 public:
  SaveDialog() : FileDialog(FileDialogKind::Save) {}
};

// A folder picker; std::nullopt when cancelled.
std::optional<std::string> SelectFolder(const std::string& title,
                                        const std::string& initialDir = "");

enum class MessageButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class MessageIcon { None, Information, Warning, Error, Question };
enum class MessageResult { Ok, Cancel, Yes, No };

struct MessageRequest {
  std::string text;
  std::string caption;  // empty: the application's title
  MessageButtons buttons = MessageButtons::Ok;
  MessageIcon icon = MessageIcon::None;
};

using MessageBoxHook = std::function<MessageResult(const MessageRequest&)>;
void SetMessageBoxHook(MessageBoxHook hook);

MessageResult ShowMessageBox(const MessageRequest& request);
// A plain message with an OK button.
void ShowMessage(const std::string& text);
// The desktop's default sound.
void Beep();

// Opens a web address in the desktop's browser. Only http and https: an
// address without a scheme gets "http://", any other scheme is refused. The
// opener runs without a shell; a failure to start it is ignored. Returns the
// address handed over, std::nullopt when refused.
std::optional<std::string> ShellOpen(std::string_view address);
// The address ShellOpen would hand over (pure; for callers and tests).
std::optional<std::string> ShellOpenAddress(std::string_view address);
// Tests: record instead of launching (receives the address handed over).
void SetShellOpenHook(std::function<void(const std::string& address)> hook);

}  // namespace orlu
