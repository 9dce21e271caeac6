// File dialogs' default extension and the rules of shell open.
#include <gtest/gtest.h>

#include "platform/ui/dialogs.h"
#include "support/window_test.h"

namespace orlu {
namespace {

TEST(Dialogs, SaveAddsTheDefaultExtensionOnlyToANameWithoutOne) {
  std::vector<std::string> answers{"/tmp/out", "/tmp/a.b/out.txt", "/tmp/x", ""};
  size_t next = 0;
  SetFileDialogHook([&](const FileDialogRequest&) -> std::optional<std::string> {
    return answers[next++];
  });
  SaveDialog save;
  save.SetDefaultExt("csv");
  ASSERT_TRUE(save.Execute());
  EXPECT_EQ(save.FileName(), "/tmp/out.csv");
  ASSERT_TRUE(save.Execute());
  EXPECT_EQ(save.FileName(), "/tmp/a.b/out.txt");
  OpenDialog open;
  open.SetDefaultExt("csv");
  ASSERT_TRUE(open.Execute());
  EXPECT_EQ(open.FileName(), "/tmp/x");
  EXPECT_FALSE(open.Execute());  // an empty answer is a cancel
}

TEST(ShellOpen, OnlyHttpAndHttpsAndBareAddressesGetHttp) {
  EXPECT_EQ(ShellOpenAddress("HTTPS://a.com"), std::optional<std::string>("HTTPS://a.com"));
  EXPECT_EQ(ShellOpenAddress("  a.com/p  "), std::optional<std::string>("http://a.com/p"));
  EXPECT_EQ(ShellOpenAddress("\xD6\xD0\xCE\xC4.cn"), std::optional<std::string>("http://\xD6\xD0\xCE\xC4.cn"));
  for (const char* refused : {"javascript:alert(1)", "ftp://a.com", "C:\\Windows\\x.exe", "   ",
                              "http:", "http://", "http:a.com", "a.com\nb"}) {
    EXPECT_EQ(ShellOpenAddress(refused), std::nullopt) << refused;
  }
  EXPECT_EQ(ShellOpen("file:///etc/passwd"), std::nullopt);
  EXPECT_EQ(ShellOpen("a.com"), std::optional<std::string>("http://a.com"));
  EXPECT_EQ(test::ShellOpened(), std::vector<std::string>{"http://a.com"});
}

}  // namespace
}  // namespace orlu
