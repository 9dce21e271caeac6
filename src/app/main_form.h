// The main window: tool bar, menu, sponsor-link strip, twelve pages with
// hidden tabs, status bar and notification-area icon, and the settings file
// that keeps the filter and site-information keyword lists.
//
// Every component is a member, declared after the container it sits in, so
// it is built after its parent and destroyed before it. The pages of the
// tools are built by their own routines (Build...Page), each in the file of
// its tool.
#pragma once

#include <memory>
#include <string>

#include "platform/text/string_list.h"
#include "platform/ui/ui.h"
#include "sitequery/alexa_page.h"
#include "whois/whois_page.h"

namespace orlu {

// Page indices of pgcMain; every navigation control selects one of these.
enum MainPage : int {
  kPageWhois = 0,
  kPageDomainFilter = 1,
  kPageDomainCreate = 2,
  kPageAlexa = 3,
  kPageSiteInfo = 4,
  kPageShoulu = 5,
  kPageKeyWord = 6,
  kPageAll = 7,
  kPageAlexaDetail = 8,
  kPageKeyWordComp = 9,
  kPagePinyin = 10,
  kPageEngWord = 11,
};

class TFormMain : public Form {
 public:
  TFormMain();
  ~TFormMain() override;

  // --- Fields ---
  std::unique_ptr<StringList> SponsorUrls;    // sponsor link addresses
  std::unique_ptr<StringList> SponsorTitles;  // their captions, same order
  int SponsorIndex = 0;                       // rotation counter of the link strip
  std::unique_ptr<StringList> FilterWorkList; // scratch list of the filter page
  std::string AlexaDetailDomain;              // domain of the last ranking detail
  std::string ScanDirBuffer;                  // folder of the word-file scan
  std::string SavedDirBuffer;                 // folder before that scan
  int ScanTotalSize = 0;
  int ScanFileCount = 0;

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

  // --- Page 0: batch WHOIS (query controls built in whois/whois_page.cpp) ---
  Label lbl9{tsWhois};
  Edit edtWhoisGet{tsWhois};
  Button btnWhoisGet{tsWhois};
  Memo mmoWhoisDomain{tsWhois};
  Button btnWhoisSearch{tsWhois};
  Button btnWhoisReSearch{tsWhois};
  Button btnSingleWhois{tsWhois};
  Memo mmoWhoisShow{tsWhois};
  PopupMenu pmWhois;             // popup of lvWhois (declared first, so it outlives it)
  MenuAction actWhoisBaseInfo;   // actlstWhois: "域名基本信息"
  MenuAction actWhoisDetail;     // actlstWhois: "域名详细信息"
  Button btnWhoisExc{tsWhois};
  ListView lvWhois{tsWhois};
  ListView lvWhoisBak{tsWhois};  // hidden twin of lvWhois

