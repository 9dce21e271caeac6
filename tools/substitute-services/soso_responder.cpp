// Soso's web search (www.soso.com/q): site: and link: counts, in GBK as the
// service sends them. Counts follow the domain's hash; a name starting with
// "none" has none.
#include <string>

#include "platform/text/gbk.h"
#include "responder.h"

namespace {

using orlu::test::HttpReply;
using orlu::test::HttpRequest;
using namespace orlu::substitute;

HttpReply Answer(const HttpRequest& r) {
  const std::string w = QueryValue(r, "w");
  const auto [link, domain] = SiteOrLink(w);
  const uint32_t h = Figure(domain, link ? "soso link" : "soso site");
  const std::string inner = NothingFound(domain)
                                ? orlu::Gbk("<p>抱歉，找不到与“") + w + orlu::Gbk("”相关的网页。</p>")
                                : orlu::Gbk("<div id=\"sInfo\">搜索到约") + Grouped(h % 400000) +
                                      orlu::Gbk("项结果，用时0.02秒</div>");
  const std::string body = orlu::Gbk("<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=gb2312\">"
                                     "<title>搜搜网页搜索</title></head><body>") +
                           inner + "</body></html>";
  return HttpReply::Ok(body, "text/html; charset=gb2312").Delay(SearchDelay(h));
}

void Install(Servers& s) { s.http.OnHost("www.soso.com", "/q", Answer); }

const Responder registered("web search (Soso)", Install);

}  // namespace
