// Row display and CSV export on the real result lists of the main window.
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "pages/list_view_rows.h"
#include "program_windows.h"

namespace orlu {
namespace {

using test::Slurp;
using Lines = std::vector<std::string>;

class ResultListTest : public testing::ProgramWindowTest {
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
  void FillAlexa() { alexa.AddRows({{"1", {"a.com", " "}}, {"2", {Gbk("中文.cn"), "1200"}}}); }

  ListView& alexa = (testing::EnsureProgramWindows(), FormMain->AlexaPage.lvAlexa);
  test::TempDir dir;
};

// A click adds the selected row to the status memo (word checks: their own); a short row errs.
TEST_F(ResultListTest, ClickedRowGoesToItsPagesMemoAsOneLine) {
  FillAlexa();
  Memo& memo = FormStatShow->mmoStatShow;
  alexa.SetSelectedIndex(-1);
  alexa.Click();
  alexa.SetSelectedIndex(1);
  alexa.Click();
  alexa.Click();
  EXPECT_EQ(memo.Lines(), Lines(2, Gbk("ID: 2  域名: 中文.cn  排名: 1200  ")));

  ListView& pinyin = FormMain->PinyinPage.lvPinyin;
  pinyin.AddRows({{"1", {"nihao.com", "ni hao", "fail"}}});
  pinyin.SetSelectedIndex(0);
  pinyin.Click();
  EXPECT_EQ(FormMain->PinyinPage.mmoPinyinShow.Lines(),
            Lines{Gbk("ID: 1  域名: nihao.com  拼音参考1: ni hao  拼音参考2: fail  ")});

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
  ASSERT_EQ(dialogRequests.size(), 1u);
  const FileDialogRequest& r = dialogRequests[0];
  EXPECT_EQ(std::tie(r.kind, r.initialDir, r.defaultExt),
            std::make_tuple(FileDialogKind::Save, ExtractFileDir(ProgramFileName()), "csv"));
  EXPECT_EQ(r.filter, Gbk("csv文件|*.csv"));
  EXPECT_EQ(Slurp(*dialogAnswer), Gbk("\"ID\",\"域名\",\"排名\",\r\n\"1\",\"a.com\",\" \",\r\n"
                                      "\"2\",\"中文.cn\",\"1200\",\r\n"));

  // A cancelled dialog writes nothing; a file that cannot be made shows why.
  const std::string before = Slurp(*dialogAnswer);
  alexa.Clear();
  dialogAnswer.reset();
  FormMain->AlexaPage.btnAlexaPutOut.Click();
  EXPECT_EQ(Slurp(dir / "alexa.csv"), before);
  test::Spit(dir / "plain", "x");
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
  dialogAnswer = dir / "list.csv";
  for (const auto& [button, list] : exports) {
    button->Click();
    std::string header;
    for (int c = 0; c < list->ColumnCount(); ++c) header += "\"" + list->ColumnCaption(c) + "\",";
    EXPECT_EQ(Slurp(*dialogAnswer), header + "\r\n") << button->Caption();
  }
  EXPECT_TRUE(boxMessages.empty());
}

}  // namespace
}  // namespace orlu
