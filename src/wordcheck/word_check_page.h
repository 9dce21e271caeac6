// The pinyin and English-word check pages of the main window (pages 10 and
// 11): the domain list with its import and clear buttons, the start button,
// the result list with its export, and the memo docked at the bottom that
// shows the clicked row. Each page keeps its workers, which answer into the
// page's list through its row store.
#pragma once

#include "platform/ui/ui.h"
#include "wordcheck/word_check.h"

namespace orlu {

// The result list of a page as the workers' row store, and the page's
// workers. The workers end (stopped and joined) before the rows go, and the
// settings stop pointing at the rows when they go.
struct WordCheckPageJob {
  WordCheckPageJob(ListView& list, WordCheckJob::Kind kind, WordCheckSettings& config)
      : Rows(list), Workers(kind, config), config_(config) {}
  ~WordCheckPageJob();
  WordCheckPageJob(const WordCheckPageJob&) = delete;
  WordCheckPageJob& operator=(const WordCheckPageJob&) = delete;

  ListViewRows Rows;
  WordCheckJob Workers;

 private:
  WordCheckSettings& config_;
};

class TPinyinPage {
  // First, as the controls below are built on the page.
  TabSheet& page_;
  OpenDialog& openDialog_;
  SaveDialog& saveDialog_;

 public:
  // Built on `page`; imports through `openDialog`, exports through
  // `saveDialog` (both the main window's).
  TPinyinPage(TabSheet& page, OpenDialog& openDialog, SaveDialog& saveDialog);

  Memo mmoPinyinDomain{page_};
  Button btn21{page_};
  Button btnPinyinStart{page_};
  Button btn22{page_};
  Button btn25{page_};
  ListView lvPinyin{page_};
  Memo mmoPinyinShow{page_};
  // Kept last, so the workers end before any control goes.
  WordCheckPageJob PinyinJob{lvPinyin, WordCheckJob::Kind::Pinyin, PinyinConfig};

  void btn21Click();
  void btnPinyinStartClick();
  void btn22Click();
  void btn25Click();
  void lvPinyinClick();
};

class TEngWordPage {
  // First, as the controls below are built on the page.
  TabSheet& page_;
  OpenDialog& openDialog_;
  SaveDialog& saveDialog_;

 public:
  // Built on `page`; imports through `openDialog`, exports through
  // `saveDialog` (both the main window's).
  TEngWordPage(TabSheet& page, OpenDialog& openDialog, SaveDialog& saveDialog);

  Memo mmoEngWord{page_};
  Button btn24{page_};
  Button btnEngWordStart{page_};
  Button btn23{page_};
  Button btn26{page_};
  ListView lvEngWord{page_};
  Memo mmoEngWordShow{page_};
  // Kept last, so the workers end before any control goes.
  WordCheckPageJob EngWordJob{lvEngWord, WordCheckJob::Kind::EngWord, EngWordConfig};

  void btn24Click();
  void btnEngWordStartClick();
  void btn23Click();
  void btn26Click();
  void lvEngWordClick();
};

}  // namespace orlu
