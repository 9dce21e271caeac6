// The small tool windows, each made hidden at start-up and kept for the life
// of the program: page fetch, page source, deletion lists and the About box.
// The single-domain WHOIS window is in whois/whois_info_form.h.
#pragma once

#include "platform/ui/ui.h"

namespace orlu {

// Page-fetch window ("关键字密度").
class TFormKWordMi : public Form {
 public:
  TFormKWordMi();
};

// Page-source window ("网页源代码").
class TFormSource : public Form {
 public:
  TFormSource();
};

// Deletion-list window ("到期删除域名").
class TFormDaoqi : public Form {
 public:
  TFormDaoqi();
};

// About box ("关于").
class TFormBanquan : public Form {
 public:
  TFormBanquan();
};

extern TFormKWordMi* FormKWordMi;
extern TFormSource* FormSource;
extern TFormDaoqi* FormDaoqi;
extern TFormBanquan* FormBanquan;

}  // namespace orlu
