// The pages of the main window as far as the frame needs them: the result
// lists with their export buttons and row display, the two keyword memos
// kept in the settings file, the site-information column boxes and the
// button of the keyword-tools page. Each tool completes its own page.
#include <string>
#include <vector>

#include "app/main_form.h"
#include "platform/text/gbk.h"

namespace orlu {

namespace {

constexpr unsigned kAnchorAll = kAnchorLeft | kAnchorTop | kAnchorRight | kAnchorBottom;
// Usable width of a page in the window's design size; heights come from the
// page itself, which depends on the heights of the menu and status bars.
constexpr int kPageWidth = 905;
int PageHeight(TabSheet& page) { return page.ClientHeight() - 8; }

std::vector<std::string> GbkLines(std::initializer_list<const char*> utf8) {
  std::vector<std::string> lines;
  for (const char* line : utf8) lines.push_back(Gbk(line));
  return lines;
}

void ReportStyle(ListView& list) {
  list.SetGridLines(true);
  list.SetRowSelect(true);
}

}  // namespace

void TFormMain::BuildWhoisPage() {
  btnWhoisExc.SetCaption(Gbk("导出excel"));
  btnWhoisExc.SetBounds(10, 8, 90, 25);
  btnWhoisExc.OnClick = [this] { btnWhoisExcClick(); };

  lvWhois.SetBounds(10, 40, kPageWidth - 20, PageHeight(tsWhois) - 40);
  lvWhois.SetAnchors(kAnchorAll);
  ReportStyle(lvWhois);
  lvWhois.SetCheckBoxes(true);
  lvWhois.SetColumns({{"ID", 50},
                      {Gbk("域名"), 100},
                      {Gbk("域名状态"), 80},
                      {Gbk("注册单位"), 150},
                      {Gbk("注册商"), 100},
                      {Gbk("注册日期"), 100},
                      {Gbk("过期日期"), 100},
                      {"EMail", 100},
                      {Gbk("域名状态"), 100},
                      {Gbk("联系人"), 100},
                      {"DNS", 100}});
}

void TFormMain::BuildAlexaPage() {
  // Positions are set with the rest of the page's controls.
  btnAlexaPutOut.SetCaption(Gbk("导出"));
  btnAlexaPutOut.OnClick = [this] { btnAlexaPutOutClick(); };

  ReportStyle(lvAlexa);
  lvAlexa.SetMultiSelect(true);
  lvAlexa.SetColumns({{"ID", 50}, {Gbk("域名"), 100}, {Gbk("排名"), 200}});
  lvAlexa.OnClick = [this] { lvAlexaClick(); };
}

void TFormMain::BuildSiteInfoPage() {
  const int pageHeight = PageHeight(tsSiteInfo);
  mmoSiteInfoKeyWord.SetBounds(10, 8, 200, pageHeight - 8);
  mmoSiteInfoKeyWord.SetAnchors(kAnchorLeft | kAnchorTop | kAnchorBottom);
  ts7.SetCaption(Gbk("全部域名"));
  ts8.SetCaption(Gbk("关键字"));
  mmoSiteInfoKeyWord.SetActivePageIndex(0);
  mmoSiteInfoDomainList1.SetAlign(Align::Client);
  mmoSiteInfoDomainList1.SetScrollBars(ScrollBars::Vertical);
  mmoSiteInfoKeword.SetAlign(Align::Client);
  mmoSiteInfoKeword.SetScrollBars(ScrollBars::Vertical);
  mmoSiteInfoKeword.SetLines(GbkLines({"六月", "淫", "好色", "色情", "三级", "女体", "诱惑",
                                       "激情", "妹妹", "电影", "银行", "金融", "风投", "牙科",
                                       "牙医", "健康", "积分换礼", "网络答题", "积分",
                                       "外文导航 ", "英文导航", "英语导航", "英语"}));

  btnSiteInfoKeyWordSave.SetCaption(Gbk("保存关键字"));
  btnSiteInfoKeyWordSave.SetBounds(220, 8, 85, 25);
  btnSiteInfoKeyWordSave.OnClick = [this] { btnSiteInfoKeyWordSaveClick(); };

  struct BoxDef {
    CheckBox& box;
    const char* caption;
  };
  const BoxDef boxes[] = {{chkPr, "Pr"},         {chkAlexa, "Alexa"}, {chkAlink, "ALink"},
                          {chkZhidao, "知道"},   {chkBsite, "BSite"}, {chkYlink, "YLink"},
                          {chkArchive, "Archive"}, {chkKeyWord, "关键字"}};
  int x = 220;
  for (const auto& b : boxes) {
    b.box.SetCaption(Gbk(b.caption));
    b.box.SetBounds(x, 42, 68, 20);
    x += 70;
  }
  chkPr.SetChecked(true);
  btn14.SetCaption(Gbk("全选"));
  btn14.SetBounds(x + 4, 40, 60, 25);
  btn14.OnClick = [this] { btn14Click(); };

  btnSiteInfoFileOut.SetCaption(Gbk("导出"));
  btnSiteInfoFileOut.SetBounds(315, 8, 75, 25);
  btnSiteInfoFileOut.OnClick = [this] { btnSiteInfoFileOutClick(); };

  lvSiteInfo.SetBounds(220, 72, kPageWidth - 230, pageHeight - 72);
  lvSiteInfo.SetAnchors(kAnchorAll);
  ReportStyle(lvSiteInfo);
  lvSiteInfo.SetColumns({{"ID", 50},
                         {Gbk("域名"), 100},
                         {"PR", 50},
                         {"Alexa", 80},
                         {"ALink", 50},
                         {"Archive", 80},
                         {Gbk("关键字"), 50},
                         {Gbk("知道"), 50},
                         {"BSite", 50},
                         {"yLink", 50}});
  lvSiteInfo.OnClick = [this] { lvSiteInfoClick(); };
}

void TFormMain::BuildKeyWordPage() {
  btnOpenKeyWordMidu.SetCaption(Gbk("关键字密度"));
  btnOpenKeyWordMidu.SetBounds(20, 20, 100, 25);
  btnOpenKeyWordMidu.OnClick = [this] { btnOpenKeyWordMiduClick(); };
}

void TFormMain::BuildAlexaDetailPage() {
  scrlbxAlexa.SetAlign(Align::Client);
  scrlbxAlexa.SetContentHeight(1400);
  scrlbxAlexa.SetColor(colors::Window);
  lvAlexaTraffic.SetBounds(10, 10, 720, 150);
  ReportStyle(lvAlexaTraffic);
  lvAlexaCountry.SetBounds(10, 170, 720, 150);
  ReportStyle(lvAlexaCountry);
  pgcAlexaPic.SetBounds(10, 330, 753, 345);
}

void TFormMain::BuildKeyWordCompPage() {
  btnKeyWordFilesOut.SetCaption(Gbk("导出"));
  btnKeyWordFilesOut.SetBounds(10, 8, 75, 25);
  btnKeyWordFilesOut.OnClick = [this] { btnKeyWordFilesOutClick(); };

  lvKeyWord.SetBounds(10, 40, kPageWidth - 20, PageHeight(tsKeyWordComp) - 40);
  lvKeyWord.SetAnchors(kAnchorAll);
  ReportStyle(lvKeyWord);
  lvKeyWord.SetColumns({{"ID", 50}, {Gbk("域名"), 150}, {Gbk("备注"), 300}});
  lvKeyWord.OnClick = [this] { lvKeyWordClick(); };
}

void TFormMain::BuildWordCheckPages() {
  struct WordPage {
    TabSheet& page;
    Button& exportButton;
    ListView& list;
    Memo& show;
    const char* column2;
    const char* column3;
    void (TFormMain::*exportClick)();
    void (TFormMain::*rowClick)();
  };
  const WordPage pages[] = {
      {tsPinyin, btn22, lvPinyin, mmoPinyinShow, "拼音参考1", "拼音参考2", &TFormMain::btn22Click,
       &TFormMain::lvPinyinClick},
      {tsEngWord, btn23, lvEngWord, mmoEngWordShow, "单词参考1", "单词参考2", &TFormMain::btn23Click,
       &TFormMain::lvEngWordClick},
  };
  for (const auto& p : pages) {
    p.exportButton.SetCaption(Gbk("导出"));
    p.exportButton.SetBounds(10, 8, 75, 25);
    auto exportClick = p.exportClick;
    p.exportButton.OnClick = [this, exportClick] { (this->*exportClick)(); };

    p.show.SetAlign(Align::Bottom);
    p.show.SetHeight(80);
    p.show.SetScrollBars(ScrollBars::Vertical);

    // The list reaches down to the row memo docked at the bottom.
    p.list.SetBounds(10, 40, kPageWidth - 20, p.page.ClientHeight() - 80 - 8 - 40);
    p.list.SetAnchors(kAnchorAll);
    ReportStyle(p.list);
    p.list.SetColumns({{"ID", 50}, {Gbk("域名"), 100}, {Gbk(p.column2), 200},
                       {Gbk(p.column3), 200}});
    auto rowClick = p.rowClick;
    p.list.OnClick = [this, rowClick] { (this->*rowClick)(); };
  }
}

}  // namespace orlu
