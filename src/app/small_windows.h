// The small tool windows, each made hidden at start-up and kept for the life
// of the program: page fetch, single-domain WHOIS, page source, deletion
// lists and the About box.
#pragma once

#include <string>

#include "platform/ui/ui.h"
#include "whois/whois_info.h"

namespace orlu {

// Page-fetch window ("关键字密度").
class TFormKWordMi : public Form {
 public:
  TFormKWordMi();
};

// Single-domain WHOIS window ("域名信息"); its controls and questions are
// built in whois/whois_info_form.cpp.
class TFormWhoisInfo : public Form {
 public:
  TFormWhoisInfo();

  Memo mmoWhoisInfo{*this};
  Label lbl1{*this};
  Edit edtWhois{*this};
  Button btnBaseInfo{*this};
  Button btnDetailInfo{*this};
  // The window's WHOIS client: every question waits on a helper thread while
  // the windows keep painting; a click during the wait is ignored.
  WhoisInfoQuery m_thWhois{[this](const std::string&, const std::string& query) {
    return AskKeepingWindowsAlive(query);
  }};

  void ShowBaseWhois(std::string domain);
  void ShowDetailWhois(std::string domain);
  std::string CutWhoisServer(const std::string& reply);
  std::string FindIanaServer(std::string domain);
  void btnBaseInfoClick();
  void btnDetailInfoClick();
  void edtWhoisKeyPress(char& key);

 private:
  void BuildWhoisInfo();
  std::string AskKeepingWindowsAlive(const std::string& query);
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
