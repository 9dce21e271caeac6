// A result list of 1,000,000 rows (row number, domain, rank) exported as CSV:
// the fill, the export against a plain loop that writes the same bytes in the
// same run, and the peak memory of the whole process.
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "bench_util.h"
#include "pages/list_view_rows.h"
#include "platform/text/gbk.h"
#include "platform/ui/ui.h"

namespace {

using orlu::bench::Clock;
using orlu::bench::SecondsSince;
using orlu::bench::PeakMegabytes;
constexpr int kRows = 1000000;

std::string Domain(int i) { return "domain" + std::to_string(i) + ".com"; }
std::string Rank(int i) { return std::to_string(static_cast<long long>(i) * 7919 % 5000000 + 1); }

// The peer: the same bytes written field by field with stdio.
void PlainLoop(const std::string& path, const std::vector<std::string>& columns) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) {
    std::perror("bench_csv_export_window");
    std::exit(1);
  }
  auto field = [f](const std::string& s) {
    std::fputc('"', f);
    std::fwrite(s.data(), 1, s.size(), f);
    std::fputs("\",", f);
  };
  for (const auto& c : columns) field(c);
  std::fputs("\r\n", f);
  for (int i = 0; i < kRows; ++i) {
    field(std::to_string(i + 1));
    field(Domain(i));
    field(Rank(i));
    std::fputs("\r\n", f);
  }
  std::fclose(f);
}

bool SameBytes(const std::string& a, const std::string& b) {
  std::ifstream fa(a, std::ios::binary), fb(b, std::ios::binary);
  std::vector<char> ba(1 << 16), bb(1 << 16);
  for (;;) {
    fa.read(ba.data(), static_cast<std::streamsize>(ba.size()));
    fb.read(bb.data(), static_cast<std::streamsize>(bb.size()));
    if (fa.gcount() != fb.gcount()) return false;
    if (fa.gcount() == 0) return true;
    if (!std::equal(ba.begin(), ba.begin() + fa.gcount(), bb.begin())) return false;
  }
}

}  // namespace

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  orlu::Application app(argc, argv);
  orlu::Form form;
  orlu::ListView list(form);
  const std::vector<std::string> columns{"ID", orlu::Gbk("域名"), orlu::Gbk("排名")};
  list.SetColumns({{columns[0], 50}, {columns[1], 100}, {columns[2], 200}});

  auto start = Clock::now();
  {
    std::vector<orlu::ListRow> rows;
    rows.reserve(kRows);
    for (int i = 0; i < kRows; ++i) rows.push_back({std::to_string(i + 1), {Domain(i), Rank(i)}});
    list.AddRows(std::move(rows));
  }
  const double fill = SecondsSince(start);

  char dirTemplate[] = "/tmp/orlu-bench-csv-XXXXXX";
  const char* dir = mkdtemp(dirTemplate);
  if (!dir) return 1;
  const std::string ours = std::string(dir) + "/export.csv";
  const std::string peer = std::string(dir) + "/plain.csv";

  // Best of three for both, alternating, so neither gains from a warm cache.
  double exportBest = 1e9, plainBest = 1e9;
  for (int round = 0; round < 3; ++round) {
    start = Clock::now();
    orlu::ExportListViewCsv(ours, list);
    exportBest = std::min(exportBest, SecondsSince(start));
    start = Clock::now();
    PlainLoop(peer, columns);
    plainBest = std::min(plainBest, SecondsSince(start));
  }
  const double peak = PeakMegabytes();
  const bool same = SameBytes(ours, peer);
  std::remove(ours.c_str());
  std::remove(peer.c_str());
  rmdir(dir);
  if (!same) std::fprintf(stderr, "bench_csv_export_window: the two files differ\n");

  std::printf("bench csv_list_fill_1m: %.3f s; target < 2\n", fill);
  std::printf("bench csv_export_1m: %.3f s; plain_loop: %.3f s; ratio %.2f; target <= 2\n",
              exportBest, plainBest, exportBest / plainBest);
  std::printf("bench csv_export_peak_memory: %.0f MB; target < 400\n", peak);
  return same ? 0 : 1;
}
