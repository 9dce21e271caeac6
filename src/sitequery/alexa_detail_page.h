// The ranking detail page of the main window (page 8): a domain box and its
// query button, the report's fields, the sub-site and country lists with
// headers drawn in the band colour, the five traffic charts and the links
// to the ranking service's pages, all in one scroll box.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/ui/ui.h"
#include "sitequery/alexa_detail.h"

namespace orlu {

// A control as the detail workers' writers see it.
class ControlField : public DetailField {
 public:
  explicit ControlField(Control& control) : control_(control) {}
  void SetText(const std::string& text) override { control_.SetCaption(text); }
  void SetEnabled(bool enabled) override { control_.SetEnabled(enabled); }

 private:
  Control& control_;
};

class TAlexaDetailPage {
  // First, as the controls below are built on the page.
  TabSheet& page_;

 public:
  explicit TAlexaDetailPage(TabSheet& page);
  // Ends the query's workers before the controls go.
  ~TAlexaDetailPage();

  std::string AlexaDetailDomain;  // the domain of the last query, as typed

  ScrollBox scrlbxAlexa{page_};
  Label lblAlexaFail{scrlbxAlexa};
  Label lbl32{scrlbxAlexa};
  Edit edtAlexaDetail{scrlbxAlexa};
  Button btnAlexaDetailOn{scrlbxAlexa};
  Image imgAlexaName{scrlbxAlexa};
  Label lbl34{scrlbxAlexa};
  Edit edtAD1{scrlbxAlexa};
  Label lbl35{scrlbxAlexa};
  Edit edtAD2{scrlbxAlexa};
  Label lbl36{scrlbxAlexa};
  Edit edtAD3{scrlbxAlexa};
  Label lbl37{scrlbxAlexa};
  Edit edtAD4{scrlbxAlexa};
  Label lbl38{scrlbxAlexa};
  Edit edtAD5{scrlbxAlexa};
  Label lbl39{scrlbxAlexa};
  Edit edtAD6{scrlbxAlexa};
  Label lbl40{scrlbxAlexa};
  Edit edtAD7{scrlbxAlexa};
  Label lbl41{scrlbxAlexa};
  Edit edtAD8{scrlbxAlexa};
  Label lbl42{scrlbxAlexa};
  Edit edtAD9{scrlbxAlexa};
  Label lbl43{scrlbxAlexa};
  Edit edtAD10{scrlbxAlexa};
  Label lbl44{scrlbxAlexa};
  Edit edtAD11{scrlbxAlexa};
  Label lbl45{scrlbxAlexa};
  Edit edtAD12{scrlbxAlexa};
  Label lbl46{scrlbxAlexa};
  Edit edtAD13{scrlbxAlexa};
  Label lbl47{scrlbxAlexa};
  Edit edtAD14{scrlbxAlexa};
  Label lbl48{scrlbxAlexa};
  Label lbl49{scrlbxAlexa};
  Label lbl50{scrlbxAlexa};
  Panel pnl1{scrlbxAlexa};
  Label lbl51{pnl1};
  Label lbl52{pnl1};
  Label lbl53{pnl1};
  Label lbl54{pnl1};
  Label lbl55{scrlbxAlexa};
  Label lbl56{scrlbxAlexa};
  Label lbl57{scrlbxAlexa};
  Label lbl58{scrlbxAlexa};
  Label lbl59{scrlbxAlexa};
  Label lbl60{scrlbxAlexa};
  Label lbl61{scrlbxAlexa};
  Label lbl62{scrlbxAlexa};
  Edit edtADL1{scrlbxAlexa};
  Edit edtADL2{scrlbxAlexa};
  Edit edtADL3{scrlbxAlexa};
  Edit edtADL4{scrlbxAlexa};
  Edit edtADL5{scrlbxAlexa};
  Edit edtADL6{scrlbxAlexa};
  Edit edtADL7{scrlbxAlexa};
  Edit edtADL8{scrlbxAlexa};
  Panel pnl2{scrlbxAlexa};
  Label lbl63{pnl2};
  ListView lvAlexaTraffic{scrlbxAlexa};
  Panel pnl3{scrlbxAlexa};
  Label lbl68{pnl3};
  Label lbl69{scrlbxAlexa};
  Edit edtADIP{scrlbxAlexa};
  Label lbl70{scrlbxAlexa};
  Edit edtADPV{scrlbxAlexa};
  Panel pnl4{scrlbxAlexa};
  Label lbl71{pnl4};
  ListView lvAlexaCountry{scrlbxAlexa};
  PageControl pgcAlexaPic{scrlbxAlexa};
  TabSheet ts12{pgcAlexaPic};
  TabSheet ts13{pgcAlexaPic};
  TabSheet ts14{pgcAlexaPic};
  TabSheet ts15{pgcAlexaPic};
  TabSheet ts16{pgcAlexaPic};
  ChartView cpwbrwsrAlexa180{ts12};
  ChartView cpwbrwsrAlexa90{ts13};
  ChartView cpwbrwsrAlexa30{ts14};
  ChartView cpwbrwsrAlexa15{ts15};
  ChartView cpwbrwsrAlexa7{ts16};

  // --- Handlers ---
  void btnAlexaDetailOnClick();
  void edtAlexaDetailKeyPress(char& key);
  void tsAlexaDetailShow();
  void scrlbxAlexaMouseWheelDown(bool& handled);
  void scrlbxAlexaMouseWheelUp(bool& handled);
  void imgAlexaNameClick();
  void lbl49Click();
  void lbl50Click();
  void lbl54Click();
  void pgcAlexaPicDrawTab(Canvas& canvas, int index, const Rect& rect, bool active);

  // --- Routines ---
  // Points the five charts at the domain's chart addresses.
  void NavigateTrafficGraphs(const std::string& domain);
  // Hands the page's controls to the workers and shows the input hint.
  void PublishDetailControls();
  // Marks every header item of `list` drawn by the page.
  static void SetHeaderOwnerDraw(ListView& list);
  // The header items of the two lists: the band colour, the caption in the
  // list's font 5 pixels in from the left and 1 from the top.
  void AlexaTrafficWndProc(Canvas& canvas, int item, const Rect& rect);
  void AlexaCountryWndProc(Canvas& canvas, int item, const Rect& rect);

  // The charts in tab order, with their range values.
  ChartView* Charts[5] = {&cpwbrwsrAlexa180, &cpwbrwsrAlexa90, &cpwbrwsrAlexa30,
                          &cpwbrwsrAlexa15, &cpwbrwsrAlexa7};
  static constexpr const char* kChartRanges[5] = {"6m", "3m", "1m", "15.0m", "7d"};

  AlexaDetailJob& Job() { return job_; }

 private:
  void BuildLayout();
  void OpenSitePage(const char* path);

  // The controls as the workers' writers see them.
  std::vector<std::unique_ptr<ControlField>> fields_;
  ListViewRows trafficRows_{lvAlexaTraffic};
  ListViewRows countryRows_{lvAlexaCountry};
  // Last, so its workers end before anything they write to goes.
  AlexaDetailJob job_;
};

}  // namespace orlu
