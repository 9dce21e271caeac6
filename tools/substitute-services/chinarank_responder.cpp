// The national ranking service (www.chinarank.org.cn/overview/Info.do): the
// site's rank in its overview table, in GBK as the service sends it. The
// rank follows the domain's hash; a name starting with "none" is not known.
#include <string>

#include "platform/text/gbk.h"
#include "responder.h"

namespace {

using orlu::test::HttpReply;
using orlu::test::HttpRequest;
using namespace orlu::substitute;

HttpReply Answer(const HttpRequest& r) {
  const std::string domain = WithoutPrefix(QueryValue(r, "url", true), "http://");
  const uint32_t h = Figure(domain, "rank");
  std::string body = orlu::Gbk("<html><head><title>ChinaRank 网站排名</title></head><body>");
  if (NothingFound(domain)) {
    body += orlu::Gbk("<p class=\"y-n3\">您要查询的内容暂时无法找到</p>");
  } else {
    body += "<table><tr><td height=\"39\" align=\"center\" valign=\"top\" "
            "background=\"../v4/images/cr_bg25.gif\" class=\"y-n3\">" +
            std::to_string(1 + h % 200000) + "</td></tr></table>";
  }
  body += "</body></html>";
  return HttpReply::Ok(body, "text/html; charset=gbk").Delay(SearchDelay(h));
}

void Install(Servers& s) { s.http.OnHost("www.chinarank.org.cn", "/overview/", Answer); }

const Responder registered("national ranking (ChinaRank)", Install);

}  // namespace
