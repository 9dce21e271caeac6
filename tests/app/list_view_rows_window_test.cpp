// Row display and CSV export on the real result lists of the main window.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "pages/list_view_rows.h"
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
    alexa.Clear();
    FormStatShow->mmoStatShow.Clear();
  }
  void TearDown() override {
    alexa.Clear();
    FormMain->PinyinPage.lvPinyin.Clear();
    FormStatShow->mmoStatShow.Clear();
    FormMain->PinyinPage.mmoPinyinShow.Clear();
    ProgramWindowTest::TearDown();
  }
  void FillAlexa() {
    alexa.AddRows({{"1", {"a.com", " "}}, {"2", {Gbk("中文.cn"), "failed \"x\""}}, {"3", {"d", "1200"}}});
  }

  ListView& alexa = (testing::EnsureProgramWindows(), FormMain->AlexaPage.lvAlexa);
  TempDir dir;
};

// A click adds the selected row to the status memo, or on the word-check
// pages to the page's own memo; a short row shows the error instead.
TEST_F(ResultListTest, ClickedRowGoesToItsPagesMemoAsOneLine) {
  FillAlexa();
  Memo& memo = FormStatShow->mmoStatShow;
  alexa.SetSelectedIndex(-1);
  alexa.Click();
  EXPECT_EQ(memo.LineCount(), 0);
  alexa.SetSelectedIndex(2);
  alexa.Click();
  alexa.Click();
  const std::string line = "ID: 3  " + Gbk("域名") + ": d  " + Gbk("排名") + ": 1200  ";
  EXPECT_EQ(memo.Lines(), (Lines{line, line}));

  ListView& pinyin = FormMain->PinyinPage.lvPinyin;
  pinyin.AddRows({{"1", {"nihao.com", "ni hao", "fail"}}});
  pinyin.SetSelectedIndex(0);
  pinyin.Click();
  EXPECT_EQ(FormMain->PinyinPage.mmoPinyinShow.Lines(),
            Lines{"ID: 1  " + Gbk("域名") + ": nihao.com  " + Gbk("拼音参考1") + ": ni hao  " +
                  Gbk("拼音参考2") + ": fail  "});
  EXPECT_EQ(memo.LineCount(), 2);
  EXPECT_TRUE(boxMessages.empty());

  alexa.Clear();
  alexa.AddRow("1", {"only"});
  alexa.SetSelectedIndex(0);
  alexa.Click();
  EXPECT_EQ(boxMessages, Lines{"List index out of bounds (1)"});
  EXPECT_EQ(memo.LineCount(), 2);
}

TEST_F(ResultListTest, ExportButtonAsksForAFileAndWritesTheExactBytes) {
  FillAlexa();
  dialogAnswer = dir / "alexa.csv";
  FormMain->AlexaPage.btnAlexaPutOut.Click();
  ASSERT_TRUE(boxMessages.empty()) << boxMessages.front();
  ASSERT_EQ(dialogRequests.size(), 1u);
  const FileDialogRequest& r = dialogRequests[0];
  EXPECT_EQ(r.kind, FileDialogKind::Save);
  EXPECT_EQ(r.initialDir, ExtractFileDir(ProgramFileName()));
  EXPECT_EQ(r.defaultExt, "csv");
  EXPECT_EQ(Slurp(*dialogAnswer), "\"ID\",\"\xD3\xF2\xC3\xFB\",\"\xC5\xC5\xC3\xFB\",\r\n"
                                  "\"1\",\"a.com\",\" \",\r\n"
                                  "\"2\",\"\xD6\xD0\xCE\xC4.cn\",\"failed \"\"x\"\"\",\r\n"
                                  "\"3\",\"d\",\"1200\",\r\n");

  // A cancelled dialog writes nothing; a file that cannot be made shows why.
  const std::string before = Slurp(*dialogAnswer);
  alexa.Clear();
  dialogAnswer.reset();
  FormMain->AlexaPage.btnAlexaPutOut.Click();
  EXPECT_EQ(Slurp(dir / "alexa.csv"), before);
  EXPECT_EQ(dir.Entries(), 1u);
  Spit(dir / "plain", "x");
  dialogAnswer = dir / "plain/out.csv";  // inside a regular file
  FormMain->AlexaPage.btnAlexaPutOut.Click();
  EXPECT_EQ(dialogRequests.size(), 3u);
  EXPECT_EQ(boxMessages, Lines{"Cannot create file " + *dialogAnswer});
}

TEST_F(ResultListTest, EveryExportButtonExportsItsOwnList) {
  TFormMain& m = *FormMain;
  const std::pair<Button*, ListView*> exports[] = {
      {&m.WhoisPage.btnWhoisExc, &m.WhoisPage.lvWhois},
      {&m.AlexaPage.btnAlexaPutOut, &m.AlexaPage.lvAlexa},
      {&m.SiteInfoPage.btnSiteInfoFileOut, &m.SiteInfoPage.lvSiteInfo},
      {&m.KeyWordCompPage.btnKeyWordFilesOut, &m.KeyWordCompPage.lvKeyWord},
      {&m.PinyinPage.btn22, &m.PinyinPage.lvPinyin},
      {&m.EngWordPage.btn23, &m.EngWordPage.lvEngWord}};
  int n = 0;
  for (const auto& [button, list] : exports) {
    dialogAnswer = dir / ("list" + std::to_string(n++) + ".csv");
    button->Click();
    std::string header;
    for (int c = 0; c < list->ColumnCount(); ++c) header += "\"" + list->ColumnCaption(c) + "\",";
    EXPECT_EQ(Slurp(*dialogAnswer), header + "\r\n") << button->Caption();
  }
  EXPECT_TRUE(boxMessages.empty());
}

}  // namespace
}  // namespace orlu
