// Youdao's web search (www.youdao.com/search): site: and link: counts, in
// UTF-8 as the service sends them. Counts follow the domain's hash; a name
// starting with "none" has none.
#include <string>

#include "responder.h"

namespace {

using orlu::test::HttpReply;
using orlu::test::HttpRequest;
using namespace orlu::substitute;

HttpReply Answer(const HttpRequest& r) {
  const std::string q = QueryValue(r, "q");
  const auto [link, domain] = SiteOrLink(q);
  const uint32_t h = Figure(domain, link ? "youdao link" : "youdao site");
  std::string inner;
  if (NothingFound(domain)) {
    inner = link ? "抱歉，没有找到链接到 " + DomainAsUtf8(domain) + " 的网页" : "抱歉，没有找到与 " + DomainAsUtf8(q) + " 相关的网页";
  } else {
    inner = "<p class=\"search-info\">共搜索到结果约 <B>" + Grouped(h % 200000) + "</B> 条</p>";
  }
  const std::string body = "<html><head><meta charset=\"utf-8\"><title>" + DomainAsUtf8(q) +
                           " - 有道搜索</title></head><body><div id=\"results\">" + inner +
                           "</div></body></html>";
  return HttpReply::Ok(body, "text/html; charset=utf-8").Delay(SearchDelay(h));
}

void Install(Servers& s) { s.http.OnHost("www.youdao.com", "/search", Answer); }

const Responder registered("web search (Youdao)", Install);

}  // namespace
