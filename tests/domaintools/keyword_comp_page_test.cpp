// The keyword-file comparison page (offscreen): the buttons that fill the lists, the run
// landing in the list view and the status window. The matching is the comparison's test.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <string>
#include <vector>

#include "app/program_windows.h"
#include "domaintools/keyword_compare.h"
#include "support/temp_files.h"

namespace orlu {
namespace {

using namespace std::chrono_literals;
using Lines = std::vector<std::string>;
using testing::ProgramWindowTest;

class KeyWordCompPageTest : public ProgramWindowTest {
 protected:
  void SetUp() override {
    ProgramWindowTest::SetUp();
    if (HasFatalFailure()) return;
    FormMain->ShowPage(kPageKeyWordComp);
    p = &FormMain->KeyWordCompPage;
    p->mmoKeyWordFiles.Clear();
    p->mmoKeyWordDomains.Clear();
    p->lvKeyWord.Clear();
    p->edtKeyWordThread.SetText("1");
    FormStatShow->mmoStatShow.Clear();
  }

  // Presses the start button and serves the window until the run has ended.
  void Compare() {
    p->btnKeyWordFilesFiler.Click();
    ASSERT_TRUE(WaitUntil([] { return KeyWordWorkersEnded(KeyWordFilter); }, 20s));
  }

  Lines Rows() const {
    Lines out;
    for (int r = 0; r < p->lvKeyWord.RowCount(); ++r) {
      out.push_back(p->lvKeyWord.RowCaption(r) + " " + p->lvKeyWord.SubItem(r, 0) + " " +
                    p->lvKeyWord.SubItem(r, 1));
    }
    return out;
  }

  TKeyWordCompPage* p = nullptr;
  test::TempDir dir;
};

TEST_F(KeyWordCompPageTest, ButtonsFillTheListsAndTheComparisonWritesItsRows) {
  ASSERT_EQ(mkdir((dir / "w").c_str(), 0755), 0);
  test::Spit(dir / "w/b.txt", "web\n");
  // Names the list can only show changed: Korean (no GBK form) and GBK bytes.
  test::Spit(dir / "w/\xD6\xD0.txt", "gbk\n");  // 中
  test::Spit(dir / "w/\xED\x95\x9C.txt", "kor\n");  // 한 in UTF-8
  test::Spit(dir / "w/\xEB\x82\x98.txt", "two\n");  // 나, shown the same
  test::Spit(dir / "extra-\xED\x95\x9C.txt", "dom");
  test::Spit(dir / "domains.txt", "Dom.com\r\nweb.cn\r\nkor.com\r\ngbk.net\r\ntwo.org\r\n");

  dialogAnswer = dir / "w";
  p->btnKeyWordFileSAdd.Click();
  dialogAnswer = dir / "extra-\xED\x95\x9C.txt";
  p->btnKeyWordFileAdd.Click();
  p->mmoKeyWordFiles.Add(dir / "missing.txt");
  EXPECT_EQ(p->mmoKeyWordFiles.Lines(),
            (Lines{dir / "w/b.txt", dir / "w/\xD6\xD0.txt", dir / "w/?.txt", dir / "w/?.txt",
                   dir / "extra-?.txt", dir / "missing.txt"}));
  p->mmoKeyWordDomains.Add("old.com");
  dialogAnswer = dir / "domains.txt";
  p->btn20.Click();
  EXPECT_EQ(p->mmoKeyWordDomains.LineCount(), 5);

  Compare();
  EXPECT_EQ(Rows(), (Lines{"1 web.cn b.txt", "2 gbk.net \xD6\xD0.txt", "3 two.org ?.txt",
                           "4 kor.com ?.txt", "5 dom.com extra-?.txt"}));
  EXPECT_EQ(FormStatShow->mmoStatShow.Lines(),
            (Lines{Gbk("无法读取的对比文件：") + dir / "missing.txt"}));
  EXPECT_TRUE(FormStatShow->Visible());

  p->lvKeyWord.SetSelectedIndex(0);
  p->lvKeyWord.Click();
  EXPECT_EQ(FormStatShow->mmoStatShow.Lines().back(),
            "ID: 1  " + Gbk("域名: web.cn  备注: b.txt  "));

  p->btnKeyWordFileClear.Click();
  EXPECT_EQ(p->mmoKeyWordFiles.LineCount() + p->mmoKeyWordDomains.LineCount(), 0);
  EXPECT_EQ(p->lvKeyWord.RowCount(), 5);

  p->edtKeyWordThread.SetText("3a");
  p->btnKeyWordFilesFiler.Click();
  EXPECT_EQ(boxMessages, Lines{Gbk("“3a”不是有效的整数")});
  EXPECT_EQ(p->lvKeyWord.RowCount(), 5);
}

}  // namespace
}  // namespace orlu
