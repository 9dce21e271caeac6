// The services the site-information page asks besides the ranking data
// (served by the ranking responder): the toolbar page rank, the web archive,
// the keyword search, the question-and-answer search, the site: search and
// the inbound-link count, one host each.
//
// Each answers by the domain asked for (percent-escapes undone), with
// figures made from its hash, after 20 to 80 ms:
//   - page rank: "Rank_1:1:<0-10>";
//   - archive: a redirect to the listing, which shows a count and a page
//     figure; names starting with "none" have nothing archived;
//   - keyword search (GBK): the domain and two of the page's default
//     keywords picked by the hash;
//   - question-and-answer search (GBK): a question count, one for the
//     domain and another for "www." + domain;
//   - site: search (GBK): a page count; names starting with "none" are not
//     indexed;
//   - inbound-link count (UTF-8, as that service sends it): a link count.
#include <chrono>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/text/gbk.h"
#include "responder.h"

namespace {

using orlu::substitute::NameHash;
using orlu::test::HttpReply;
using orlu::test::HttpRequest;

// The text of the target after `key` (up to `end` when given), escapes undone.
std::string ValueAfter(const std::string& target, std::string_view key, std::string_view end = {}) {
  size_t at = target.find(key);
  if (at == std::string::npos) return std::string();
  std::string_view v = std::string_view(target).substr(at + key.size());
  if (!end.empty()) v = v.substr(0, v.rfind(end));
  return orlu::substitute::PercentDecoded(v);
}

std::chrono::milliseconds DelayFor(uint32_t hash) { return std::chrono::milliseconds(20 + hash % 61); }

bool Unknown(const std::string& domain) { return domain.rfind("none", 0) == 0; }

std::string Figure(uint32_t hash, uint32_t range) { return std::to_string(hash % range); }

// Thousands separated by commas, as the search pages write their counts.
std::string Grouped(uint32_t n) {
  std::string digits = std::to_string(n);
  for (int i = static_cast<int>(digits.size()) - 3; i > 0; i -= 3) digits.insert(i, ",");
  return digits;
}

HttpReply PageRank(const HttpRequest& r) {
  const std::string domain = ValueAfter(r.target, "q=info:", "&ch=");
  const uint32_t h = NameHash(domain);
  return HttpReply::Ok("Rank_1:1:" + Figure(h, 11) + "\n", "text/plain").Delay(DelayFor(h));
}

HttpReply ArchiveStart(const HttpRequest& r) {
  const std::string site = ValueAfter(r.target, "/web/*dc_/");
  return HttpReply::Redirect("/web/*/" + r.target.substr(r.target.find("/web/*dc_/") + 10) + "*")
      .Delay(DelayFor(NameHash(site)));
}

HttpReply ArchiveListing(const HttpRequest& r) {
  const std::string site = ValueAfter(r.target, "/web/*/", "*");  // http://www.<domain>
  const std::string domain = site.substr(site.find("www.") == std::string::npos ? 0 : site.find("www.") + 4);
  const uint32_t h = NameHash(domain);
  if (Unknown(domain)) {
    return HttpReply::Ok("<html><body><p>" + site + "</p><p>Sorry, no matches.</p></body></html>");
  }
  const std::string tail = "<b> " + Grouped(1 + h % 9000) + "pages</b></td></tr>\n";
  std::string page = "<html><head><title>Wayback Machine: " + site +
                     "</title></head><body>\n<p align=\"right\"><b>" + Grouped(1 + (h / 7) % 90000) +
                     "</b> Results</p>\n<table>";
  page += std::string(38 - tail.size(), ' ') + tail;
  page += "<tr bgcolor=\"#EBEBEB\"><td><a href=\"" + site + "\">" + site + "</a></td></tr>\n</table></body></html>";
  return HttpReply::Ok(page).Delay(DelayFor(h));
}

HttpReply KeyWordSearch(const HttpRequest& r) {
  static const char* const kWords[] = {"电影", "银行", "健康", "英语", "积分", "金融", "牙医", "外文导航 "};
  const std::string domain = ValueAfter(r.target, "&q=");
  const uint32_t h = NameHash(domain);
  const std::string page = orlu::Gbk("<html><head><title>") + domain +
                           orlu::Gbk(" - Google 搜索</title></head><body><p>") + domain +
                           orlu::Gbk(" 的网站：") + orlu::Gbk(kWords[h % 8]) + orlu::Gbk("，") +
                           orlu::Gbk(kWords[(h % 8 + 1 + (h / 8) % 7) % 8]) + orlu::Gbk("。</p></body></html>");
  return HttpReply::Ok(page, "text/html; charset=GB2312").Delay(DelayFor(h));
}

HttpReply QuestionSearch(const HttpRequest& r) {
  const std::string word = ValueAfter(r.target, "&word=");
  const uint32_t h = NameHash(word);
  const std::string page = orlu::Gbk("<html><head><title>百度知道搜索_") + word +
                           orlu::Gbk("</title></head><body><div class=\"result-count\">共搜到相关问题 ") +
                           Grouped(h % 5000) + orlu::Gbk(" 项</div></body></html>");
  return HttpReply::Ok(page, "text/html; charset=GB2312").Delay(DelayFor(h));
}

HttpReply SiteSearch(const HttpRequest& r) {
  const std::string domain = ValueAfter(r.target, "wd=site%3A");
  const uint32_t h = NameHash(domain);
  std::string body = orlu::Gbk("<html><head><title>site:") + domain + orlu::Gbk("_百度搜索</title></head><body>");
  if (Unknown(domain)) {
    body += orlu::Gbk("<p>抱歉，没有找到与“site:") + domain + orlu::Gbk("”相关的网页。</p>");
  } else {
    body += orlu::Gbk("<p>百度为您找到相关网页约") + Grouped(1 + h % 2000000) + orlu::Gbk("篇，用时0.03秒</p>");
  }
  return HttpReply::Ok(body + "</body></html>", "text/html; charset=GB2312").Delay(DelayFor(h));
}

HttpReply LinkCount(const HttpRequest& r) {
  const std::string domain = ValueAfter(r.target, "&p=www.");
  const uint32_t h = NameHash(domain);
  const std::string page = "<html><head><title>www." + domain +
                           " - 雅虎站长天下</title></head><body><p>链向该地址的网页： 共 <strong>" +
                           Grouped(h % 300000) + "</strong> 条</p></body></html>";
  return HttpReply::Ok(page, "text/html; charset=utf-8").Delay(DelayFor(h));
}

void Install(orlu::substitute::Servers& s) {
  s.http.OnHost("toolbarqueries.google.cn", "/search", PageRank);
  s.http.OnHost("web.archive.org", "/web/*dc_/", ArchiveStart);
  s.http.OnHost("web.archive.org", "/web/*/", ArchiveListing);
  s.http.OnHost("www.google.cn", "/search", KeyWordSearch);
  s.http.OnHost("zhidao.baidu.com", "/q", QuestionSearch);
  s.http.OnHost("www.baidu.com", "/s?wd=site%3A", SiteSearch);
  s.http.OnHost("sitemap.cn.yahoo.com", "/search", LinkCount);
}

const orlu::substitute::Responder registered("site information", Install);

}  // namespace
