// The batch ranking page in the real main window (offscreen): 10,000 domains
// over 100 threads against the substitute data endpoint answering after
// 50 ms. Figures: rows per second against the ideal 100 / 0.05 s, and the
// window thread's longest stall from the press of "查询" to the last answer,
// seen as the longest gap between two ticks of a 10 ms window timer (the
// press itself included). Then the end of the program with 100 workers,
// half held by the pause button and half waiting on requests the server
// never answers, and the stop button pressed: the time from the close of the
// main window to the end of the windows, as the program ends.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "app/main_form.h"
#include "app/program.h"
#include "bench_util.h"
#include "bench_window.h"
#include "platform/net/page_client.h"
#include "platform/thread/thread.h"
#include "platform/ui/ui.h"
#include "sitequery/alexa_job.h"
#include "sitequery/alexa_rank.h"
#include "sitequery/alexa_test_util.h"

namespace {

using namespace std::chrono_literals;
using orlu::bench::Clock;
using orlu::bench::Seconds;
using orlu::test::HttpReply;
using orlu::test::HttpRequest;

}  // namespace

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  constexpr int kRows = 10000;
  constexpr int kThreads = 100;
  constexpr double kLatency = 0.050;

  auto app = std::make_unique<orlu::Application>(argc, argv);
  orlu::InitNetwork();
  orlu::StartProgram(*app);
  orlu::TFormMain& m = *orlu::FormMain;
  orlu::TAlexaPage& f = m.AlexaPage;
  m.Show();
  m.ShowPage(orlu::kPageAlexa);

  orlu::test::SubstituteHttpServer http;
  orlu::test::ScopedServices services(&http);
  http.OnHost("data.alexa.com", "/data", [](const HttpRequest& r) {
    return HttpReply::Ok(orlu::test::RankPage(orlu::test::AskedDomain(r), "4321"), "text/xml")
        .Delay(50ms);
  });

  f.mmoAlexaDomainList1.SetLines(orlu::test::Domains(kRows));
  f.edtAlexaThCount.SetText(std::to_string(kThreads));

  orlu::ProcessEventsFor(50ms);
  auto probe = std::make_unique<orlu::bench::SilenceProbe>();
  orlu::ProcessEventsFor(50ms);

  const auto t0 = Clock::now();
  probe->From(t0);
  f.btnAlexaSeaPlay.Click();
  const bool ended = orlu::WaitUntil([] { return orlu::test::GroupEnded(orlu::AlexaSea); }, 120s);
  const double secs = Seconds(Clock::now() - t0);
  const double stall = probe->Longest();
  probe.reset();

  const double rate = kRows / secs;
  const double ideal = kThreads / kLatency;
  int status = 0;
  if (!ended || orlu::AlexaSea.SuccessCount != kRows) {
    std::fprintf(stderr, "bench alexa_page_rows: %d of %d rows answered\n", orlu::AlexaSea.SuccessCount, kRows);
    status = 1;
  }
  std::printf("bench alexa_page_rows: %.0f rows/s; ideal: %.0f rows/s; ratio %.3f; target >= 0.8\n", rate,
              ideal, rate / ideal);
  std::printf("bench alexa_page_stall: %.1f ms; target < 100\n", stall * 1000);

  // The end with paused and hanging workers.
  http.OnHost("data.alexa.com", "/data", [](const HttpRequest& r) {
    if (r.Query().find('5') != std::string::npos) return HttpReply::Hang();
    return HttpReply::Ok("<ALEXA></ALEXA>").Delay(20ms);
  });
  f.edtAlexaReadTimeOut.SetText("30");
  f.btnAlexaSeaPlay.Click();
  orlu::ProcessEventsFor(300ms);
  for (int k = 0; k < kThreads; k += 2) orlu::AlexaSea.Threads[k]->Suspend();
  orlu::ProcessEventsFor(100ms);
  // Stop pressed too: the end of the program still aborts what hangs.
  f.btnAlexaSeaStop.Click();
  m.Close();
  // What the program does once its main window has closed.
  const auto t1 = Clock::now();
  orlu::ShutdownAllThreads(std::chrono::milliseconds(1500));
  app.reset();
  std::printf("bench alexa_page_exit: %.3f s; target < 1\n", Seconds(Clock::now() - t1));
  return status;
}
