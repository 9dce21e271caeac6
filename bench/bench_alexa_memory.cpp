// Peak memory of the batch ranking job under a hostile data server: 100
// workers against a server that answers every request with a reply that
// never ends (no length, data streamed as fast as loopback takes it). Every
// fetch ends at the worker's reply cap and is asked again in the next round;
// the process's peak resident memory must stay well under a gigabyte.
#include <chrono>
#include <cstdio>

#include "bench_util.h"
#include "endless_server.h"
#include "platform/net/page_client.h"
#include "platform/thread/dispatcher.h"
#include "sitequery/alexa_job.h"
#include "sitequery/alexa_rank.h"
#include "sitequery/alexa_test_util.h"

namespace {

using namespace std::chrono_literals;
using orlu::bench::Clock;
using orlu::bench::EndlessServer;

}  // namespace

int main() {
  constexpr int kThreads = 100;
  constexpr int kRows = 1000;
  constexpr int kRetries = 2;

  orlu::InitNetwork();
  orlu::PlainLoopDispatcher loop;
  orlu::SetDispatcher(&loop);
  int status = 0;
  {
    EndlessServer server;
    orlu::ClearServiceOverrides();
    orlu::SetServiceOverride("*http", server.HostPort());
    orlu::ThreadControlStru job;
    const auto t0 = Clock::now();
    orlu::StartAlexaSea(&job, 5000, kThreads, orlu::test::Domains(kRows), kRetries, false, nullptr, 1);
    orlu::StartAlexaWorkers(&job);
    while (!orlu::test::GroupEnded(job) && Clock::now() - t0 < 120s) loop.ProcessEvents(5ms);
    loop.ProcessEvents(0ms);
    if (job.FailCount != kRows * (kRetries + 1) || job.SuccessCount != 0) {
      std::fprintf(stderr, "bench alexa_endless_peak_rss: %d failed, %d answered; expected %d failed\n",
                   job.FailCount, job.SuccessCount, kRows * (kRetries + 1));
      status = 1;
    }
    orlu::EndAlexaWorkers(&job);
    orlu::ClearServiceOverrides();
  }
  std::printf("bench alexa_endless_peak_rss: %.0f MB; target < 1024\n", orlu::bench::PeakMegabytes());
  orlu::SetDispatcher(nullptr);
  return status;
}
