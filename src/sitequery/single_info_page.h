// The single-site report page of the main window (page 5): a domain box and
// its query button, ten value labels and the engine grid that a one-second
// timer fills from the report's store, and a button that writes the whole
// report as text into a memo.
#pragma once

#include <string>

#include "platform/ui/ui.h"
#include "sitequery/single_info.h"

namespace orlu {

class TShouluPage {
  // First, as the controls below are built on the page.
  TabSheet& page_;

 public:
  explicit TShouluPage(TabSheet& page);

  Label lbl10{page_};
  Edit edtShouluDomain{page_};
  Button btnShouluSearch{page_};
  Label lbl11{page_};
  Label lblShouluPr{page_};
  Label lbl12{page_};
  Label lblSholuSr{page_};
  Label lbl13{page_};
  Label lblShouluAlexa{page_};
  Label lbl14{page_};
  Label lblChinaRank{page_};
  Label lbl15{page_};
  Label lblShouluTime{page_};
  Label lbl16{page_};
  Label lblShouluBailink{page_};
  Label lbl17{page_};
  Label lblBaidu1tian{page_};
  Label lbl18{page_};
  Label lblBaidu1Zhou{page_};
  Label lbl19{page_};
  Label lblBaidu1Yue{page_};
  Label lbl20{page_};
  Label lblBaidu1Nian{page_};
  ListView lvShoulu{page_};
  Button btn12{page_};
  Memo mmoSingleDomainShow{page_};
  Timer tmrSingleInfo{1000, false};
  // Kept last: ends the report's workers before the controls go.
  SingleInfoJob ShouluJob;

  // Starts a report for the box's text with every "http://" removed.
  void btnShouluSearchClick();
  // Enter does what the query button does; the key goes on to the box.
  void edtShouluDomainKeyPress(char& key);
  // Copies the store into the value labels and the grid.
  void tmrSingleInfoTimer();
  // Writes the report as five lines into the memo.
  void btn12Click();
};

}  // namespace orlu
