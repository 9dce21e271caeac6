// The product's own tools server (its sponsor-link list) and a few sample
// pages for the page-source and page-fetch windows.
//   - tools.orlu.example/SpUrl.aspx: six UTF-8 records "caption|address<br>",
//     so the link strip shows its rotation;
//   - www.orlu.example, www.example.com, example.com: a small UTF-8 page
//     (shown converted by the page-source window);
//   - www.example.cn: the same page in GBK (shown as received).
#include <string>

#include "platform/text/gbk.h"
#include "responder.h"

namespace {

using orlu::test::HttpReply;
using orlu::test::HttpRequest;

const char kSponsorList[] =
    "域名注册指南|http://www.orlu.example/guide/register<br>"
    "站长常用工具|http://www.orlu.example/tools<br>"
    "网站备案说明|http://www.orlu.example/guide/filing<br>"
    "域名交易常识|http://www.orlu.example/guide/trade<br>"
    "网站速度测试|http://www.orlu.example/tools/speed<br>"
    "意见反馈|http://www.orlu.example/feedback<br>";

std::string SamplePage(const std::string& host, const char* charset) {
  return std::string("<html>\r\n<head>\r\n<meta http-equiv=\"Content-Type\" content=\"text/html; "
                     "charset=") + charset + "\">\r\n<title>示例网站 - " + host +
         "</title>\r\n<meta name=\"keywords\" content=\"域名,站长工具,示例\">\r\n</head>\r\n"
         "<body>\r\n<h1>示例网站</h1>\r\n<p>这是一个用于离线演示的网页。</p>\r\n"
         "<a href=\"http://" + host + "/about\">关于我们</a>\r\n</body>\r\n</html>\r\n";
}

void Install(orlu::substitute::Servers& s) {
  s.http.OnHost("tools.orlu.example", "/SpUrl.aspx", HttpReply::Ok(kSponsorList));
  for (const char* host : {"www.orlu.example", "www.example.com", "example.com"}) {
    s.http.OnHost(host, "/", HttpReply::Ok(SamplePage(host, "utf-8")));
  }
  s.http.OnHost("www.example.cn", "/",
                HttpReply::Ok(orlu::Gbk(SamplePage("www.example.cn", "gb2312"))));
}

const orlu::substitute::Responder registered("tools server and sample pages", Install);

}  // namespace
