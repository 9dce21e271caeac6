// The domain generation page (offscreen): which lists each button reads and writes. The
// variants and joins themselves are the generator's own test.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/program_windows.h"
#include "domaintools/domain_generator.h"
#include "support/temp_files.h"

namespace orlu {
namespace {

using Lines = std::vector<std::string>;
using testing::ProgramWindowTest;

class DomainCreatePageTest : public ProgramWindowTest {
 protected:
  void SetUp() override {
    ProgramWindowTest::SetUp();
    if (HasFatalFailure()) return;
    f = &FormMain->DomainGeneratorPage;
    FormMain->ShowPage(kPageDomainCreate);
    for (Memo* list : {&f->mmoDomainCreate1, &f->mmoDomainCreate2, &f->mmoDomainCreate3})
      list->Clear();
    f->chkCreateFan.SetChecked(false);
    f->pgcDomainCreate.SetActivePageIndex(0);
    boxes = {&f->chkTypoLack1Letter, &f->chkTypoNtoM,         &f->chkTypoMtoN,
             &f->chkTypoLack2Letter, &f->chkTypoDoubleLetter, &f->chkTypoxxxcom_cn};
    for (CheckBox* box : boxes) box->SetChecked(false);
  }

  TDomainGeneratorPage* f = nullptr;
  std::vector<CheckBox*> boxes;  // the typo boxes in mode order
};

TEST_F(DomainCreatePageTest, FillButtonsAppendAndClearButtonsEmpty) {
  const Lines letters = LetterLines(), digits = DigitLines();
  auto join = [](Lines a, const Lines& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
  };
  f->mmoDomainCreate2.SetText("typed");
  for (Button* b : {&f->btn3, &f->btn16, &f->btn15, &f->btn6}) b->Click();
  EXPECT_EQ(f->mmoDomainCreate1.Lines(), join(letters, digits));
  EXPECT_EQ(f->mmoDomainCreate2.Lines(), join(join({"typed"}, digits), letters));

  f->mmoDomainCreate3.SetLines({"r"});
  f->btn4.Click();
  EXPECT_EQ(f->mmoDomainCreate1.LineCount(), 0);
  EXPECT_EQ(f->mmoDomainCreate2.LineCount(), 1 + 10 + 26);
  f->btn7.Click();
  EXPECT_EQ(f->mmoDomainCreate2.LineCount(), 0);
  EXPECT_EQ(f->mmoDomainCreate3.Lines(), Lines{"r"});
  f->btn9.Click();
  EXPECT_EQ(f->mmoDomainCreate3.LineCount(), 0);
}

TEST_F(DomainCreatePageTest, JoinAppendsAndTheReverseBoxMakesListTwoTheOuterList) {
  f->mmoDomainCreate1.SetLines({"a", "b"});
  f->mmoDomainCreate2.SetLines({"1", "2"});
  f->mmoDomainCreate3.SetLines({"before"});
  f->btnDomainCreateStart.Click();
  EXPECT_EQ(f->mmoDomainCreate3.Lines(), (Lines{"before", "a1", "a2", "b1", "b2"}));
  f->chkCreateFan.Click();
  f->btn9.Click();
  f->btnDomainCreateStart.Click();
  EXPECT_EQ(f->mmoDomainCreate3.Lines(), (Lines{"1a", "1b", "2a", "2b"}));
}

TEST_F(DomainCreatePageTest, EachTypoBoxRunsItsModeGroupedByModeThenLine) {
  // Box order decides, not the order they were ticked in.
  f->mmoDomainCreate1.SetLines({"nm.com", " Ab.CN ", "dog.com.cn"});
  for (int m = 5; m >= 0; --m) boxes[m]->SetChecked(true);
  f->btnTypoStart.Click();
  EXPECT_EQ(f->mmoDomainCreate3.Lines(),
            (Lines{"m.com", "n.com", "b.cn", "a.cn", "og.com.cn", "dg.com.cn", "do.com.cn",  // 0
                   "mm.com", "nn.com", "g.com.cn",                                        // 1, 2, 3
                   "nnm.com", "nmm.com", "aab.cn", "abb.cn", "ddog.com.cn", "doog.com.cn",
                   "dogg.com.cn",  // 4
                   "dogcom.cn"}));  // 5
}

// Ticked alone, each box runs its own mode and no other.
TEST_F(DomainCreatePageTest, EachTypoBoxAloneRunsItsOwnMode) {
  f->mmoDomainCreate1.SetLines({"nm.com", "dog.com.cn"});
  const Lines alone[] = {{"m.com", "n.com", "og.com.cn", "dg.com.cn", "do.com.cn"},
                         {"mm.com"},
                         {"nn.com"},
                         {"g.com.cn"},
                         {"nnm.com", "nmm.com", "ddog.com.cn", "doog.com.cn", "dogg.com.cn"},
                         {"dogcom.cn"}};
  for (size_t m = 0; m < boxes.size(); ++m) {
    for (size_t b = 0; b < boxes.size(); ++b) boxes[b]->SetChecked(b == m);
    f->btn9.Click();
    f->btnTypoStart.Click();
    EXPECT_EQ(f->mmoDomainCreate3.Lines(), alone[m]) << m;
  }
}

TEST_F(DomainCreatePageTest, TypoSourceIsTheListInFrontAndTheRunAppends) {
  f->mmoDomainCreate1.SetLines({"one.com"});
  f->mmoDomainCreate2.SetLines({"two.com"});
  f->chkTypoLack2Letter.SetChecked(true);
  f->btnTypoStart.Click();
  f->pgcDomainCreate.SetActivePage(f->ts4);
  f->btnTypoStart.Click();
  EXPECT_EQ(f->mmoDomainCreate3.Lines(), (Lines{"e.com", "o.com"}));
}

TEST_F(DomainCreatePageTest, ExpansionReplacesTheWhoisListInOneCallAndShowsItsPage) {
  Memo* whois = &FormMain->WhoisPage.mmoWhoisDomain;
  whois->SetLines({"old.com", "older.com"});
  int changes = 0;
  auto saved = whois->OnChange;
  whois->OnChange = [&changes] { ++changes; };
  f->mmoDomainCreate3.SetLines({"Dog", "cat"});
  f->btnOtherDomainCreate.Click();
  whois->OnChange = saved;
  EXPECT_EQ(whois->Lines(), (Lines{"dog.cn", "dog.com.cn", "dog.com", "dog.net", "cat.cn",
                                   "cat.com.cn", "cat.com", "cat.net"}));
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(FormMain->pgcMain.ActivePageIndex(), kPageWhois);

  // The all-suffix button ignores the boxes.
  FormMain->ShowPage(kPageDomainCreate);
  f->mmoDomainCreate3.SetLines({"a"});
  f->btnAllDomainCreate.Click();
  EXPECT_EQ(whois->LineCount(), kSuffixCount);
  EXPECT_EQ(FormMain->pgcMain.ActivePageIndex(), kPageWhois);

  // An empty result list empties the WHOIS list.
  FormMain->ShowPage(kPageDomainCreate);
  f->mmoDomainCreate3.Clear();
  f->btnOtherDomainCreate.Click();
  EXPECT_TRUE(whois->Lines().empty());
}

TEST_F(DomainCreatePageTest, RunsAboveTheLimitsAreRefusedAndChangeNothing) {
  // A join of 5,000 names of 300 letters with 1,000 lines "b": 1.5 GB.
  f->mmoDomainCreate1.SetLines(Lines(5000, std::string(300, 'a')));
  f->mmoDomainCreate2.SetLines(Lines(1000, "b"));
  f->mmoDomainCreate3.SetLines({"kept.com"});
  f->btnDomainCreateStart.Click();
  // The list as a whole: the line it holds counts too.
  const std::string join = TooLargeMessage(OutputSize{5'000'001, 5'000'000LL * 302 + 9});
  EXPECT_EQ(test::MessageBoxTexts(), Lines{join});
  EXPECT_EQ(f->mmoDomainCreate3.Lines(), Lines{"kept.com"});

  // The ticked modes add up: modes 0 and 4 give 0.8 GB each for one long name.
  f->mmoDomainCreate1.SetLines({std::string(28'000, 'q') + ".com"});
  f->chkTypoLack1Letter.SetChecked(true);
  f->chkTypoDoubleLetter.SetChecked(true);
  f->btnTypoStart.Click();
  EXPECT_EQ(test::MessageBoxTexts(),
            (Lines{join, TooLargeMessage({56'001, 28'000LL * (28'003 + 1 + 28'005 + 1) + 9})}));
  EXPECT_EQ(f->mmoDomainCreate3.Lines(), Lines{"kept.com"});
}

TEST_F(DomainCreatePageTest, FileButtonsReplaceTheListOrShowTheError) {
  test::TempDir dir;
  dialogAnswer = dir / "names.txt";
  test::Spit(*dialogAnswer, "one.com\r\nabc.net\n");
  f->mmoDomainCreate1.SetLines({"old1"});
  f->btn1.Click();
  test::Spit(*dialogAnswer, "two.com\r\n");
  f->btn5.Click();
  EXPECT_EQ(f->mmoDomainCreate2.Lines(), Lines{"two.com"});

  dialogAnswer = dir / "missing.txt";
  f->btn1.Click();
  ASSERT_EQ(boxMessages, Lines{"Cannot open file " + *dialogAnswer});
  EXPECT_EQ(f->mmoDomainCreate1.Lines(), (Lines{"one.com", "abc.net"}));
}

}  // namespace
}  // namespace orlu
