// Google China (www.google.cn): the toolbar page-rank endpoint and the web
// search's site: and link: counts, in UTF-8 as the service sends them.
//
// The page rank is 0 to 9 by the domain's hash; a name starting with "none"
// has no rank (a reply without a colon) and no pages or links.
#include <chrono>
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
  const auto delay = std::chrono::milliseconds(30 + NameHash(q) % 120);
  if (QueryValue(r, "client") == "navclient-auto") {
    const std::string domain = WithoutPrefix(q, "info:");
    if (NothingFound(domain)) return HttpReply::Ok("", "text/plain").Delay(delay);
    return HttpReply::Ok("Rank_1:1:" + std::to_string(Figure(domain, "pr") % 10) + "\n", "text/plain").Delay(delay);
  }
  const bool link = q.rfind("link:", 0) == 0;
  const std::string domain = WithoutPrefix(WithoutPrefix(q, "link:"), "site:");
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

void Install(Servers& s) { s.http.OnHost("www.google.cn", "/search", Answer); }

const Responder registered("page rank and web search (Google China)", Install);

}  // namespace
