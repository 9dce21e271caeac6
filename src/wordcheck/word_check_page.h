// The pinyin and English-word check pages of the main window (pages 10 and
// 11), as far as they are built: the result list with its export, and the
// memo docked at the bottom that shows the clicked row.
#pragma once

#include "platform/ui/ui.h"

namespace orlu {

class TPinyinPage {
  // First, as the controls below are built on the page.
  TabSheet& page_;
  SaveDialog& saveDialog_;

 public:
  // Built on `page`; exports through `saveDialog` (the main window's).
  TPinyinPage(TabSheet& page, SaveDialog& saveDialog);

  Button btn22{page_};
  ListView lvPinyin{page_};
  Memo mmoPinyinShow{page_};

  void btn22Click();
  void lvPinyinClick();
};

class TEngWordPage {
  // First, as the controls below are built on the page.
  TabSheet& page_;
  SaveDialog& saveDialog_;

 public:
  // Built on `page`; exports through `saveDialog` (the main window's).
  TEngWordPage(TabSheet& page, SaveDialog& saveDialog);

  Button btn23{page_};
  ListView lvEngWord{page_};
  Memo mmoEngWordShow{page_};

  void btn23Click();
  void lvEngWordClick();
};

}  // namespace orlu
