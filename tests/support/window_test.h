// Helpers of the window test programs (main: window_test_main.cpp). Before every test, hooks make
// the exception box, message boxes, file dialogs and shell open record requests (not ShowModal).
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

// Puts the default hooks back (done before every test).
void ResetWindowTestHooks();

}  // namespace orlu::test
