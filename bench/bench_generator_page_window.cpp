// The join of the domain generation page: two source lists of 1,000 lines
// each joined into the result list by pressing "生成" on the real main window
// (reading both memos, joining, writing the result memo), against the join
// routine alone on the same lines in the same run.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/main_form.h"
#include "bench_util.h"
#include "bench_window.h"
#include "domaintools/domain_generator.h"
#include "platform/ui/ui.h"

namespace {

using orlu::bench::Clock;
using orlu::bench::SecondsSince;
constexpr int kLines = 1000;

}  // namespace

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  orlu::Application app(argc, argv);
  orlu::TFormMain* main =
      orlu::bench::ShowMainWindow(app, orlu::kPageDomainCreate, "bench_generator_page_window");
  if (!main) return 1;
  orlu::TDomainGeneratorPage* form = &main->DomainGeneratorPage;

  std::vector<std::string> list1, list2;
  for (int i = 0; i < kLines; ++i) {
    list1.push_back("name" + std::to_string(i));
    list2.push_back(std::to_string(i) + ".com");
  }
  form->mmoDomainCreate1.SetLines(list1);
  form->mmoDomainCreate2.SetLines(list2);
  // Best of three presses, each into an empty result list.
  double page = 1e9;
  for (int round = 0; round < 3; ++round) {
    form->btn9.Click();
    orlu::ProcessEventsFor(std::chrono::milliseconds(0));
    const auto start = Clock::now();
    form->btnDomainCreateStart.Click();
    orlu::ProcessEventsFor(std::chrono::milliseconds(0));
    page = std::min(page, SecondsSince(start));
    const int lines = form->mmoDomainCreate3.LineCount();
    if (lines != kLines * kLines) {
      std::fprintf(stderr, "bench_generator_page_window: %d result lines, expected %d\n", lines,
                   kLines * kLines);
      return 1;
    }
  }

  double routine = 1e9;
  std::vector<std::string> out;
  for (int round = 0; round < 3; ++round) {
    out.clear();
    out.shrink_to_fit();
    const auto start = Clock::now();
    orlu::JoinLists(list1, list2, out);
    routine = std::min(routine, SecondsSince(start));
  }
  if (out.size() != static_cast<size_t>(kLines) * kLines) return 1;

  // The part of the press spent handing the lines to the memo.
  form->btn9.Click();
  const auto start = Clock::now();
  form->mmoDomainCreate3.SetLines(out);
  const double memoWrite = SecondsSince(start);

  std::printf(
      "bench generator_page_join_1000x1000_window: %.3f s; join routine alone: %.3f s; "
      "ratio %.1f; target < 2 s\n",
      page, routine, routine > 0 ? page / routine : 0.0);
  std::printf("bench generator_page_memo_write_1m_window: %.3f s\n", memoWrite);
  return 0;
}
