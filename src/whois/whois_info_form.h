// The single-domain WHOIS window ("域名信息"): a domain box, two buttons and
// the memo that shows the registry's reply whole. Made hidden at start-up and
// kept for the life of the program.
#pragma once

#include <string>

#include "platform/ui/ui.h"
#include "whois/whois_info.h"

namespace orlu {

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

extern TFormWhoisInfo* FormWhoisInfo;

}  // namespace orlu
