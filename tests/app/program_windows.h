// The program's seven windows, made once per test program without a settings file, and hooks
// that record the exception box, modal windows and file dialogs.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "app/main_form.h"
#include "app/program.h"
#include "app/small_windows.h"
#include "pages/settings_file.h"
#include "pages/stat_show_form.h"
#include "platform/text/gbk.h"
#include "platform/ui/ui.h"
#include "support/temp_files.h"
#include "support/window_test.h"
#include "whois/whois_info_form.h"

namespace orlu::testing {

// The page pgcMain showed right after the windows were made.
inline int PageAtStart = -1;

// Makes the windows the first time it is called; later calls only check.
inline void EnsureProgramWindows() {
  static bool made = false;
  if (made) return;
  Application* app = Application::Instance();
  ASSERT_NE(app, nullptr) << "the window tests need the application object";
  std::error_code ec;
  std::filesystem::remove_all(SettingsFileName(), ec);
  orlu::test::ExceptionMessages().clear();
  StartProgram(*app);
  made = true;
  // The sponsor list is fetched only by the tests that ask for it.
  if (FormMain) FormMain->tmrUrlBegin.Stop();
  if (FormMain) PageAtStart = FormMain->pgcMain.ActivePageIndex();
  ASSERT_TRUE(orlu::test::ExceptionMessages().empty())
      << "start-up raised: " << orlu::test::ExceptionMessages().front();
}

// Records what the exception box, ShowModal and file dialogs are asked; answers `dialogAnswer`.
class ProgramWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    EnsureProgramWindows();
    ASSERT_NE(FormMain, nullptr);
    Application::SetExceptionHook([this](const std::string& m) { boxMessages.push_back(m); });
    Form::SetShowModalHook([this](Form& f) {
      modalForms.push_back(&f);
      return kModalCancel;
    });
    SetFileDialogHook([this](const FileDialogRequest& r) -> std::optional<std::string> {
      dialogRequests.push_back(r);
      return dialogAnswer;
    });
  }

  void TearDown() override {
    std::error_code ec;
    std::filesystem::remove_all(SettingsFileName(), ec);
    orlu::test::ResetWindowTestHooks();
  }

  std::vector<std::string> boxMessages;
  std::vector<Form*> modalForms;
  std::vector<FileDialogRequest> dialogRequests;
  std::optional<std::string> dialogAnswer;
};

}  // namespace orlu::testing
