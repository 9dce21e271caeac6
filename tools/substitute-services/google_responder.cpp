// Google China's web search (www.google.cn): the site: and link: counts of
// the single-site report, in UTF-8 as the service sends them. Counts follow
// the domain's hash; a name starting with "none" has none. (The page rank
// and the keyword search are the site-information responder's.)
#include <string>

#include "responder.h"

namespace {

using orlu::test::HttpReply;
using orlu::test::HttpRequest;
using namespace orlu::substitute;

std::string ResultPage(const std::string& query, const std::string& stats) {
  return "<!doctype html><html><head><meta http-equiv=\"content-type\" content=\"text/html; "
         "charset=UTF-8\"><title>" +
         DomainAsUtf8(query) + " - Google 搜索</title></head><body><div id=\"ssb\"><p id=\"resultStats\">" +
         stats + "</p></div><div id=\"res\"></div></body></html>";
}

HttpReply Answer(const HttpRequest& r) {
  const std::string q = QueryValue(r, "q");
  const auto delay = SearchDelay(NameHash(q));
  const auto [link, domain] = SiteOrLink(q);
  if (NothingFound(domain)) {
    return HttpReply::Ok(ResultPage(q, "找不到和您的查询 - <b>" + DomainAsUtf8(q) + "</b> - 相符的网页。"),
                         "text/html; charset=UTF-8")
        .Delay(delay);
  }
  const uint32_t h = Figure(domain, link ? "google link" : "google site");
  const std::string stats = link ? "约有 <b>" + Grouped(h % 40000) + "</b> 项符合 <b>" + DomainAsUtf8(q) + "</b> 的查询结果"
                                 : "获得大约 <b>" + Grouped(h % 900000 + 10) + "</b> 条结果";
  return HttpReply::Ok(ResultPage(q, stats), "text/html; charset=UTF-8").Delay(delay);
}

void Install(Servers& s) {
  s.http.OnHost("www.google.cn", "/search?hl=zh-CN&q=site%3A", Answer);
  s.http.OnHost("www.google.cn", "/search?hl=zh-CN&q=link%3A", Answer);
}

const Responder registered("web search counts (Google China)", Install);

}  // namespace
