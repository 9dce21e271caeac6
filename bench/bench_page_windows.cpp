// The real program's page windows and sponsor strip against large answers:
// the page-source window and the page-fetch window pressing "查询" on 64 MiB
// of short lines, 4 MiB of short lines and 4 MiB without a line break (the
// page-fetch window also on one run of letters, its wrapping's worst case),
// and the sponsor strip's first fill on a 64 MiB list. Each case runs in a process of
// its own (the peak is the process's), with the server in a further process
// that alone makes the page. Figures: the process's peak memory, what it
// holds a second after the result was painted, and the longest time the
// window thread answered nothing from the press to then (a 10 ms timer's
// longest gap), beside the time from the press to the painted result.
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "app/main_form.h"
#include "app/program.h"
#include "app/small_windows.h"
#include "bench_util.h"
#include "bench_window.h"
#include "platform/net/services.h"
#include "platform/ui/ui.h"
#include "platform/ui/ui_internal.h"
#include "substitute-services/servers/substitute_http.h"

namespace {

using orlu::bench::Clock;
using namespace std::chrono_literals;

constexpr size_t kMiB = 1024 * 1024;

// `bytes` bytes of piece(0), piece(1), ... (the last one cut).
std::string Repeated(size_t bytes, std::string (*piece)(size_t)) {
  std::string text;
  text.reserve(bytes);
  for (size_t i = 0; text.size() < bytes; ++i) text += piece(i);
  text.resize(bytes);
  return text;
}

std::string ShortLine(size_t i) { return "<p>line " + std::to_string(i) + "</p>\n"; }

// Markup and Chinese text in UTF-8 without a line break.
std::string InLine(size_t i) { return "<p>中文网页内容，域名与站点" + std::to_string(i) + "</p>"; }

// One run of letters: nowhere to wrap the line at a word.
std::string Letter(size_t) { return "a"; }

std::string SponsorRecord(size_t i) { return "S" + std::to_string(i) + "|s.cn<br>"; }

struct Case {
  const char* name;
  const char* window;  // "source", "fetch" or "sponsor"
  std::string (*piece)(size_t);  // the page repeats it
  size_t bytes;
  double peakTarget;  // MB
  double heldTarget;  // MB; 0: none
};

const Case kCases[] = {
    {"page_source_64m_short_lines", "source", ShortLine, 64 * kMiB, 1024, 0},
    {"page_source_4m_short_lines", "source", ShortLine, 4 * kMiB, 1024, 0},
    {"page_source_4m_one_line", "source", InLine, 4 * kMiB, 1024, 0},
    {"page_fetch_64m_short_lines", "fetch", ShortLine, 64 * kMiB, 1024, 0},
    {"page_fetch_4m_short_lines", "fetch", ShortLine, 4 * kMiB, 1024, 0},
    {"page_fetch_4m_one_line", "fetch", InLine, 4 * kMiB, 1024, 0},
    {"page_fetch_4m_one_run", "fetch", Letter, 4 * kMiB, 1024, 0},
    {"sponsor_list_64m", "sponsor", SponsorRecord, 64 * kMiB, 400, 300},
};

int RunCase(const Case& c, int argc, char** argv) {
  // The case's page at every path, from a process that alone makes it.
  const orlu::bench::ServerProcess server = orlu::bench::StartServerProcess([&c] {
    auto* http = new orlu::test::SubstituteHttpServer;  // left to the child's end
    http->OnPrefix("/", orlu::test::HttpReply::Ok(Repeated(c.bytes, c.piece), "text/plain"));
    return static_cast<int>(http->Port());
  });
  if (server.port == 0) {
    std::fprintf(stderr, "bench %s: the server did not start\n", c.name);
    return 1;
  }
  // The case gives up past 3 GB or three minutes rather than take the machine.
  rlimit limit{3ull << 30, 3ull << 30};
  setrlimit(RLIMIT_AS, &limit);
  alarm(180);

  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  orlu::Application app(argc, argv);
  orlu::ClearServiceOverrides();
  orlu::SetServiceOverride("*http", server.HostPort());
  // A notice box is answered at once.
  bool told = false;
  orlu::SetMessageBoxHook([&told](const orlu::MessageRequest&) {
    told = true;
    return orlu::MessageResult::Ok;
  });
  orlu::StartProgram(app);
  if (orlu::FormMain == nullptr) return 1;
  orlu::FormMain->tmrUrlBegin.Stop();
  const std::string url = "http://pages.example/page";
  orlu::Form* window = orlu::FormMain;
  if (std::strcmp(c.window, "source") == 0) window = orlu::FormSource;
  if (std::strcmp(c.window, "fetch") == 0) window = orlu::FormKWordMi;
  window->Show();
  orlu::ProcessEventsFor(100ms);
  const double before = orlu::bench::CurrentMegabytes();

  orlu::bench::SilenceProbe probe;
  orlu::ProcessEventsFor(50ms);

  const Clock::time_point press = Clock::now();
  probe.From(press);
  if (std::strcmp(c.window, "source") == 0) {
    orlu::FormSource->edtSource.SetText(url);
    orlu::FormSource->btnSourceDo.Click();
  } else if (std::strcmp(c.window, "fetch") == 0) {
    orlu::FormKWordMi->edtKworMiUrl.SetText(url);
    orlu::FormKWordMi->btnKWrodMiSearch.Click();
  } else {
    orlu::FormMain->tmrUrlBeginTimer();
  }
  window->Impl()->widget->grab();  // the result painted
  const double longest = probe.Longest();
  const double answered = orlu::bench::SecondsSince(press);
  orlu::ProcessEventsFor(1000ms);
  const double held = orlu::bench::CurrentMegabytes();
  std::printf("bench %s_peak_rss: %.0f MB; target < %.0f\n", c.name, orlu::bench::PeakMegabytes(),
              c.peakTarget);
  std::printf("bench %s_held_rss: %.0f MB; before the fetch: %.0f MB", c.name, held, before);
  if (c.heldTarget > 0) std::printf("; target < %.0f", c.heldTarget);
  std::printf("\n");
  std::printf("bench %s_window_silent: %.2f s; press to painted result: %.2f s%s; target < 5 s\n",
              c.name, longest, answered, told ? " (a notice shown)" : "");
  std::fflush(stdout);
  server.End();
  std::_Exit(0);  // the windows are not taken down one by one
}

}  // namespace

int main(int argc, char** argv) {
  if (argc >= 2) {
    for (const Case& c : kCases) {
      if (std::strcmp(argv[1], c.name) == 0) return RunCase(c, argc, argv);
    }
    return 2;
  }
  int status = 0;
  for (const Case& c : kCases) {
    const pid_t child = fork();
    if (child == 0) {
      execl("/proc/self/exe", argv[0], c.name, static_cast<char*>(nullptr));
      _exit(127);
    }
    int result = 0;
    waitpid(child, &result, 0);
    if (!WIFEXITED(result) || WEXITSTATUS(result) != 0) {
      std::printf("bench %s_peak_rss: failed (%s %d); target < %.0f\n", c.name,
                  WIFSIGNALED(result) ? "signal" : "exit",
                  WIFSIGNALED(result) ? WTERMSIG(result) : WEXITSTATUS(result), c.peakTarget);
      std::fflush(stdout);
      status = 1;
    }
  }
  return status;
}
