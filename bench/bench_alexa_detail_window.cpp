// Memory of the ranking detail page (the real main window, offscreen) under
// a hostile server: every service answers with a reply that never ends, so
// both page fetches and the five charts fail at their reply caps. The query
// is pressed three times, each after the last has ended. Figures: the
// process's resident memory once every fetch has failed (what the page
// holds), and its peak.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "app/main_form.h"
#include "bench_util.h"
#include "bench_window.h"
#include "endless_server.h"
#include "platform/net/page_client.h"
#include "platform/net/services.h"
#include "platform/ui/ui.h"
#include "sitequery/alexa_detail.h"

int main(int argc, char** argv) {
  using namespace std::chrono_literals;
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  constexpr int kQueries = 3;
  auto app = std::make_unique<orlu::Application>(argc, argv);
  orlu::InitNetwork();
  int status = 0;
  double held = 0;
  {
    orlu::bench::EndlessServer server;
    orlu::ClearServiceOverrides();
    orlu::SetServiceOverride("*http", server.HostPort());
    orlu::TFormMain* m =
        orlu::bench::ShowMainWindow(*app, orlu::kPageAlexaDetail, "bench alexa_detail_failed_rss");
    if (!m) return 1;
    orlu::TAlexaDetailPage& page = m->AlexaDetailPage;
    auto ended = [&page] {
      if (page.Job().Running()) return false;
      for (orlu::ChartView* chart : page.Charts)
        if (chart->Busy()) return false;
      return true;
    };
    for (int q = 0; q < kQueries; ++q) {
      page.edtAlexaDetail.SetText("example.com");
      page.btnAlexaDetailOn.Click();
      orlu::ProcessEventsFor(100ms);
      if (!orlu::WaitUntil(ended, 120s)) {
        std::fprintf(stderr, "bench alexa_detail_failed_rss: query %d did not end\n", q + 1);
        status = 1;
        break;
      }
    }
    orlu::ProcessEventsFor(200ms);
    held = orlu::bench::CurrentMegabytes();
    m->Close();
    orlu::ProcessEventsFor(100ms);
    orlu::ClearServiceOverrides();
  }
  std::printf("bench alexa_detail_failed_rss: %.0f MB; target < 200\n", held);
  std::printf("bench alexa_detail_peak_rss: %.0f MB\n", orlu::bench::PeakMegabytes());
  return status;
}
