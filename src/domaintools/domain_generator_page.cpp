#include "domaintools/domain_generator_page.h"

#include <array>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "domaintools/domain_generator.h"
#include "pages/page_host.h"
#include "pages/page_layout.h"
#include "platform/text/gbk.h"
#include "platform/text/string_list.h"
#include "platform/ui/import_lines.h"

namespace orlu {

namespace {

// True when an operation of this size may run; otherwise says why not.
bool WithinLimit(const OutputSize& size) {
  if (WithinGeneratedLimits(size)) return true;
  ShowMessage(TooLargeMessage(size));
  return false;
}

// True when `added` more lines may go into the result list: the bound holds
// for the list as a whole, what it holds and what the run adds.
bool ResultListTakes(const Memo& list, const OutputSize& added) {
  return WithinLimit(SizeAfterAppend(list.LineCount(), static_cast<long long>(list.TextLength()),
                                     added));
}

// The suffix boxes in the order of the suffix table.
std::array<CheckBox*, kSuffixCount> SuffixBoxes(TDomainGeneratorPage& f) {
  return {&f.chkDcn,  &f.chkDcomcn, &f.chkDnetcn, &f.chkDorgcn, &f.chkDgovcn,
          &f.chkDcom, &f.chkDnet,   &f.chkDorg,   &f.chkDbiz,   &f.chkDinfo,
          &f.chkDtv,  &f.chkDmobi,  &f.chkDname,  &f.chkDcc};
}

}  // namespace

TDomainGeneratorPage::TDomainGeneratorPage(TabSheet& page, OpenDialog& openDialog)
    : page_(page), openDialog_(openDialog) {
  // Source lists on the left, the result list in the middle, the TYPO and
  // suffix controls on the right; fixed places in the window's design size.
  pgcDomainCreate.SetBounds(8, 8, 290, 512);
  ts3.SetCaption(Gbk("域名列表1"));
  ts4.SetCaption(Gbk("域名列表2"));
  mmoDomainCreate1.SetAccessibleName(Gbk("域名列表1"));
  mmoDomainCreate2.SetAccessibleName(Gbk("域名列表2"));
  pgcDomainCreate.SetActivePageIndex(0);

  // The four buttons above each source list.
  auto source = [this](Button& button, const char* caption, int left,
                       void (TDomainGeneratorPage::*handler)()) {
    button.SetCaption(Gbk(caption));
    button.SetBounds(left, 6, 64, 25);
    Bind(button, this, handler);
  };
  source(btn1, "文件", 6, &TDomainGeneratorPage::btn1Click);
  source(btn3, "26字母", 74, &TDomainGeneratorPage::btn3Click);
  source(btn16, "数字", 142, &TDomainGeneratorPage::btn16Click);
  source(btn4, "清空", 210, &TDomainGeneratorPage::btn4Click);
  source(btn5, "文件", 6, &TDomainGeneratorPage::btn5Click);
  source(btn6, "26字母", 74, &TDomainGeneratorPage::btn6Click);
  source(btn15, "数字", 142, &TDomainGeneratorPage::btn15Click);
  source(btn7, "清空", 210, &TDomainGeneratorPage::btn7Click);
  for (Memo* list : {&mmoDomainCreate1, &mmoDomainCreate2}) {
    list->SetBounds(6, 38, 272, 440);
    list->SetScrollBars(ScrollBars::Both);
  }

  chkCreateFan.SetCaption(Gbk("反"));
  chkCreateFan.SetBounds(310, 14, 40, 20);
  chkCreateFan.SetChecked(false);
  btnDomainCreateStart.SetCaption(Gbk("生成"));
  btnDomainCreateStart.SetBounds(356, 10, 70, 25);
  Bind(btnDomainCreateStart, this, &TDomainGeneratorPage::btnDomainCreateStartClick);
  btn9.SetCaption(Gbk("清空"));
  btn9.SetBounds(432, 10, 70, 25);
  Bind(btn9, this, &TDomainGeneratorPage::btn9Click);
  mmoDomainCreate3.SetBounds(310, 42, 270, 478);
  mmoDomainCreate3.SetAccessibleName(Gbk("生成结果"));
  mmoDomainCreate3.SetScrollBars(ScrollBars::Both);

  pgcDomainCreatePara.SetBounds(592, 8, 300, 512);
  ts9.SetCaption("TYPO");
  ts11.SetCaption(Gbk("后缀"));
  pgcDomainCreatePara.SetActivePageIndex(0);

  struct BoxDef {
    CheckBox& box;
    const char* caption;
  };
  const BoxDef typo[] = {{chkTypoLack1Letter, "缺一字母"},  {chkTypoNtoM, "M替换N"},
                         {chkTypoMtoN, "N替换M"},           {chkTypoLack2Letter, "去掉头两字母"},
                         {chkTypoDoubleLetter, "双字母"},   {chkTypoxxxcom_cn, "xxxcom.cn"}};
  int y = 12;
  for (const auto& b : typo) {
    b.box.SetCaption(Gbk(b.caption));
    b.box.SetBounds(16, y, 160, 20);
    b.box.SetChecked(false);
    y += 28;
  }
  btnTypoStart.SetCaption("TYPO");
  btnTypoStart.SetBounds(16, y + 8, 100, 25);
  Bind(btnTypoStart, this, &TDomainGeneratorPage::btnTypoStartClick);

  // The suffix boxes in the expansion's order, two columns.
  const auto boxes = SuffixBoxes(*this);
  for (int k = 0; k < kSuffixCount; ++k) {
    CheckBox& box = *boxes[k];
    box.SetCaption(kSuffixTable[k].suffix);
    box.SetChecked(kSuffixTable[k].tickedByDefault);
    box.SetBounds(16 + (k / 7) * 130, 12 + (k % 7) * 28, 120, 20);
  }
  btnOtherDomainCreate.SetCaption(Gbk("生成后缀Whois查询"));
  btnOtherDomainCreate.SetBounds(16, 220, 200, 25);
  Bind(btnOtherDomainCreate, this, &TDomainGeneratorPage::btnOtherDomainCreateClick);
  btnAllDomainCreate.SetCaption(Gbk("生成所有后缀Whois查询"));
  btnAllDomainCreate.SetBounds(16, 252, 200, 25);
  Bind(btnAllDomainCreate, this, &TDomainGeneratorPage::btnAllDomainCreateClick);
}

// --- Source lists ---

void TDomainGeneratorPage::btn1Click() { ImportLines(openDialog_, mmoDomainCreate1); }
void TDomainGeneratorPage::btn5Click() { ImportLines(openDialog_, mmoDomainCreate2); }
void TDomainGeneratorPage::btn3Click() { mmoDomainCreate1.AddLines(LetterLines()); }
void TDomainGeneratorPage::btn6Click() { mmoDomainCreate2.AddLines(LetterLines()); }
void TDomainGeneratorPage::btn16Click() { mmoDomainCreate1.AddLines(DigitLines()); }
void TDomainGeneratorPage::btn15Click() { mmoDomainCreate2.AddLines(DigitLines()); }
void TDomainGeneratorPage::btn4Click() { mmoDomainCreate1.Clear(); }
void TDomainGeneratorPage::btn7Click() { mmoDomainCreate2.Clear(); }
void TDomainGeneratorPage::btn9Click() { mmoDomainCreate3.Clear(); }

// --- Join and TYPO into the result list ---

void TDomainGeneratorPage::btnDomainCreateStartClick() {
  const bool swapped = chkCreateFan.Checked();
  const std::vector<std::string> list1 = mmoDomainCreate1.Lines();
  const std::vector<std::string> list2 = mmoDomainCreate2.Lines();
  const auto& outer = swapped ? list2 : list1;
  const auto& inner = swapped ? list1 : list2;
  const OutputSize size = SizeOfJoin(outer, inner);
  if (size.lines == 0 || !ResultListTakes(mmoDomainCreate3, size)) return;
  std::vector<std::string> added;
  JoinLists(outer, inner, added);
  mmoDomainCreate3.AddLines(std::move(added));
}

void TDomainGeneratorPage::btnTypoStartClick() {
  const CheckBox* modes[] = {&chkTypoLack1Letter,  &chkTypoNtoM,         &chkTypoMtoN,
                             &chkTypoLack2Letter,  &chkTypoDoubleLetter, &chkTypoxxxcom_cn};
  Memo& sourceMemo =
      pgcDomainCreate.ActivePageIndex() == 0 ? mmoDomainCreate1 : mmoDomainCreate2;
  const StringList source(sourceMemo.Lines());
  OutputSize size;
  for (std::uint8_t mode = 0; mode < 6; ++mode)
    if (modes[mode]->Checked()) size += SizeOfTypoDomains(source, mode);
  if (size.lines == 0 || !ResultListTakes(mmoDomainCreate3, size)) return;
  StringList added;
  for (std::uint8_t mode = 0; mode < 6; ++mode)
    if (modes[mode]->Checked()) MakeTypoDomains(source, added, mode);
  mmoDomainCreate3.AddLines(std::move(added.Lines()));
}

// --- Suffix expansion into the WHOIS page ---

namespace {

// Replaces the WHOIS page's domain list with the names of the result list
// followed by the chosen suffixes, in one call, and shows that page.
void ExpandIntoWhoisList(TDomainGeneratorPage& f, bool allSuffixes) {
  std::array<bool, kSuffixCount> selected{};
  const auto boxes = SuffixBoxes(f);
  for (int k = 0; k < kSuffixCount; ++k) selected[k] = allSuffixes || boxes[k]->Checked();
  const std::vector<std::string> names = f.mmoDomainCreate3.Lines();
  if (!WithinLimit(SizeOfExpansion(names, selected))) return;
  MainPageHost->ShowWhoisDomains(ExpandWithSuffixes(names, selected));
}

}  // namespace

void TDomainGeneratorPage::btnOtherDomainCreateClick() { ExpandIntoWhoisList(*this, false); }
void TDomainGeneratorPage::btnAllDomainCreateClick() { ExpandIntoWhoisList(*this, true); }

}  // namespace orlu
