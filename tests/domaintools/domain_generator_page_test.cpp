// The domain generation page of the real main window under the offscreen
// platform.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "app/program_windows.h"
#include "domaintools/domain_generator.h"
#include "support/temp_files.h"

namespace orlu {
namespace {

using Lines = std::vector<std::string>;
using testing::ProgramWindowTest;
using test::Spit;
using test::TempDir;

Lines Concat(std::initializer_list<Lines> parts) {
  Lines all;
  for (const auto& p : parts) all.insert(all.end(), p.begin(), p.end());
  return all;
}

class DomainCreatePageTest : public ProgramWindowTest {
 protected:
  void SetUp() override {
    ProgramWindowTest::SetUp();
    if (HasFatalFailure()) return;
    f = &FormMain->DomainGeneratorPage;
    FormMain->ShowPage(kPageDomainCreate);
    f->mmoDomainCreate1.Clear();
    f->mmoDomainCreate2.Clear();
    f->mmoDomainCreate3.Clear();
    f->chkCreateFan.SetChecked(false);
    f->pgcDomainCreate.SetActivePageIndex(0);
    for (CheckBox* box : TypoBoxes()) box->SetChecked(false);
    const auto boxes = SuffixBoxes();
    for (int k = 0; k < kSuffixCount; ++k) boxes[k]->SetChecked(kSuffixTable[k].tickedByDefault);
  }

  std::vector<CheckBox*> TypoBoxes() {
    return {&f->chkTypoLack1Letter,  &f->chkTypoNtoM,         &f->chkTypoMtoN,
            &f->chkTypoLack2Letter,  &f->chkTypoDoubleLetter, &f->chkTypoxxxcom_cn};
  }
  std::vector<CheckBox*> SuffixBoxes() {
    return {&f->chkDcn,  &f->chkDcomcn, &f->chkDnetcn, &f->chkDorgcn, &f->chkDgovcn,
            &f->chkDcom, &f->chkDnet,   &f->chkDorg,   &f->chkDbiz,   &f->chkDinfo,
            &f->chkDtv,  &f->chkDmobi,  &f->chkDname,  &f->chkDcc};
  }

  // Runs the TYPO button with exactly the given modes ticked.
  Lines Typo(const Lines& source, std::initializer_list<int> modes) {
    f->mmoDomainCreate1.SetLines(source);
    f->mmoDomainCreate3.Clear();
    auto boxes = TypoBoxes();
    for (CheckBox* box : boxes) box->SetChecked(false);
    for (int m : modes) boxes[m]->SetChecked(true);
    f->btnTypoStart.Click();
    return f->mmoDomainCreate3.Lines();
  }

