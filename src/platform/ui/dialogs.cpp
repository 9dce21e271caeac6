// File and folder pickers, message boxes, and handing web addresses to the
// desktop's browser.
#include "platform/ui/dialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QProcess>
#include <QStringList>

#include <mutex>

#include "platform/text/codepage.h"
#include "platform/text/gbk.h"
#include "platform/ui/application.h"
#include "platform/ui/ui_internal.h"

namespace orlu {

namespace {

std::mutex g_mutex;
FileDialogHook g_fileHook;
MessageBoxHook g_messageHook;
std::function<void(const std::string&)> g_shellHook;

template <class T>
T Copy(const T& value) {
  std::lock_guard<std::mutex> lock(g_mutex);
  return value;
}

// "text|*.a;*.b|text2|*.c" to the toolkit's "text (*.a *.b);;text2 (*.c)".
QString ToQtFilter(const std::string& filter) {
  if (filter.empty()) return QString();
  std::vector<std::string> parts;
  std::string part;
  for (char c : filter) {
    if (c == '|') {
      parts.push_back(part);
      part.clear();
    } else {
      part.push_back(c);
    }
  }
  parts.push_back(part);
  QStringList out;
  for (size_t i = 0; i + 1 < parts.size(); i += 2) {
    std::string patterns = parts[i + 1];
    for (char& c : patterns) {
      if (c == ';') c = ' ';
    }
    out << ToQ(parts[i]) + QStringLiteral(" (") + ToQ(patterns) + QStringLiteral(")");
  }
  return out.join(QStringLiteral(";;"));
}

// A saved name without an extension gets the default one.
std::string WithDefaultExt(const std::string& name, const std::string& ext) {
  if (ext.empty() || name.empty()) return name;
  const size_t slash = name.find_last_of('/');
  const size_t dot = name.find_last_of('.');
  if (dot != std::string::npos && (slash == std::string::npos || dot > slash)) return name;
  return name + "." + ext;
}

bool IsSchemeChar(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
         c == '+' || c == '-' || c == '.';
}

}  // namespace

void SetFileDialogHook(FileDialogHook hook) {
  std::lock_guard<std::mutex> lock(g_mutex);
  g_fileHook = std::move(hook);
}

bool FileDialog::Execute() {
  const FileDialogHook hook = Copy(g_fileHook);
  std::optional<std::string> answer;
  if (hook) {
    answer = hook(request_);
  } else {
    QWidget* parent = QApplication::activeWindow();
    const QString title = ToQ(request_.title);
    QString start = FileNameToQ(request_.initialDir);
    if (!request_.fileName.empty()) {
      start = start.isEmpty() ? FileNameToQ(request_.fileName)
                              : start + QLatin1Char('/') + FileNameToQ(request_.fileName);
    }
    QString chosen;
    switch (request_.kind) {
      case FileDialogKind::Open:
        chosen = QFileDialog::getOpenFileName(parent, title, start, ToQtFilter(request_.filter));
        break;
      case FileDialogKind::Save:
        chosen = QFileDialog::getSaveFileName(parent, title, start, ToQtFilter(request_.filter));
        break;
      case FileDialogKind::Folder:
        chosen = QFileDialog::getExistingDirectory(parent, title, start);
        break;
    }
    if (!chosen.isEmpty()) answer = FileNameFromQ(chosen);
  }
  if (!answer || answer->empty()) return false;
  request_.fileName = request_.kind == FileDialogKind::Save
                          ? WithDefaultExt(*answer, request_.defaultExt)
                          : *answer;
  return true;
}

std::optional<std::string> SelectFolder(const std::string& title, const std::string& initialDir) {
  FileDialog dialog(FileDialogKind::Folder);
  dialog.SetTitle(title);
  dialog.SetInitialDir(initialDir);
  if (!dialog.Execute()) return std::nullopt;
  return dialog.FileName();
}

// ---------------------------------------------------------------------------

void SetMessageBoxHook(MessageBoxHook hook) {
  std::lock_guard<std::mutex> lock(g_mutex);
  g_messageHook = std::move(hook);
}

MessageResult ShowMessageBox(const MessageRequest& request) {
  const MessageBoxHook hook = Copy(g_messageHook);
  if (hook) return hook(request);
  QMessageBox::StandardButtons buttons = QMessageBox::Ok;
  switch (request.buttons) {
    case MessageButtons::Ok: buttons = QMessageBox::Ok; break;
    case MessageButtons::OkCancel: buttons = QMessageBox::Ok | QMessageBox::Cancel; break;
    case MessageButtons::YesNo: buttons = QMessageBox::Yes | QMessageBox::No; break;
    case MessageButtons::YesNoCancel:
      buttons = QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
      break;
  }
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  switch (request.icon) {
    case MessageIcon::None: break;
    case MessageIcon::Information: icon = QMessageBox::Information; break;
    case MessageIcon::Warning: icon = QMessageBox::Warning; break;
    case MessageIcon::Error: icon = QMessageBox::Critical; break;
    case MessageIcon::Question: icon = QMessageBox::Question; break;
  }
  std::string caption = request.caption;
  if (caption.empty() && Application::Instance() != nullptr) {
    caption = Application::Instance()->Title();
  }
  QMessageBox box(icon, ToQ(caption), ToQ(request.text), buttons, QApplication::activeWindow());
  switch (box.exec()) {
    case QMessageBox::Yes: return MessageResult::Yes;
    case QMessageBox::No: return MessageResult::No;
    case QMessageBox::Cancel: return MessageResult::Cancel;
    default: return MessageResult::Ok;
  }
}

void ShowMessage(const std::string& text) {
  MessageRequest request;
  request.text = text;
  ShowMessageBox(request);
}

void Beep() { QApplication::beep(); }

// ---------------------------------------------------------------------------

std::optional<std::string> ShellOpenAddress(std::string_view address) {
  const std::string text = Trim(address);
  if (text.empty()) return std::nullopt;
  for (unsigned char c : text) {
    if (c < 0x20 || c == 0x7F) return std::nullopt;
  }
  // A scheme: a letter, then letters, digits, "+", "-" or ".", then ":".
  size_t colon = std::string::npos;
  if ((text[0] >= 'a' && text[0] <= 'z') || (text[0] >= 'A' && text[0] <= 'Z')) {
    size_t i = 1;
    while (i < text.size() && IsSchemeChar(text[i])) ++i;
    if (i < text.size() && text[i] == ':') colon = i;
  }
  if (colon != std::string::npos) {
    const std::string scheme = LowerCase(std::string_view(text).substr(0, colon));
    const std::string rest = text.substr(colon + 1);
    if (scheme == "http" || scheme == "https") {
      if (rest.rfind("//", 0) == 0 && rest.size() > 2) return text;
      return std::nullopt;
    }
    // "host:8080/path" names a port, not a scheme.
    size_t digits = 0;
    while (digits < rest.size() && rest[digits] >= '0' && rest[digits] <= '9') ++digits;
    const bool port = digits > 0 && (digits == rest.size() || rest[digits] == '/' ||
                                      rest[digits] == '?' || rest[digits] == '#');
    if (!port) return std::nullopt;
  }
  if (text.rfind("//", 0) == 0) return "http:" + text;
  return "http://" + text;
}

std::optional<std::string> ShellOpen(std::string_view address) {
  std::optional<std::string> target = ShellOpenAddress(address);
  if (!target) return std::nullopt;
  const auto hook = Copy(g_shellHook);
  if (hook) {
    hook(*target);
    return target;
  }
  // No shell: the opener gets the address as its one argument; a failure
  // to start it is ignored.
  QProcess::startDetached(QStringLiteral("xdg-open"),
                          {QString::fromStdString(AnsiToUtf8(*target))});
  return target;
}

void SetShellOpenHook(std::function<void(const std::string& address)> hook) {
  std::lock_guard<std::mutex> lock(g_mutex);
  g_shellHook = std::move(hook);
}

}  // namespace orlu
