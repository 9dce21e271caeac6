// Entry point of the window test programs: the application object under Qt's
// offscreen platform, the test hooks of window_test.h, then every test.
#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/ui/application.h"
#include "platform/ui/form.h"
#include "platform/ui/tray_icon.h"
#include "support/window_test.h"

namespace orlu::test {

std::vector<std::string>& ExceptionMessages() { static std::vector<std::string> v; return v; }
std::vector<std::string>& MessageBoxTexts() { static std::vector<std::string> v; return v; }
std::vector<std::string>& ShellOpened() { static std::vector<std::string> v; return v; }

void ResetWindowTestHooks() {
  ExceptionMessages().clear();
  MessageBoxTexts().clear();
  ShellOpened().clear();
  Application::SetExceptionHook([](const std::string& message) {
    ExceptionMessages().push_back(message);
  });
  SetMessageBoxHook([](const MessageRequest& request) {
    MessageBoxTexts().push_back(request.text);
    return request.buttons == MessageButtons::Ok ? MessageResult::Ok : MessageResult::Cancel;
  });
  SetFileDialogHook([](const FileDialogRequest&) -> std::optional<std::string> { return std::nullopt; });
  SetShellOpenHook([](const std::string& address) { ShellOpened().push_back(address); });
  Form::SetShowModalHook({});
  TrayIcon::SetAreaAvailableForTesting(std::nullopt);
}

namespace {

class ResetHooks : public ::testing::EmptyTestEventListener {
  void OnTestStart(const ::testing::TestInfo&) override { ResetWindowTestHooks(); }
};

}  // namespace

}  // namespace orlu::test

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  ::testing::InitGoogleTest(&argc, argv);
  orlu::Application app(argc, argv);
  ::testing::UnitTest::GetInstance()->listeners().Append(new orlu::test::ResetHooks);
  orlu::test::ResetWindowTestHooks();
  return RUN_ALL_TESTS();
}
