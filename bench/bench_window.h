// Shared by the window benchmarks: the main window shown on a page, and a
// probe of how long the window thread answers nothing.
#pragma once

#include <algorithm>
#include <chrono>
#include <cstdio>

#include "app/main_form.h"
#include "bench_util.h"
#include "platform/ui/ui.h"

namespace orlu::bench {

// Makes the real main window, shows it on `page` and lets it settle. Null,
// after a line on stderr naming `bench`, if the window was not made.
inline TFormMain* ShowMainWindow(Application& app, MainPage page, const char* bench) {
  TFormMain* form = nullptr;
  app.CreateForm(form);
  if (!form) {
    std::fprintf(stderr, "%s: the main window was not made\n", bench);
    return nullptr;
  }
  form->Show();
  form->ShowPage(page);
  ProcessEventsFor(std::chrono::milliseconds(50));
  return form;
}

// The window thread's longest silence since From(): the longest gap between
// two ticks of a 10 ms window timer, the gap still open included.
class SilenceProbe {
 public:
  SilenceProbe() {
    timer_.OnTimer = [this] {
      const Clock::time_point now = Clock::now();
      longest_ = std::max(longest_, now - last_);
      last_ = now;
    };
  }
  void From(Clock::time_point from) {
    last_ = from;
    longest_ = {};
  }
  // In seconds.
  double Longest() const { return Seconds(std::max(longest_, Clock::now() - last_)); }

 private:
  Timer timer_{10};
  Clock::time_point last_ = Clock::now();
  Clock::duration longest_{};
};

}  // namespace orlu::bench
