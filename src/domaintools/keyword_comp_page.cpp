#include "domaintools/keyword_comp_page.h"

#include "app/page_layout.h"
#include "app/stat_show_form.h"

namespace orlu {

TKeyWordCompPage::TKeyWordCompPage(TabSheet& page, SaveDialog& saveDialog)
    : page_(page), saveDialog_(saveDialog) {
  btnKeyWordFilesOut.SetCaption(Gbk("导出"));
  btnKeyWordFilesOut.SetBounds(10, 8, 75, 25);
  Bind(btnKeyWordFilesOut, this, &TKeyWordCompPage::btnKeyWordFilesOutClick);

  lvKeyWord.SetBounds(10, 40, kPageWidth - 20, PageHeight(page) - 40);
  lvKeyWord.SetAnchors(kAnchorAll);
  ReportStyle(lvKeyWord);
  lvKeyWord.SetColumns({{"ID", 50}, {Gbk("域名"), 150}, {Gbk("备注"), 300}});
  Bind(lvKeyWord, this, &TKeyWordCompPage::lvKeyWordClick);
}

void TKeyWordCompPage::btnKeyWordFilesOutClick() { ExportWithDialog(saveDialog_, lvKeyWord); }

void TKeyWordCompPage::lvKeyWordClick() {
  if (FormStatShow) ShowListViewItem(lvKeyWord, FormStatShow->mmoStatShow);
}

}  // namespace orlu
