#include "platform/net/page_client.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <stdlib.h>

#include <chrono>
#include <thread>

#include "platform/net/services.h"
#include "platform/text/gbk.h"
#include "support/service_scope.h"
#include "substitute-services/servers/substitute_http.h"

namespace orlu {
namespace {

using namespace std::chrono_literals;
using test::HttpReply;
using test::HttpRequest;
using test::RefusingPort;
using test::SubstituteHttpServer;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::StartsWith;

std::string GetOrError(PageClient& c, const std::string& url) {
  try {
    return "body:" + c.Get(url);
  } catch (const NetError& e) {
    return std::string("error:") + e.what();
  }
}

class PageClientTest : public ::testing::Test {
 protected:
  void SetUp() override { ClearServiceOverrides(); }
  SubstituteHttpServer http;
};

TEST_F(PageClientTest, HeaderSetsAreExactlyOnTheWire) {
  http.On("/a?b=1", HttpReply::Ok("x"));
  PageClient c;
  EXPECT_EQ(c.Get(http.Url("/a?b=1")), "x");
  EXPECT_EQ(http.LastRequest().rawHead,
            "GET /a?b=1 HTTP/1.1\r\nHost: " + http.HostPort() + "\r\nAccept: text/html, */*\r\n"
            "User-Agent: Mozilla/3.0 (compatible; Indy Library)\r\n\r\n");

  // The browser set, in its order, with Accept-Encoding sent empty.
  http.On("/", HttpReply::Ok("x"));
  c.UseBrowserHeaders();
  c.Get(http.Url("/"));
  EXPECT_EQ(http.LastRequest().rawHead,
            "GET / HTTP/1.1\r\nHost: " + http.HostPort() + "\r\n"
            "Accept: image/gif, image/x-xbitmap, image/jpeg, image/pjpeg, "
            "application/x-shockwave-flash, application/vnd.ms-excel, "
            "application/vnd.ms-powerpoint, application/msword, application/x-silverlight, */*\r\n"
            "Accept-Language: zh-cn\r\nAccept-Encoding:\r\n"
            "User-Agent: Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.1; SV1; "
            ".NET CLR 2.0.50727; CIBA)\r\nConnection: Keep-Alive\r\n\r\n");
}

TEST_F(PageClientTest, CookieGoesBackOnlyWithTheSameClient) {
  http.On("/set", HttpReply::Ok("s").Header("Set-Cookie", "sid=abc123; Path=/"));
  http.On("/next", HttpReply::Ok("n"));
  const auto setThenNext = [&](PageClient& c) {
    c.Get(http.Url("/set"));
    c.Get(http.Url("/next"));
    return http.LastRequest();
  };
  PageClient browser;
  browser.UseBrowserHeaders();
  const HttpRequest r = setThenNext(browser);
  EXPECT_EQ(r.Header("Cookie"), "sid=abc123");
  // The cookie comes right after Host; the header set keeps its order.
  EXPECT_THAT(r.HeaderNames(), ElementsAre("Host", "Cookie", "Accept", "Accept-Language",
                                           "Accept-Encoding", "User-Agent", "Connection"));
  // The default set keeps none; a window's client turns cookies on by hand.
  PageClient plain;
  EXPECT_FALSE(setThenNext(plain).HasHeader("Cookie"));
  plain.KeepCookies = true;
  EXPECT_EQ(setThenNext(plain).Header("Cookie"), "sid=abc123");
  // A cookie set on a redirect goes to its target.
  http.On("/login", HttpReply::Redirect("/home").Header("Set-Cookie", "k=v"));
  http.On("/home", HttpReply::Ok("home"));
  PageClient follow;
  follow.HandleRedirects = follow.KeepCookies = true;
  EXPECT_EQ(follow.Get(http.Url("/login")), "home");
  EXPECT_EQ(http.LastRequest().Header("Cookie"), "k=v");
}

// Turning cookies off drops those kept: none goes out then, nor once they are on again.
TEST_F(PageClientTest, ACookieKeptIsDroppedWhenCookiesAreTurnedOff) {
  http.On("/set", HttpReply::Ok("s").Header("Set-Cookie", "sid=abc123; Path=/"));
  http.On("/next", HttpReply::Ok("n"));
  PageClient c;
  c.KeepCookies = true;
  c.Get(http.Url("/set"));
  c.Get(http.Url("/next"));
  ASSERT_EQ(http.LastRequest().Header("Cookie"), "sid=abc123");
  c.KeepCookies = false;
  c.Get(http.Url("/next"));
  EXPECT_FALSE(http.LastRequest().HasHeader("Cookie"));
  c.KeepCookies = true;
  c.Get(http.Url("/next"));
  EXPECT_FALSE(http.LastRequest().HasHeader("Cookie"));
}

TEST_F(PageClientTest, ReadTimeOutCountsSilenceNotTheWholeTransfer) {
  std::string body;
  for (int i = 0; i < 1500; ++i) body += static_cast<char>('a' + i % 26);
  http.On("/hang", HttpReply::Hang());
  http.On("/mid", HttpReply::Ok(body).Drip(100, 2000ms));  // then silent past the time-out
  http.On("/drip", HttpReply::Ok(body).Drip(100, 40ms));  // ~0.7 s in all
  PageClient c;
  c.ReadTimeout = 300;  // shorter than the whole drip, longer than any of its pauses
  auto t0 = std::chrono::steady_clock::now();
  for (const char* path : {"/hang", "/mid"})
    EXPECT_THAT(GetOrError(c, http.Url(path)), HasSubstr("error:" + Gbk("读取超时"))) << path;
  EXPECT_LT(std::chrono::steady_clock::now() - t0, 3000ms);
  EXPECT_EQ(c.Get(http.Url("/drip")), body);

  // 40 bytes every 50 ms (2.5 s in all, never silent for long) ends at four read time-outs.
  http.On("/trickle", HttpReply::Ok(std::string(2000, 't')).Drip(40, 50ms));
  c.ReadTimeout = 200;
  t0 = std::chrono::steady_clock::now();
  EXPECT_THAT(GetOrError(c, http.Url("/trickle")), HasSubstr("error:" + Gbk("超时：800 毫秒内未收完回复")));
  const auto took = std::chrono::steady_clock::now() - t0;
  EXPECT_GE(took, 750ms);
  EXPECT_LT(took, 2000ms);
}

TEST_F(PageClientTest, FollowedRedirectReturnsTheFinalBody) {
  http.On("/r1", HttpReply::Redirect("/r2", 301));
  http.On("/r2", HttpReply::Redirect(http.Url("/final?x=1"), 302).Header("X", "y"));
  http.On("/final?x=1", HttpReply::Ok("final body"));
  http.On("/to-file", HttpReply::Redirect("file:///etc/passwd"));
  PageClient c;
  c.HandleRedirects = true;
  EXPECT_EQ(c.Get(http.Url("/r1")), "final body");
  // Fifteen redirects are followed; the sixteenth is refused.
  for (int i = 0; i < 16; ++i)
    http.On("/hop" + std::to_string(i), HttpReply::Redirect("/hop" + std::to_string(i + 1)));
  http.On("/hop16", HttpReply::Ok("end of chain"));
  EXPECT_EQ(c.Get(http.Url("/hop1")), "end of chain");
  EXPECT_THAT(GetOrError(c, http.Url("/hop0")), HasSubstr(Gbk("重定向次数过多")));
  // A redirect to another scheme is refused: nothing more is asked.
  const size_t before = http.RequestCount();
  EXPECT_THAT(GetOrError(c, http.Url("/to-file")), HasSubstr("error:"));
  EXPECT_EQ(http.RequestCount(), before + 1);
}

TEST_F(PageClientTest, BodiesComeBackByteForByteAndFailuresRaise) {
  std::string binary;
  for (int i = 0; i < 256; ++i) binary += static_cast<char>(i);
  binary += std::string("\0\0\xff\xfe\r\n\r\n", 8);
  // A gzip stream of "hello", served as gzip content: it stays compressed.
  const std::string gz("\x1f\x8b\x08\x00\x00\x00\x00\x00\x00\x03\xcb\x48\xcd\xc9\xc9\x07\x00"
                       "\x86\xa6\x10\x36\x05\x00\x00\x00", 25);
  const std::string gbk = "\xcd\xf8\xd5\xbe\xb2\xe9\xd1\xaf";  // 网站查询 in GBK
  // Path, reply, and the whole body or how the error begins.
  const std::tuple<std::string, HttpReply, std::string> cases[] = {
      {"/bin", HttpReply::Ok(binary, "application/octet-stream"), "body:" + binary},
      {"/gz", HttpReply::Ok(gz).Header("Content-Encoding", "gzip"), "body:" + gz},
      {"/gbk", HttpReply::Ok(gbk, "text/html; charset=gb2312"), "body:" + gbk},
      {"/empty", HttpReply::Ok(""), "body:"},
      {"/unsized", HttpReply::Ok("read until close").NoContentLength(), "body:read until close"},
      {"/chunked", HttpReply::Raw("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n"
                                  "5\r\nhello\r\n6\r\n world\r\n0\r\n\r\n"), "body:hello world"},
      {"/early", HttpReply::Ok(std::string(1000, 'x')).CloseEarly(10).Header("X-Late", "1"),
       "error:" + Gbk("连接过早关闭")},
      {"/nothing", HttpReply::Raw(""), "error:" + Gbk("连接过早关闭")},
      {"/in-head", HttpReply::Raw("HTTP/1.1 200 OK\r\nContent-Len"), "error:"},
      {"/404", HttpReply::Status(404, "missing"), "error:" + Gbk("HTTP 错误 404：")},
      {"/302", HttpReply::Redirect("/elsewhere"), "error:" + Gbk("网页被重定向（302），未跟随")},
  };
  http.On("/elsewhere", HttpReply::Ok("there"));
  for (const auto& [path, reply, outcome] : cases) http.On(path, reply);
  PageClient c;
  c.UseBrowserHeaders();
  c.ReadTimeout = 2000;
  c.ConnectTimeout = 2000;
  for (const auto& [path, reply, outcome] : cases) {
    const std::string got = GetOrError(c, http.Url(path));
    EXPECT_EQ(outcome.starts_with("body:") ? got : got.substr(0, outcome.size()), outcome) << path;
  }
  EXPECT_EQ(http.RequestCount(), std::size(cases));  // the redirect was not followed
  RefusingPort refused;
  EXPECT_THAT(GetOrError(c, refused.Url("/")), StartsWith("error:" + Gbk("无法连接")));
}

TEST_F(PageClientTest, LargeBodyWithBigReceiveBufferAndCap) {
  std::string big(3 * 1024 * 1024 + 7, '\0');
  for (size_t i = 0; i < big.size(); ++i) big[i] = static_cast<char>(i * 131 % 251);
  PageClient c;
  c.RecvBufferSize = 131072;
  c.MaxBody = 1024 * 1024;
  http.On("/big", HttpReply::Ok(big));
  http.On("/fits", HttpReply::Ok(big.substr(0, c.MaxBody)));
  EXPECT_THAT(GetOrError(c, http.Url("/big")), HasSubstr("error:" + Gbk("回复超过")));
  EXPECT_EQ(c.Get(http.Url("/fits")), big.substr(0, c.MaxBody));
}

// Cutting instead of raising: the first MaxBody bytes, said so until the
// next Get; an error status still raises.
TEST_F(PageClientTest, CutLongBodyKeepsTheStartOfALongerBody) {
  std::string big(300 * 1024 + 3, '\0');
  for (size_t i = 0; i < big.size(); ++i) big[i] = static_cast<char>(i * 131 % 251);
  PageClient c;
  c.MaxBody = 100 * 1024;
  c.CutLongBody = true;
  http.On("/big", HttpReply::Ok(big));
  http.On("/fits", HttpReply::Ok(big.substr(0, c.MaxBody)));
  http.On("/gone", HttpReply::Status(404, big));
  EXPECT_EQ(c.Get(http.Url("/big")), big.substr(0, c.MaxBody));
  EXPECT_TRUE(c.BodyWasCut());
  EXPECT_THAT(GetOrError(c, http.Url("/gone")), HasSubstr("error:" + Gbk("HTTP 错误 404")));
  EXPECT_FALSE(c.BodyWasCut());
  EXPECT_EQ(c.Get(http.Url("/big")), big.substr(0, c.MaxBody));
  EXPECT_EQ(c.Get(http.Url("/fits")), big.substr(0, c.MaxBody));
  EXPECT_FALSE(c.BodyWasCut());
}

TEST_F(PageClientTest, UnsafeBytesInTheAddressArePercentEscapedOnTheWire) {
  http.OnPrefix("/s", HttpReply::Ok("s"));
  PageClient c;
  c.Get(http.Url("/s?q=a b\rc\nd&w=\xcd\xf8\xd5\xbe&x=\"<>\\^`{|}&pct=%41"));
  EXPECT_EQ(http.LastRequest().target,
            "/s?q=a%20b%0Dc%0Ad&w=%CD%F8%D5%BE&x=%22%3C%3E%5C%5E%60%7B%7C%7D&pct=%41");
  EXPECT_EQ(EscapeUrlBytes(std::string("a\x00\x7f\x80~", 5)), "a%00%7F%80~");
}

TEST_F(PageClientTest, OnlyHttpAndHttpsAreFetched) {
  PageClient c;
  const std::string dict = "dict://127.0.0.1:" + std::to_string(http.Port()) + "/";
  for (const auto& url : {std::string("file:///etc/passwd"), std::string("127.0.0.1/x"), dict})
    EXPECT_THAT(GetOrError(c, url), HasSubstr("error:")) << url;
  EXPECT_THAT(GetOrError(c, "http://bad host/"), HasSubstr("error:" + Gbk("网址中的主机名无效")));
  EXPECT_EQ(http.ConnectionCount(), 0u);
  http.On("/", HttpReply::Ok("upper"));
  EXPECT_EQ(c.Get("HTTP://127.0.0.1:" + std::to_string(http.Port()) + "/"), "upper");
}

TEST_F(PageClientTest, ProxyFromTheEnvironmentIsNotUsed) {
  RefusingPort proxy;
  http.On("/direct", HttpReply::Ok("direct"));
  const char* const names[] = {"http_proxy", "HTTP_PROXY", "ALL_PROXY"};
  for (const char* name : names) ::setenv(name, proxy.Url("/").c_str(), 1);
  PageClient c;
  std::string got = GetOrError(c, http.Url("/direct"));
  for (const char* name : names) ::unsetenv(name);
  EXPECT_EQ(got, "body:direct");
}

TEST_F(PageClientTest, AbortFromAnotherThreadEndsAGetPromptly) {
  http.On("/hang", HttpReply::Hang());
  PageClient c;
  c.ReadTimeout = 20000;
  std::thread aborter([&] {
    http.WaitForRequests(1, 5000ms);
    std::this_thread::sleep_for(50ms);
    c.Abort();
  });
  auto t0 = std::chrono::steady_clock::now();
  EXPECT_THAT(GetOrError(c, http.Url("/hang")), HasSubstr("error:" + Gbk("传输已中止")));
  EXPECT_LT(std::chrono::steady_clock::now() - t0, 3000ms);
  aborter.join();
  // An aborted client stays aborted.
  EXPECT_THAT(GetOrError(c, http.Url("/")), HasSubstr("error:" + Gbk("传输已中止")));
  EXPECT_EQ(http.RequestCount(), 1u);
}

TEST_F(PageClientTest, ServicesSendEveryHostToTheSubstituteKeepingItsName) {
  http.OnHost("data.example.com", "/",
              [](const HttpRequest& r) { return HttpReply::Ok("data:" + r.target); });
  http.OnHost("a.example.com", "/", HttpReply::Redirect("http://b.example.com/landing"));
  http.OnHost("b.example.com", "/landing", HttpReply::Ok("landed"));
  test::ScopedServices services(&http);
  PageClient c;
  EXPECT_EQ(c.Get("http://data.example.com/xml?url=abc.com"), "data:/xml?url=abc.com");
  EXPECT_EQ(http.LastRequest().Header("Host"), "data.example.com");
  // An explicit port stays in the Host header.
  EXPECT_EQ(c.Get("http://data.example.com:8080/p"), "data:/p");
  EXPECT_EQ(http.LastRequest().Header("Host"), "data.example.com:8080");
  // So does a followed redirect to another host.
  c.HandleRedirects = true;
  EXPECT_EQ(c.Get("http://a.example.com/start"), "landed");
  EXPECT_EQ(http.LastRequest().Header("Host"), "b.example.com");
}

}  // namespace
}  // namespace orlu
