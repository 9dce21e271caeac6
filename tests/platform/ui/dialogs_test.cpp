// Scripted dialogs, message boxes and the rules of shell open.
#include <gtest/gtest.h>

#include "platform/ui/dialogs.h"
#include "support/window_test.h"

namespace orlu {
namespace {

TEST(Dialogs, HookAnswersFileDialogs) {
  SaveDialog save;
  save.SetFilter("csv\xCE\xC4\xBC\xFE|*.csv");
  save.SetDefaultExt("csv");
  save.SetInitialDir("/opt/orlu");
  // The default hook of the tests cancels.
  EXPECT_FALSE(save.Execute());
  ASSERT_EQ(test::FileDialogsAsked().size(), 1u);
  EXPECT_EQ(test::FileDialogsAsked()[0].kind, FileDialogKind::Save);
  EXPECT_EQ(test::FileDialogsAsked()[0].filter, "csv\xCE\xC4\xBC\xFE|*.csv");
  EXPECT_EQ(test::FileDialogsAsked()[0].initialDir, "/opt/orlu");

  std::vector<std::string> answers{"/tmp/out", "/tmp/a.b/out.txt", "/tmp/x.csv"};
  size_t next = 0;
  SetFileDialogHook([&](const FileDialogRequest&) -> std::optional<std::string> {
    return answers[next++];
  });
  ASSERT_TRUE(save.Execute());
  EXPECT_EQ(save.FileName(), "/tmp/out.csv");  // the default extension is added
  ASSERT_TRUE(save.Execute());
  EXPECT_EQ(save.FileName(), "/tmp/a.b/out.txt");
  OpenDialog open;
  open.SetDefaultExt("csv");
  ASSERT_TRUE(open.Execute());
  EXPECT_EQ(open.FileName(), "/tmp/x.csv");

  SetFileDialogHook([](const FileDialogRequest& r) -> std::optional<std::string> {
    if (r.kind == FileDialogKind::Folder) return "/srv/words";
    return std::nullopt;
  });
  EXPECT_EQ(SelectFolder("t"), std::optional<std::string>("/srv/words"));
}

TEST(Dialogs, MessageBoxHook) {
  ShowMessage("\xCD\xEA\xB3\xC9");
  EXPECT_EQ(test::MessageBoxTexts(), std::vector<std::string>{"\xCD\xEA\xB3\xC9"});
  SetMessageBoxHook([](const MessageRequest& r) {
    return r.buttons == MessageButtons::YesNo ? MessageResult::Yes : MessageResult::Ok;
  });
  MessageRequest ask;
  ask.text = "?";
  ask.buttons = MessageButtons::YesNo;
  EXPECT_EQ(ShowMessageBox(ask), MessageResult::Yes);
}

TEST(ShellOpen, OnlyHttpAndHttpsAndBareAddressesGetHttp) {
  EXPECT_EQ(ShellOpenAddress("http://a.com/x?y=1"), std::optional<std::string>("http://a.com/x?y=1"));
  EXPECT_EQ(ShellOpenAddress("HTTPS://a.com"), std::optional<std::string>("HTTPS://a.com"));
  EXPECT_EQ(ShellOpenAddress("www.a.com"), std::optional<std::string>("http://www.a.com"));
  EXPECT_EQ(ShellOpenAddress("  a.com/p  "), std::optional<std::string>("http://a.com/p"));
  EXPECT_EQ(ShellOpenAddress("localhost:8080/x"), std::optional<std::string>("http://localhost:8080/x"));
  EXPECT_EQ(ShellOpenAddress("//a.com"), std::optional<std::string>("http://a.com"));
  // Chinese text stays as it is (GBK), converted only for the opener.
  EXPECT_EQ(ShellOpenAddress("\xD6\xD0\xCE\xC4.cn"), std::optional<std::string>("http://\xD6\xD0\xCE\xC4.cn"));

  for (const char* refused : {"file:///etc/passwd", "FILE:/etc/passwd", "javascript:alert(1)",
                              "mailto:a@b.c", "ftp://a.com", "C:\\Windows\\x.exe", "",
                              "   ", "http:", "http://", "http:a.com", "a.com\nb",
                              "data:text/html,x", "smb://host/share"}) {
    EXPECT_EQ(ShellOpenAddress(refused), std::nullopt) << refused;
  }
}

TEST(ShellOpen, RecordsInsteadOfLaunchingInTests) {
  EXPECT_EQ(ShellOpen("a.com"), std::optional<std::string>("http://a.com"));
  EXPECT_EQ(ShellOpen("file:///etc/passwd"), std::nullopt);
  EXPECT_EQ(ShellOpen("https://b.com"), std::optional<std::string>("https://b.com"));
  EXPECT_EQ(test::ShellOpened(), (std::vector<std::string>{"http://a.com", "https://b.com"}));
}

}  // namespace
}  // namespace orlu
