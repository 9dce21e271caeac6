#include "domaintools/domain_filter_page.h"

#include <string>
#include <vector>

#include "domaintools/domain_filter.h"
#include "pages/page_layout.h"
#include "pages/settings_file.h"
#include "platform/text/gbk.h"
#include "platform/ui/import_lines.h"

namespace orlu {

namespace {

// The list whose tab is in front.
Memo& ActiveFilterList(TDomainFilterPage& f) {
  return f.pgcFilter.ActivePageIndex() == 0 ? f.mmoFilter1 : f.mmoFilter2;
}

// Copies the active list into the scratch list, the way every rewriting
// operation starts, and returns the copy.
const Lines& CopyActiveList(TDomainFilterPage& f) {
  f.FilterWorkList.Lines() = ActiveFilterList(f).Lines();
  return f.FilterWorkList.Lines();
}

// Result into list 2 and the output.
void ShowInListTwoAndOutput(TDomainFilterPage& f, const Lines& result) {
  f.mmoFilter2.SetLines(result);
  f.mmoFilter3.SetLines(result);
}

void ShowCount(TDomainFilterPage& f, std::size_t lines) {
  f.edtFilterOut.SetText(IntToStr(static_cast<long long>(lines)));
}

// Rewrites the active list with `operation` into list 2 and the output;
// list 2 then comes to the front (when list 1 was) and the count is shown.
void RewriteActiveList(TDomainFilterPage& f, Lines (*operation)(const Lines&)) {
  const bool listOneWasActive = f.pgcFilter.ActivePageIndex() == 0;
  const Lines result = operation(CopyActiveList(f));
  ShowInListTwoAndOutput(f, result);
  if (listOneWasActive) f.pgcFilter.SetActivePageIndex(1);
  ShowCount(f, result.size());
}

NamePattern SelectedPattern(const TDomainFilterPage& f) {
  const std::pair<const RadioButton*, NamePattern> buttons[] = {
      {&f.rbFilterAllDomain, NamePattern::AllDomain}, {&f.rbFilterThreeWord, NamePattern::ThreeWord},
      {&f.rbFilterFourWord, NamePattern::FourWord},   {&f.rbFilterThreeNum, NamePattern::ThreeNum},
      {&f.rbFilterAllNum, NamePattern::AllNum},       {&f.rbFilterThreeAll, NamePattern::ThreeAll},
      {&f.rbFilterFourNum, NamePattern::FourNum},     {&f.rbFilterCmpKey, NamePattern::CmpKey},
  };
  for (const auto& [button, pattern] : buttons) {
    if (button->Checked()) return pattern;
  }
  return NamePattern::None;
}

}  // namespace

TDomainFilterPage::TDomainFilterPage(TabSheet& page, OpenDialog& openDialog)
    : page_(page), openDialog_(openDialog) {
  // Column 1: the two input lists, with the file box above the first three
  // columns.
  lbl1.SetCaption(Gbk("文件："));
  lbl1.SetBounds(8, 12, 36, 16);
  edtFilterInPut.SetBounds(44, 8, 250, 21);
  edtFilterInPut.SetAccessibleName(Gbk("文件"));
  btnFilterInPut.SetCaption(Gbk("选择"));
  btnFilterInPut.SetBounds(298, 6, 46, 25);
  Bind(btnFilterInPut, this, &TDomainFilterPage::btnFilterInPutClick);
  btn2.SetCaption(Gbk("清除"));
  btn2.SetBounds(348, 6, 50, 25);
  Bind(btn2, this, &TDomainFilterPage::btn2Click);

  pgcFilter.SetBounds(8, 38, 200, 484);
  ts1.SetCaption(Gbk("域名列表1"));
  ts2.SetCaption(Gbk("域名列表2"));
  pgcFilter.SetActivePageIndex(0);
  mmoFilter1.SetAccessibleName(Gbk("域名列表1"));
  mmoFilter2.SetAccessibleName(Gbk("域名列表2"));
  for (Memo* list : {&mmoFilter1, &mmoFilter2}) {
    list->SetAlign(Align::Client);
    list->SetScrollBars(ScrollBars::Both);
  }

  // Column 2: the rewriting operations, the length bounds, the suffix boxes.
  auto operation = [this](Button& button, const char* caption, int top,
                          void (TDomainFilterPage::*handler)()) {
    button.SetCaption(Gbk(caption));
    button.SetBounds(216, top, 120, 25);
    Bind(button, this, handler);
  };
  operation(btnFilterOutDomain, "过滤出域名", 38, &TDomainFilterPage::btnFilterOutDomainClick);
  operation(btnFilterRet, "去冗余", 68, &TDomainFilterPage::btnFilterRetClick);
  operation(btn10, "倒序", 98, &TDomainFilterPage::btn10Click);
  operation(btn8, "过滤同前缀", 128, &TDomainFilterPage::btn8Click);

  edtDomainFilterLongUp.SetBounds(216, 166, 46, 21);
  edtDomainFilterLongUp.SetAccessibleName(Gbk("最短长度"));
  ud1.Associate(&edtDomainFilterLongUp);
  ud1.SetRange(1, 1000);
  ud1.SetPosition(1);
  edtDomainFilterLongDown.SetBounds(286, 166, 46, 21);
  edtDomainFilterLongDown.SetAccessibleName(Gbk("最长长度"));
  ud2.Associate(&edtDomainFilterLongDown);
  ud2.SetRange(1, 1000);
  ud2.SetPosition(100);
  btnFilterLong.SetCaption(Gbk("长度过滤"));
  btnFilterLong.SetBounds(216, 194, 120, 25);
  Bind(btnFilterLong, this, &TDomainFilterPage::btnFilterLongClick);
  btnFilterGetUp.SetCaption(Gbk("剩下前缀"));
  btnFilterGetUp.SetBounds(216, 224, 120, 25);
  Bind(btnFilterGetUp, this, &TDomainFilterPage::btnFilterGetUpClick);

  struct Box {
    CheckBox& box;
    const char* caption;
    bool ticked;
  };
  const Box boxes[] = {
      {chkFilterCn, ".cn", true},         {chkFilterComCn, ".com.cn", true},
      {chkFilterNetCn, ".net.cn", false}, {chkFilterOrgCn, ".org.cn", false},
      {chkFilterCom, ".com", true},       {chkFilterNet, ".net", true},
      {chkFilterOrg, ".org", true},       {chkFilterDQ, "地区", false},
  };
  int y = 262;
  for (const auto& b : boxes) {
    b.box.SetCaption(Gbk(b.caption));
    b.box.SetChecked(b.ticked);
    b.box.SetBounds(220, y, 110, 20);
    y += 22;
  }

  // Column 3: the pattern buttons and the filter button.
  grp1.SetBounds(344, 32, 130, 222);
  struct Radio {
    RadioButton& button;
    const char* caption;
  };
  const Radio radios[] = {
      {rbFilterAllDomain, "全"},   {rbFilterThreeWord, "三字母"}, {rbFilterFourWord, "四字母"},
      {rbFilterThreeNum, "三数字"}, {rbFilterAllNum, "纯数"},      {rbFilterThreeAll, "三杂"},
      {rbFilterFourNum, "四数字"},  {rbFilterCmpKey, "关键字对比"},
  };
  y = 16;
  for (const auto& r : radios) {
    r.button.SetCaption(Gbk(r.caption));
    r.button.SetBounds(12, y, 110, 20);
    y += 25;
  }
  rbFilterAllDomain.SetChecked(true);
  btnFilterDownDomian.SetCaption(Gbk("后缀过滤"));
  btnFilterDownDomian.SetBounds(344, 262, 130, 25);
  Bind(btnFilterDownDomian, this, &TDomainFilterPage::btnFilterDownDomianClick);

  // Column 4: the output and its count, wide enough for a whole web address.
  lbl2.SetCaption(Gbk("输出："));
  lbl2.SetBounds(482, 12, 36, 16);
  edtFilterOut.SetBounds(520, 8, 110, 21);
  edtFilterOut.SetAccessibleName(Gbk("输出行数"));
  mmoFilter3.SetBounds(482, 38, 286, 484);
  mmoFilter3.SetAccessibleName(Gbk("输出"));
  mmoFilter3.SetScrollBars(ScrollBars::Both);

  // Column 5: the keyword rules, kept in the settings file.
  btnFilterKeyWordSave.SetCaption(Gbk("关键字保存"));
  btnFilterKeyWordSave.SetBounds(776, 6, 90, 25);
  Bind(btnFilterKeyWordSave, this, &TDomainFilterPage::btnFilterKeyWordSaveClick);
  mmoFilterKeyWord.SetBounds(776, 38, 121, 484);
  mmoFilterKeyWord.SetAccessibleName(Gbk("关键字"));
  mmoFilterKeyWord.SetScrollBars(ScrollBars::Vertical);
  mmoFilterKeyWord.SetLines(DefaultFilterKeyWordLines());
}

void TDomainFilterPage::btnFilterInPutClick() {
  ImportLines(openDialog_, mmoFilter1, &edtFilterInPut);
}

void TDomainFilterPage::btn2Click() {
  mmoFilter1.Clear();
  mmoFilter2.Clear();
  mmoFilter3.Clear();
}

void TDomainFilterPage::btnFilterOutDomainClick() { RewriteActiveList(*this, ExtractDomains); }

void TDomainFilterPage::btnFilterLongClick() {
  // Both bounds first: a bound that is no number changes nothing.
  const int low = StrToInt(edtDomainFilterLongUp.Text());
  const int high = StrToInt(edtDomainFilterLongDown.Text());
  ShowInListTwoAndOutput(*this, FilterByNameLength(CopyActiveList(*this), low, high));
}

void TDomainFilterPage::btnFilterGetUpClick() {
  ShowInListTwoAndOutput(*this, ReduceToNames(CopyActiveList(*this)));
}

void TDomainFilterPage::btnFilterRetClick() { RewriteActiveList(*this, RemoveDuplicateLines); }

void TDomainFilterPage::btnFilterDownDomianClick() {
  mmoFilter3.Clear();
  DomainFilterSettings s;
  s.cn = chkFilterCn.Checked();
  s.comCn = chkFilterComCn.Checked();
  s.netCn = chkFilterNetCn.Checked();
  s.orgCn = chkFilterOrgCn.Checked();
  s.com = chkFilterCom.Checked();
  s.net = chkFilterNet.Checked();
  s.org = chkFilterOrg.Checked();
  s.dq = chkFilterDQ.Checked();
  s.pattern = SelectedPattern(*this);
  const Lines rules = s.pattern == NamePattern::CmpKey ? mmoFilterKeyWord.Lines() : Lines{};
  const Lines result = FilterDomainList(ActiveFilterList(*this).Lines(), s, rules);
  mmoFilter3.SetLines(result);
  ShowCount(*this, result.size());
}

void TDomainFilterPage::btn8Click() {
  mmoFilter3.SetLines(DropListedNames(mmoFilter1.Lines(), mmoFilter2.Lines()));
}

void TDomainFilterPage::SaveKeyWords() {
  WriteKeyWordList(SettingsFileName(), kFilterKeySection, mmoFilterKeyWord.Lines());
}

void TDomainFilterPage::btnFilterKeyWordSaveClick() { SaveKeyWords(); }

void TDomainFilterPage::btn10Click() { mmoFilter3.SetLines(ReverseLowerCase(ActiveFilterList(*this).Lines())); }

}  // namespace orlu
