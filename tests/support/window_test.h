// Helpers of the window test programs (their main is window_test_main.cpp).
// Before every test the hooks are set so that nothing waits for a person
// (the exception box, message boxes, file dialogs and shell open record
// what they were asked); ShowModal is not hooked.
#pragma once

#include <fstream>
#include <string>
#include <utility>
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

// Width and height from the header of a PNG file; {0, 0} when the file is
// no PNG.
inline std::pair<int, int> PngSize(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::string head(24, '\0');
  in.read(head.data(), 24);
  if (in.gcount() < 24 || head.compare(1, 3, "PNG") != 0) return {0, 0};
  auto be32 = [&](size_t at) {
    return static_cast<int>(static_cast<unsigned char>(head[at]) << 24 |
                            static_cast<unsigned char>(head[at + 1]) << 16 |
                            static_cast<unsigned char>(head[at + 2]) << 8 |
                            static_cast<unsigned char>(head[at + 3]));
  };
  return {be32(16), be32(20)};
}

}  // namespace orlu::test
