#include "platform/net/services.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <string>

#include "support/temp_files.h"

namespace orlu {
namespace {

class ServicesTest : public ::testing::Test {
 protected:
  void SetUp() override { ClearServiceOverrides(); }
  void TearDown() override { UseFile(nullptr); }
  void UseFile(const char* path) {
    if (path) {
      ::setenv("ORLU_SERVICES", path, 1);
    } else {
      ::unsetenv("ORLU_SERVICES");
    }
    ReloadServices();
  }
};

TEST_F(ServicesTest, WithoutConfigurationOrFileEveryNameIsItself) {
  for (const char* file : {static_cast<const char*>(nullptr), "/nonexistent/dir/services"}) {
    UseFile(file);
    EXPECT_EQ(ResolveService(ServiceKind::Http, "data.example.com"), "data.example.com");
    EXPECT_EQ(ResolveService(ServiceKind::Whois, "whois.cnnic.cn"), "whois.cnnic.cn");
  }
}

TEST_F(ServicesTest, FileNamesAndWildcards) {
  test::TempDir dir;
  test::Spit(dir / "services", "# offline\r\n*http=127.0.0.1:8001\r\n*whois = 127.0.0.1:8002\n\n"
                               "Whois.CNNIC.cn=127.0.0.1:8003\r; comment\n"
                               "broken line without equals\nwww.example.org=10.0.0.1");
  UseFile((dir / "services").c_str());
  EXPECT_EQ(ResolveService(ServiceKind::Http, "data.example.com"), "127.0.0.1:8001");
  EXPECT_EQ(ResolveService(ServiceKind::Http, "WWW.example.org"), "10.0.0.1");
  EXPECT_EQ(ResolveService(ServiceKind::Whois, "whois.cnnic.cn"), "127.0.0.1:8003");
  EXPECT_EQ(ResolveService(ServiceKind::Whois, "whois.pir.org"), "127.0.0.1:8002");

  // Overrides take the place of the whole file while they last.
  SetServiceOverride("*whois", "127.0.0.1:9002");
  EXPECT_EQ(ResolveService(ServiceKind::Http, "www.example.org"), "www.example.org");
  EXPECT_EQ(ResolveService(ServiceKind::Whois, "whois.pir.org"), "127.0.0.1:9002");
  ClearServiceOverrides();
  EXPECT_EQ(ResolveService(ServiceKind::Http, "www.example.org"), "10.0.0.1");
}

TEST(SplitHostPortTest, Forms) {
  const auto split = [](const char* text) {
    std::string host;
    int port = -1;
    return SplitHostPort(text, host, port) ? host + " " + std::to_string(port) : "bad";
  };
  const std::pair<const char*, const char*> good[] = {
      {"whois.nic.name", "whois.nic.name 0"}, {"[::1]:43", "::1 43"},
      {"127.0.0.1:4343", "127.0.0.1 4343"}, {"::1", "::1 0"}};
  for (const auto& [text, parts] : good) EXPECT_EQ(split(text), parts) << text;
  for (const char* bad : {"", ":43", "host:", "host:0", "host:65536", "host:4x", "[::1", "[::1]x",
                          "host:1234567"})
    EXPECT_EQ(split(bad), "bad") << bad;
}

}  // namespace
}  // namespace orlu
