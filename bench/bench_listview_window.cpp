// A report list filled with 1,000,000 rows of three cells in one call: the
// fill (rows made and handed over, the shown list laid out) against making
// the same rows in a plain vector, and the process's peak memory.

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench_util.h"
#include "platform/ui/ui.h"

namespace {

using orlu::bench::Clock;
using orlu::bench::SecondsSince;
using orlu::bench::PeakMegabytes;
constexpr int kRows = 1000000;

std::vector<orlu::ListRow> MakeRows() {
  std::vector<orlu::ListRow> rows;
  rows.reserve(kRows);
  for (int i = 0; i < kRows; ++i) {
    rows.push_back({std::to_string(i + 1),
                    {"domain" + std::to_string(i) + ".com",
                     std::to_string(static_cast<long long>(i) * 7919 % 5000000 + 1)}});
  }
  return rows;
}

}  // namespace

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  orlu::Application app(argc, argv);

  // The peer: the same rows made in a plain vector, nothing else.
  double plainBest = 1e9;
  for (int round = 0; round < 2; ++round) {
    const auto start = Clock::now();
    auto rows = MakeRows();
    plainBest = std::min(plainBest, SecondsSince(start));
    if (rows.size() != static_cast<size_t>(kRows)) return 1;
  }

  orlu::Form form;
  form.SetBounds(0, 0, 800, 600);
  orlu::ListView list(form);
  list.SetAlign(orlu::Align::Client);
  list.SetGridLines(true);
  list.SetColumns({{"ID", 60}, {"domain", 200}, {"rank", 100}});
  form.Show();
  orlu::ProcessEventsFor(std::chrono::milliseconds(20));

  const auto start = Clock::now();
  auto rows = MakeRows();
  const auto handOver = Clock::now();
  list.AddRows(std::move(rows));
  // Let the shown list lay itself out and paint, at the top and at the end.
  orlu::Application::ProcessMessages();
  list.ScrollToRow(kRows - 1);
  orlu::Application::ProcessMessages();
  const double listPart = SecondsSince(handOver);
  const double fill = SecondsSince(start);

  const bool ok = list.RowCount() == kRows && list.SubItem(kRows - 1, 0) == "domain999999.com";
  if (!ok) std::fprintf(stderr, "bench_listview_window: the list does not hold the rows\n");

  std::printf("bench listview_fill_1m: %.3f s; plain_vector: %.3f s; ratio %.2f; target < 2\n",
              fill, plainBest, fill / plainBest);
  std::printf("bench listview_add_rows_and_layout_1m: %.3f s\n", listPart);
  std::printf("bench listview_peak_memory_1m: %.0f MB\n", PeakMegabytes());
  return ok ? 0 : 1;
}