  // --- Page 1: domain filter (built in domaintools/domain_filter_page.cpp) ---
  Label lbl1{tsDomainFilter};
  Edit edtFilterInPut{tsDomainFilter};
  Button btnFilterInPut{tsDomainFilter};
  Button btn2{tsDomainFilter};
  Button btn10{tsDomainFilter};
  Button btn8{tsDomainFilter};
  PageControl pgcFilter{tsDomainFilter};
  TabSheet ts1{pgcFilter};
  TabSheet ts2{pgcFilter};
  Memo mmoFilter1{ts1};
  Memo mmoFilter2{ts2};
  Button btnFilterOutDomain{tsDomainFilter};
  Button btnFilterRet{tsDomainFilter};
  Edit edtDomainFilterLongUp{tsDomainFilter, "1"};
  UpDown ud1{tsDomainFilter};
  Edit edtDomainFilterLongDown{tsDomainFilter, "100"};
  UpDown ud2{tsDomainFilter};
  Button btnFilterLong{tsDomainFilter};
  Button btnFilterGetUp{tsDomainFilter};
  CheckBox chkFilterCn{tsDomainFilter};
  CheckBox chkFilterComCn{tsDomainFilter};
  CheckBox chkFilterNetCn{tsDomainFilter};
  CheckBox chkFilterOrgCn{tsDomainFilter};
  CheckBox chkFilterCom{tsDomainFilter};
  CheckBox chkFilterNet{tsDomainFilter};
  CheckBox chkFilterOrg{tsDomainFilter};
  CheckBox chkFilterDQ{tsDomainFilter};
  GroupBox grp1{tsDomainFilter};
  RadioButton rbFilterAllDomain{grp1};
  RadioButton rbFilterThreeWord{grp1};
  RadioButton rbFilterFourWord{grp1};
  RadioButton rbFilterThreeNum{grp1};
  RadioButton rbFilterAllNum{grp1};
  RadioButton rbFilterThreeAll{grp1};
  RadioButton rbFilterFourNum{grp1};
  RadioButton rbFilterCmpKey{grp1};
  Button btnFilterDownDomian{tsDomainFilter};
  Label lbl2{tsDomainFilter};
  Edit edtFilterOut{tsDomainFilter};
  Memo mmoFilter3{tsDomainFilter};
  Button btnFilterKeyWordSave{tsDomainFilter};
  Memo mmoFilterKeyWord{tsDomainFilter};

  // --- Page 2: domain generation (built in domaintools/domain_generator_page.cpp) ---
  PageControl pgcDomainCreate{tsDomainCreate};
  TabSheet ts3{pgcDomainCreate};
  TabSheet ts4{pgcDomainCreate};
  Button btn1{ts3};
  Button btn3{ts3};
  Button btn16{ts3};
  Button btn4{ts3};
  Memo mmoDomainCreate1{ts3};
  Button btn5{ts4};
  Button btn6{ts4};
  Button btn15{ts4};
  Button btn7{ts4};
  Memo mmoDomainCreate2{ts4};
  CheckBox chkCreateFan{tsDomainCreate};
  Button btnDomainCreateStart{tsDomainCreate};
  Button btn9{tsDomainCreate};
  Memo mmoDomainCreate3{tsDomainCreate};
  PageControl pgcDomainCreatePara{tsDomainCreate};
  TabSheet ts9{pgcDomainCreatePara};
  TabSheet ts11{pgcDomainCreatePara};
  CheckBox chkTypoLack1Letter{ts9};
  CheckBox chkTypoNtoM{ts9};
  CheckBox chkTypoMtoN{ts9};
  CheckBox chkTypoLack2Letter{ts9};
  CheckBox chkTypoDoubleLetter{ts9};
  CheckBox chkTypoxxxcom_cn{ts9};
  Button btnTypoStart{ts9};
  CheckBox chkDcn{ts11};
  CheckBox chkDcomcn{ts11};
  CheckBox chkDnetcn{ts11};
  CheckBox chkDorgcn{ts11};
  CheckBox chkDgovcn{ts11};
  CheckBox chkDcom{ts11};
  CheckBox chkDnet{ts11};
  CheckBox chkDorg{ts11};
  CheckBox chkDbiz{ts11};
  CheckBox chkDinfo{ts11};
  CheckBox chkDtv{ts11};
  CheckBox chkDmobi{ts11};
  CheckBox chkDname{ts11};
  CheckBox chkDcc{ts11};
  Button btnOtherDomainCreate{ts11};
  Button btnAllDomainCreate{ts11};

