// The small tool windows, each made hidden at start-up and kept for the life
// of the program: page fetch, single-domain WHOIS, page source, deletion
// lists and the About box.
#pragma once

#include "platform/ui/ui.h"

namespace orlu {

// Page-fetch window ("关键字密度").
class TFormKWordMi : public Form {
 public:
  TFormKWordMi();
};

// Single-domain WHOIS window ("域名信息").
class TFormWhoisInfo : public Form {
 public:
  TFormWhoisInfo();
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
extern TFormWhoisInfo* FormWhoisInfo;
extern TFormSource* FormSource;
extern TFormDaoqi* FormDaoqi;
extern TFormBanquan* FormBanquan;

}  // namespace orlu
