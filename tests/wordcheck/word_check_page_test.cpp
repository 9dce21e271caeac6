// The pinyin and English-word pages (offscreen) against a substitute HTTP server on
// loopback: import, "查询" through the lists handed to the workers, and "清空".
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "app/program_windows.h"
#include "support/service_scope.h"
#include "substitute-services/servers/substitute_http.h"
#include "support/temp_files.h"

namespace orlu {
namespace {

using namespace std::chrono_literals;
using test::HttpReply;
using Lines = std::vector<std::string>;

class WordCheckPageTest : public testing::ProgramWindowTest {
 protected:
  void SetUp() override {
    ProgramWindowTest::SetUp();
    http.OnHost("www.google.cn", "/search",
                HttpReply::Ok("您是不是要找：<em>中国</em><br><script>"));
    http.OnHost("www.baidu.com", "/s", HttpReply::Ok(Gbk("<p>百度</p>")));
    http.OnHost("www.google.cn", "/dictionary",
                HttpReply::Ok("<h3>网络翻译</h3><b>苹果</b><h3>网络释义</h3>"));
    http.OnHost("dict.baidu.com", "/s", HttpReply::Status(503));
    dialogAnswer = dir / "domains.txt";
  }
  void TearDown() override {
    FormMain->PinyinPage.PinyinJob.Workers.Stop();
    FormMain->EngWordPage.EngWordJob.Workers.Stop();
    FormMain->PinyinPage.lvPinyin.Clear();
    FormMain->EngWordPage.lvEngWord.Clear();
    ProgramWindowTest::TearDown();
  }

  test::SubstituteHttpServer http;
  test::ScopedServices scope{&http};
  test::TempDir dir;
};

TEST_F(WordCheckPageTest, ImportedLinesAreCheckedIntoThePagesListAndClearLeavesIt) {
  test::Spit(*dialogAnswer, "ZhongGuo.com\r\n\r\nx.cn\r\n");
  // One page; `first` is its first row's texts once checked.
  auto check = [](Memo& domains, Button& import, Button& start, Button& clear, ListView& list,
                  const WordCheckJob& job, const Lines& first) {
    import.Click();
    EXPECT_EQ(domains.Lines(), Lines({"ZhongGuo.com", "", "x.cn"}));
    start.Click();
    ASSERT_TRUE(WaitUntil([&] { return !job.Running(); }, 20s));
    ASSERT_EQ(list.RowCount(), 3);
    EXPECT_EQ(list.RowTexts(0), first);
    EXPECT_EQ(list.RowTexts(1), Lines({"2", "", " ", " "}));
    clear.Click();
    EXPECT_EQ(domains.LineCount(), 0);
    EXPECT_EQ(list.RowCount(), 3);
  };
  TPinyinPage& p = FormMain->PinyinPage;
  check(p.mmoPinyinDomain, p.btn21, p.btnPinyinStart, p.btn25, p.lvPinyin, p.PinyinJob.Workers,
        {"1", "ZhongGuo.com", Gbk("中国|"), "0"});
  TEngWordPage& e = FormMain->EngWordPage;
  check(e.mmoEngWord, e.btn24, e.btnEngWordStart, e.btn26, e.lvEngWord, e.EngWordJob.Workers,
        {"1", "ZhongGuo.com", Gbk("网络翻译苹果"), "fail"});
  EXPECT_TRUE(boxMessages.empty());
}

}  // namespace
}  // namespace orlu
