// The pinyin and English-word checks: the page cuts, the tag stripper, and the workers
// against a substitute HTTP server on loopback (also under ThreadSanitizer).
#include <gtest/gtest.h>

#include <chrono>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "platform/text/codepage.h"
#include "platform/text/gbk.h"
#include "strip_tags_loop.h"
#include "support/plain_loop_test.h"
#include "support/service_scope.h"
#include "substitute-services/servers/substitute_http.h"
#include "wordcheck/word_check.h"

namespace orlu {
namespace {

using namespace std::chrono_literals;
using test::HttpReply;
using test::HttpRequest;
using Clock = std::chrono::steady_clock;
using Lines = std::vector<std::string>;

// Pages as each service sends them: Google's in UTF-8, Baidu's in GBK.
std::string GoogleSuggestPage(const std::string& words) {
  return "<html><body><p class=sp_cnt>您是不是要找：" + words +
         "<br><script>x()</script></p></body></html>";
}
std::string BaiduSuggestPage(const std::string& wordsUtf8) {
  return Gbk("<p><strong>您要找的是不是: <span  class=\"jc\">" + wordsUtf8 +
             "</span></strong><br></p>");
}
std::string BaiduLink(const std::string& word) {
  return "<a href=\"s?wd=" + word + "\">" + word + "</a>&nbsp&nbsp";
}

TEST(WordCheckCuts, SuggestionsReadingAsTheNameShowPlainOthersQuoted) {
  const std::string google = Utf8ToAnsi(GoogleSuggestPage(
      "<a href=\"/s?q=1\"><em>中国</em></a> <a><em> 中国人 </em></a> <em>ZhongGuo</em>"));
  EXPECT_EQ(CutGoogleSuggest(google, "zhongguo"), Gbk("中国|'中国人'|'ZhongGuo'|"));
  // An "<em>" without "</em>" gives an empty word; the search goes on after it.
  EXPECT_EQ(CutGoogleSuggest(Utf8ToAnsi(GoogleSuggestPage("<em>中国</em><em>中国")), "zhongguo"),
            Gbk("中国||"));
  // A start marker inside a word is part of the word.
  EXPECT_EQ(CutGoogleSuggest(Utf8ToAnsi(GoogleSuggestPage("<em>中<em>国</em>")), "zhongguo"),
            Gbk("'中<em>国'|"));
  // No end marker or no marker: nothing.
  EXPECT_EQ(CutGoogleSuggest(Gbk("您是不是要找：<em>中国</em><br>"), "zhongguo"), "0");
  EXPECT_EQ(CutGoogleSuggest(Gbk("<em>中国</em><br><script>"), "zhongguo"), "0");

  // The last word is found by the "<" of the end marker the section keeps.
  const std::string baidu = BaiduSuggestPage(BaiduLink("北京大学") + BaiduLink("北京"));
  EXPECT_EQ(CutBaiduSuggest(baidu, "beijing"), Gbk("'北京大学'|北京|"));
  EXPECT_EQ(CutBaiduSuggest(BaiduSuggestPage(BaiduLink("北京") + "<a href=x>背景</a>"), "beijing"),
            Gbk("北京|"));
  EXPECT_EQ(CutBaiduSuggest(Gbk("您要找的是不是: <span class=\"jc\"><a href=x>北京</a>&nbsp&nbsp"
                                "</span></strong><br></p>"),
                            "beijing"),
            "0");
}

TEST(WordCheckCuts, DictionarySectionsKeepTheirHeadingWithoutTagsAndNoise) {
  const std::string google = Utf8ToAnsi(
      "<div><h3>网络翻译</h3><ul><li>苹果</li>\n<li>苹果公司</li></ul>"
      "<h3>网络释义</h3><p>apple: 苹果</p></div>");
  EXPECT_EQ(CutGoogleDict(google), Gbk("网络翻译苹果\n苹果公司"));
  EXPECT_EQ(CutGoogleDict(Gbk("<h3>网络翻译</h3><li>苹果</li>")), "0");
  EXPECT_EQ(CutGoogleDict(Gbk("<h3>网络释义</h3><h3>网络翻译</h3>")), "0");

  const std::string baidu = Gbk(
      "<div><h2>词典解释</h2><p>n. 苹果</p><p>以下结果来自互联网</p><p>苹果树</p>"
      "以下结果来自互联网<h2>网络释义</h2></div>");
  EXPECT_EQ(CutBaiduDict(baidu), Gbk("词典解释n. 苹果苹果树"));
  EXPECT_EQ(CutBaiduDict(Gbk("网络释义 词典解释 x")), "0");
}

TEST(WordCheckCuts, StripTagsEqualsTheLoopOnGeneratedTexts) {
  std::mt19937 rng(20240611);
  const char alphabet[] = {'<', '>', '<', '>', 'a', 'b', ' ', '\n', '\xB0'};
  for (int n = 0; n < 50000; ++n) {
    std::string s(rng() % 24, ' ');
    for (char& c : s) c = alphabet[rng() % sizeof alphabet];
    ASSERT_EQ(StripTags(s), test::StripTagsLoop(s)) << '"' << s << '"';
  }
}

class WordCheckJobTest : public test::PlainLoopTest {
 protected:
  void SetUp() override {
    PlainLoopTest::SetUp();
    config_.ListView = &rows_;
  }
  void TearDown() override {
    pinyin_.Stop();
    english_.Stop();
    PlainLoopTest::TearDown();
  }
  void RunToEnd(WordCheckJob& job) {
    ASSERT_TRUE(PumpUntil([&job] { return !job.Running(); }, 20s)) << "the workers did not end";
  }
  Lines Cells(int row) const { return rows_.Row(row).cells; }
  // How often each host and target (or each host) was asked.
  std::map<std::string, int> Asked(bool hostsOnly = false) const {
    std::map<std::string, int> n;
    for (const HttpRequest& r : http_.Requests()) ++n[r.Host() + (hostsOnly ? "" : r.target)];
    return n;
  }

