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
  TPinyinPage& p = FormMain->PinyinPage;
  TEngWordPage& e = FormMain->EngWordPage;
  struct Page {
    Memo& domains;
    Button &import, &start, &clear;
    ListView& list;
    WordCheckJob& job;
    Lines first;  // the first row's texts once checked
  };
  const Page pages[] = {
      {p.mmoPinyinDomain, p.btn21, p.btnPinyinStart, p.btn25, p.lvPinyin, p.PinyinJob.Workers,
       {"1", "ZhongGuo.com", Gbk("中国|"), "0"}},
      {e.mmoEngWord, e.btn24, e.btnEngWordStart, e.btn26, e.lvEngWord, e.EngWordJob.Workers,
       {"1", "ZhongGuo.com", Gbk("网络翻译苹果"), "fail"}}};
  test::Spit(*dialogAnswer, "ZhongGuo.com\r\n\r\nx.cn\r\n");
  for (const Page& page : pages) {
    page.import.Click();
    EXPECT_EQ(page.domains.Lines(), Lines({"ZhongGuo.com", "", "x.cn"}));
    page.start.Click();
    ASSERT_TRUE(WaitUntil([&] { return !page.job.Running(); }, 20s));
    ASSERT_EQ(page.list.RowCount(), 3);
    EXPECT_EQ(page.list.RowTexts(0), page.first);
    EXPECT_EQ(page.list.RowTexts(1), Lines({"2", "", " ", " "}));
    page.clear.Click();
    EXPECT_EQ(page.domains.LineCount(), 0);
    EXPECT_EQ(page.list.RowCount(), 3);
  }
  EXPECT_TRUE(boxMessages.empty());
}

}  // namespace
}  // namespace orlu
