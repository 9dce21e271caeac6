#include "wordcheck/word_check_page.h"

#include "app/page_layout.h"

namespace orlu {

namespace {

// The layout both pages share: the export button, the row memo docked at the
// bottom and the list reaching down to it.
void PlaceWordCheckPage(TabSheet& page, Button& exportButton, ListView& list, Memo& show,
                        const char* column2, const char* column3) {
  exportButton.SetCaption(Gbk("导出"));
  exportButton.SetBounds(10, 8, 75, 25);

  show.SetAlign(Align::Bottom);
  show.SetHeight(80);
  show.SetScrollBars(ScrollBars::Vertical);

  list.SetBounds(10, 40, kPageWidth - 20, page.ClientHeight() - 80 - 8 - 40);
  list.SetAnchors(kAnchorAll);
  ReportStyle(list);
  list.SetColumns({{"ID", 50}, {Gbk("域名"), 100}, {Gbk(column2), 200}, {Gbk(column3), 200}});
}

}  // namespace

TPinyinPage::TPinyinPage(TabSheet& page, SaveDialog& saveDialog)
    : page_(page), saveDialog_(saveDialog) {
  PlaceWordCheckPage(page, btn22, lvPinyin, mmoPinyinShow, "拼音参考1", "拼音参考2");
  Bind(btn22, this, &TPinyinPage::btn22Click);
  Bind(lvPinyin, this, &TPinyinPage::lvPinyinClick);
}

void TPinyinPage::btn22Click() { ExportWithDialog(saveDialog_, lvPinyin); }
void TPinyinPage::lvPinyinClick() { ShowListViewItem(lvPinyin, mmoPinyinShow); }

TEngWordPage::TEngWordPage(TabSheet& page, SaveDialog& saveDialog)
    : page_(page), saveDialog_(saveDialog) {
  PlaceWordCheckPage(page, btn23, lvEngWord, mmoEngWordShow, "单词参考1", "单词参考2");
  Bind(btn23, this, &TEngWordPage::btn23Click);
  Bind(lvEngWord, this, &TEngWordPage::lvEngWordClick);
}

void TEngWordPage::btn23Click() { ExportWithDialog(saveDialog_, lvEngWord); }
void TEngWordPage::lvEngWordClick() { ShowListViewItem(lvEngWord, mmoEngWordShow); }

}  // namespace orlu