  TDomainGeneratorPage* f = nullptr;
};

TEST_F(DomainCreatePageTest, FillButtonsAppendAndClearButtonsEmpty) {
  const Lines letters = LetterLines(), digits = DigitLines();
  f->btn3.Click();
  f->btn3.Click();
  EXPECT_EQ(f->mmoDomainCreate1.Lines(), Concat({letters, letters}));

  // Typed lines stay; the fill goes after them.
  f->mmoDomainCreate2.SetText("typed\r\nlast");
  f->btn15.Click();
  f->btn6.Click();
  EXPECT_EQ(f->mmoDomainCreate2.Lines(), Concat({{"typed", "last"}, digits, letters}));
  f->btn16.Click();
  EXPECT_EQ(f->mmoDomainCreate1.Lines(), Concat({letters, letters, digits}));

  f->mmoDomainCreate3.SetLines({"r"});
  f->btn4.Click();
  EXPECT_TRUE(f->mmoDomainCreate1.Lines().empty());
  EXPECT_EQ(f->mmoDomainCreate2.LineCount(), 2 + 10 + 26);
  f->btn7.Click();
  EXPECT_TRUE(f->mmoDomainCreate2.Lines().empty());
  EXPECT_EQ(f->mmoDomainCreate3.Lines(), Lines{"r"});
  f->btn9.Click();
  EXPECT_TRUE(f->mmoDomainCreate3.Lines().empty());
}

TEST_F(DomainCreatePageTest, JoinAppendsEveryOuterLineWithEveryInnerLineAsTheyAre) {
  f->mmoDomainCreate1.SetLines({"a", "b"});
  f->mmoDomainCreate2.SetLines({"1", "2"});
  f->mmoDomainCreate3.SetLines({"before"});
  f->btnDomainCreateStart.Click();
  EXPECT_EQ(f->mmoDomainCreate3.Lines(), (Lines{"before", "a1", "a2", "b1", "b2"}));

  f->chkCreateFan.Click();  // "反": list 2 is the outer list
  ASSERT_TRUE(f->chkCreateFan.Checked());
  f->btn9.Click();
  f->btnDomainCreateStart.Click();
  EXPECT_EQ(f->mmoDomainCreate3.Lines(), (Lines{"1a", "1b", "2a", "2b"}));
  // The sources are read, never changed.
  EXPECT_EQ(f->mmoDomainCreate1.Lines(), (Lines{"a", "b"}));
  EXPECT_EQ(f->mmoDomainCreate2.Lines(), (Lines{"1", "2"}));

}

TEST_F(DomainCreatePageTest, EachTypoBoxRunsItsModeGroupedByModeThenLineThenPosition) {
  // The variants themselves are the generator's; here each box must pick its
  // own mode, and box order decides, not the order they were ticked in.
  EXPECT_EQ(Typo({"nm.com", " Ab.CN ", "dog.com.cn"}, {5, 4, 3, 2, 1, 0}),
            (Lines{"m.com", "n.com", "b.cn", "a.cn", "og.com.cn", "dg.com.cn", "do.com.cn",  // 0
                   "mm.com", "nn.com", "g.com.cn",                                        // 1, 2, 3
                   "nnm.com", "nmm.com", "aab.cn", "abb.cn", "ddog.com.cn", "doog.com.cn",
                   "dogg.com.cn",  // 4
                   "dogcom.cn"}));  // 5

  // The run appends to the result list.
  f->mmoDomainCreate1.SetLines({"ab.cn"});
  f->mmoDomainCreate3.SetLines({"kept"});
  f->btnTypoStart.Click();
  EXPECT_EQ(f->mmoDomainCreate3.Lines().front(), "kept");
}

TEST_F(DomainCreatePageTest, TypoSourceIsTheListInFront) {
  f->mmoDomainCreate1.SetLines({"one.com"});
  f->mmoDomainCreate2.SetLines({"two.com"});
  f->chkTypoLack2Letter.SetChecked(true);
  f->btnTypoStart.Click();
  f->pgcDomainCreate.SetActivePage(f->ts4);
  f->btnTypoStart.Click();
  f->pgcDomainCreate.SetActivePageIndex(0);
  f->btnTypoStart.Click();
  EXPECT_EQ(f->mmoDomainCreate3.Lines(), (Lines{"e.com", "o.com", "e.com"}));
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
  EXPECT_EQ(f->mmoDomainCreate3.Lines(), (Lines{"Dog", "cat"}));

  // Only ".cn": nothing is stripped from the name first.
  FormMain->ShowPage(kPageDomainCreate);
  for (CheckBox* box : SuffixBoxes()) box->SetChecked(false);
  f->chkDcn.Click();
  f->mmoDomainCreate3.SetLines({" Dog.com "});
  f->btnOtherDomainCreate.Click();
  EXPECT_EQ(whois->Lines(), Lines{"dog.com.cn"});

  // The all-suffix button ignores the boxes.
  FormMain->ShowPage(kPageDomainCreate);
  f->mmoDomainCreate3.SetLines({"a"});
  f->btnAllDomainCreate.Click();
  EXPECT_EQ(whois->LineCount(), kSuffixCount);
  EXPECT_EQ(whois->Lines().back(), "a.cc");
  EXPECT_EQ(FormMain->pgcMain.ActivePageIndex(), kPageWhois);

  // An empty result list empties the WHOIS list, without a message.
  for (Button* button : {&f->btnOtherDomainCreate, &f->btnAllDomainCreate}) {
    whois->SetLines({"old.com"});
    FormMain->ShowPage(kPageDomainCreate);
    f->mmoDomainCreate3.Clear();
    button->Click();
    EXPECT_TRUE(whois->Lines().empty());
    EXPECT_EQ(FormMain->pgcMain.ActivePageIndex(), kPageWhois);
  }
  EXPECT_TRUE(test::MessageBoxTexts().empty());
}

TEST_F(DomainCreatePageTest, RunsAboveTheLimitsAreRefusedAndChangeNothing) {
  // A join of 5,000 names of 300 letters with 1,000 lines "b": 1.5 GB.
  const Lines big1(5000, std::string(300, 'a')), big2(1000, "b");
  f->mmoDomainCreate1.SetLines(big1);
  f->mmoDomainCreate2.SetLines(big2);
  f->mmoDomainCreate3.SetLines({"kept.com"});
  f->btnDomainCreateStart.Click();
  EXPECT_EQ(test::MessageBoxTexts(), Lines{TooLargeMessage(OutputSize{5'000'000, 5'000'000LL * 302})});
  EXPECT_EQ(f->mmoDomainCreate3.Lines(), Lines{"kept.com"});
  EXPECT_EQ(f->mmoDomainCreate1.Lines(), big1);
  EXPECT_EQ(f->mmoDomainCreate2.Lines(), big2);
  EXPECT_TRUE(boxMessages.empty());
  EXPECT_EQ(FormMain->pgcMain.ActivePageIndex(), kPageDomainCreate);

  // One long name, refused before it is built: in modes 0 and 4 it gives
  // 28,000 variants of about 28,000 bytes each, 0.8 GB per mode, 1.6 GB in all.
  test::MessageBoxTexts().clear();
  f->mmoDomainCreate2.SetLines({std::string(28'000, 'q') + ".com"});
  f->pgcDomainCreate.SetActivePage(f->ts4);
  for (CheckBox* box : TypoBoxes()) box->SetChecked(false);
  f->chkTypoLack1Letter.SetChecked(true);
  f->chkTypoDoubleLetter.SetChecked(true);
  f->btnTypoStart.Click();
  EXPECT_EQ(test::MessageBoxTexts(),
            Lines{TooLargeMessage(OutputSize{56'000, 28'000LL * (28'003 + 1 + 28'005 + 1)})});
  EXPECT_EQ(f->mmoDomainCreate3.Lines(), Lines{"kept.com"});
}

TEST_F(DomainCreatePageTest, FileButtonsReplaceTheListFromAGbkFileOrShowTheError) {
  TempDir dir;
  const std::string path = dir / "names.txt";
  Spit(path, "\xD6\xD0\xCE\xC4.com\r\nabc.net\nx\ry\r\n");  // 中文.com
  f->mmoDomainCreate1.SetLines({"old1"});
  f->mmoDomainCreate2.SetLines({"old2"});

  dialogAnswer = path;
  f->btn1.Click();
  EXPECT_EQ(f->mmoDomainCreate1.Lines(), (Lines{"\xD6\xD0\xCE\xC4.com", "abc.net", "x", "y"}));
  EXPECT_EQ(f->mmoDomainCreate2.Lines(), Lines{"old2"});
  Spit(path, "two.com\r\n");
  f->btn5.Click();
  EXPECT_EQ(f->mmoDomainCreate2.Lines(), Lines{"two.com"});

  // A file that cannot be opened: the error, the list kept.
  const std::string missing = dir / "missing.txt";
  dialogAnswer = missing;
  f->btn1.Click();
  ASSERT_EQ(boxMessages, Lines{"Cannot open file " + missing});
  EXPECT_EQ(f->mmoDomainCreate1.Lines(), (Lines{"\xD6\xD0\xCE\xC4.com", "abc.net", "x", "y"}));
}

}  // namespace
}  // namespace orlu
