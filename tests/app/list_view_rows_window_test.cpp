// Row display and CSV export on the real result lists of the main window.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/list_view_rows.h"
#include "program_windows.h"

namespace orlu {
namespace {

using testing::ProgramWindowTest;
using test::Slurp;
using test::Spit;
using test::TempDir;
using Lines = std::vector<std::string>;

class ResultListTest : public ProgramWindowTest {
 protected:
  void SetUp() override {
    ProgramWindowTest::SetUp();
    FormMain->AlexaPage.lvAlexa.Clear();
    FormStatShow->mmoStatShow.Clear();
  }
  void TearDown() override {
    FormMain->AlexaPage.lvAlexa.Clear();
    FormMain->PinyinPage.lvPinyin.Clear();
    FormStatShow->mmoStatShow.Clear();
    FormMain->PinyinPage.mmoPinyinShow.Clear();
    ProgramWindowTest::TearDown();
  }

  // Three ranking rows; row 2 is the one with caption 3, domain d, rank 1200.
  void FillAlexa() {
    FormMain->AlexaPage.lvAlexa.AddRows({{"1", {"a.com", " "}},
                               {"2", {Gbk("中文.cn"), "failed \"x\""}},
                               {"3", {"d", "1200"}}});
  }
};

TEST_F(ResultListTest, SelectedRowGoesToTheStatusMemoAsOneLine) {
  FillAlexa();
  Memo& memo = FormStatShow->mmoStatShow;

  // No selection: nothing is added.
  FormMain->AlexaPage.lvAlexa.SetSelectedIndex(-1);
  FormMain->AlexaPage.lvAlexa.Click();
  EXPECT_EQ(memo.LineCount(), 0);

  FormMain->AlexaPage.lvAlexa.SetSelectedIndex(2);
  FormMain->AlexaPage.lvAlexa.Click();
  const std::string line = "ID: 3  " + Gbk("域名") + ": d  " + Gbk("排名") + ": 1200  ";
  EXPECT_EQ(memo.Lines(), Lines{line});

  // The same row again adds the same line again.
  FormMain->AlexaPage.lvAlexa.Click();
  EXPECT_EQ(memo.Lines(), (Lines{line, line}));
  EXPECT_TRUE(boxMessages.empty());
}

TEST_F(ResultListTest, WordCheckPagesUseTheirOwnMemo) {
  FormMain->PinyinPage.lvPinyin.AddRows({{"1", {"nihao.com", "ni hao", "fail"}}});
  FormMain->PinyinPage.lvPinyin.SetSelectedIndex(0);
  FormMain->PinyinPage.lvPinyin.Click();
  EXPECT_EQ(FormMain->PinyinPage.mmoPinyinShow.Lines(),
            Lines{"ID: 1  " + Gbk("域名") + ": nihao.com  " + Gbk("拼音参考1") + ": ni hao  " +
                  Gbk("拼音参考2") + ": fail  "});
  EXPECT_EQ(FormStatShow->mmoStatShow.LineCount(), 0);
}

TEST_F(ResultListTest, ShortRowShowsListIndexErrorInTheBox) {
  FormMain->AlexaPage.lvAlexa.AddRow("1", {"only"});
  FormMain->AlexaPage.lvAlexa.SetSelectedIndex(0);
  FormMain->AlexaPage.lvAlexa.Click();
  EXPECT_EQ(boxMessages, Lines{"List index out of bounds (1)"});
  EXPECT_EQ(FormStatShow->mmoStatShow.LineCount(), 0);
}

TEST_F(ResultListTest, ExportButtonWritesTheExactBytes) {
  FillAlexa();
  TempDir dir;
  const std::string file = dir / "alexa.csv";
  dialogAnswer = file;
  FormMain->AlexaPage.btnAlexaPutOut.Click();
  ASSERT_TRUE(boxMessages.empty()) << boxMessages.front();

  ASSERT_EQ(dialogRequests.size(), 1u);
  const FileDialogRequest& r = dialogRequests[0];
  EXPECT_EQ(r.kind, FileDialogKind::Save);
  EXPECT_EQ(r.initialDir, ExtractFileDir(ProgramFileName()));
  EXPECT_NE(r.initialDir.back(), '/');
  EXPECT_EQ(r.defaultExt, "csv");
  EXPECT_EQ(r.filter, Gbk("csv文件|*.csv"));

  // GBK text, every field quoted and followed by a comma, a quote inside a
  // value doubled, CR LF after every line, no byte-order mark.
  const std::string expected = "\"ID\",\"\xD3\xF2\xC3\xFB\",\"\xC5\xC5\xC3\xFB\",\r\n"
                               "\"1\",\"a.com\",\" \",\r\n"
                               "\"2\",\"\xD6\xD0\xCE\xC4.cn\",\"failed \"\"x\"\"\",\r\n"
                               "\"3\",\"d\",\"1200\",\r\n";
  EXPECT_EQ(Slurp(file), expected);
}

TEST_F(ResultListTest, EveryExportButtonExportsItsOwnList) {
  TempDir dir;
  struct Export {
    Button& button;
    ListView& list;
  };
  TFormMain& m = *FormMain;
  const std::vector<Export> exports = {{m.WhoisPage.btnWhoisExc, m.WhoisPage.lvWhois},
                                       {m.AlexaPage.btnAlexaPutOut, m.AlexaPage.lvAlexa},
                                       {m.SiteInfoPage.btnSiteInfoFileOut, m.SiteInfoPage.lvSiteInfo},
                                       {m.KeyWordCompPage.btnKeyWordFilesOut, m.KeyWordCompPage.lvKeyWord},
                                       {m.PinyinPage.btn22, m.PinyinPage.lvPinyin},
                                       {m.EngWordPage.btn23, m.EngWordPage.lvEngWord}};
  int n = 0;
  for (const auto& e : exports) {
    const std::string file = dir / ("list" + std::to_string(n++) + ".csv");
    dialogAnswer = file;
    e.button.Click();
    std::string header;
    for (int c = 0; c < e.list.ColumnCount(); ++c) header.append("\"").append(e.list.ColumnCaption(c)).append("\",");
    // Empty lists: the header line alone.
    EXPECT_EQ(Slurp(file), header + "\r\n") << e.button.Caption();
  }
  EXPECT_TRUE(boxMessages.empty());
}

TEST_F(ResultListTest, CancelledDialogWritesNothing) {
  // An export first, so the dialog has a file name from before.
  TempDir dir;
  dialogAnswer = dir / "before.csv";
  FormMain->AlexaPage.btnAlexaPutOut.Click();
  const std::string before = Slurp(*dialogAnswer);
  ASSERT_FALSE(before.empty());

  FillAlexa();
  dialogAnswer.reset();
  FormMain->AlexaPage.btnAlexaPutOut.Click();
  EXPECT_EQ(dialogRequests.size(), 2u);
  EXPECT_TRUE(boxMessages.empty());
  EXPECT_EQ(Slurp(dir / "before.csv"), before);
  EXPECT_EQ(dir.Entries(), 1u);
}

TEST_F(ResultListTest, UncreatableFileShowsCannotCreate) {
  FillAlexa();
  TempDir dir;
  const std::string blocker = dir / "plain";
  Spit(blocker, "x");
  dialogAnswer = blocker + "/out.csv";  // inside a regular file
  FormMain->AlexaPage.btnAlexaPutOut.Click();
  EXPECT_EQ(boxMessages, Lines{"Cannot create file " + blocker + "/out.csv"});
  EXPECT_EQ(Slurp(blocker), "x");
}

}  // namespace
}  // namespace orlu
