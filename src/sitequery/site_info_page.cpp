#include "sitequery/site_info_page.h"

#include "app/page_layout.h"
#include "app/settings_file.h"
#include "app/stat_show_form.h"

namespace orlu {

TSiteInfoPage::TSiteInfoPage(TabSheet& page, SaveDialog& saveDialog)
    : page_(page), saveDialog_(saveDialog) {
  const int pageHeight = PageHeight(page);
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
  Bind(btnSiteInfoKeyWordSave, this, &TSiteInfoPage::btnSiteInfoKeyWordSaveClick);

  // The service boxes in a row, 70 apart.
  int x = 220;
  auto box = [&x](CheckBox& b, const char* caption) {
    b.SetCaption(Gbk(caption));
    b.SetBounds(x, 42, 68, 20);
    x += 70;
  };
  box(chkPr, "Pr");
  box(chkAlexa, "Alexa");
  box(chkAlink, "ALink");
  box(chkZhidao, "知道");
  box(chkBsite, "BSite");
  box(chkYlink, "YLink");
  box(chkArchive, "Archive");
  box(chkKeyWord, "关键字");
  chkPr.SetChecked(true);
  btn14.SetCaption(Gbk("全选"));
  btn14.SetBounds(x + 4, 40, 60, 25);
  Bind(btn14, this, &TSiteInfoPage::btn14Click);

  btnSiteInfoFileOut.SetCaption(Gbk("导出"));
  btnSiteInfoFileOut.SetBounds(315, 8, 75, 25);
  Bind(btnSiteInfoFileOut, this, &TSiteInfoPage::btnSiteInfoFileOutClick);

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
  Bind(lvSiteInfo, this, &TSiteInfoPage::lvSiteInfoClick);
}

void TSiteInfoPage::SetAllSiteInfoColumns(bool checked) {
  for (CheckBox* b : {&chkPr, &chkAlexa, &chkAlink, &chkZhidao, &chkBsite, &chkYlink,
                      &chkArchive, &chkKeyWord}) {
    b->SetChecked(checked);
  }
}

void TSiteInfoPage::CheckAllSiteInfoColumns() { SetAllSiteInfoColumns(true); }
void TSiteInfoPage::UncheckAllSiteInfoColumns() { SetAllSiteInfoColumns(false); }

void TSiteInfoPage::btn14Click() { CheckAllSiteInfoColumns(); }

void TSiteInfoPage::btnSiteInfoKeyWordSaveClick() {
  WriteKeyWordList(SettingsFileName(), kSiteInfoKeySection, mmoSiteInfoKeword.Lines());
}

void TSiteInfoPage::btnSiteInfoFileOutClick() { ExportWithDialog(saveDialog_, lvSiteInfo); }

void TSiteInfoPage::lvSiteInfoClick() {
  if (FormStatShow) ShowListViewItem(lvSiteInfo, FormStatShow->mmoStatShow);
}

}  // namespace orlu
