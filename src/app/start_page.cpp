#include "app/start_page.h"

#include <string>

#include "app/main_form.h"
#include "app/small_windows.h"
#include "pages/page_layout.h"
#include "platform/text/gbk.h"
#include "whois/whois_info_form.h"

namespace orlu {

namespace {

constexpr int kColumnLeft[2] = {10, 458};
constexpr int kGroupWidth = 438;
constexpr int kGroupHeight = 160;
constexpr int kGroupTop[3] = {40, 210, 380};

void PlaceQuickQuery(GroupBox& group, Label& prompt, Edit& edit, Button& button,
                     const std::string& example, const std::string& sample) {
  prompt.SetCaption(Gbk("请输入网址，如：") + example);
  // Named by its group: "站长工具 - 收录查询" gives "收录查询".
  const std::string caption = group.Caption();
  const std::size_t dash = caption.rfind("- ");
  edit.SetAccessibleName(dash == std::string::npos ? caption : caption.substr(dash + 2));
  prompt.SetBounds(14, 26, 400, 16);
  edit.SetText(sample);
  edit.SetBounds(14, 52, 300, 24);
  button.SetCaption(Gbk("查询"));
  button.SetBounds(326, 51, 80, 26);
}

// A link: underlined text with the hand cursor, in its resting colour.
void PlaceLink(Label& link, const std::string& caption, int left, int top, Color color) {
  link.SetCaption(caption);
  link.SetBounds(left, top, 400, 16);
  link.SetCursor(Cursor::Hand);
  link.SetFontColor(color);
  link.SetFontUnderline(true);
}

}  // namespace

TStartPage::TStartPage(TabSheet& page) : page_(page) {
  lbl33.SetCaption(Gbk("0.9版本新功能："));
  lbl33.SetFontColor(colors::Red);
  lbl33.SetBounds(14, 12, 110, 16);

  btn18.SetCaption(Gbk("域名关键字对比"));
  btn18.SetBounds(130, 7, 110, 26);
  btn17.SetCaption(Gbk("域名拼音粗查"));
  btn17.SetBounds(248, 7, 110, 26);
  btn19.SetCaption(Gbk("域名单词粗查"));
  btn19.SetBounds(366, 7, 110, 26);

  struct GroupDef {
    GroupBox& group;
    const char* caption;
    int column;
    int row;
  };
  const GroupDef groups[] = {
      {grp7, "站长工具 - 收录查询", 0, 0},       {grp2, "站长工具 - Google PR查询", 0, 1},
      {grp6, "站长工具 - 查看网页源码", 0, 2},   {grp3, "站长工具 - Alexa排名查询", 1, 0},
      {grp5, "站长工具 - 域名WHOIS查询", 1, 1},  {grp4, "站长工具 - 其他常用域名工具", 1, 2},
  };
  for (const auto& g : groups) {
    g.group.SetCaption(Gbk(g.caption));
    g.group.SetBounds(kColumnLeft[g.column], kGroupTop[g.row], kGroupWidth, kGroupHeight);
  }

  // Sample addresses in the boxes; the prompts show the form each box takes.
  PlaceQuickQuery(grp7, lblAllShuluPrompt, edtAllShulu, btnAllShuluDo, "www.example.com",
                  "www.example.com");
  PlaceQuickQuery(grp2, lblAllPrPrompt, edtAllPr, btnAllPrDo, "example.com", "example.com");
  PlaceQuickQuery(grp6, lblAllSourcePrompt, edtAllSouce, btnAllSourceDo, "http://www.example.com/",
                  "http://www.example.com/");
  PlaceQuickQuery(grp3, lblAllAlexaPrompt, edtAllAlexa, btnAllAlexaDo, "example.com", "example.com");
  PlaceQuickQuery(grp5, lblAllWhoisPrompt, edtAllWhois, btnAllWhoisDo, "example.com", "example.com");

  // Links to other pages, in the palette's window-text colour (kDefaultColor).
  PlaceLink(lbl24, Gbk("网页值各项值批量查询。"), 14, 96, kDefaultColor);
  PlaceLink(lbl26, Gbk("PR值批量查询。"), 14, 96, kDefaultColor);
  PlaceLink(lbl23, Gbk("ALEXA值批量查询。"), 14, 96, kDefaultColor);
  PlaceLink(lbl28, Gbk("WHOIS批量查询，支持各种后缀域名。"), 14, 96, kDefaultColor);
  PlaceLink(lbl30, Gbk("强大的域名过滤功能，供您精心挑选域名。"), 14, 24, kDefaultColor);
  PlaceLink(lbl31, Gbk("域名生成，TYPO，各种组合，各类后缀。"), 14, 46, kDefaultColor);

  // The registry's deletion lists, in blue.
  PlaceLink(lblAllDaoqi1, Gbk("明天拟删除域名"), 14, 76, colors::Blue);
  PlaceLink(lblAllDaoqi2, Gbk("后天拟删除域名"), 144, 76, colors::Blue);
  PlaceLink(lblAllDaoqi3, Gbk("今日删除域名"), 274, 76, colors::Blue);
  PlaceLink(lblAllDaoqi4, Gbk("昨天删除域名"), 14, 102, colors::Blue);
  PlaceLink(lblAllDaoqi5, Gbk("前天删除域名"), 144, 102, colors::Blue);
  for (Label* link : {&lblAllDaoqi1, &lblAllDaoqi2, &lblAllDaoqi3, &lblAllDaoqi4, &lblAllDaoqi5}) {
    link->SetWidth(120);
  }
  BindHandlers();
}

void TStartPage::BindHandlers() {
  // Enter in a box presses its button; other keys are the box's own.
  const std::pair<Edit*, Button*> boxes[] = {{&edtAllShulu, &btnAllShuluDo},
                                             {&edtAllAlexa, &btnAllAlexaDo},
                                             {&edtAllPr, &btnAllPrDo},
                                             {&edtAllWhois, &btnAllWhoisDo},
                                             {&edtAllSouce, &btnAllSourceDo}};
  for (const auto& [edit, button] : boxes) {
    edit->OnKeyPress = [button](char& key) {
      if (key == 13) button->Click();
    };
  }
  Bind(btnAllShuluDo, this, &TStartPage::btnAllShuluDoClick);
  Bind(btnAllAlexaDo, this, &TStartPage::btnAllAlexaDoClick);
  Bind(btnAllPrDo, this, &TStartPage::btnAllPrDoClick);
  Bind(btnAllWhoisDo, this, &TStartPage::btnAllWhoisDoClick);
  Bind(btnAllSourceDo, this, &TStartPage::btnAllSourceDoClick);
  Bind(lbl24, this, &TStartPage::lbl24Click);
  Bind(lbl23, this, &TStartPage::lbl23Click);
  Bind(lbl26, this, &TStartPage::lbl26Click);
  Bind(lbl28, this, &TStartPage::lbl28Click);
  Bind(lbl30, this, &TStartPage::lbl30Click);
  Bind(lbl31, this, &TStartPage::lbl31Click);
  Bind(btn18, this, &TStartPage::btn18Click);
  Bind(btn17, this, &TStartPage::btn17Click);
  Bind(btn19, this, &TStartPage::btn19Click);

  // The deletion-list links press the buttons of the (hidden) deletion-list
  // window.
  const std::pair<Label*, Button TFormDaoqi::*> daoqi[] = {
      {&lblAllDaoqi1, &TFormDaoqi::btnDaoqi1}, {&lblAllDaoqi2, &TFormDaoqi::btnDaoqi2},
      {&lblAllDaoqi3, &TFormDaoqi::btnDaoqi3}, {&lblAllDaoqi4, &TFormDaoqi::btnDaoqi4},
      {&lblAllDaoqi5, &TFormDaoqi::btnDaoqi5}};
  for (const auto& [link, button] : daoqi) {
    link->OnClick = [button = button] {
      if (FormDaoqi) (FormDaoqi->*button).Click();
    };
  }

  // Every link turns red under the mouse and back to its resting colour.
  const std::pair<Label*, Color> links[] = {
      {&lbl23, kDefaultColor}, {&lbl24, kDefaultColor}, {&lbl26, kDefaultColor},
      {&lbl28, kDefaultColor}, {&lbl30, kDefaultColor}, {&lbl31, kDefaultColor},
      {&lblAllDaoqi1, colors::Blue}, {&lblAllDaoqi2, colors::Blue}, {&lblAllDaoqi3, colors::Blue},
      {&lblAllDaoqi4, colors::Blue}, {&lblAllDaoqi5, colors::Blue}};
  for (const auto& [link, resting] : links) {
    link->OnMouseEnter = [link = link] { link->SetFontColor(colors::Red); };
    link->OnMouseLeave = [link = link, resting = resting] { link->SetFontColor(resting); };
  }
}

// --- Quick-query boxes ---

void TStartPage::btnAllShuluDoClick() { FormMain->QuerySingleInfo(edtAllShulu.Text()); }

void TStartPage::btnAllAlexaDoClick() { FormMain->QueryAlexaDetail(edtAllAlexa.Text()); }

void TStartPage::btnAllPrDoClick() { FormMain->QuerySiteInfoPr(Trim(edtAllPr.Text())); }

void TStartPage::btnAllWhoisDoClick() {
  if (!FormWhoisInfo || FormWhoisInfo->m_thWhois.Busy()) return;
  const std::string domain = Trim(edtAllWhois.Text());
  FormWhoisInfo->edtWhois.SetText(domain);
  FormWhoisInfo->ShowDetailWhois(domain);
  FormWhoisInfo->ShowModal();
}

void TStartPage::btnAllSourceDoClick() {
  if (!FormSource || FormSource->Busy()) return;
  const std::string url = Trim(edtAllSouce.Text());
  FormSource->edtSource.SetText(url);
  FormSource->ShowSource(url);
  FormSource->ShowModal();
}

// --- Links and page buttons ---

void TStartPage::lbl24Click() { FormMain->ChooseSiteInfoColumns(false); }

void TStartPage::lbl23Click() { FormMain->ShowPage(kPageAlexa); }

void TStartPage::lbl26Click() { FormMain->ChooseSiteInfoColumns(true); }

void TStartPage::lbl28Click() { FormMain->ShowPage(kPageWhois); }
void TStartPage::lbl30Click() { FormMain->ShowPage(kPageDomainFilter); }
void TStartPage::lbl31Click() { FormMain->ShowPage(kPageDomainCreate); }
void TStartPage::btn18Click() { FormMain->ShowPage(kPageKeyWordComp); }
void TStartPage::btn17Click() { FormMain->ShowPage(kPagePinyin); }
void TStartPage::btn19Click() { FormMain->ShowPage(kPageEngWord); }

}  // namespace orlu
