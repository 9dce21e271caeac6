// The main window as the pages see it: the window that holds the pages, one
// shown at a time, and the calls through which one page reaches another. The
// main window derives from it, so a page never names the main window itself.
#pragma once

#include <string>
#include <vector>

#include "platform/ui/ui.h"

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

class PageHost : public Form {
 public:
  // Shows page `index` of pgcMain.
  virtual void ShowPage(int index) = 0;
  // Replaces the WHOIS page's domain list with `domains` in one call and
  // shows that page.
  virtual void ShowWhoisDomains(std::vector<std::string> domains) = 0;
};

// The main window while it lives: set and taken back together with FormMain.
inline PageHost* MainPageHost = nullptr;

}  // namespace orlu
