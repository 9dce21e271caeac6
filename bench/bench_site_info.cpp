// The site-information job without windows (plain-loop window thread):
// 5,000 domains, all seven services, 20 threads each, against substitute
// services answering every request after 30 ms. For each service: rows per
// second against the ideal of 20 requests always in flight (20 / 0.03 s =
// 667 rows per second; 333 for the question service, which asks twice a
// row); and the window thread's longest gap between two turns of its loop.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "bench_util.h"
#include "platform/net/page_client.h"
#include "platform/thread/dispatcher.h"
#include "sitequery/site_info_test_util.h"

namespace {

using namespace std::chrono_literals;
using orlu::bench::Clock;
using orlu::bench::Seconds;

bool CellEnded(orlu::SiteInfoCell& cell) {
  for (auto& t : cell.Threads)
    if (t && !t->Finished()) return false;
  return true;
}

}  // namespace

int main() {
  constexpr int kRows = 5000;
  constexpr int kThreads = 20;
  constexpr double kLatency = 0.030;
  const char* const kNames[] = {"pr", "alexa", "", "archive", "keyword", "zhidao", "bsite", "ylink"};

  orlu::InitNetwork();
  orlu::PlainLoopDispatcher loop;
  orlu::SetDispatcher(&loop);
  int status = 0;
  {
    orlu::test::SiteServer server;
    server.ServeGood(30ms);
    std::vector<std::string> domains;
    for (int i = 0; i < kRows; ++i) domains.push_back("site" + std::to_string(i) + ".com");

    orlu::ThreadSiteInfoStru job;
    orlu::MemoryRows statusRows, rows, bak;
    const auto t0 = Clock::now();
    orlu::StartSiteInfo(&job, 5000, kThreads, domains, 100, true, &statusRows, &rows, &bak,
                        orlu::test::kKeyWords);
    std::vector<orlu::ListRow> made;
    for (int i = 0; i < kRows; ++i) {
      std::vector<std::string> cells(9, " ");
      cells[0] = job.Domains[i];
      made.push_back({std::to_string(i + 1), cells});
    }
    rows.AddRows(made);
    bak.AddRows(std::move(made));
    orlu::StartSiteInfoGroups(&job, orlu::test::kAllKinds);

    std::map<int, double> finished;
    Clock::duration longest{};
    auto last = Clock::now();
    while (finished.size() < orlu::test::kAllKinds.size()) {
      loop.ProcessEvents(5ms);
      const auto now = Clock::now();
      longest = std::max(longest, now - last);
      last = now;
      for (int kind : orlu::test::kAllKinds) {
        if (!finished.count(kind) && CellEnded(*job.CellOf(kind))) finished[kind] = Seconds(now - t0);
      }
    }
    loop.ProcessEvents(0ms);
    for (int kind : orlu::test::kAllKinds) {
      orlu::SiteInfoCell& cell = *job.CellOf(kind);
      if (cell.SuccessCount != kRows || cell.FailCount != 0) {
        std::fprintf(stderr, "bench site_info_%s: %d answered, %d failed of %d\n", kNames[kind],
                     cell.SuccessCount, cell.FailCount, kRows);
        status = 1;
      }
      const double rate = kRows / finished[kind];
      const double ideal = kThreads / kLatency / (kind == orlu::kKindBaiduZhidao ? 2 : 1);
      std::printf("bench site_info_%s_rows: %.0f rows/s; ideal: %.0f rows/s; ratio %.3f\n",
                  kNames[kind], rate, ideal, rate / ideal);
    }
    std::printf("bench site_info_loop_gap: %.1f ms; target < 100\n", Seconds(longest) * 1000);
  }
  orlu::SetDispatcher(nullptr);
  return status;
}
