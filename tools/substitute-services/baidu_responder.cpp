// Baidu's web search (www.baidu.com/s), in GBK as the service sends it: the
// snapshot line of a site's home page (wd=http://...), the domain: count and
// the site: counts of the last 1, 7, 30 or 360 days (q1= with lm=). Counts
// follow the domain's hash and grow with the days; a name starting with
// "none" has nothing indexed. (The plain site: count is the
// site-information responder's.)
#include <algorithm>
#include <string>

#include "platform/text/gbk.h"
#include "responder.h"

namespace {

using orlu::test::HttpReply;
using orlu::test::HttpRequest;
using namespace orlu::substitute;

std::string Page(const std::string& query, const std::string& inner) {
  return orlu::Gbk("<html><head><meta http-equiv=\"content-type\" content=\"text/html;charset=gb2312\">"
                   "<title>百度搜索_") +
         query + orlu::Gbk("</title></head><body><div id=\"container\">") + inner +
         "</div></body></html>";
}

std::string Count(uint64_t n) {
  // Small counts are exact, larger ones about.
  return orlu::Gbk(n < 100 ? "找到相关网页" : "找到相关网页约") + Grouped(n) + orlu::Gbk("篇，用时0.001秒");
}

HttpReply Answer(const HttpRequest& r) {
  const std::string wd = QueryValue(r, "wd");
  const std::string q1 = QueryValue(r, "q1");
  const std::string query = wd.empty() ? q1 : wd;
  const std::string domain = WithoutPrefix(WithoutPrefix(WithoutPrefix(query, "http://"), "domain:"), "site:");
  const uint32_t h = Figure(domain, "baidu");
  const auto delay = SearchDelay(h);
  if (NothingFound(domain)) {
    return HttpReply::Ok(Page(query, orlu::Gbk("<p>抱歉，没有找到与“") + query + orlu::Gbk("”相关的网页。</p>")))
        .Delay(delay);
  }
  std::string inner;
  if (query.rfind("http://", 0) == 0) {
    inner = "<table class=\"result\"><tr><td><a href=\"http://" + domain + "/\">" + domain +
            "</a><br><font color=#008000>" + domain + "/ " + std::to_string(5 + h % 60) + "K 2009-" +
            std::to_string(1 + h % 12) + "-" + std::to_string(1 + h % 28) + "  </font></td></tr></table>";
  } else if (query.rfind("domain:", 0) == 0) {
    inner = Count(Figure(domain, "baidu domain") % 80000);
  } else {
    const uint64_t all = 20 + Figure(domain, "baidu site") % 500000;
    const std::string lm = QueryValue(r, "lm");
    const uint64_t days = std::min<uint64_t>(360, std::stoul("0" + lm.substr(0, 4)));
    inner = Count(all * days / 400);
  }
  return HttpReply::Ok(Page(query, inner), "text/html; charset=gb2312").Delay(delay);
}

void Install(Servers& s) {
  for (const char* prefix : {"/s?wd=http://", "/s?wd=domain%3A", "/s?q1=site%3A"}) {
    s.http.OnHost("www.baidu.com", prefix, Answer);
  }
}

const Responder registered("web search (Baidu)", Install);

}  // namespace
