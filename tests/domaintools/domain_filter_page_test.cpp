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

class DomainFilterPageTest : public ProgramWindowTest {
 protected:
  void SetUp() override {
    ProgramWindowTest::SetUp();
    if (HasFatalFailure()) return;
    f = &FormMain->DomainFilterPage;
    FormMain->ShowPage(kPageDomainFilter);
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

  TDomainFilterPage* f = nullptr;
};

// "过滤出域名" and "去冗余" rewrite the list in front into list 2 and the
// output, bring list 2 to the front and show the count.
TEST_F(DomainFilterPageTest, RewritesOfTheListInFrontGoToListTwoAndTheOutput) {
  f->mmoFilter1.SetLines({G("域名 WWW.Dom.com 已到期"), "no domain", G("联系：a.cn/x"),
                          G("花園.com")});
  f->btnFilterOutDomain.Click();
  const Lines expected = {"dom.com", "a.cn", G("花園.com")};
  EXPECT_EQ(f->mmoFilter2.Lines(), expected);
  EXPECT_EQ(f->mmoFilter3.Lines(), expected);
  EXPECT_EQ(f->edtFilterOut.Text(), "3");
  EXPECT_EQ(f->pgcFilter.ActivePageIndex(), 1);
  EXPECT_EQ(f->mmoFilter1.LineCount(), 4);

  // List 2 in front: it is rewritten from its own lines; the tab stays.
  f->mmoFilter2.SetLines({"x.net", "x.net", "y.net", "x.net"});
  f->btnFilterRet.Click();
  EXPECT_EQ(f->mmoFilter2.Lines(), (Lines{"x.net", "y.net"}));
  EXPECT_EQ(f->mmoFilter3.Lines(), (Lines{"x.net", "y.net"}));
  EXPECT_EQ(f->edtFilterOut.Text(), "2");
  EXPECT_EQ(f->pgcFilter.ActivePageIndex(), 1);
  EXPECT_EQ(f->mmoFilter1.LineCount(), 4);

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
