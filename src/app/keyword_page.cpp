#include "app/keyword_page.h"

#include "app/small_windows.h"
#include "pages/page_layout.h"

namespace orlu {

TKeyWordPage::TKeyWordPage(TabSheet& page) : page_(page) {
  btnOpenKeyWordMidu.SetCaption(Gbk("关键字密度"));
  btnOpenKeyWordMidu.SetBounds(20, 20, 100, 25);
  Bind(btnOpenKeyWordMidu, this, &TKeyWordPage::btnOpenKeyWordMiduClick);
}

void TKeyWordPage::btnOpenKeyWordMiduClick() {
  if (FormKWordMi) FormKWordMi->ShowModal();
}

}  // namespace orlu
