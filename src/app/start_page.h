// The start page of the main window (page 7): quick-query boxes, links to the
// other pages and the deletion-list links, laid out in two columns of three
// groups.
#pragma once

#include "platform/ui/ui.h"

namespace orlu {

class TStartPage {
  // First, as the controls below are built on the page.
  TabSheet& page_;

 public:
  explicit TStartPage(TabSheet& page);

  Label lbl33{page_};
  Button btn18{page_};
  Button btn17{page_};
  Button btn19{page_};
  GroupBox grp7{page_};
  GroupBox grp2{page_};
  GroupBox grp6{page_};
  GroupBox grp3{page_};
  GroupBox grp5{page_};
  GroupBox grp4{page_};
  Label lblAllShuluPrompt{grp7};
  Edit edtAllShulu{grp7};
  Button btnAllShuluDo{grp7};
  Label lbl24{grp7};
  Label lblAllPrPrompt{grp2};
  Edit edtAllPr{grp2};
  Button btnAllPrDo{grp2};
  Label lbl26{grp2};
  Label lblAllSourcePrompt{grp6};
  Edit edtAllSouce{grp6};
  Button btnAllSourceDo{grp6};
  Label lblAllAlexaPrompt{grp3};
  Edit edtAllAlexa{grp3};
  Button btnAllAlexaDo{grp3};
  Label lbl23{grp3};
  Label lblAllWhoisPrompt{grp5};
  Edit edtAllWhois{grp5};
  Button btnAllWhoisDo{grp5};
  Label lbl28{grp5};
  Label lbl30{grp4};
  Label lbl31{grp4};
  Label lblAllDaoqi1{grp4};
  Label lblAllDaoqi2{grp4};
  Label lblAllDaoqi3{grp4};
  Label lblAllDaoqi4{grp4};
  Label lblAllDaoqi5{grp4};

  // Quick-query boxes: each hands its text to another page or window and
  // starts the query there.
  void btnAllShuluDoClick();
  void btnAllAlexaDoClick();
  void btnAllPrDoClick();
  void btnAllWhoisDoClick();
  void btnAllSourceDoClick();

  // Links and buttons to other pages.
  void lbl24Click();
  void lbl23Click();
  void lbl26Click();
  void lbl28Click();
  void lbl30Click();
  void lbl31Click();
  void btn18Click();
  void btn17Click();
  void btn19Click();

 private:
  void BindHandlers();
};

}  // namespace orlu
