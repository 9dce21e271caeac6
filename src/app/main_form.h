// The main window: tool bar, menu, sponsor-link strip, twelve pages with
// hidden tabs, status bar and notification-area icon, and the settings file
// that keeps the filter and site-information keyword lists.
//
// Every component is a member, declared after the container it sits in, so
// it is built after its parent and destroyed before it. Each page is an
// object of its tool's folder that owns its controls, handlers and job, built
// on its tab sheet; a page reaches another page only through the calls of
// PageHost, which the main window carries out.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "app/keyword_page.h"
#include "app/start_page.h"
#include "domaintools/domain_filter_page.h"
#include "domaintools/domain_generator_page.h"
#include "domaintools/keyword_comp_page.h"
#include "pages/page_host.h"
#include "platform/net/page_client.h"
#include "platform/text/string_list.h"
#include "platform/ui/ui.h"
#include "sitequery/alexa_detail_page.h"
#include "sitequery/alexa_page.h"
#include "sitequery/single_info_page.h"
#include "sitequery/site_info_page.h"
#include "whois/whois_page.h"
#include "wordcheck/word_check_page.h"

namespace orlu {

class TFormMain : public PageHost {
 public:
  TFormMain();
  ~TFormMain() override;

  // --- Fields ---
  std::unique_ptr<StringList> SponsorUrls;    // sponsor link addresses
  std::unique_ptr<StringList> SponsorTitles;  // their captions, same order
  int SponsorIndex = 0;                       // rotation counter of the link strip

  // --- Frame ---
  MainMenu mmMain{*this};
  MenuItem& N1;      // 功能
  MenuItem& whois1;  // 功能 > WHOIS查询
  MenuItem& N12;
  MenuItem& N13;
  MenuItem& N8;
  MenuItem& N9;
  MenuItem& Alexa1;  // 功能 > Alexa排名查询
  MenuItem& N14;
  MenuItem& N15;
  MenuItem& N10;
  MenuItem& N11;
  MenuItem& N16;
  MenuItem& N17;
  MenuItem& N18;
  MenuItem& N2;  // 辅助
  MenuItem& N4;
  MenuItem& N5;
  MenuItem& mnuKeyWord;  // 辅助 > 关键字密度: the keyword-tools page
  MenuItem& N3;  // 帮助
  MenuItem& N7;

  ImageList ilMain{30, 30};
  ToolBar tlbMain{*this};
  ToolButton btnAll{tlbMain};
  ToolButton btntsWhois{tlbMain};
  ToolButton btnDomainFilter{tlbMain};
  ToolButton btnDomainCreate{tlbMain};
  ToolButton btnAlexaTableShow{tlbMain};
  ToolButton btnSiteInfoTableShow{tlbMain};
  ToolButton btnShoulu{tlbMain};
  Panel pnlImg{tlbMain};
  Image ImageAd{pnlImg};

  Panel pnlLinks{*this};
  Label lblUrl1{pnlLinks};
  Label lblUrl2{pnlLinks};
  Label lblUrl3{pnlLinks};
  Label lblUrl4{pnlLinks};
  Timer tmrUrlBegin{1000, true};    // first fill of the link strip
  Timer tmrChangeUrl{5000, false};  // rotation of the link strip
  PageClient idhtpGetUrl;           // fetches the sponsor list

  StatusBar stat1{*this};
  PageControl pgcMain{*this};
  TabSheet tsWhois{pgcMain};
  TabSheet tsDomainFilter{pgcMain};
  TabSheet tsDomainCreate{pgcMain};
  TabSheet tsAleax{pgcMain};
  TabSheet tsSiteInfo{pgcMain};
  TabSheet tsShoulu{pgcMain};
  TabSheet tsKeyWord{pgcMain};
  TabSheet tsAll{pgcMain};
  TabSheet tsAlexaDetail{pgcMain};
  TabSheet tsKeyWordComp{pgcMain};
  TabSheet tsPinyin{pgcMain};
  TabSheet tsEngWord{pgcMain};

