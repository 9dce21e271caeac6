// The batch ranking job without windows (plain-loop window thread):
//   - 10,000 domains over 100 threads against the substitute data endpoint
//     answering every request after 50 ms: rows per second against the ideal
//     of 100 requests always in flight, 100 / 0.05 s = 2,000 rows per second;
//     and the window thread's longest gap between two turns of its loop;
//   - ending the job with 100 workers held by a pause, and with 100 workers
//     whose requests are in flight on a server that never answers.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <string>

#include "bench_util.h"
#include "platform/net/page_client.h"
#include "platform/thread/dispatcher.h"
#include "sitequery/alexa_job.h"
#include "sitequery/alexa_rank.h"
#include "sitequery/alexa_test_util.h"

namespace {

using namespace std::chrono_literals;
using orlu::bench::Clock;
using orlu::bench::Seconds;
using orlu::test::Domains;
using orlu::test::GroupEnded;
using orlu::test::HttpReply;
using orlu::test::HttpRequest;
using orlu::test::RankPage;

}  // namespace

int main() {
  constexpr int kRows = 10000;
  constexpr int kThreads = 100;
  constexpr double kLatency = 0.050;

  orlu::InitNetwork();
  orlu::PlainLoopDispatcher loop;
  orlu::SetDispatcher(&loop);
  int status = 0;

  {
    orlu::test::SubstituteHttpServer http;
    orlu::test::ScopedServices services(&http);
    http.OnHost("data.alexa.com", "/data", [](const HttpRequest& r) {
      return HttpReply::Ok(RankPage(orlu::test::AskedDomain(r), "12345"), "text/xml").Delay(50ms);
    });

    orlu::ThreadControlStru job;
    orlu::MemoryRows statusRows, rows, bak;
    job.ResultLv = &rows;
    job.ResultBakLv = &bak;
    const auto t0 = Clock::now();
    orlu::StartAlexaSea(&job, 5000, kThreads, Domains(kRows), 100, true, &statusRows, 1);
    for (int i = 0; i < kRows; ++i) {
      rows.AddRow(std::to_string(i + 1), {job.Domains[i], " "});
      bak.AddRow(std::to_string(i + 1), {job.Domains[i], " "});
    }
    orlu::StartAlexaWorkers(&job);
    Clock::duration longest{};
    auto last = Clock::now();
    while (!GroupEnded(job)) {
      loop.ProcessEvents(5ms);
      const auto now = Clock::now();
      longest = std::max(longest, now - last);
      last = now;
    }
    loop.ProcessEvents(0ms);
    const double secs = Seconds(Clock::now() - t0);
    const double rate = kRows / secs;
    const double ideal = kThreads / kLatency;
    if (job.SuccessCount != kRows || job.FailCount != 0) {
      std::fprintf(stderr, "bench alexa_rows: %d answered, %d failed of %d\n", job.SuccessCount,
                   job.FailCount, kRows);
      status = 1;
    }
    std::printf("bench alexa_rows: %.0f rows/s; ideal: %.0f rows/s; ratio %.3f; target >= 0.8\n",
                rate, ideal, rate / ideal);
    std::printf("bench alexa_loop_gap: %.1f ms; target < 100\n", Seconds(longest) * 1000);
  }

  {
    // 100 workers held by a pause before their first request.
    orlu::test::SubstituteHttpServer http;
    orlu::test::ScopedServices services(&http);
    http.OnPrefix("/", HttpReply::Ok(RankPage("x", "12345")));
    orlu::ThreadControlStru job;
    orlu::StartAlexaSea(&job, 5000, kThreads, Domains(1000), 100, true, nullptr, 1);
    for (int k = 0; k < kThreads; ++k) job.Threads[k] = std::make_unique<orlu::CAlexaInfoth>(false, k, job);
    orlu::PauseAlexaWorkers(&job);
    for (int k = 0; k < kThreads; ++k) job.Threads[k]->Start();
    loop.ProcessEvents(100ms);
    if (http.RequestCount() != 0) status = 1;
    const auto t0 = Clock::now();
    orlu::EndAlexaWorkers(&job);
    std::printf("bench alexa_exit_paused: %.3f s; target < 1\n", Seconds(Clock::now() - t0));
  }

  {
    // 100 workers waiting on requests the server never answers.
    orlu::test::SubstituteHttpServer http;
    orlu::test::ScopedServices services(&http);
    http.OnPrefix("/", HttpReply::Hang());
    orlu::ThreadControlStru job;
    orlu::StartAlexaSea(&job, 30000, kThreads, Domains(1000), 100, true, nullptr, 1);
    orlu::StartAlexaWorkers(&job);
    http.WaitForRequests(kThreads, 10s);
    const auto t0 = Clock::now();
    orlu::EndAlexaWorkers(&job);
    std::printf("bench alexa_exit_in_flight: %.3f s; target < 1\n", Seconds(Clock::now() - t0));
  }

  orlu::SetDispatcher(nullptr);
  return status;
}