  // --- Page 3: batch ranking (query controls built in sitequery/alexa_page.cpp) ---
  Button btnAlexaPutOut{tsAleax};
  ListView lvAlexa{tsAleax};
  Button btnAlexaFileOpen{tsAleax};
  PageControl pgcAlexaDomainLst{tsAleax};
  TabSheet ts5{pgcAlexaDomainLst};
  TabSheet ts6{pgcAlexaDomainLst};
  Memo mmoAlexaDomainList1{ts5};
  Memo mmoAlexaDomainList2{ts6};
  Button btnAlexaSeaPlay{tsAleax};
  Button btnAlexaSeaPause{tsAleax};
  Button btnAlexaSeaResume{tsAleax};
  Button btnAlexaSeaStop{tsAleax};
  Button btnAlexaClearMmo{tsAleax};
  Button btnAlexaSeaRePlay{tsAleax};
  Label lbl3{tsAleax};
  Edit edtAlexaReadTimeOut{tsAleax};
  Label lbl4{tsAleax};
  Edit edtAlexaThCount{tsAleax};
  Label lbl5{tsAleax};
  Edit edtReSearchTimes{tsAleax};
  CheckBox chkShowLv{tsAleax};
  ListView lvAlexaBak{tsAleax};  // hidden twin of lvAlexa
  Button btnManualTimer{tsAleax};
  Button btn11{tsAleax};

  // --- Page 4: site information ---
  PageControl mmoSiteInfoKeyWord{tsSiteInfo};
  TabSheet ts7{mmoSiteInfoKeyWord};
  TabSheet ts8{mmoSiteInfoKeyWord};
  Memo mmoSiteInfoDomainList1{ts7};
  Memo mmoSiteInfoKeword{ts8};
  Button btnSiteInfoKeyWordSave{tsSiteInfo};
  CheckBox chkPr{tsSiteInfo};
  CheckBox chkAlexa{tsSiteInfo};
  CheckBox chkAlink{tsSiteInfo};
  CheckBox chkZhidao{tsSiteInfo};
  CheckBox chkBsite{tsSiteInfo};
  CheckBox chkYlink{tsSiteInfo};
  CheckBox chkArchive{tsSiteInfo};
  CheckBox chkKeyWord{tsSiteInfo};
  Button btn14{tsSiteInfo};
  Button btnSiteInfoFileOut{tsSiteInfo};
  ListView lvSiteInfo{tsSiteInfo};

  // --- Page 6: keyword tools ---
  Button btnOpenKeyWordMidu{tsKeyWord};

  // --- Page 7: start page ---
  Label lbl33{tsAll};
  Button btn18{tsAll};
  Button btn17{tsAll};
  Button btn19{tsAll};
  GroupBox grp7{tsAll};
  GroupBox grp2{tsAll};
  GroupBox grp6{tsAll};
  GroupBox grp3{tsAll};
  GroupBox grp5{tsAll};
  GroupBox grp4{tsAll};
  Label lblAllShuluPrompt{grp7};
  Edit edtAllShulu{grp7};
  Button btnAllShuluDo{grp7};
  Label lbl24{grp7};
  Label lblAllPrPrompt{grp2};
  Edit edtAllPr{grp2};
  Button btnAllPrDo{grp2};
  Label lbl26{grp2};
  Label lblAllSourcePrompt{grp6};
  Edit edtAllSouce{grp6};
  Button btnAllSourceDo{grp6};
  Label lblAllAlexaPrompt{grp3};
  Edit edtAllAlexa{grp3};
  Button btnAllAlexaDo{grp3};
  Label lbl23{grp3};
  Label lblAllWhoisPrompt{grp5};
  Edit edtAllWhois{grp5};
  Button btnAllWhoisDo{grp5};
  Label lbl28{grp5};
  Label lbl30{grp4};
  Label lbl31{grp4};
  Label lblAllDaoqi1{grp4};
  Label lblAllDaoqi2{grp4};
  Label lblAllDaoqi3{grp4};
  Label lblAllDaoqi4{grp4};
  Label lblAllDaoqi5{grp4};

  // --- Page 8: ranking detail ---
  ScrollBox scrlbxAlexa{tsAlexaDetail};
  ListView lvAlexaTraffic{scrlbxAlexa};
  ListView lvAlexaCountry{scrlbxAlexa};
  PageControl pgcAlexaPic{scrlbxAlexa};

  // --- Page 9: keyword-file comparison ---
  Button btnKeyWordFilesOut{tsKeyWordComp};
  ListView lvKeyWord{tsKeyWordComp};

