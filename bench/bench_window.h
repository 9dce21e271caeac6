// Set-up shared by the benchmarks of the main window's pages.
#pragma once

#include <chrono>
#include <cstdio>

#include "app/main_form.h"
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

}  // namespace orlu::bench
