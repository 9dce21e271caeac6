// Pressing "生成" on the domain generation page again and again: 456,976
// four-letter names (or as many as the first argument says) joined with the
// 26 letters, ten presses into the same result list on the real main window. Per press: how long the window thread
// was held (the handler and the events after it), the peak resident memory
// during the press, what stays held after it, and what the user was told.
// Meant to be run under a memory limit too (prlimit --as=...), where a press
// that cannot fit must be refused with a message, never end in a raw error.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/main_form.h"
#include "bench_util.h"
#include "bench_window.h"
#include "platform/text/codepage.h"
#include "platform/ui/ui.h"

namespace {

using orlu::bench::Clock;
using orlu::bench::SecondsSince;

constexpr int kPresses = 10;

// The peak resident memory since the last reset, in MB; resetting it lets
// each press have a peak of its own.
double PeakSinceReset() {
  long kb = 0;
  if (FILE* f = std::fopen("/proc/self/status", "r")) {
    char line[256];
    while (std::fgets(line, sizeof line, f)) {
      if (std::sscanf(line, "VmHWM: %ld kB", &kb) == 1) break;
    }
    std::fclose(f);
  }
  return static_cast<double>(kb) / 1024.0;
}

void ResetPeak() {
  if (FILE* f = std::fopen("/proc/self/clear_refs", "w")) {
    std::fputs("5", f);
    std::fclose(f);
  }
}

}  // namespace

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  orlu::Application app(argc, argv);
  std::vector<std::string> told;
  orlu::Application::SetExceptionHook([&](const std::string& m) { told.push_back(m); });
  orlu::SetMessageBoxHook([&](const orlu::MessageRequest& r) {
    told.push_back(r.text);
    return orlu::MessageResult::Ok;
  });
  orlu::TFormMain* main = orlu::bench::ShowMainWindow(app, orlu::kPageDomainCreate,
                                                      "bench_generator_presses_window");
  if (!main) return 1;
  orlu::TDomainGeneratorPage* form = &main->DomainGeneratorPage;

  const int count = argc > 1 ? std::atoi(argv[1]) : 26 * 26 * 26 * 26;
  std::vector<std::string> names;
  names.reserve(static_cast<size_t>(count));
  std::string n = "aaaa";
  for (int i = 0; i < count; ++i) {
    int v = i;
    for (int k = 3; k >= 0; --k, v /= 26) n[k] = static_cast<char>('a' + v % 26);
    names.push_back(n);
  }
  form->mmoDomainCreate1.SetLines(names);
  names.clear();
  names.shrink_to_fit();
  form->btn6.Click();
  orlu::ProcessEventsFor(std::chrono::milliseconds(50));

  for (int press = 1; press <= kPresses; ++press) {
    const size_t before = told.size();
    ResetPeak();
    const auto start = Clock::now();
    form->btnDomainCreateStart.Click();
    orlu::ProcessEventsFor(std::chrono::milliseconds(0));
    const double held = SecondsSince(start);
    const double peak = PeakSinceReset();
    std::string said;
    for (size_t i = before; i < told.size(); ++i) said += orlu::AnsiToUtf8(told[i]);
    std::printf(
        "bench generator_press_%d_window: %.2f s; peak %.0f MB; held %.0f MB; lines %d%s%s\n",
        press, held, peak, orlu::bench::CurrentMegabytes(), form->mmoDomainCreate3.LineCount(),
        said.empty() ? "" : "; told: ", said.c_str());
    std::fflush(stdout);
  }
  return 0;
}
