// The keyword-file comparison page of the main window (page 9): the word-file
// list (files added one by one or by a folder scan), the domain list, the
// thread count, the start button, and the result list with its export and
// row display. The comparison itself runs on the record `KeyWordFilter`.
#pragma once

#include <string>
#include <vector>

#include "domaintools/folder_scan.h"
#include "domaintools/keyword_compare.h"
#include "platform/ui/ui.h"

namespace orlu {

class TKeyWordCompPage {
  // First, as the controls below are built on the page.
  TabSheet& page_;
  OpenDialog& openDialog_;
  SaveDialog& saveDialog_;

 public:
  // Built on `page`; word files and domain lists are chosen through
  // `openDialog`, exports go through `saveDialog` (both the main window's).
  TKeyWordCompPage(TabSheet& page, OpenDialog& openDialog, SaveDialog& saveDialog);
  // Ends the comparison's workers before the list goes.
  ~TKeyWordCompPage();

  Button btnKeyWordFileAdd{page_};
  Button btnKeyWordFileSAdd{page_};
  Button btnKeyWordFileClear{page_};
  Label lbl64{page_};
  Edit edtKeyWordThread{page_, "1"};
  Button btnKeyWordFilesOut{page_};
  Label lbl65{page_};
  Memo mmoKeyWordFiles{page_};
  Button btn20{page_};
  Button btnKeyWordFilesFiler{page_};
  Label lbl66{page_};
  Memo mmoKeyWordDomains{page_};
  ListView lvKeyWord{page_};
  // lvKeyWord as the rows the workers' hits are written to.
  ListViewRows KeyWordRows{lvKeyWord};
  // Running totals of the folder scans.
  FolderScan Scan;
  // The real paths of the word files added by the buttons.
  WordFilePaths KeyWordFilePaths;

  void btnKeyWordFileAddClick();
  void btnKeyWordFileSAddClick();
  void btnKeyWordFileClearClick();
  void btn20Click();
  void btnKeyWordFilesFilerClick();
  void btnKeyWordFilesOutClick();
  void lvKeyWordClick();

 private:
  // Lists the word files the last run could not read in the status
  // window's memo.
  static void ShowUnreadFiles(const std::vector<std::string>& paths);
};

}  // namespace orlu
