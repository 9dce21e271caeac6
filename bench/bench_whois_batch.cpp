// The batch WHOIS query.
//
// 1. Building the result rows of 100,000 domain lines into a row store, as
//    "查询" does, against a plain loop that copies the same lines into rows
//    of ten cells.
// 2. A batch of 2,000 domains, 200 of each registry group, against the
//    substitute WHOIS server answering every registry question after 20 ms
//    (IANA's referrals at once, so the other group asks a registry too), with
//    every pause set to 0; every row must end registered. Each group's
//    threads share its rows, so the batch cannot end before the largest
//    share of one thread has been asked: the ideal is the largest group's
//    rows divided by its threads, times 20 ms. The figure is the elapsed time
//    as a ratio to that bound.
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "bench_util.h"
#include "platform/net/services.h"
#include "platform/net/whois_client.h"
#include "platform/thread/dispatcher.h"
#include "substitute-services/servers/substitute_whois.h"
#include "whois/whois_batch.h"
#include "whois/whois_registry.h"
#include "whois/whois_reply.h"

namespace {

using namespace std::chrono_literals;
using orlu::bench::Clock;
using orlu::bench::Seconds;
// Registered rows of a batch.
int Finished(const orlu::MemoryRows& rows) {
  int n = 0;
  for (int r = 0; r < rows.RowCount(); ++r) {
    n += rows.Cell(r, orlu::kWhoisStatusCell) == orlu::WordRegistered();
  }
  return n;
}

void BenchRows() {
  constexpr int kLines = 100000;
  std::vector<std::string> lines;
  lines.reserve(kLines);
  for (int i = 0; i < kLines; ++i) {
    lines.push_back("  Domain-Name-" + std::to_string(i) + ".com \t");
  }
  orlu::MemoryRows rows;
  const auto t0 = Clock::now();
  rows.AddRows(orlu::BuildWhoisRows(lines));
  rows.NewGeneration();
  const double fill = Seconds(Clock::now() - t0);

  const auto t1 = Clock::now();
  std::vector<std::vector<std::string>> plain;
  plain.reserve(lines.size());
  for (const std::string& line : lines) {
    std::vector<std::string> cells(10, " ");
    cells[0] = line;
    plain.push_back(std::move(cells));
  }
  const double copy = Seconds(Clock::now() - t1);
  if (rows.RowCount() != kLines || plain.size() != lines.size()) std::fprintf(stderr, "row count\n");
  std::printf("bench whois_rows_100k: %.3f s; plain copy: %.3f s; ratio %.2f; target < 1 s\n", fill,
              copy, fill / copy);
}

void BenchBatch() {
  constexpr int kPerGroup = 200;
  constexpr auto kLatency = 20ms;
  const char* suffixes[orlu::kWhoisGroupCount] = {"cn",   "com", "org", "cc", "biz",
                                                  "info", "name", "tv", "mobi", "xyz"};
  std::vector<std::string> lines;
  for (int i = 0; i < kPerGroup; ++i) {
    for (const char* suffix : suffixes) lines.push_back("d" + std::to_string(i) + "." + suffix);
  }

  orlu::test::SubstituteWhoisServer whois;
  whois.AddResponder([&](const orlu::test::WhoisRequest& r)
                         -> std::optional<orlu::test::WhoisReply> {
    if (r.query.find('.') == std::string::npos) {
      return orlu::test::WhoisReply::Text("whois server (port 43): whois.nic." + r.query +
                                          "\r\n");
    }
    return orlu::test::WhoisReply::Text("Domain Name: " + r.query + "\r\nRegistrar: R\r\n")
        .Delay(kLatency);
  });
  orlu::ClearServiceOverrides();
  orlu::SetServiceOverride("*whois", whois.HostPort());

  // The floor of the transport: one client asking back to back.
  double exchange = 0;
  {
    orlu::WhoisClient client;
    client.Host = "whois.cnnic.cn";
    constexpr int kAsks = 50;
    const auto t0 = Clock::now();
    for (int i = 0; i < kAsks; ++i) client.WhoIs("floor" + std::to_string(i) + ".cn");
    exchange = Seconds(Clock::now() - t0) / kAsks;
  }

  orlu::WhoisSettings saved = orlu::WhoisConfig;
  orlu::WhoisConfig.Delays.fill(0);

  // The ideal: the largest share of one thread.
  double ideal = 0;
  for (int g = 0; g < orlu::kWhoisGroupCount; ++g) {
    const int threads = orlu::WhoisConfig.ThreadCount(g);
    const double share = (kPerGroup + threads - 1) / threads * std::chrono::duration<double>(kLatency).count();
    if (share > ideal) ideal = share;
  }

  orlu::PlainLoopDispatcher loop;
  orlu::SetDispatcher(&loop);
  orlu::MemoryRows rows;
  rows.AddRows(orlu::BuildWhoisRows(lines));
  rows.NewGeneration();
  orlu::WhoisConfig.ListView = &rows;
  double elapsed = 0;
  {
    orlu::WhoisBatch batch;
    const auto t0 = Clock::now();
    batch.Start(lines);
    while (batch.Running()) loop.ProcessEvents(5ms);
    elapsed = Seconds(Clock::now() - t0);
  }
  loop.ProcessEvents(0ms);
  if (Finished(rows) != static_cast<int>(lines.size())) {
    std::fprintf(stderr, "bench whois_batch: %d of %zu rows registered\n", Finished(rows),
                 lines.size());
  }
  orlu::WhoisConfig = saved;
  orlu::SetDispatcher(nullptr);
  orlu::ClearServiceOverrides();
  const double latency = std::chrono::duration<double>(kLatency).count();
  std::printf("bench whois_exchange: %.2f ms; server delay: %.2f ms; ratio %.3f\n",
              exchange * 1000, latency * 1000, exchange / latency);
  std::printf(
      "bench whois_batch_2000: %.2f s; ideal bound: %.2f s; ratio %.3f; target <= 1.3\n",
      elapsed, ideal, elapsed / ideal);
}

}  // namespace

int main() {
  BenchRows();
  BenchBatch();
  return 0;
}
