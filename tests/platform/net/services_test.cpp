#include "platform/net/services.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <cstdio>
#include <fstream>
#include <string>

namespace orlu {
namespace {

class ServicesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ClearServiceOverrides();
    path_ = ::testing::TempDir() + "orlu_services_test.txt";
  }
  void TearDown() override {
    ::unsetenv("ORLU_SERVICES");
    ReloadServices();
    std::remove(path_.c_str());
  }
  void UseFile(const std::string& text) {
    std::ofstream(path_, std::ios::binary) << text;
    ::setenv("ORLU_SERVICES", path_.c_str(), 1);
    ReloadServices();
  }
  std::string path_;
};

TEST_F(ServicesTest, WithoutConfigurationEveryNameIsItself) {
  ::unsetenv("ORLU_SERVICES");
  ReloadServices();
  EXPECT_EQ(ResolveService(ServiceKind::Http, "data.example.com"), "data.example.com");
  EXPECT_EQ(ResolveService(ServiceKind::Whois, "whois.cnnic.cn"), "whois.cnnic.cn");
}

TEST_F(ServicesTest, FileNamesAndWildcards) {
  UseFile("# offline\r\n"
          "*http=127.0.0.1:8001\r\n"
          "*whois = 127.0.0.1:8002\n"
          "\n"
          "Whois.CNNIC.cn=127.0.0.1:8003\r"
          "; comment\n"
          "broken line without equals\n"
          "www.example.org=10.0.0.1");
  EXPECT_EQ(ResolveService(ServiceKind::Http, "data.example.com"), "127.0.0.1:8001");
  EXPECT_EQ(ResolveService(ServiceKind::Http, "WWW.example.org"), "10.0.0.1");
  EXPECT_EQ(ResolveService(ServiceKind::Whois, "whois.cnnic.cn"), "127.0.0.1:8003");
  EXPECT_EQ(ResolveService(ServiceKind::Whois, "whois.pir.org"), "127.0.0.1:8002");
}

TEST_F(ServicesTest, OverridesTakeThePlaceOfTheFile) {
  UseFile("*http=127.0.0.1:8001\nwww.example.org=10.0.0.1\n");
  SetServiceOverride("*whois", "127.0.0.1:9002");
  EXPECT_EQ(ResolveService(ServiceKind::Http, "www.example.org"), "www.example.org");
  EXPECT_EQ(ResolveService(ServiceKind::Whois, "whois.pir.org"), "127.0.0.1:9002");
  ClearServiceOverrides();
  EXPECT_EQ(ResolveService(ServiceKind::Http, "www.example.org"), "10.0.0.1");
}

TEST_F(ServicesTest, MissingFileMeansNoMapping) {
  ::setenv("ORLU_SERVICES", "/nonexistent/dir/services", 1);
  ReloadServices();
  EXPECT_EQ(ResolveService(ServiceKind::Http, "a.example.com"), "a.example.com");
}

TEST(SplitHostPortTest, Forms) {
  std::string host;
  int port = -1;
  EXPECT_TRUE(SplitHostPort("whois.nic.name", host, port));
  EXPECT_EQ(host, "whois.nic.name");
  EXPECT_EQ(port, 0);
  EXPECT_TRUE(SplitHostPort("127.0.0.1:4343", host, port));
  EXPECT_EQ(host, "127.0.0.1");
  EXPECT_EQ(port, 4343);
  EXPECT_TRUE(SplitHostPort("[::1]:43", host, port));
  EXPECT_EQ(host, "::1");
  EXPECT_EQ(port, 43);
  EXPECT_TRUE(SplitHostPort("::1", host, port));
  EXPECT_EQ(host, "::1");
  EXPECT_EQ(port, 0);
  for (const char* bad : {"", ":43", "host:", "host:0", "host:65536", "host:4x", "[::1", "[::1]x", "host:1234567"})
    EXPECT_FALSE(SplitHostPort(bad, host, port)) << bad;
}

}  // namespace
}  // namespace orlu