  WordCheckSettings config_;
  MemoryRows rows_;
  test::SubstituteHttpServer http_;
  test::ScopedServices scope_{&http_};
  WordCheckJob pinyin_{WordCheckJob::Kind::Pinyin, config_};
  WordCheckJob english_{WordCheckJob::Kind::EngWord, config_};
};

TEST_F(WordCheckJobTest, EachEngineAsksEachNamedRowOnceAndFillsItsColumn) {
  http_.OnHost("www.google.cn", "/search", HttpReply::Ok(GoogleSuggestPage(
                                               "<em>中国</em> <em>中国人</em>")));
  http_.OnHost("www.baidu.com", "/s", HttpReply::Ok(BaiduSuggestPage(BaiduLink("中国"))));
  pinyin_.Start({" ZhongGuo.Com ", "", "a b.net", "nodot", Gbk("中国.cn"), ""});
  RunToEnd(pinyin_);
  ASSERT_EQ(rows_.RowCount(), 5);
  EXPECT_EQ(Cells(0), Lines({"ZhongGuo.Com", Gbk("中国|'中国人'|"), Gbk("中国|")}));
  EXPECT_EQ(Cells(1), Lines({"", " ", " "}));
  EXPECT_EQ(Cells(2), Lines({"a b.net", Gbk("'中国'|'中国人'|"), Gbk("'中国'|")}));
  // Each named row asked once per engine in five passes, by its lower-case label, escaped.
  std::map<std::string, int> once;
  for (const std::string label : {"zhongguo", "a%20b", "", "%D6%D0%B9%FA"}) {
    once["www.google.cn/search?hl=zh-CN&aq=f&oq=&q=" + label] = 1;
    once["www.baidu.com/s?wd=" + label] = 1;
  }
  EXPECT_EQ(Asked(), once);

  http_.ClearRequests();
  http_.OnHost("www.google.cn", "/dictionary",
               HttpReply::Ok("\xFF<h3>网络翻译</h3><b>苹果</b><h3>网络释义</h3>"));
  http_.OnHost("dict.baidu.com", "/s", HttpReply::Ok(Gbk("<h2>词典解释</h2>n. 苹果<h2>网络释义")));
  english_.Start({"Apple.com"});
  RunToEnd(english_);
  EXPECT_EQ(Cells(0), Lines({"Apple.com", Gbk("网络翻译苹果"), Gbk("词典解释n. 苹果")}));
  EXPECT_EQ(Asked(), (std::map<std::string, int>{
                         {"www.google.cn/dictionary?source=translation&hl=zh-CN&langpair=en%7Czh-CN"
                          "&q=apple", 1},
                         {"dict.baidu.com/s?tn=dict&wd=apple", 1}}));
}

TEST_F(WordCheckJobTest, AFailedFetchOfEitherEngineIsFailAndAskedAgain) {
  config_.Engine0Threads = 1;
  config_.Engine1Threads = 1;
  http_.OnHost("www.google.cn", "/", HttpReply::Status(503));
  http_.OnSequence("/s?wd=abc", {HttpReply::Status(503), HttpReply::Ok(BaiduSuggestPage(""))});
  pinyin_.Start({"abc.com"});
  RunToEnd(pinyin_);
  EXPECT_EQ(Cells(0), Lines({"abc.com", "fail", "0"}));
  EXPECT_EQ(Asked(), (std::map<std::string, int>{
                         {"www.google.cn/search?hl=zh-CN&aq=f&oq=&q=abc", 5},
                         {"www.baidu.com/s?wd=abc", 2}}));
}

TEST_F(WordCheckJobTest, EachEngineRunsItsOwnThreadCount) {
  config_.Engine0Threads = 1;
  config_.Engine1Threads = 3;
  http_.OnHost("www.google.cn", "/", HttpReply::Hang());
  http_.OnHost("www.baidu.com", "/", HttpReply::Hang());
  pinyin_.Start({"a.com", "b.com", "c.com", "d.com"});
  // Every worker hangs on its first fetch.
  ASSERT_TRUE(http_.WaitForRequests(4, 10s));
  PumpFor(50ms);
  EXPECT_EQ(Asked(true), (std::map<std::string, int>{{"www.google.cn", 1}, {"www.baidu.com", 3}}));
}

TEST_F(WordCheckJobTest, AnAnswerForRowsRebuiltSinceTheWorkerWasMadeIsDropped) {
  http_.OnHost("www.google.cn", "/", HttpReply::Ok(GoogleSuggestPage("<em>x</em>")));
  rows_.AddRows(BuildWordCheckRows({"old.com"}));
  CPinyin late(true, std::make_shared<const Lines>(Lines{"old.com"}), 1, 0, 0, config_);
  rows_.NewGeneration();
  late.Resume();
  ASSERT_TRUE(PumpUntil([&late] { return late.Finished(); }, 10s));
  EXPECT_EQ(Cells(0), Lines({"old.com", " ", " "}));
}

TEST_F(WordCheckJobTest, RestartAndStopWhileFetchesHangEndPromptly) {
  // Fetches for the "old" names hang; every other page suggests the label asked.
  auto answer = [](const HttpRequest& r) {
    const std::string label = r.Query().substr(r.Query().rfind('=') + 1);
    if (label.starts_with("old")) return HttpReply::Hang();
    return HttpReply::Ok(BaiduSuggestPage(BaiduLink(label)));
  };
  for (const char* host : {"www.google.cn", "www.baidu.com", "dict.baidu.com"})
    http_.OnHost(host, "/", answer);
  const Lines old = {"old0.com", "old1.com", "old2.com", "old3.com"};
  pinyin_.Start(old);
  ASSERT_TRUE(http_.WaitForRequests(4, 10s));
  auto t0 = Clock::now();
  pinyin_.Start({"new0.com", "new1.com"});
  EXPECT_LT(Clock::now() - t0, 2s);
  RunToEnd(pinyin_);
  EXPECT_EQ(Cells(1), Lines({"new1.com", "0", "new1|"}));

  const size_t asked = http_.RequestCount();
  english_.Start(old);
  ASSERT_TRUE(http_.WaitForRequests(asked + 4, 10s));
  t0 = Clock::now();
  english_.Stop();
  EXPECT_LT(Clock::now() - t0, 2s);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(Cells(i), Lines({old[i], " ", " "}));
}

}  // namespace
}  // namespace orlu
