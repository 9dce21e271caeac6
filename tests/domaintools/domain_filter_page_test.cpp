// The domain filter page of the real main window under the offscreen
// platform: buttons pressed as a user would, lists and counts read back.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/program_windows.h"
#include "domaintools/domain_filter.h"
#include "support/temp_files.h"

namespace orlu {
namespace {

using Lines = std::vector<std::string>;
using testing::ProgramWindowTest;
using test::Spit;
using test::TempDir;

std::string G(const char* utf8) { return Gbk(utf8); }

// The page's controls as the window was made, taken before the first test of
// this page changes them.
struct StartState {
  bool taken = false;
  std::vector<bool> boxes, radios;
  std::string low, high, fileBox, countBox;
  int tab = -1, udLow = 0, udHigh = 0;
  Lines rules;
};

StartState& PageAtStart() {
  static StartState state;
  return state;
}

void TakeStartState(TFormMain& f) {
  StartState& s = PageAtStart();
  if (s.taken) return;
  s.taken = true;
  for (const CheckBox* b : {&f.chkFilterCn, &f.chkFilterComCn, &f.chkFilterNetCn, &f.chkFilterOrgCn,
                            &f.chkFilterCom, &f.chkFilterNet, &f.chkFilterOrg, &f.chkFilterDQ})
    s.boxes.push_back(b->Checked());
  for (const RadioButton* r :
       {&f.rbFilterAllDomain, &f.rbFilterThreeWord, &f.rbFilterFourWord, &f.rbFilterThreeNum,
        &f.rbFilterAllNum, &f.rbFilterThreeAll, &f.rbFilterFourNum, &f.rbFilterCmpKey})
    s.radios.push_back(r->Checked());
  s.low = f.edtDomainFilterLongUp.Text();
  s.high = f.edtDomainFilterLongDown.Text();
  s.udLow = f.ud1.Position();
  s.udHigh = f.ud2.Position();
  s.fileBox = f.edtFilterInPut.Text();
  s.countBox = f.edtFilterOut.Text();
  s.tab = f.pgcFilter.ActivePageIndex();
  s.rules = f.mmoFilterKeyWord.Lines();
}

class DomainFilterPageTest : public ProgramWindowTest {
 protected:
  void SetUp() override {
    ProgramWindowTest::SetUp();
    if (HasFatalFailure()) return;
    f = FormMain;
    TakeStartState(*f);
    f->ShowPage(kPageDomainFilter);
    f->btn2.Click();
    f->edtFilterOut.SetText("");
    f->pgcFilter.SetActivePageIndex(0);
    f->edtDomainFilterLongUp.SetText("1");
    f->edtDomainFilterLongDown.SetText("100");
    const std::pair<CheckBox*, bool> boxes[] = {
        {&f->chkFilterCn, true},   {&f->chkFilterComCn, true}, {&f->chkFilterNetCn, false},
        {&f->chkFilterOrgCn, false}, {&f->chkFilterCom, true}, {&f->chkFilterNet, true},
        {&f->chkFilterOrg, true},  {&f->chkFilterDQ, false}};
    for (auto [box, ticked] : boxes) box->SetChecked(ticked);
    f->rbFilterAllDomain.SetChecked(true);
    f->mmoFilterKeyWord.SetLines(DefaultFilterKeyWordLines());
  }

