// Yahoo China's web search (search.cn.yahoo.com/s): the site: count, in
// UTF-8 as the service sends it. The count follows the domain's hash; a name
// starting with "none" has none. (The inbound-link search is the
// site-information responder's.)
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
    return HttpReply::Ok(Page(inner), "text/html; charset=utf-8").Delay(SearchDelay(h));
  });
}

const Responder registered("web search (Yahoo China)", Install);

}  // namespace
