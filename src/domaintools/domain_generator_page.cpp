// Page 2 of the main window: two source lists, their join into a result
// list, TYPO variants of a source list and the expansion of the result list
// with suffixes into the domain list of the WHOIS page. Every operation runs
// to its end inside its click handler.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "app/main_form.h"
#include "domaintools/domain_generator.h"
#include "platform/text/gbk.h"
#include "platform/text/string_list.h"

namespace orlu {

namespace {

void AppendLines(Memo& memo, const std::vector<std::string>& more) {
  std::vector<std::string> lines = memo.Lines();
  lines.insert(lines.end(), more.begin(), more.end());
  memo.SetLines(lines);
}

// Loads a file chosen in the shared open dialog into `memo`. The file is read
// whole first, so a file that cannot be opened raises its error and leaves
// the memo as it was.
void LoadIntoMemo(OpenDialog& dialog, Memo& memo) {
  if (!dialog.Execute()) return;
  StringList file;
  file.LoadFromFile(dialog.FileName());
  memo.SetLines(file.Lines());
}

// True when an operation of this size may run; otherwise says why not.
bool WithinLimit(const OutputSize& size) {
  if (WithinGeneratedLimits(size)) return true;
  ShowMessage(TooLargeMessage(size));
  return false;
}

// The suffix boxes in the order of the suffix table.
std::array<CheckBox*, kSuffixCount> SuffixBoxes(TFormMain& f) {
  return {&f.chkDcn,  &f.chkDcomcn, &f.chkDnetcn, &f.chkDorgcn, &f.chkDgovcn,
          &f.chkDcom, &f.chkDnet,   &f.chkDorg,   &f.chkDbiz,   &f.chkDinfo,
          &f.chkDtv,  &f.chkDmobi,  &f.chkDname,  &f.chkDcc};
}

}  // namespace

void TFormMain::BuildDomainCreatePage() {
  // Source lists on the left, the result list in the middle, the TYPO and
  // suffix controls on the right; fixed places in the window's design size.
  pgcDomainCreate.SetBounds(8, 8, 290, 512);
  ts3.SetCaption(Gbk("域名列表1"));
  ts4.SetCaption(Gbk("域名列表2"));
  pgcDomainCreate.SetActivePageIndex(0);

  struct SourceTab {
    Button& file;
    Button& letters;
    Button& digits;
    Button& clear;
    Memo& list;
    void (TFormMain::*fileClick)();
    void (TFormMain::*lettersClick)();
    void (TFormMain::*digitsClick)();
    void (TFormMain::*clearClick)();
  };
  const SourceTab tabs[] = {
      {btn1, btn3, btn16, btn4, mmoDomainCreate1, &TFormMain::btn1Click, &TFormMain::btn3Click,
       &TFormMain::btn16Click, &TFormMain::btn4Click},
      {btn5, btn6, btn15, btn7, mmoDomainCreate2, &TFormMain::btn5Click, &TFormMain::btn6Click,
       &TFormMain::btn15Click, &TFormMain::btn7Click},
  };
  for (const auto& t : tabs) {
    struct Def {
      Button& button;
      const char* caption;
      void (TFormMain::*handler)();
    };
    const Def buttons[] = {{t.file, "文件", t.fileClick},
                           {t.letters, "26字母", t.lettersClick},
                           {t.digits, "数字", t.digitsClick},
                           {t.clear, "清空", t.clearClick}};
    int x = 6;
    for (const auto& b : buttons) {
      b.button.SetCaption(Gbk(b.caption));
      b.button.SetBounds(x, 6, 64, 25);
      auto handler = b.handler;
      b.button.OnClick = [this, handler] { (this->*handler)(); };
      x += 68;
    }
    t.list.SetBounds(6, 38, 272, 440);
    t.list.SetScrollBars(ScrollBars::Both);
  }

  chkCreateFan.SetCaption(Gbk("反"));
  chkCreateFan.SetBounds(310, 14, 40, 20);
  chkCreateFan.SetChecked(false);
  btnDomainCreateStart.SetCaption(Gbk("生成"));
  btnDomainCreateStart.SetBounds(356, 10, 70, 25);
  btnDomainCreateStart.OnClick = [this] { btnDomainCreateStartClick(); };
  btn9.SetCaption(Gbk("清空"));
  btn9.SetBounds(432, 10, 70, 25);
  btn9.OnClick = [this] { btn9Click(); };
  mmoDomainCreate3.SetBounds(310, 42, 270, 478);
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
  btnTypoStart.OnClick = [this] { btnTypoStartClick(); };

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
  btnOtherDomainCreate.OnClick = [this] { btnOtherDomainCreateClick(); };
  btnAllDomainCreate.SetCaption(Gbk("生成所有后缀Whois查询"));
  btnAllDomainCreate.SetBounds(16, 252, 200, 25);
  btnAllDomainCreate.OnClick = [this] { btnAllDomainCreateClick(); };
}

// --- Source lists ---

void TFormMain::btn1Click() { LoadIntoMemo(dlgOpenInPut, mmoDomainCreate1); }
void TFormMain::btn5Click() { LoadIntoMemo(dlgOpenInPut, mmoDomainCreate2); }
void TFormMain::btn3Click() { AppendLines(mmoDomainCreate1, LetterLines()); }
void TFormMain::btn6Click() { AppendLines(mmoDomainCreate2, LetterLines()); }
void TFormMain::btn16Click() { AppendLines(mmoDomainCreate1, DigitLines()); }
void TFormMain::btn15Click() { AppendLines(mmoDomainCreate2, DigitLines()); }
void TFormMain::btn4Click() { mmoDomainCreate1.Clear(); }
void TFormMain::btn7Click() { mmoDomainCreate2.Clear(); }
void TFormMain::btn9Click() { mmoDomainCreate3.Clear(); }

// --- Join and TYPO into the result list ---

void TFormMain::btnDomainCreateStartClick() {
  const bool swapped = chkCreateFan.Checked();
  const std::vector<std::string> list1 = mmoDomainCreate1.Lines();
  const std::vector<std::string> list2 = mmoDomainCreate2.Lines();
  const auto& outer = swapped ? list2 : list1;
  const auto& inner = swapped ? list1 : list2;
  const OutputSize size = SizeOfJoin(outer, inner);
  if (size.lines == 0 || !WithinLimit(size)) return;
  std::vector<std::string> result = mmoDomainCreate3.Lines();
  JoinLists(outer, inner, result);
  mmoDomainCreate3.SetLines(result);
}

void TFormMain::btnTypoStartClick() {
  const CheckBox* modes[] = {&chkTypoLack1Letter,  &chkTypoNtoM,         &chkTypoMtoN,
                             &chkTypoLack2Letter,  &chkTypoDoubleLetter, &chkTypoxxxcom_cn};
  Memo& sourceMemo =
      pgcDomainCreate.ActivePageIndex() == 0 ? mmoDomainCreate1 : mmoDomainCreate2;
  const StringList source(sourceMemo.Lines());
  OutputSize size;
  for (std::uint8_t mode = 0; mode < 6; ++mode)
    if (modes[mode]->Checked()) size += SizeOfTypoDomains(source, mode);
  if (size.lines == 0 || !WithinLimit(size)) return;
  StringList result(mmoDomainCreate3.Lines());
  for (std::uint8_t mode = 0; mode < 6; ++mode)
    if (modes[mode]->Checked()) MakeTypoDomains(source, result, mode);
  mmoDomainCreate3.SetLines(result.Lines());
}

// --- Suffix expansion into the WHOIS page ---

namespace {

// Replaces the WHOIS page's domain list with the names of the result list
// followed by the chosen suffixes, in one call, and shows that page.
void ExpandIntoWhoisList(TFormMain& f, bool allSuffixes) {
  std::array<bool, kSuffixCount> selected{};
  const auto boxes = SuffixBoxes(f);
  for (int k = 0; k < kSuffixCount; ++k) selected[k] = allSuffixes || boxes[k]->Checked();
  const std::vector<std::string> names = f.mmoDomainCreate3.Lines();
  if (!WithinLimit(SizeOfExpansion(names, selected))) return;
  const std::vector<std::string> domains = ExpandWithSuffixes(names, selected);
  f.mmoWhoisDomain.SetLines(domains);
  f.ShowPage(kPageWhois);
}

}  // namespace

void TFormMain::btnOtherDomainCreateClick() { ExpandIntoWhoisList(*this, false); }
void TFormMain::btnAllDomainCreateClick() { ExpandIntoWhoisList(*this, true); }

}  // namespace orlu
