// "查询" on the WHOIS page with 100,000 lines in the domain list: the rows
// built into the result list and its hidden twin (FillWhoisRows), against
// building the same rows without the lists.
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/main_form.h"
#include "bench_util.h"
#include "app/program.h"
#include "platform/ui/ui.h"
#include "whois/whois_batch.h"

int main(int argc, char** argv) {
  using orlu::bench::Clock;
  using orlu::bench::SecondsSince;
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  orlu::Application app(argc, argv);
  orlu::StartProgram(app);
  if (orlu::FormMain == nullptr) return 1;
  orlu::TWhoisPage* f = &orlu::FormMain->WhoisPage;

  constexpr int kLines = 100000;
  std::vector<std::string> lines;
  lines.reserve(kLines);
  for (int i = 0; i < kLines; ++i) lines.push_back("  Domain-Name-" + std::to_string(i) + ".com");
  f->mmoWhoisDomain.SetLines(lines);

  const auto t0 = Clock::now();
  f->FillWhoisRows();
  const double fill = SecondsSince(t0);

  const auto t1 = Clock::now();
  const std::vector<orlu::ListRow> rows = orlu::BuildWhoisRows(f->mmoWhoisDomain.Lines());
  const double build = SecondsSince(t1);

  if (f->lvWhois.RowCount() != kLines || f->lvWhoisBak.RowCount() != kLines ||
      rows.size() != static_cast<size_t>(kLines)) {
    std::fprintf(stderr, "bench whois_fill_rows: wrong row count\n");
  }
  std::printf("bench whois_fill_rows_100k: %.3f s; rows alone: %.3f s; ratio %.2f; target < 1 s\n",
              fill, build, fill / build);
  return 0;
}
