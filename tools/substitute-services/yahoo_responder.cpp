// Yahoo China, in UTF-8 as the service sends it: the web search's site:
// count (search.cn.yahoo.com/s) and the inbound-link search on a host of its
// own (sitemap.cn.yahoo.com/search). Counts follow the domain's hash; a name
// starting with "none" has none.
#include <chrono>
#include <string>

#include "responder.h"

namespace {

using orlu::test::HttpReply;
using orlu::test::HttpRequest;
using namespace orlu::substitute;

std::string Page(const std::string& inner) {
  return "<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\">"
         "<title>雅虎搜索</title></head><body><div id=\"main\">" +
         inner + "</div></body></html>";
}

void Install(Servers& s) {
  s.http.OnHost("search.cn.yahoo.com", "/s", [](const HttpRequest& r) {
    const std::string domain = WithoutPrefix(QueryValue(r, "p"), "site:");
    const uint32_t h = Figure(domain, "yahoo site");
    const std::string inner = NothingFound(domain)
                                  ? "对不起，没有找到与 " + DomainAsUtf8(domain) + " 相关的网页。"
                                  : "找到相关网页约" + Grouped(10 + h % 300000) + "条";
    return HttpReply::Ok(Page(inner), "text/html; charset=utf-8").Delay(std::chrono::milliseconds(30 + h % 120));
  });
  s.http.OnHost("sitemap.cn.yahoo.com", "/search", [](const HttpRequest& r) {
    const std::string domain = QueryValue(r, "p", true);
    const uint32_t h = Figure(domain, "yahoo link");
    const std::string inner = NothingFound(domain)
                                  ? std::string("没有搜索到结果")
                                  : "链向该地址的网页： 共 <strong>" + Grouped(h % 60000) + "</strong> 条";
    return HttpReply::Ok(Page(inner), "text/html; charset=utf-8").Delay(std::chrono::milliseconds(30 + h % 120));
  });
}

const Responder registered("web search and inbound links (Yahoo China)", Install);

}  // namespace
