// Memory of the site-information page in the real main window (offscreen),
// as a user runs it: 300 names, 100 threads, every service ticked, the
// page's own time-out and retry count, against a server that answers every
// request with a reply that never ends (run in a child process, so that only
// the program's own memory is counted). Every fetch ends at its kind's reply
// cap; once every row of every service has ended, the figures are the
// program's peak resident memory and what it still holds a few seconds
// later.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "app/main_form.h"
#include "app/program.h"
#include "bench_util.h"
#include "endless_server.h"
#include "platform/net/page_client.h"
#include "platform/net/services.h"
#include "platform/thread/thread.h"
#include "platform/ui/ui.h"
#include "sitequery/site_info_page.h"
#include "sitequery/site_info_test_util.h"

namespace {

using namespace std::chrono_literals;

}  // namespace

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  constexpr int kRows = 300;
  constexpr int kThreads = 100;

  const orlu::bench::ServerProcess server = orlu::bench::StartServerProcess(
      [] { return (new orlu::bench::EndlessServer)->Port(); });  // never joined: the child just ends
  if (server.port == 0) {
    std::fprintf(stderr, "bench site_info_page_peak_rss: the server did not start\n");
    return 1;
  }

  auto app = std::make_unique<orlu::Application>(argc, argv);
  orlu::InitNetwork();
  orlu::StartProgram(*app);
  orlu::TFormMain& m = *orlu::FormMain;
  orlu::TSiteInfoPage& f = m.SiteInfoPage;
  m.Show();
  m.ShowPage(orlu::kPageSiteInfo);
  orlu::ClearServiceOverrides();
  orlu::SetServiceOverride("*http", server.HostPort());

  f.mmoSiteInfoDomainList1.SetLines(orlu::test::Domains(kRows));
  f.edtSiteInfoThCount.SetText(std::to_string(kThreads));
  f.CheckAllSiteInfoColumns();
  const int rounds = orlu::StrToInt(f.edtSiteInfoRearchTimes.Text()) + 1;
  orlu::ProcessEventsFor(50ms);
  const double before = orlu::bench::CurrentMegabytes();

  f.btnSiteInfoPlay.Click();
  const bool ended = orlu::WaitUntil([] { return orlu::test::AllEnded(orlu::SiteInfo); }, 600s);
  orlu::ProcessEventsFor(100ms);
  const double peak = orlu::bench::PeakMegabytes();

  int status = 0;
  const std::string failed = orlu::Gbk("失败");
  for (int kind : orlu::test::kAllKinds) {
    const orlu::SiteInfoCell& cell = *orlu::SiteInfo.CellOf(kind);
    int shown = 0;
    for (int i = 0; i < kRows; ++i) shown += f.lvSiteInfo.SubItem(i, kind + 1) == failed;
    if (!ended || cell.FailCount != kRows * rounds || cell.SuccessCount != 0 || shown != kRows) {
      std::fprintf(stderr, "bench site_info_page_peak_rss: kind %d: %d failed, %d answered, %d cells read failed\n",
                   kind, cell.FailCount, cell.SuccessCount, shown);
      status = 1;
    }
  }
  // What stays once every row has ended, the program left to itself.
  orlu::ProcessEventsFor(5s);
  const double held = orlu::bench::CurrentMegabytes();
  std::printf("bench site_info_page_peak_rss: %.0f MB; target < 1024\n", peak);
  std::printf("bench site_info_page_held_rss: %.0f MB; before the press: %.0f MB; ratio %.2f; target < 400\n",
              held, before, held / before);

  m.Close();
  orlu::ShutdownAllThreads(std::chrono::milliseconds(1500));
  orlu::ClearServiceOverrides();
  app.reset();
  server.End();
  return status;
}
