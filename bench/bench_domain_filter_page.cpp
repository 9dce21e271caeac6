// The press of "去冗余" on the real main window with 1,000,000 lines in list 1:
// read the memo, remove duplicates, fill list 2 and the output. Seconds of
// the press and the process's peak memory.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "app/main_form.h"
#include "bench_util.h"
#include "bench_window.h"
#include "platform/ui/ui.h"

namespace {

using orlu::bench::Clock;
using orlu::bench::PeakMegabytes;
using orlu::bench::SecondsSince;
constexpr int kLines = 1000000;

}  // namespace

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  orlu::Application app(argc, argv);
  orlu::TFormMain* main =
      orlu::bench::ShowMainWindow(app, orlu::kPageDomainFilter, "bench_domain_filter_page");
  if (!main) return 1;
  orlu::TDomainFilterPage* form = &main->DomainFilterPage;

  // 600,000 distinct domains drawn 1,000,000 times.
  std::mt19937 rng(7);
  std::uniform_int_distribution<int> pick(0, 599999);
  std::vector<std::string> list;
  list.reserve(kLines);
  for (int i = 0; i < kLines; ++i) {
    std::string line = "dom";
    line += std::to_string(pick(rng));
    line += ".com";
    list.push_back(std::move(line));
  }
  form->mmoFilter1.SetLines(list);
  form->pgcFilter.SetActivePageIndex(0);
  list.clear();
  list.shrink_to_fit();
  orlu::ProcessEventsFor(std::chrono::milliseconds(0));

  const auto start = Clock::now();
  form->btnFilterRet.Click();
  orlu::ProcessEventsFor(std::chrono::milliseconds(0));
  const double press = SecondsSince(start);

  const std::string count = form->edtFilterOut.Text();
  if (count.empty() || std::atoi(count.c_str()) <= 0 ||
      form->mmoFilter2.LineCount() != std::atoi(count.c_str())) {
    std::fprintf(stderr, "bench_domain_filter_page: unexpected count %s\n", count.c_str());
    return 1;
  }
  std::printf("bench domain_filter_page_dedup_1m_window: %.3f s; target < 5 s\n", press);
  std::printf("bench domain_filter_page_peak_memory_window: %.0f MB; target < 1536 MB\n",
              PeakMegabytes());
  return 0;
}
