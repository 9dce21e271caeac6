// Sogou's web search (www.sogou.com/web): a link: search whose page shows the
// site's rating, in GBK as the service sends it. The rating is 0 to 9 by the
// domain's hash; a name starting with "none" has none.
#include <string>

#include "platform/text/gbk.h"
#include "responder.h"

namespace {

using orlu::test::HttpReply;
using orlu::test::HttpRequest;
using namespace orlu::substitute;

HttpReply Answer(const HttpRequest& r) {
  const std::string query = QueryValue(r, "query");
  const std::string domain = WithoutPrefix(query, "link:http://");
  const uint32_t h = Figure(domain, "rating");
  std::string body = orlu::Gbk("<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=gb2312\">"
                               "<title>") +
                     query + orlu::Gbk(" - 搜狗搜索</title></head><body><div id=\"main\">");
  if (NothingFound(domain)) {
    body += orlu::Gbk("<p>没有找到链接到该网址的网页</p>");
  } else {
    body += orlu::Gbk("<div class=\"rb\">搜狗评级:") + std::to_string(h % 10) +
            orlu::Gbk("&nbsp;&nbsp;找到约") + Grouped(h % 50000) + orlu::Gbk("条结果</div>");
  }
  body += "</div></body></html>";
  return HttpReply::Ok(body, "text/html; charset=gb2312").Delay(SearchDelay(h));
}

void Install(Servers& s) { s.http.OnHost("www.sogou.com", "/web", Answer); }

const Responder registered("web search (Sogou)", Install);

}  // namespace
