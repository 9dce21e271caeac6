// 2,000 page fetches from 100 threads, each thread with a client of its own,
// against the substitute server answering every request after 50 ms. The
// ideal is 100 requests in flight all the time: 100 / 0.05 s = 2,000 per
// second; the figure is the rate reached as a share of that.
#include <atomic>
#include <chrono>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "bench_util.h"
#include "platform/net/page_client.h"
#include "substitute-services/servers/substitute_http.h"

int main() {
  using namespace std::chrono_literals;
  constexpr int kThreads = 100;
  constexpr int kFetches = 2000;
  constexpr double kLatency = 0.050;

  orlu::InitNetwork();
  orlu::test::SubstituteHttpServer http;
  const std::string body(2048, 'r');
  http.OnPrefix("/", orlu::test::HttpReply::Ok(body).Delay(50ms));

  std::atomic<int> next{0};
  std::atomic<int> good{0};
  std::atomic<int> failed{0};
  auto work = [&] {
    orlu::PageClient client;
    client.ReadTimeout = 5000;
    for (;;) {
      int i = next.fetch_add(1);
      if (i >= kFetches) break;
      try {
        if (client.Get(http.Url("/xml?url=site" + std::to_string(i) + ".com")) == body)
          ++good;
        else
          ++failed;
      } catch (const orlu::NetError&) {
        ++failed;
      }
    }
  };

  const auto t0 = orlu::bench::Clock::now();
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) threads.emplace_back(work);
  for (auto& t : threads) t.join();
  double secs = orlu::bench::SecondsSince(t0);

  double rate = kFetches / secs;
  double ideal = kThreads / kLatency;
  if (failed.load() != 0) std::fprintf(stderr, "bench fetch: %d of %d fetches failed\n", failed.load(), kFetches);
  std::printf("bench fetch: %.0f fetches/s; ideal: %.0f fetches/s; ratio %.3f; target >= 0.85\n", rate, ideal,
              rate / ideal);
  return failed.load() == 0 ? 0 : 1;
}
