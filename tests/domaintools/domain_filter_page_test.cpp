// The domain filter page (offscreen): which list each button reads and writes. What the
// rewrites do to the lines is the filter's own test.
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
    f->chkFilterNet.SetChecked(true);  // the other boxes keep the page's defaults
    f->rbFilterAllDomain.SetChecked(true);
    f->mmoFilterKeyWord.SetLines(DefaultFilterKeyWordLines());
  }

  TDomainFilterPage* f = nullptr;
};

// "过滤出域名" and "去冗余": the list in front to list 2 and the output, list 2 in front, a count.
TEST_F(DomainFilterPageTest, RewritesOfTheListInFrontGoToListTwoAndTheOutput) {
  f->mmoFilter1.SetLines({Gbk("域名 WWW.Dom.com 已到期"), "no domain", "a.cn/x"});
  f->btnFilterOutDomain.Click();
  EXPECT_EQ(f->mmoFilter2.Lines(), (Lines{"dom.com", "a.cn"}));
  EXPECT_EQ(f->mmoFilter3.Lines(), (Lines{"dom.com", "a.cn"}));
  EXPECT_EQ(f->edtFilterOut.Text(), "2");
  EXPECT_EQ(f->pgcFilter.ActivePageIndex(), 1);
  EXPECT_EQ(f->mmoFilter1.LineCount(), 3);

  f->mmoFilter2.SetLines({"x.net", "x.net", "y.net", "x.net"});
  f->btnFilterRet.Click();
  EXPECT_EQ(f->mmoFilter2.Lines(), (Lines{"x.net", "y.net"}));
  EXPECT_EQ(f->mmoFilter3.Lines(), (Lines{"x.net", "y.net"}));
  EXPECT_EQ(f->edtFilterOut.Text(), "2");
}

TEST_F(DomainFilterPageTest, OtherButtonsLeaveTheTabAndListOne) {
  f->mmoFilter1.SetLines({"ab.net", "abcdef.org", "123.com"});
  f->mmoFilter2.SetLines({"AB"});
  // List comparison, reverse and the suffix filter write only the output.
  f->btn8.Click();
  EXPECT_EQ(f->mmoFilter3.Lines(), (Lines{"abcdef.org", "123.com"}));
  f->btn10.Click();
  EXPECT_EQ(f->mmoFilter3.Lines(), (Lines{"123.com", "abcdef.org", "ab.net"}));
  // The suffix filter reads the boxes, the pattern buttons and the rule memo.
  f->chkFilterNet.SetChecked(false);
  f->btnFilterDownDomian.Click();
  EXPECT_EQ(f->mmoFilter3.Lines(), (Lines{"abcdef.org", "123.com"}));
  f->rbFilterThreeNum.Click();
  f->btnFilterDownDomian.Click();
  EXPECT_EQ(f->mmoFilter3.Lines(), Lines{"123.com"});
  f->mmoFilterKeyWord.SetLines({Gbk("def|后")});
  f->rbFilterCmpKey.Click();
  f->btnFilterDownDomian.Click();
  EXPECT_EQ(f->mmoFilter3.Lines(), Lines{"abcdef.org"});
  EXPECT_EQ(f->edtFilterOut.Text(), "1");
  EXPECT_EQ(f->mmoFilter2.Lines(), Lines{"AB"});

  // Length and names write list 2 as well, without a count.
  f->edtFilterOut.SetText("");
  f->edtDomainFilterLongUp.SetText("2");
  f->edtDomainFilterLongDown.SetText("3");
  f->btnFilterLong.Click();
  EXPECT_EQ(f->mmoFilter2.Lines(), (Lines{"ab.net", "123.com"}));
  EXPECT_EQ(f->mmoFilter3.Lines(), (Lines{"ab.net", "123.com"}));
  f->btnFilterGetUp.Click();
  EXPECT_EQ(f->mmoFilter2.Lines(), (Lines{"ab", "abcdef", "123"}));
  EXPECT_EQ(f->mmoFilter3.Lines(), (Lines{"ab", "abcdef", "123"}));
  EXPECT_EQ(f->edtFilterOut.Text(), "");

  EXPECT_EQ(f->mmoFilter1.Lines(), (Lines{"ab.net", "abcdef.org", "123.com"}));
  EXPECT_EQ(f->pgcFilter.ActivePageIndex(), 0);
  EXPECT_TRUE(boxMessages.empty());
}

// Each suffix box, ticked alone, lets through its own suffix and no other.
TEST_F(DomainFilterPageTest, EachSuffixBoxReachesTheFilter) {
  const Lines list = {"a.cn",  "b.com.cn", "c.net.cn", "d.org.cn",
                      "e.com", "f.net",    "g.org",    "h.bj.cn"};
  CheckBox* const boxes[] = {&f->chkFilterCn,  &f->chkFilterComCn, &f->chkFilterNetCn,
                             &f->chkFilterOrgCn, &f->chkFilterCom, &f->chkFilterNet,
                             &f->chkFilterOrg, &f->chkFilterDQ};
  f->mmoFilter1.SetLines(list);
  for (size_t k = 0; k < list.size(); ++k) {
    for (size_t b = 0; b < std::size(boxes); ++b) boxes[b]->SetChecked(b == k);
    f->btnFilterDownDomian.Click();
    EXPECT_EQ(f->mmoFilter3.Lines(), Lines{list[k]}) << list[k];
  }
}

TEST_F(DomainFilterPageTest, ABoundThatIsNoNumberChangesNothing) {
  f->mmoFilter1.SetLines({"ab.net"});
  f->mmoFilter3.SetLines({"kept3"});
  f->edtDomainFilterLongDown.SetText("x9");
  f->btnFilterLong.Click();
  ASSERT_EQ(boxMessages, (Lines{Gbk("“x9”不是有效的整数")}));
  EXPECT_EQ(f->mmoFilter3.Lines(), Lines{"kept3"});
}

TEST_F(DomainFilterPageTest, FileButtonLoadsListOneAndClearEmptiesTheLists) {
  test::TempDir dir;
  dialogAnswer = dir / "list.txt";
  test::Spit(*dialogAnswer, "one.com\r\nabc.net\n");
  f->btnFilterInPut.Click();
  EXPECT_EQ(f->edtFilterInPut.Text(), *dialogAnswer);

  // A file that cannot be opened: its error, list 1 kept.
  dialogAnswer = dir / "missing.txt";
  f->btnFilterInPut.Click();
  ASSERT_EQ(boxMessages, (Lines{"Cannot open file " + *dialogAnswer}));
  EXPECT_EQ(f->mmoFilter1.Lines(), (Lines{"one.com", "abc.net"}));

  f->mmoFilter2.SetLines({"two"});
  f->mmoFilter3.SetLines({"three"});
  f->btn2.Click();
  EXPECT_EQ(f->mmoFilter1.LineCount() + f->mmoFilter2.LineCount() + f->mmoFilter3.LineCount(), 0);
  EXPECT_EQ(f->mmoFilterKeyWord.Lines(), DefaultFilterKeyWordLines());
}

}  // namespace
}  // namespace orlu
