// The pinyin check over 1,000 names with its default ten workers (five per
// engine), against the substitute server answering every page after 30 ms.
// Each engine's five workers share the 1,000 rows, so the run cannot end
// before 200 pages of 30 ms have been asked one after another: the ideal is
// 6 s. The figure is the elapsed time as a ratio to that bound.
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "bench_util.h"
#include "platform/text/gbk.h"
#include "platform/thread/dispatcher.h"
#include "support/service_scope.h"
#include "substitute-services/servers/substitute_http.h"
#include "wordcheck/word_check.h"

namespace {

using namespace std::chrono_literals;
using orlu::test::HttpReply;

// Rows whose two answers are in and are not failures.
int Answered(const orlu::MemoryRows& rows) {
  int n = 0;
  for (int i = 0; i < rows.RowCount(); ++i) {
    const auto cells = rows.Row(i).cells;
    auto done = [](const std::string& s) { return s != " " && s != orlu::WordFail(); };
    n += done(cells[1]) && done(cells[2]);
  }
  return n;
}

}  // namespace

int main() {
  constexpr int kNames = 1000;
  constexpr double kLatency = 0.030;
  orlu::test::SubstituteHttpServer http;
  orlu::test::ScopedServices services(&http);
  http.OnHost("www.google.cn", "/", HttpReply::Ok(
      "<p>您是不是要找：<em>中国</em> <em>中国人</em><br><script></script></p>").Delay(30ms));
  http.OnHost("www.baidu.com", "/", HttpReply::Ok(orlu::Gbk(
      "<p><strong>您要找的是不是: <span  class=\"jc\"><a href=\"x\">中国</a>&nbsp&nbsp"
      "</span></strong><br></p>")).Delay(30ms));

  orlu::PlainLoopDispatcher loop;
  orlu::SetDispatcher(&loop);
  orlu::MemoryRows rows;
  orlu::WordCheckSettings config;
  config.ListView = &rows;
  std::vector<std::string> lines;
  for (int i = 0; i < kNames; ++i) lines.push_back("name" + std::to_string(i) + ".com");
  {
    orlu::WordCheckJob job(orlu::WordCheckJob::Kind::Pinyin, config);
    const auto t0 = orlu::bench::Clock::now();
    job.Start(lines);
    while (job.Running()) loop.ProcessEvents(5ms);
    loop.ProcessEvents(0ms);
    const double secs = orlu::bench::SecondsSince(t0);
    const double ideal = kNames / static_cast<double>(config.Engine0Threads) * kLatency;
    if (Answered(rows) != kNames) {
      std::fprintf(stderr, "bench word_check: %d of %d rows answered\n", Answered(rows), kNames);
      return 1;
    }
    std::printf("bench word_check: %.2f s; ideal: %.2f s; ratio %.3f; target <= 1.15\n", secs,
                ideal, secs / ideal);
  }
  orlu::SetDispatcher(nullptr);
  return 0;
}
