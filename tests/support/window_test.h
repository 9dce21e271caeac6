// Helpers of the window test programs (their main is window_test_main.cpp).
//
// Before every test the hooks are set so that nothing waits for a person:
// the exception box, message boxes and file dialogs record what they were
// asked and answer "cancel"/OK; shell open records the address instead of
// starting a browser; ShowModal of a form is NOT hooked (a test that shows a
// form modally sets Form::SetShowModalHook or closes the form from a timer).
#pragma once

#include <string>
#include <vector>

#include "platform/ui/application.h"
#include "platform/ui/dialogs.h"

namespace orlu::test {

// What reached the exception box since this test started.
std::vector<std::string>& ExceptionMessages();
// Texts of message boxes shown since this test started.
std::vector<std::string>& MessageBoxTexts();
// Addresses handed to shell open since this test started.
std::vector<std::string>& ShellOpened();
// File dialogs asked since this test started (they answer "cancel" unless a
// test sets its own hook).
std::vector<FileDialogRequest>& FileDialogsAsked();

// Puts the default hooks back (done before every test).
void ResetWindowTestHooks();

}  // namespace orlu::test
