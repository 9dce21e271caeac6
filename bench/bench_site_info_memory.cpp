// Peak memory of the site-information job under a hostile server: all seven
// services, 100 workers each, against a server that answers every request
// with a reply that never ends. Every fetch ends at its kind's reply cap and
// is asked again in the next round; the process's peak resident memory must
// stay under a gigabyte.
#include <chrono>
#include <cstdio>

#include "bench_util.h"
#include "endless_server.h"
#include "platform/net/page_client.h"
#include "platform/thread/dispatcher.h"
#include "platform/thread/memory_policy.h"
#include "sitequery/site_info_test_util.h"

int main() {
  using namespace std::chrono_literals;
  constexpr int kThreads = 100;
  constexpr int kRows = 300;
  constexpr int kRetries = 1;

  orlu::InitNetwork();
  orlu::ReturnLargeBlocksToSystem();  // as the program does
  orlu::PlainLoopDispatcher loop;
  orlu::SetDispatcher(&loop);
  int status = 0;
  {
    orlu::bench::EndlessServer server;
    orlu::ClearServiceOverrides();
    orlu::SetServiceOverride("*http", server.HostPort());
    orlu::ThreadSiteInfoStru job;
    orlu::MemoryRows statusRows, rows, bak;
    orlu::StartSiteInfo(&job, 5000, kThreads, orlu::test::Domains(kRows), kRetries, true, &statusRows,
                        &rows, &bak, orlu::test::kKeyWords);
    const auto t0 = orlu::bench::Clock::now();
    orlu::StartSiteInfoGroups(&job, orlu::test::kAllKinds);
    while (!orlu::test::AllEnded(job) && orlu::bench::Clock::now() - t0 < 300s) loop.ProcessEvents(5ms);
    loop.ProcessEvents(0ms);
    for (int kind : orlu::test::kAllKinds) {
      const orlu::SiteInfoCell& cell = *job.CellOf(kind);
      if (cell.FailCount != kRows * (kRetries + 1) || cell.SuccessCount != 0) {
        std::fprintf(stderr, "bench site_info_endless_peak_rss: kind %d: %d failed, %d answered\n", kind,
                     cell.FailCount, cell.SuccessCount);
        status = 1;
      }
    }
    orlu::EndSiteInfoWorkers(&job);
    orlu::ClearServiceOverrides();
  }
  std::printf("bench site_info_endless_peak_rss: %.0f MB; target < 1024\n", orlu::bench::PeakMegabytes());
  orlu::SetDispatcher(nullptr);
  return status;
}
