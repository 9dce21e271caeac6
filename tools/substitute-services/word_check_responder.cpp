// The search engines' suggestion pages and the online dictionaries asked by
// the pinyin and English-word checks:
//   www.google.cn/search      suggestions, UTF-8
//   www.baidu.com/s           suggestions, GBK
//   www.google.cn/dictionary  translation, UTF-8
//   dict.baidu.com/s          translation, GBK
//
// The name asked for (the last query value, percent-escaped on the wire)
// decides the answer: a pinyin name of the word list below gets its
// suggestions (a word that reads as the name first, then related words that
// do not), an English word of the second list its translation; every other
// name gets a page without them. One name in eight by its hash is refused
// (503) at its first ask on each service, so the program's later passes see
// it through. Each answer comes after 20 to 80 ms.
#include <chrono>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>

#include "platform/text/gbk.h"
#include "responder.h"

namespace {

using orlu::test::HttpReply;
using orlu::test::HttpRequest;

struct Entry {
  const char* name;
  const char* words;  // UTF-8, separated by "|"
};

const Entry kPinyin[] = {
    {"zhongguo", "中国|中国人|中国银行"}, {"beijing", "北京|背景|北京时间"},
    {"shanghai", "上海|上海天气"},        {"dichan", "地产|地产网"},
    {"youxi", "游戏|小游戏"},             {"xinwen", "新闻|新闻联播"},
    {"dianying", "电影|电影下载"},        {"jiaoyu", "教育|教育部"},
    {"qiche", "汽车|汽车之家"},           {"shouji", "手机|手机报价"},
    {"tianqi", "天气|天气预报"},          {"meishi", "美食|美食天下"},
    {"gouwu", "购物|购物网站"},           {"zhaopin", "招聘|招聘网"},
    {"jiankang", "健康|健康网"},          {"wangluo", "网络|网络游戏"},
    {"fangchan", "房产|房产网"},          {"taobao", "淘宝|淘宝网"},
    {"baidu", "百度|百度一下"},
};

const Entry kEnglish[] = {
    {"apple", "苹果；苹果树"},   {"book", "书；书籍；预订"}, {"cloud", "云；云朵"},
    {"dream", "梦；梦想"},       {"flower", "花；花朵"},     {"game", "游戏；比赛"},
    {"happy", "快乐的；幸福的"}, {"house", "房子；住宅"},   {"light", "光；灯；轻的"},
    {"music", "音乐"},           {"ocean", "海洋"},         {"river", "河；河流"},
    {"smart", "聪明的；时髦的"}, {"star", "星；明星"},       {"travel", "旅行；游历"},
    {"water", "水"},             {"world", "世界"},         {"green", "绿色；绿色的"},
    {"home", "家；家庭"},        {"news", "新闻；消息"},     {"car", "汽车；车"},
    {"shop", "商店；购物"},      {"food", "食物；食品"},     {"love", "爱；爱情"},
};

const char* Find(const Entry* table, size_t n, const std::string& name) {
  for (size_t i = 0; i < n; ++i)
    if (name == table[i].name) return table[i].words;
  return nullptr;
}

// The last value of the query ("...&q=NAME", "wd=NAME"), unescaped. A name
// that is not plain ASCII is shown as "?" in the pages.
std::string NameOf(const HttpRequest& r) {
  const std::string query = r.Query();
  const std::string_view s = std::string_view(query).substr(query.rfind('=') + 1);
  const std::string out = orlu::substitute::PercentDecoded(s);
  for (unsigned char c : out)
    if (c >= 0x80) return "?";
  return out;
}

std::string GoogleSuggestPage(const std::string& name, const char* words) {
  std::string page = "<html><head><meta charset=\"utf-8\"><title>" + name +
                     " - Google 搜索</title></head><body><div id=\"res\">";
  if (words != nullptr) {
    page += "<p class=\"sp_cnt\">您是不是要找：";
    std::string_view w = words;
    for (size_t at; !w.empty(); w = at == std::string_view::npos ? "" : w.substr(at + 1)) {
      at = w.find('|');
      const std::string word(w.substr(0, at));
      page += "<a href=\"/search?hl=zh-CN&q=" + word + "\"><em>" + word + "</em></a>&nbsp; ";
    }
    page += "<br><script>ga('suggest');</script></p>";
  }
  return page + "<p>找不到和您的查询 \"<b>" + name + "</b>\" 相符的网页。</p></div></body></html>";
}

std::string BaiduSuggestPage(const std::string& name, const char* words) {
  std::string page = "<html><head><meta charset=\"gb2312\"><title>百度搜索_" + name +
                     "</title></head><body><div id=\"content\">";
  if (words != nullptr) {
    page += "<p><strong>您要找的是不是: <span  class=\"jc\">";
    std::string_view w = words;
    for (size_t at; !w.empty(); w = at == std::string_view::npos ? "" : w.substr(at + 1)) {
      at = w.find('|');
      const std::string word(w.substr(0, at));
      page += "<a href=\"s?wd=" + word + "\">" + word + "</a>&nbsp&nbsp";
    }
    page += "</span></strong><br></p>";
  }
  return orlu::Gbk(page + "<p>百度为您找到相关结果约0个</p></div></body></html>");
}

std::string GoogleDictPage(const std::string& name, const char* words) {
  std::string page = "<html><head><meta charset=\"utf-8\"><title>Google 字典 - " + name +
                     "</title></head><body><div id=\"pr-root\"><h2>" + name + "</h2>";
  if (words != nullptr) {
    page += "<h3>网络翻译</h3><div class=\"dct-tt\"><b>" + name + "</b> " + words +
            "</div><h3>网络释义</h3><ul><li>" + name + ": " + words + "</li></ul>";
  } else {
    page += "<p>未找到 " + name + " 的释义。</p>";
  }
  return page + "</div></body></html>";
}

std::string BaiduDictPage(const std::string& name, const char* words) {
  std::string page = "<html><head><meta charset=\"gb2312\"><title>百度词典搜索_" + name +
                     "</title></head><body><div id=\"dict\">";
  if (words != nullptr) {
    page += std::string("<div class=\"tab\">词典解释</div><div class=\"en\"><b>") + name +
            "</b> " + words + "</div><p class=\"src\">以下结果来自互联网</p>"
            "<div class=\"tab\">网络释义</div><p>" + words + "</p>";
  } else {
    page += "<p>抱歉，没有找到与“" + name + "”相关的词典解释。</p>";
  }
  return orlu::Gbk(page + "</div></body></html>");
}

struct AskCounts {
  std::mutex mutex;
  std::map<std::string, int> asked;
  int Next(const std::string& key) {
    std::lock_guard lock(mutex);
    return ++asked[key];
  }
};

using PageMaker = std::string (*)(const std::string&, const char*);

orlu::test::HttpResponder Endpoint(std::shared_ptr<AskCounts> counts, const Entry* table,
                                   size_t n, PageMaker page) {
  return [counts, table, n, page](const HttpRequest& r) {
    const std::string name = NameOf(r);
    const uint32_t hash = orlu::substitute::NameHash(name);
    const auto delay = std::chrono::milliseconds(20 + hash % 61);
    if (hash % 8 == 5 && counts->Next(r.Host() + r.Path() + name) == 1) {
      return HttpReply::Status(503, "busy").Delay(delay);
    }
    return HttpReply::Ok(page(name, Find(table, n, name))).Delay(delay);
  };
}

void Install(orlu::substitute::Servers& s) {
  auto counts = std::make_shared<AskCounts>();
  const size_t np = std::size(kPinyin), ne = std::size(kEnglish);
  // The same hosts serve other queries of the program (keyword and site:
  // searches); these routes take only the checks' own.
  s.http.OnHost("www.google.cn", "/search?hl=zh-CN&aq=f&oq=&q=",
                Endpoint(counts, kPinyin, np, GoogleSuggestPage));
  s.http.OnHost("www.baidu.com", "/s", Endpoint(counts, kPinyin, np, BaiduSuggestPage));
  s.http.OnHost("www.google.cn", "/dictionary", Endpoint(counts, kEnglish, ne, GoogleDictPage));
  s.http.OnHost("dict.baidu.com", "/s", Endpoint(counts, kEnglish, ne, BaiduDictPage));
}

const orlu::substitute::Responder registered("suggestions and dictionaries", Install);

}  // namespace