  // --- Page 10: pinyin check ---
  Button btn22{tsPinyin};
  ListView lvPinyin{tsPinyin};
  Memo mmoPinyinShow{tsPinyin};

  // --- Page 11: English-word check ---
  Button btn23{tsEngWord};
  ListView lvEngWord{tsEngWord};
  Memo mmoEngWordShow{tsEngWord};

  // --- Batch WHOIS workers: kept last, so they end before any control goes ---
  WhoisPageJob WhoisJob{lvWhois};
  // Batch ranking: binds AlexaSea to page 3; ends its workers before the lists go.
  AlexaPageJob AlexaJob{lvAlexa, lvAlexaBak};

  // --- Operations ---
  void FormCreate();
  // Refills both keyword memos from the settings file when it exists.
  void LoadSettings();
  // Writes the filter keywords ("Filter Key") to the settings file.
  void SaveFilterKeyWords();
  // The main window moved: raises the status window to its bottom edge.
  void WMMove();
  // Shows page `index` of pgcMain.
  void ShowPage(int index);
  // The steps of every export button: save dialog in the program's folder,
  // then the list as CSV.
  void ExportWithDialog(ListView& list);
  void CheckAllSiteInfoColumns();
  void UncheckAllSiteInfoColumns();

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
  void N7Click();
  void btnOpenKeyWordMiduClick();

  // Page 2: domain generation.
  void btn1Click();
  void btn5Click();
  void btn3Click();
  void btn6Click();
  void btn16Click();
  void btn15Click();
  void btn4Click();
  void btn7Click();
  void btn9Click();
  void btnDomainCreateStartClick();
  void btnTypoStartClick();
  void btnOtherDomainCreateClick();
  void btnAllDomainCreateClick();

  // Page 1: domain filter.
  void btnFilterInPutClick();
  void btn2Click();
  void btnFilterOutDomainClick();
  void btnFilterLongClick();
  void btnFilterGetUpClick();
  void btnFilterRetClick();
  void btnFilterDownDomianClick();
  void btn8Click();
  void btn10Click();

  // Page 3: batch ranking.
  void btnAlexaFileOpenClick();
  void btnAlexaClearMmoClick();
  void btnAlexaSeaPlayClick();
  void btnAlexaSeaPauseClick();
  void btnAlexaSeaResumeClick();
  void btnAlexaSeaStopClick();
  void btnAlexaSeaRePlayClick();
  void btnManualTimerClick();
  void btn11Click();

  // Page 0: batch WHOIS.
  void FillWhoisRows();
  void btnWhoisGetClick();
  void btnWhoisSearchClick();
  void btnWhoisReSearchClick();
  void btnSingleWhoisClick();
  void lvWhoisClick();
  void actWhoisBaseInfoExecute();
  void actWhoisDetailExecute();

  // Settings buttons of pages 1 and 4.
  void btnFilterKeyWordSaveClick();
  void btnSiteInfoKeyWordSaveClick();

  // Export buttons and row clicks of the result lists.
  void btnWhoisExcClick();
  void btnAlexaPutOutClick();
  void btnSiteInfoFileOutClick();
  void btnKeyWordFilesOutClick();
  void btn22Click();
  void btn23Click();
  void lvAlexaClick();
  void lvSiteInfoClick();
  void lvKeyWordClick();
  void lvPinyinClick();
  void lvEngWordClick();
  void btn14Click();

 private:
  void BuildFrame();
  void BuildMenu();
  void BuildWhoisPage();
  void BuildWhoisQueryPage();
  void BuildDomainFilterPage();
  void BuildDomainCreatePage();
  void BuildAlexaPage();
  void BuildAlexaQueryPage();
  void BuildSiteInfoPage();
  void BuildKeyWordPage();
  void BuildStartPage();
  void BuildAlexaDetailPage();
  void BuildKeyWordCompPage();
  void BuildWordCheckPages();
  // Ticks or clears the eight service boxes of the site-information page.
  void SetAllSiteInfoColumns(bool checked);
};

extern TFormMain* FormMain;

}  // namespace orlu
