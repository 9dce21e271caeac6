// The seven site-information services as the tests and the benchmark serve
// them: one substitute HTTP server on loopback, pages in each service's
// encoding, counting how often each service is asked about each domain.
#pragma once

#include <chrono>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "alexa_test_util.h"
#include "platform/text/codepage.h"
#include "platform/text/gbk.h"
#include "sitequery/site_info.h"
#include "sitequery/site_info_job.h"

namespace orlu::test {

inline const std::vector<int> kAllKinds = {0, 1, 3, 4, 5, 6, 7};

// Keywords of which the good keyword page holds the first.
inline const std::vector<std::string> kKeyWords = {Gbk("电影"), Gbk("银行")};

// A figure derived from the service and the domain, so a cell shows whose
// answer it holds.
inline std::string FigureOf(int kind, const std::string& domain) {
  return std::to_string((std::hash<std::string>{}(domain) + kind * 7919u) % 100000);
}

// A well-formed page of service `kind` naming `domain`, in the encoding the
// service sends, whose cut gives `f` (and `g`: the ranking data's inbound
// links, the archive's page figure).
inline std::string Page(int kind, const std::string& d, const std::string& f, const std::string& g = "1") {
  switch (kind) {
    case 0: return "Rank_1:1:" + f + "\n";
    case 1:
      return "<ALEXA URL=\"" + d + "/\"><SD><LINKSIN NUM=\"" + g + "\"/></SD><SD><POPULARITY URL=\"" + d +
             "/\" TEXT=\"" + f + "\"/></SD></ALEXA>";
    case 3: {
      // The page figure inside the 38 bytes before the first row.
      const std::string tail = "<i>|" + g + "pages</i></td></tr>\n";
      return "<title>http://www." + d + "</title><p align=\"right\"><b>" + f + "</b> Results</p><table>" +
             std::string(38 - tail.size(), '-') + tail + "<tr bgcolor=\"#EBEBEB\"></tr></table>";
    }
    case 4: return Gbk("<title>") + d + Gbk(" - Google 搜索</title>") + f + Gbk(" 电影");
    case 5: return Gbk("<title>") + d + Gbk("</title><div>共搜到相关问题 ") + f + Gbk(" 项</div>");
    case 6: return Gbk("<title>site:") + d + Gbk("</title>百度为您找到相关网页") + f + Gbk("篇，用时0.02秒");
    case 7: return "<title>www." + d + "</title>链向该地址的网页： 共 <strong>" + f + "</strong> 条";
    default: return "";
  }
}

// Which service a request asks (by its host) and about which domain, as the
// worker held it; kind -1 for anything else. `second` is set for the
// question-and-answer kind's "www." request.
struct ServiceAsk {
  int kind = -1;
  std::string domain;
  bool second = false;
};

inline ServiceAsk WhatIsAsked(const HttpRequest& r) {
  static const std::vector<std::pair<std::string, std::string>> keys = {
      {"toolbarqueries.google.cn", "q=info:"}, {"data.alexa.com", "url="},
      {"", ""},                                {"web.archive.org", "/web/*dc_/http://www."},
      {"www.google.cn", "q="},                 {"zhidao.baidu.com", "word="},
      {"www.baidu.com", "wd=site%3A"},         {"sitemap.cn.yahoo.com", "p=www."}};
  ServiceAsk a;
  for (int k = 0; k < static_cast<int>(keys.size()); ++k) {
    if (keys[k].first.empty() || r.Host() != keys[k].first) continue;
    const std::string& key = keys[k].second;
    const size_t at = r.target.find(key);
    if (at == std::string::npos) return a;
    std::string value = r.target.substr(at + key.size());
    if (k == kKindPr) value = value.substr(0, value.rfind("&ch="));
    a.kind = k;
    a.domain = substitute::PercentDecoded(value);
    if (k == kKindBaiduZhidao && a.domain.rfind("www.", 0) == 0) {
      // The second request of a row asks "www." + the domain.
      a.second = true;
      a.domain = a.domain.substr(4);
    }
    return a;
  }
  return a;
}

// The good page for a request; the question service's "www." page has a
// figure of its own (9).
inline std::string GoodPage(const ServiceAsk& a) {
  const std::string& d = a.domain;
  if (a.second) return Page(5, "www." + d, FigureOf(9, d));
  return Page(a.kind, d, FigureOf(a.kind, d), FigureOf(a.kind == 1 ? 2 : 8, d));
}

// The column text the good pages give (kind 4 with the keywords kKeyWords).
inline std::string GoodText(int kind, const std::string& d) {
  switch (kind) {
    case 3: return FigureOf(3, d) + "." + FigureOf(8, d);
    case 4: return Gbk("电影,");
    case 5: return FigureOf(9, d) + "," + FigureOf(5, d);
    default: return FigureOf(kind, d);
  }
}

class SiteServer : public CountingServer<std::pair<int, std::string>> {
 public:
  using Answer = std::function<HttpReply(const ServiceAsk&, int n)>;
  using CountingServer::Asked;
  int Asked(int kind, const std::string& domain) { return Asked({kind, domain}); }

  // Every request answered by `answer(asked, n)`, n counting the requests of
  // that service about that domain from 1.
  void Serve(Answer answer) {
    http.AddResponder([this, answer](const HttpRequest& r) -> std::optional<HttpReply> {
      const ServiceAsk a = WhatIsAsked(r);
      if (a.kind < 0) return std::nullopt;
      return answer(a, Note({a.kind, a.domain}));
    });
  }
  void ServeGood(std::chrono::milliseconds delay = std::chrono::milliseconds(0)) {
    Serve([delay](const ServiceAsk& a, int) { return HttpReply::Ok(GoodPage(a)).Delay(delay); });
  }
};

// Whether every kept worker of every cell has ended; held or ended.
inline bool AllEnded(ThreadSiteInfoStru& job) {
  for (SiteInfoCell* cell : job.Cells())
    for (auto& t : cell->Threads)
      if (t && !t->Finished()) return false;
  return true;
}
}  // namespace orlu::test