  TFormMain* f = nullptr;
};

TEST_F(DomainFilterPageTest, ControlsHaveTheirCaptionsAndDefaults) {
  const std::pair<const Control*, const char*> captions[] = {
      {&f->lbl1, "文件："}, {&f->btnFilterInPut, "选择"}, {&f->btn2, "清除"}, {&f->btn10, "倒序"},
      {&f->btn8, "过滤同前缀"}, {&f->ts1, "域名列表1"}, {&f->ts2, "域名列表2"},
      {&f->btnFilterOutDomain, "过滤出域名"}, {&f->btnFilterRet, "去冗余"},
      {&f->btnFilterLong, "长度过滤"}, {&f->btnFilterGetUp, "剩下前缀"}, {&f->chkFilterCn, ".cn"},
      {&f->chkFilterComCn, ".com.cn"}, {&f->chkFilterNetCn, ".net.cn"}, {&f->chkFilterOrgCn, ".org.cn"},
      {&f->chkFilterCom, ".com"}, {&f->chkFilterNet, ".net"}, {&f->chkFilterOrg, ".org"},
      {&f->chkFilterDQ, "地区"}, {&f->grp1, ""}, {&f->rbFilterAllDomain, "全"},
      {&f->rbFilterThreeWord, "三字母"}, {&f->rbFilterFourWord, "四字母"}, {&f->rbFilterThreeNum, "三数字"},
      {&f->rbFilterAllNum, "纯数"}, {&f->rbFilterThreeAll, "三杂"}, {&f->rbFilterFourNum, "四数字"},
      {&f->rbFilterCmpKey, "关键字对比"}, {&f->btnFilterDownDomian, "后缀过滤"}, {&f->lbl2, "输出："},
      {&f->btnFilterKeyWordSave, "关键字保存"},
  };
  for (const auto& [control, caption] : captions) EXPECT_EQ(control->Caption(), G(caption)) << caption;

  const StartState& start = PageAtStart();
  ASSERT_TRUE(start.taken);
  EXPECT_EQ(start.boxes, (std::vector<bool>{true, true, false, false, true, true, true, false}));
  EXPECT_EQ(start.radios, (std::vector<bool>{true, false, false, false, false, false, false, false}));
  EXPECT_EQ((Lines{start.low, start.high, start.fileBox, start.countBox}), (Lines{"1", "100", "", ""}));
  EXPECT_EQ((std::vector<int>{start.udLow, start.udHigh, start.tab}), (std::vector<int>{1, 100, 0}));
  // No settings file at start: the rule memo keeps its eight design lines.
  EXPECT_EQ(start.rules, (Lines{G("china|前后无"), G("ol|后无"), G("rc|后无"), G("info|后无"),
                                G("abc|无中"), G("a|无"), G("tv|后"), G("loan|后")}));
  EXPECT_EQ((std::vector<int>{f->ud1.Min(), f->ud1.Max(), f->ud2.Min(), f->ud2.Max()}),
            (std::vector<int>{1, 1000, 1, 1000}));
  // Only one pattern button at a time.
  f->rbFilterThreeNum.Click();
  EXPECT_TRUE(f->rbFilterThreeNum.Checked());
  EXPECT_FALSE(f->rbFilterAllDomain.Checked());
}

TEST_F(DomainFilterPageTest, ExtractionFillsListTwoAndOutputThenSwitchesTab) {
  f->mmoFilter1.SetLines({G("域名 WWW.Dom.com 已到期"), "no domain", G("联系：a.cn/x"),
                          G("花園.com")});
  f->btnFilterOutDomain.Click();
  const Lines expected = {"dom.com", "a.cn", G("花園.com")};
  EXPECT_EQ(f->mmoFilter2.Lines(), expected);
  EXPECT_EQ(f->mmoFilter3.Lines(), expected);
  EXPECT_EQ(f->edtFilterOut.Text(), "3");
  EXPECT_EQ(f->pgcFilter.ActivePageIndex(), 1);
  EXPECT_EQ(f->mmoFilter1.LineCount(), 4);
  EXPECT_EQ(f->FilterWorkList->Count(), 4);

  // List 2 in front: it is rewritten from its own lines and stays in front.
  f->mmoFilter2.SetLines({"x http://www.Y.net/a", "z"});
  f->btnFilterOutDomain.Click();
  EXPECT_EQ(f->mmoFilter2.Lines(), Lines{"y.net/a"});
  EXPECT_EQ(f->mmoFilter3.Lines(), Lines{"y.net/a"});
  EXPECT_EQ(f->edtFilterOut.Text(), "1");
  EXPECT_EQ(f->pgcFilter.ActivePageIndex(), 1);
  EXPECT_EQ(f->mmoFilter1.LineCount(), 4);
}

TEST_F(DomainFilterPageTest, DuplicatesOfListTwoRewriteListTwo) {
  f->mmoFilter1.SetLines({"a.com", "b.com", "a.com", "A.com"});
  f->btnFilterRet.Click();
  EXPECT_EQ(f->mmoFilter2.Lines(), (Lines{"a.com", "b.com", "A.com"}));
  EXPECT_EQ(f->edtFilterOut.Text(), "3");
  EXPECT_EQ(f->pgcFilter.ActivePageIndex(), 1);

  // List 2 in front: it is rewritten from its own lines; the tab stays.
  f->mmoFilter2.SetLines({"x.net", "x.net", "y.net", "x.net"});
  f->btnFilterRet.Click();
  EXPECT_EQ(f->mmoFilter2.Lines(), (Lines{"x.net", "y.net"}));
  EXPECT_EQ(f->mmoFilter3.Lines(), (Lines{"x.net", "y.net"}));
  EXPECT_EQ(f->edtFilterOut.Text(), "2");
  EXPECT_EQ(f->pgcFilter.ActivePageIndex(), 1);
  EXPECT_EQ(f->mmoFilter1.Lines(), (Lines{"a.com", "b.com", "a.com", "A.com"}));

  // An empty list gives an empty output and "0".
  f->mmoFilter2.Clear();
  f->btnFilterRet.Click();
  EXPECT_EQ(f->mmoFilter3.LineCount(), 0);
  EXPECT_EQ(f->edtFilterOut.Text(), "0");
}

TEST_F(DomainFilterPageTest, LengthFilterAndNames) {
  f->mmoFilter1.SetLines({G("中文.com"), "ab.net", "nodot", "abcdef.org"});
  f->edtDomainFilterLongUp.SetText("2");
  f->edtDomainFilterLongDown.SetText("4");
  f->edtFilterOut.SetText("7");
  f->btnFilterLong.Click();
  EXPECT_EQ(f->mmoFilter2.Lines(), (Lines{G("中文.com"), "ab.net"}));
  EXPECT_EQ(f->mmoFilter3.Lines(), (Lines{G("中文.com"), "ab.net"}));
  EXPECT_EQ(f->pgcFilter.ActivePageIndex(), 0);  // no tab switch
  EXPECT_EQ(f->edtFilterOut.Text(), "7");        // no count

  // Typed bounds outside the arrows' range are taken as they are.
  f->edtDomainFilterLongUp.SetText("-1");
  f->edtDomainFilterLongDown.SetText("1001");
  f->btnFilterLong.Click();
  EXPECT_EQ(f->mmoFilter3.Lines(), (Lines{G("中文.com"), "ab.net", "nodot", "abcdef.org"}));

  f->btnFilterGetUp.Click();
  EXPECT_EQ(f->mmoFilter2.Lines(), (Lines{G("中文"), "ab", "nodot", "abcdef"}));
  EXPECT_EQ(f->mmoFilter3.Lines(), (Lines{G("中文"), "ab", "nodot", "abcdef"}));
  EXPECT_TRUE(boxMessages.empty());

  // A bound that is no number: the conversion error, nothing changed.
  f->mmoFilter2.SetLines({"kept2"});
  f->mmoFilter3.SetLines({"kept3"});
  f->edtDomainFilterLongDown.SetText("x9");
  f->btnFilterLong.Click();
  ASSERT_EQ(boxMessages, (Lines{"'x9' is not a valid integer value"}));
  EXPECT_EQ(f->mmoFilter2.Lines(), Lines{"kept2"});
  EXPECT_EQ(f->mmoFilter3.Lines(), Lines{"kept3"});
  EXPECT_EQ(f->mmoFilter1.Lines(), (Lines{G("中文.com"), "ab.net", "nodot", "abcdef.org"}));
}

TEST_F(DomainFilterPageTest, SuffixFilterAndRulesWriteOnlyTheOutput) {
  f->mmoFilter1.SetLines({" DOM.Com ", "www.dom.com", "dom.bj.cn", "123.net", "abc.org"});
  f->mmoFilter2.SetLines({"kept"});
  f->btnFilterDownDomian.Click();
  EXPECT_EQ(f->mmoFilter3.Lines(), (Lines{"dom.com", "123.net", "abc.org"}));
  EXPECT_EQ(f->edtFilterOut.Text(), "3");
  EXPECT_EQ(f->mmoFilter2.Lines(), Lines{"kept"});
  EXPECT_EQ(f->pgcFilter.ActivePageIndex(), 0);

  f->chkFilterDQ.SetChecked(true);
  f->rbFilterThreeNum.Click();
  f->btnFilterDownDomian.Click();
  EXPECT_EQ(f->mmoFilter3.Lines(), Lines{"123.net"});
  EXPECT_EQ(f->edtFilterOut.Text(), "1");

  // Keyword rules from the rule memo.
  f->chkFilterDQ.SetChecked(false);
  f->mmoFilter1.SetLines({"domtv.com", "myloan.net", "tvtv.com", "dom.tv", "loantv.org"});
  f->rbFilterCmpKey.Click();
  f->btnFilterDownDomian.Click();
  EXPECT_EQ(f->mmoFilter3.Lines(), (Lines{"domtv.com", "tvtv.com", "loantv.org", "myloan.net"}));
  EXPECT_EQ(f->edtFilterOut.Text(), "4");

  // Two rules passing the same entry put it out twice; the count shows both.
  f->mmoFilterKeyWord.SetLines({G("tv|后"), G("dom|前")});
  f->btnFilterDownDomian.Click();
  EXPECT_EQ(f->mmoFilter3.Lines(), (Lines{"domtv.com", "tvtv.com", "loantv.org", "domtv.com"}));
  EXPECT_EQ(f->edtFilterOut.Text(), "4");
}

TEST_F(DomainFilterPageTest, ListComparisonLeavesBothListsWhateverTabIsInFront) {
  f->mmoFilter1.SetLines({"Dom.com", "xyz.net"});
  f->mmoFilter2.SetLines({"DOM"});
  f->pgcFilter.SetActivePageIndex(1);
  f->btn8.Click();
  EXPECT_EQ(f->mmoFilter3.Lines(), Lines{"xyz.net"});
  EXPECT_EQ(f->mmoFilter1.Lines(), (Lines{"Dom.com", "xyz.net"}));
  EXPECT_EQ(f->mmoFilter2.Lines(), Lines{"DOM"});
  EXPECT_EQ(f->pgcFilter.ActivePageIndex(), 1);
}

TEST_F(DomainFilterPageTest, ReverseAndClear) {
  f->mmoFilter1.SetLines({"A.com", G("華.COM"), "c"});
  f->btn10.Click();
  EXPECT_EQ(f->mmoFilter3.Lines(), (Lines{"c", "\xC8\x41.com", "a.com"}));
  EXPECT_EQ(f->mmoFilter1.Lines(), (Lines{"A.com", G("華.COM"), "c"}));

  f->mmoFilter2.SetLines({"two"});
  f->edtFilterInPut.SetText("/some/file.txt");
  f->edtFilterOut.SetText("3");
  f->btn2.Click();
  EXPECT_EQ(f->mmoFilter1.LineCount(), 0);
  EXPECT_EQ(f->mmoFilter2.LineCount(), 0);
  EXPECT_EQ(f->mmoFilter3.LineCount(), 0);
  EXPECT_EQ(f->edtFilterInPut.Text(), "/some/file.txt");
  EXPECT_EQ(f->edtFilterOut.Text(), "3");
  EXPECT_EQ(f->mmoFilterKeyWord.Lines(), DefaultFilterKeyWordLines());
}

TEST_F(DomainFilterPageTest, FileButtonLoadsListOne) {
  TempDir dir;
  const std::string path = dir / "list.txt";
  Spit(path, "\xD6\xD0\xCE\xC4.com\r\nabc.net\n");  // 中文.com
  f->mmoFilter2.SetLines({"two"});
  dialogAnswer = path;
  f->btnFilterInPut.Click();
  ASSERT_EQ(dialogRequests.size(), 1u);
  EXPECT_EQ(dialogRequests[0].kind, FileDialogKind::Open);
  EXPECT_EQ(f->edtFilterInPut.Text(), path);
  EXPECT_EQ(f->mmoFilter1.Lines(), (Lines{"\xD6\xD0\xCE\xC4.com", "abc.net"}));
  EXPECT_EQ(f->mmoFilter2.Lines(), Lines{"two"});

  // Cancel changes nothing.
  dialogAnswer.reset();
  f->btnFilterInPut.Click();
  EXPECT_EQ(f->edtFilterInPut.Text(), path);
  EXPECT_EQ(f->mmoFilter1.LineCount(), 2);

  // A file that cannot be opened: the box shows its error, the edit shows
  // the chosen name and list 1 keeps its lines.
  const std::string missing = dir / "missing.txt";
  dialogAnswer = missing;
  f->btnFilterInPut.Click();
  ASSERT_EQ(boxMessages, (Lines{"Cannot open file " + missing}));
  EXPECT_EQ(f->edtFilterInPut.Text(), missing);
  EXPECT_EQ(f->mmoFilter1.LineCount(), 2);
}

}  // namespace
}  // namespace orlu
