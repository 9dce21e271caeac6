#include "wordcheck/word_check_page.h"

#include "pages/page_layout.h"
#include "platform/ui/import_lines.h"

namespace orlu {

WordCheckPageJob::~WordCheckPageJob() {
  Workers.Stop();
  if (config_.ListView == &Rows) config_.ListView = nullptr;
}

namespace {

// The layout both pages share: the buttons along the top, the domain list on
// the left, the result list beside it and the row memo docked at the bottom.
void PlaceWordCheckPage(TabSheet& page, Memo& domains, const char* sample,
                        std::initializer_list<Button*> buttons, ListView& list, Memo& show,
                        const char* column2, const char* column3) {
  int left = 10;
  for (Button* b : buttons) {
    b->SetBounds(left, 6, 75, 25);
    left += 80;
  }
  show.SetAlign(Align::Bottom);
  show.SetHeight(80);
  show.SetScrollBars(ScrollBars::Vertical);
  show.SetAccessibleName(Gbk("选中行"));

  constexpr int kTop = 38;
  const int height = page.ClientHeight() - kTop - show.Height() - 6;
  domains.SetBounds(10, kTop, 180, height);
  domains.SetAnchors(kAnchorLeft | kAnchorTop | kAnchorBottom);
  domains.SetScrollBars(ScrollBars::Vertical);
  domains.SetAccessibleName(Gbk("域名列表"));
  domains.SetLines({sample});

  list.SetBounds(195, kTop, kPageWidth - 195 - 10, height);
  list.SetAnchors(kAnchorAll);
  ReportStyle(list);
  list.SetColumns({{"ID", 50}, {Gbk("域名"), 100}, {Gbk(column2), 200}, {Gbk(column3), 200}});
}

}  // namespace

TPinyinPage::TPinyinPage(TabSheet& page, OpenDialog& openDialog, SaveDialog& saveDialog)
    : page_(page), openDialog_(openDialog), saveDialog_(saveDialog) {
  btn21.SetCaption(Gbk("导入"));
  btnPinyinStart.SetCaption(Gbk("查询"));
  btn22.SetCaption(Gbk("导出"));
  btn25.SetCaption(Gbk("清空"));
  PlaceWordCheckPage(page, mmoPinyinDomain, "zhongguo.com", {&btn21, &btnPinyinStart, &btn22, &btn25},
                     lvPinyin, mmoPinyinShow, "拼音参考1", "拼音参考2");
  Bind(btn21, this, &TPinyinPage::btn21Click);
  Bind(btnPinyinStart, this, &TPinyinPage::btnPinyinStartClick);
  Bind(btn22, this, &TPinyinPage::btn22Click);
  Bind(btn25, this, &TPinyinPage::btn25Click);
  Bind(lvPinyin, this, &TPinyinPage::lvPinyinClick);
}

void TPinyinPage::btn21Click() { ImportLines(openDialog_, mmoPinyinDomain); }
void TPinyinPage::btnPinyinStartClick() { PinyinJob.Workers.Start(mmoPinyinDomain.Lines()); }
void TPinyinPage::btn22Click() { ExportWithDialog(saveDialog_, lvPinyin); }
void TPinyinPage::btn25Click() { mmoPinyinDomain.Clear(); }
void TPinyinPage::lvPinyinClick() { ShowListViewItem(lvPinyin, mmoPinyinShow); }

TEngWordPage::TEngWordPage(TabSheet& page, OpenDialog& openDialog, SaveDialog& saveDialog)
    : page_(page), openDialog_(openDialog), saveDialog_(saveDialog) {
  btn24.SetCaption(Gbk("导入"));
  btnEngWordStart.SetCaption(Gbk("查询"));
  btn23.SetCaption(Gbk("导出"));
  btn26.SetCaption(Gbk("清空"));
  PlaceWordCheckPage(page, mmoEngWord, "apple.com", {&btn24, &btnEngWordStart, &btn23, &btn26},
                     lvEngWord, mmoEngWordShow, "单词参考1", "单词参考2");
  Bind(btn24, this, &TEngWordPage::btn24Click);
  Bind(btnEngWordStart, this, &TEngWordPage::btnEngWordStartClick);
  Bind(btn23, this, &TEngWordPage::btn23Click);
  Bind(btn26, this, &TEngWordPage::btn26Click);
  Bind(lvEngWord, this, &TEngWordPage::lvEngWordClick);
}

void TEngWordPage::btn24Click() { ImportLines(openDialog_, mmoEngWord); }
void TEngWordPage::btnEngWordStartClick() { EngWordJob.Workers.Start(mmoEngWord.Lines()); }
void TEngWordPage::btn23Click() { ExportWithDialog(saveDialog_, lvEngWord); }
void TEngWordPage::btn26Click() { mmoEngWord.Clear(); }
void TEngWordPage::lvEngWordClick() { ShowListViewItem(lvEngWord, mmoEngWordShow); }

}  // namespace orlu
