// The domain filter page of the main window (page 1): the offline workbench
// for domain lists. Each handler reads the memos and boxes, runs one routine
// of domain_filter.h and writes the result lines back, every memo in one
// call.
#pragma once

#include "platform/text/string_list.h"
#include "platform/ui/ui.h"

namespace orlu {

class TDomainFilterPage {
  // First, as the controls below are built on the page.
  TabSheet& page_;
  OpenDialog& openDialog_;

 public:
  // Built on `page`; imports through `openDialog` (the main window's).
  TDomainFilterPage(TabSheet& page, OpenDialog& openDialog);

  StringList FilterWorkList;  // scratch copy of the list a rewrite reads

  Label lbl1{page_};
  Edit edtFilterInPut{page_};
  Button btnFilterInPut{page_};
  Button btn2{page_};
  Button btn10{page_};
  Button btn8{page_};
  PageControl pgcFilter{page_};
  TabSheet ts1{pgcFilter};
  TabSheet ts2{pgcFilter};
  Memo mmoFilter1{ts1};
  Memo mmoFilter2{ts2};
  Button btnFilterOutDomain{page_};
  Button btnFilterRet{page_};
  Edit edtDomainFilterLongUp{page_, "1"};
  UpDown ud1{page_};
  Edit edtDomainFilterLongDown{page_, "100"};
  UpDown ud2{page_};
  Button btnFilterLong{page_};
  Button btnFilterGetUp{page_};
  CheckBox chkFilterCn{page_};
  CheckBox chkFilterComCn{page_};
  CheckBox chkFilterNetCn{page_};
  CheckBox chkFilterOrgCn{page_};
  CheckBox chkFilterCom{page_};
  CheckBox chkFilterNet{page_};
  CheckBox chkFilterOrg{page_};
  CheckBox chkFilterDQ{page_};
  GroupBox grp1{page_};
  RadioButton rbFilterAllDomain{grp1};
  RadioButton rbFilterThreeWord{grp1};
  RadioButton rbFilterFourWord{grp1};
  RadioButton rbFilterThreeNum{grp1};
  RadioButton rbFilterAllNum{grp1};
  RadioButton rbFilterThreeAll{grp1};
  RadioButton rbFilterFourNum{grp1};
  RadioButton rbFilterCmpKey{grp1};
  Button btnFilterDownDomian{page_};
  Label lbl2{page_};
  Edit edtFilterOut{page_};
  Memo mmoFilter3{page_};
  Button btnFilterKeyWordSave{page_};
  Memo mmoFilterKeyWord{page_};

  // Writes the keyword rules ("Filter Key") to the settings file.
  void SaveKeyWords();

  void btnFilterInPutClick();
  void btn2Click();
  void btnFilterOutDomainClick();
  void btnFilterLongClick();
  void btnFilterGetUpClick();
  void btnFilterRetClick();
  void btnFilterDownDomianClick();
  void btn8Click();
  void btn10Click();
  void btnFilterKeyWordSaveClick();
};

}  // namespace orlu
