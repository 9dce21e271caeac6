// The domain generation page of the main window (page 2): two source lists,
// their join into a result list, TYPO variants of a source list and the
// expansion of the result list with suffixes into the domain list of the
// WHOIS page. Every operation runs to its end inside its click handler.
#pragma once

#include "platform/ui/ui.h"

namespace orlu {

class TDomainGeneratorPage {
  // First, as the controls below are built on the page.
  TabSheet& page_;
  OpenDialog& openDialog_;

 public:
  // Built on `page`; loads files through `openDialog` (the main window's).
  TDomainGeneratorPage(TabSheet& page, OpenDialog& openDialog);

  PageControl pgcDomainCreate{page_};
  TabSheet ts3{pgcDomainCreate};
  TabSheet ts4{pgcDomainCreate};
  Button btn1{ts3};
  Button btn3{ts3};
  Button btn16{ts3};
  Button btn4{ts3};
  Memo mmoDomainCreate1{ts3};
  Button btn5{ts4};
  Button btn6{ts4};
  Button btn15{ts4};
  Button btn7{ts4};
  Memo mmoDomainCreate2{ts4};
  CheckBox chkCreateFan{page_};
  Button btnDomainCreateStart{page_};
  Button btn9{page_};
  Memo mmoDomainCreate3{page_};
  PageControl pgcDomainCreatePara{page_};
  TabSheet ts9{pgcDomainCreatePara};
  TabSheet ts11{pgcDomainCreatePara};
  CheckBox chkTypoLack1Letter{ts9};
  CheckBox chkTypoNtoM{ts9};
  CheckBox chkTypoMtoN{ts9};
  CheckBox chkTypoLack2Letter{ts9};
  CheckBox chkTypoDoubleLetter{ts9};
  CheckBox chkTypoxxxcom_cn{ts9};
  Button btnTypoStart{ts9};
  CheckBox chkDcn{ts11};
  CheckBox chkDcomcn{ts11};
  CheckBox chkDnetcn{ts11};
  CheckBox chkDorgcn{ts11};
  CheckBox chkDgovcn{ts11};
  CheckBox chkDcom{ts11};
  CheckBox chkDnet{ts11};
  CheckBox chkDorg{ts11};
  CheckBox chkDbiz{ts11};
  CheckBox chkDinfo{ts11};
  CheckBox chkDtv{ts11};
  CheckBox chkDmobi{ts11};
  CheckBox chkDname{ts11};
  CheckBox chkDcc{ts11};
  Button btnOtherDomainCreate{ts11};
  Button btnAllDomainCreate{ts11};

  void btn1Click();
  void btn5Click();
  void btn3Click();
  void btn6Click();
  void btn16Click();
  void btn15Click();
  void btn4Click();
  void btn7Click();
  void btn9Click();
  void btnDomainCreateStartClick();
  void btnTypoStartClick();
  void btnOtherDomainCreateClick();
  void btnAllDomainCreateClick();
};

}  // namespace orlu
