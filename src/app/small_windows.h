// The small tool windows, each made hidden at start-up and kept for the life
// of the program: page fetch, page source, deletion lists and the About box.
// The single-domain WHOIS window is in whois/whois_info_form.h.
#pragma once

#include <string>

#include "platform/net/page_client.h"
#include "platform/ui/ui.h"

namespace orlu {

// Page-fetch window ("关键字密度"): shows a page's bytes as received.
class TFormKWordMi : public Form {
 public:
  TFormKWordMi();

  Label lbl1{*this};
  Edit edtKworMiUrl{*this};
  Label lbl2{*this};
  Edit edtKworMiWord{*this};  // not read
  Button btnKWrodMiSearch{*this};
  Memo mmoKWordMi1{*this};
  Label lbl3{*this};
  Memo mmoKWordMi2{*this};
  PageClient idhtpKeyWordMi;

  // Fetches the trimmed address into mmoKWordMi2; a failure reaches the
  // application's box. A page over 1 MiB shows its start, with a notice.
  void btnKWrodMiSearchClick();
};

// Page-source window ("网页源代码").
class TFormSource : public Form {
 public:
  TFormSource();

  Label lbl2{*this};
  Label lbl1{*this};
  Edit edtSource{*this};
  Button btnSourceDo{*this};
  Memo mmoShowSource{*this};
  PageClient idhtpSource;

  // Shows the page at `url`: converted from UTF-8 when it is UTF-8, as
  // received otherwise; a failed fetch shows an empty line and no message.
  // A page over 1 MiB shows its start, with a notice. Ignored while an
  // earlier fetch of this window waits.
  void ShowSource(const std::string& url);
  void btnSourceDoClick();
  void edtSourceKeyPress(char& key);
};

// Deletion-list window ("到期删除域名"): five buttons that open the cn
// registry's daily lists in the browser.
class TFormDaoqi : public Form {
 public:
  TFormDaoqi();

  Button btnDaoqi1{*this};
  Button btnDaoqi2{*this};
  Button btnDaoqi3{*this};
  Button btnDaoqi4{*this};
  Button btnDaoqi5{*this};
  Memo mmoShow{*this};
  PageClient idhtpDaoqi;  // not used

  // Opens `address` in the desktop's browser (http and https only).
  void OpenUrl(const std::string& address);
  void btnDaoqi1Click();
  void btnDaoqi2Click();
  void btnDaoqi3Click();
  void btnDaoqi4Click();
  void btnDaoqi5Click();
};

// About box ("关于").
class TFormBanquan : public Form {
 public:
  TFormBanquan();

  Memo mmoBan{*this};
};

extern TFormKWordMi* FormKWordMi;
extern TFormSource* FormSource;
extern TFormDaoqi* FormDaoqi;
extern TFormBanquan* FormBanquan;

}  // namespace orlu
