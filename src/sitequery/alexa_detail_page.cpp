#include "sitequery/alexa_detail_page.h"

#include "app/page_layout.h"

namespace orlu {

TAlexaDetailPage::TAlexaDetailPage(TabSheet& page) : page_(page) {
  scrlbxAlexa.SetAlign(Align::Client);
  scrlbxAlexa.SetContentHeight(1400);
  scrlbxAlexa.SetColor(colors::Window);
  lvAlexaTraffic.SetBounds(10, 10, 720, 150);
  ReportStyle(lvAlexaTraffic);
  lvAlexaCountry.SetBounds(10, 170, 720, 150);
  ReportStyle(lvAlexaCountry);
  pgcAlexaPic.SetBounds(10, 330, 753, 345);
}

}  // namespace orlu