  TrayIcon trycn1{*this};
  OpenDialog dlgOpenInPut;
  SaveDialog dlgSaveCsvFile;

 private:
  // The frame is laid out before the pages below are built on its tab sheets,
  // whose sizes they read.
  [[maybe_unused]] bool frameBuilt_ = BuildFrame();

 public:
  // --- Pages, in the order of pgcMain; each ends its job before its controls
  // go ---
  TWhoisPage WhoisPage{tsWhois, dlgOpenInPut, dlgSaveCsvFile};
  TDomainFilterPage DomainFilterPage{tsDomainFilter, dlgOpenInPut};
  TDomainGeneratorPage DomainGeneratorPage{tsDomainCreate, dlgOpenInPut};
  TAlexaPage AlexaPage{tsAleax, dlgOpenInPut, dlgSaveCsvFile};
  TSiteInfoPage SiteInfoPage{tsSiteInfo, dlgOpenInPut, dlgSaveCsvFile};
  TShouluPage ShouluPage{tsShoulu};
  TKeyWordPage KeyWordPage{tsKeyWord};
  TStartPage StartPage{tsAll};
  TAlexaDetailPage AlexaDetailPage{tsAlexaDetail};
  TKeyWordCompPage KeyWordCompPage{tsKeyWordComp, dlgOpenInPut, dlgSaveCsvFile};
  TPinyinPage PinyinPage{tsPinyin, dlgOpenInPut, dlgSaveCsvFile};
  TEngWordPage EngWordPage{tsEngWord, dlgOpenInPut, dlgSaveCsvFile};

  // --- Operations ---
  void FormCreate();
  // Refills both keyword memos from the settings file when it exists.
  void LoadSettings();
  // Writes the filter keywords ("Filter Key") to the settings file.
  void SaveFilterKeyWords();
  // The main window moved: raises the status window to its bottom edge.
  void WMMove();
  // Shows page `index` of pgcMain.
  void ShowPage(int index) override;
  // Fills the WHOIS page's domain list (the generator's suffix buttons).
  void ShowWhoisDomains(std::vector<std::string> domains) override;
  // The start page's quick queries, each run on its page as its button does;
  // and its column links: every site-information column, or page rank alone.
  void QuerySingleInfo(const std::string& domain);
  void QueryAlexaDetail(const std::string& domain);
  void QuerySiteInfoPr(const std::string& domain);
  void ChooseSiteInfoColumns(bool prOnly);

  // Navigation handlers.
  void btnAllClick();
  void btntsWhoisClick();
  void btnDomainFilterClick();
  void btnDomainCreateClick();
  void btnAlexaTableShowClick();
  void btnSiteInfoTableShowClick();
  void btnShouluClick();
  void N12Click();
  void N13Click();
  void N8Click();
  void N9Click();
  void N14Click();
  void N15Click();
  void N10Click();
  void N11Click();
  void N16Click();
  void N17Click();
  void N18Click();
  void N4Click();
  void N5Click();
  void mnuKeyWordClick();
  void N7Click();

  // Sponsor-link strip: the list is fetched once, at the first tick of
  // tmrUrlBegin; the captions then rotate every five seconds. Link k is
  // lblUrl1..lblUrl4 for k = 0..3.
  void LoadSponsorLinks();
  void tmrUrlBeginTimer();
  void tmrChangeUrlTimer();
  void lblUrlMouseMove(int k);
  void lblUrlMouseLeave(int k);
  void lblUrlClick(int k);
  void ImageAdClick();

 private:
  bool BuildFrame();
  void BuildMenu();
  void BuildSponsorBar();
  void ShowSponsorCaptions();
  Label& SponsorLabel(int k);
};

extern TFormMain* FormMain;

}  // namespace orlu
