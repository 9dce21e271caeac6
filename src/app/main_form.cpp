#include "app/main_form.h"

#include <string>
#include <utility>
#include <vector>

#include "app/banner_gif.h"
#include "app/small_windows.h"
#include "pages/page_layout.h"
#include "pages/settings_file.h"
#include "pages/stat_show_form.h"
#include "platform/text/gbk.h"
#include "whois/whois_info_form.h"

namespace orlu {

TFormMain* FormMain = nullptr;

TFormMain::TFormMain()
    : N1(mmMain.Add(Gbk("功能"))),
      whois1(N1.Add(Gbk("WHOIS查询"))),
      N12(whois1.Add(Gbk("批量查询"))),
      N13(whois1.Add(Gbk("单域名查询"))),
      N8(N1.Add(Gbk("字符过滤"))),
      N9(N1.Add(Gbk("域名生成"))),
      Alexa1(N1.Add(Gbk("Alexa排名查询"))),
      N14(Alexa1.Add(Gbk("批量查询"))),
      N15(Alexa1.Add(Gbk("单域名详查"))),
      N10(N1.Add(Gbk("站点网页值查询"))),
      N11(N1.Add(Gbk("站点收录详查"))),
      N16(N1.Add(Gbk("域名关键字对比"))),
      N17(N1.Add(Gbk("域名拼音初查"))),
      N18(N1.Add(Gbk("域名单词粗查"))),
      N2(mmMain.Add(Gbk("辅助"))),
      N4(N2.Add(Gbk("设置保存"))),
      N5(N2.Add(Gbk("设置读取"))),
      mnuKeyWord(N2.Add(Gbk("关键字密度"))),
      N3(mmMain.Add(Gbk("帮助"))),
      N7(N3.Add(Gbk("关于"))) {
  // The frame and the pages are built by now (the frame first, as the pages
  // read its sizes). The globals name the window while it is being made;
  // a failed construction takes it back.
  FormMain = this;
  MainPageHost = this;
  try {
    BuildMenu();
    FormCreate();
  } catch (...) {
    FormMain = nullptr;
    MainPageHost = nullptr;
    throw;
  }
}

TFormMain::~TFormMain() {
  if (FormMain == this) FormMain = nullptr;
  if (MainPageHost == this) MainPageHost = nullptr;
}

bool TFormMain::BuildFrame() {
  SetCaption(Gbk("Orlu站长工具v0.9  域名与站点查询工具箱"));
  SetWidth(913);
  SetHeight(697);
  SetPosition(FormPosition::ScreenCenter);

  // Tool-bar images: a drawn glyph each, in the order the buttons name them.
  ilMain.AddGlyph("W", 0x2F6FB5);            // 0 WHOIS
  ilMain.AddGlyph(Gbk("滤"), 0x3C8D40);      // 1 filter
  ilMain.AddGlyph(Gbk("生"), 0x7A5AA8);      // 2 generator
  ilMain.AddGlyph("A", 0xC0392B);            // 3 ranking
  ilMain.AddGlyph(Gbk("值"), 0xD9822B);      // 4 site information
  ilMain.AddGlyph(Gbk("收"), 0x1F8A8A);      // 5 single-site report
  ilMain.AddGlyph(Gbk("综"), 0x555F6B);      // 6 start page

  tlbMain.SetAlign(Align::Top);
  tlbMain.SetImages(&ilMain);
  tlbMain.SetButtonSize(55, 50);
  tlbMain.SetHeight(54);
  auto tool = [this](ToolButton& button, const char* caption, int image,
                     void (TFormMain::*handler)()) {
    button.SetCaption(Gbk(caption));
    button.SetImageIndex(image);
    Bind(button, this, handler);
  };
  tool(btnAll, "综合", 6, &TFormMain::btnAllClick);
  tool(btntsWhois, "WHOIS", 0, &TFormMain::btntsWhoisClick);
  tool(btnDomainFilter, "字母过滤", 1, &TFormMain::btnDomainFilterClick);
  tool(btnDomainCreate, "生成域名", 2, &TFormMain::btnDomainCreateClick);
  tool(btnAlexaTableShow, "Alexa", 3, &TFormMain::btnAlexaTableShowClick);
  tool(btnSiteInfoTableShow, "网页值", 4, &TFormMain::btnSiteInfoTableShowClick);
  tool(btnShoulu, "收录详情", 5, &TFormMain::btnShouluClick);

  // The banner panel fills the bar after the buttons; the picture sits at its
  // right edge.
  pnlImg.SetBevel(Bevel::None);
  pnlImg.SetWidth(913 - 7 * 55 - 10);
  pnlImg.SetHeight(48);
  ImageAd.SetAlign(Align::Right);
  ImageAd.SetWidth(383);
  ImageAd.SetHeight(48);
  ImageAd.LoadGif(std::string(reinterpret_cast<const char*>(kBannerGif), kBannerGifSize));

  pnlLinks.SetAlign(Align::Top);
  pnlLinks.SetHeight(35);
  pnlLinks.SetBevel(Bevel::None);
  pnlLinks.SetColor(colors::Window);
  const int linkX[] = {58, 255, 451, 648};
  Label* links[] = {&lblUrl1, &lblUrl2, &lblUrl3, &lblUrl4};
  for (int i = 0; i < 4; ++i) {
    links[i]->SetAutoSize(false);
    links[i]->SetBounds(linkX[i], 10, 150, 16);
  }

  stat1.SetAlign(Align::Bottom);
  stat1.SetPanelCount(1);
  stat1.SetPanelText(0, Gbk("Orlu站长工具：域名WHOIS、排名、收录与网页值的批量查询"));

  pgcMain.SetAlign(Align::Client);
  pgcMain.SetTabsVisible(false);
  const char* pageCaptions[] = {"WHOIS", "字母过滤", "生成域名", "Alexa", "网页值", "收录详情",
                                "关键字", "综合", "Alexa详查", "关键字对比", "拼音", "单词"};
  for (int i = 0; i < pgcMain.PageCount(); ++i) pgcMain.Page(i)->SetCaption(Gbk(pageCaptions[i]));

  trycn1.SetHint(Gbk("Orlu站长工具"));
  trycn1.SetVisible(true);

  dlgSaveCsvFile.SetDefaultExt("csv");
  dlgSaveCsvFile.SetFilter(Gbk("csv文件|*.csv"));

  OnMove = [this] { WMMove(); };
  return true;
}

void TFormMain::BuildMenu() {
  Bind(N12, this, &TFormMain::N12Click);
  Bind(N13, this, &TFormMain::N13Click);
  Bind(N8, this, &TFormMain::N8Click);
  Bind(N9, this, &TFormMain::N9Click);
  Bind(N14, this, &TFormMain::N14Click);
  Bind(N15, this, &TFormMain::N15Click);
  Bind(N10, this, &TFormMain::N10Click);
  Bind(N11, this, &TFormMain::N11Click);
  Bind(N16, this, &TFormMain::N16Click);
  Bind(N17, this, &TFormMain::N17Click);
  Bind(N18, this, &TFormMain::N18Click);
  Bind(N4, this, &TFormMain::N4Click);
  Bind(N5, this, &TFormMain::N5Click);
  Bind(mnuKeyWord, this, &TFormMain::mnuKeyWordClick);
  Bind(N7, this, &TFormMain::N7Click);
}

void TFormMain::FormCreate() {
  SponsorIndex = 0;
  LoadSettings();
  SetDoubleBuffered(true);
  SponsorUrls = std::make_unique<StringList>();
  SponsorTitles = std::make_unique<StringList>();
  for (Label* link : {&lblUrl1, &lblUrl2, &lblUrl3, &lblUrl4}) {
    link->SetCursor(Cursor::Hand);
    link->SetFontColor(colors::Blue);
    link->SetCaption("");
  }
  ImageAd.SetCursor(Cursor::Hand);
  BuildSponsorBar();
  // The pinyin and English-word workers reach their pages' lists only by
  // their settings blocks.
  PinyinConfig.ListView = &PinyinPage.PinyinJob.Rows;
  EngWordConfig.ListView = &EngWordPage.EngWordJob.Rows;
  pgcMain.SetActivePageIndex(kPageAll);
  // The ranking-detail page styles its two lists' headers and its chart tabs
  // itself when it is built.
}

// --- Settings ---

void TFormMain::LoadSettings() {
  std::string fileName = SettingsFileName();
  if (!FileExists(fileName)) return;
  // Each list is read whole before its memo is cleared, so a read that fails
  // leaves the memo as it was.
  std::vector<std::string> filter = ReadKeyWordList(fileName, kFilterKeySection);
  DomainFilterPage.mmoFilterKeyWord.Clear();
  DomainFilterPage.mmoFilterKeyWord.SetLines(filter);
  std::vector<std::string> siteInfo = ReadKeyWordList(fileName, kSiteInfoKeySection);
  SiteInfoPage.mmoSiteInfoKeword.Clear();
  SiteInfoPage.mmoSiteInfoKeword.SetLines(siteInfo);
}

void TFormMain::SaveFilterKeyWords() { DomainFilterPage.SaveKeyWords(); }

// --- Status window docking ---

void TFormMain::WMMove() {
  if (!FormStatShow) return;
  const Rect place = DockedStatusPlace(FrameBounds(), FormStatShow->FrameBounds(), WorkArea());
  if (place.top < FormStatShow->Top()) FormStatShow->SetTop(place.top);
}

// --- Navigation ---

void TFormMain::ShowPage(int index) {
  pgcMain.SetActivePageIndex(index);
  pgcMain.Show();
}

void TFormMain::ShowWhoisDomains(std::vector<std::string> domains) {
  WhoisPage.mmoWhoisDomain.TakeLines(std::move(domains));
  ShowPage(kPageWhois);
}

void TFormMain::QuerySingleInfo(const std::string& domain) {
  ShowPage(kPageShoulu);
  ShouluPage.edtShouluDomain.SetText(domain);
  ShouluPage.btnShouluSearch.Click();
}

void TFormMain::QueryAlexaDetail(const std::string& domain) {
  pgcMain.SetActivePageIndex(kPageAlexaDetail);
  AlexaDetailPage.edtAlexaDetail.SetText(domain);
  // Pressed even while an earlier report is coming: the newer query wins.
  AlexaDetailPage.btnAlexaDetailOn.Click();
  pgcMain.Show();
}

void TFormMain::QuerySiteInfoPr(const std::string& domain) {
  ChooseSiteInfoColumns(true);
  SiteInfoPage.mmoSiteInfoDomainList1.Clear();
  SiteInfoPage.mmoSiteInfoDomainList1.Add(domain);
  SiteInfoPage.btnSiteInfoPlay.Click();
}

void TFormMain::ChooseSiteInfoColumns(bool prOnly) {
  ShowPage(kPageSiteInfo);
  if (prOnly) {
    SiteInfoPage.UncheckAllSiteInfoColumns();
    SiteInfoPage.chkPr.SetChecked(true);
  } else {
    SiteInfoPage.CheckAllSiteInfoColumns();
  }
}

void TFormMain::btnAllClick() { ShowPage(kPageAll); }
void TFormMain::btntsWhoisClick() { ShowPage(kPageWhois); }
void TFormMain::btnDomainFilterClick() { ShowPage(kPageDomainFilter); }
void TFormMain::btnDomainCreateClick() { ShowPage(kPageDomainCreate); }
void TFormMain::btnAlexaTableShowClick() { ShowPage(kPageAlexa); }
void TFormMain::btnSiteInfoTableShowClick() { ShowPage(kPageSiteInfo); }
void TFormMain::btnShouluClick() { ShowPage(kPageShoulu); }
void TFormMain::N12Click() { ShowPage(kPageWhois); }
void TFormMain::N13Click() {
  if (FormWhoisInfo) FormWhoisInfo->ShowModal();
}
void TFormMain::N8Click() { ShowPage(kPageDomainFilter); }
void TFormMain::N9Click() { ShowPage(kPageDomainCreate); }
void TFormMain::N14Click() { ShowPage(kPageAlexa); }
void TFormMain::N15Click() { ShowPage(kPageAlexaDetail); }
void TFormMain::N10Click() {
  ShowPage(kPageSiteInfo);
  SiteInfoPage.CheckAllSiteInfoColumns();
}
void TFormMain::N11Click() { ShowPage(kPageShoulu); }
void TFormMain::N16Click() { ShowPage(kPageKeyWordComp); }
void TFormMain::N17Click() { ShowPage(kPagePinyin); }
void TFormMain::N18Click() { ShowPage(kPageEngWord); }
void TFormMain::N4Click() { SaveFilterKeyWords(); }
void TFormMain::N5Click() { LoadSettings(); }
void TFormMain::mnuKeyWordClick() { ShowPage(kPageKeyWord); }
void TFormMain::N7Click() {
  if (FormBanquan) FormBanquan->ShowModal();
}

}  // namespace orlu
