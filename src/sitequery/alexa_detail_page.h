// The ranking-detail page of the main window (page 8), as far as it is
// built: a scroll box with the traffic and country lists and the chart tabs.
#pragma once

#include <string>

#include "platform/ui/ui.h"

namespace orlu {

class TAlexaDetailPage {
  // First, as the controls below are built on the page.
  TabSheet& page_;

 public:
  explicit TAlexaDetailPage(TabSheet& page);

  std::string AlexaDetailDomain;  // domain of the last ranking detail

  ScrollBox scrlbxAlexa{page_};
  ListView lvAlexaTraffic{scrlbxAlexa};
  ListView lvAlexaCountry{scrlbxAlexa};
  PageControl pgcAlexaPic{scrlbxAlexa};
};

}  // namespace orlu
