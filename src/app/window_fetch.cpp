#include "app/window_fetch.h"

#include "platform/thread/dispatcher.h"
#include "platform/ui/application.h"
#include "platform/ui/timer.h"

namespace orlu {

std::optional<std::string> FetchKeepingWindowsAlive(Form& window, PageClient& client,
                                                    const std::string& url) {
  BusyGuard guard(window);
  if (!guard) return std::nullopt;
  // The main window closed while a server keeps this fetch waiting: the
  // transfer is aborted rather than holding the end of the program until
  // the client's time-out.
  const Application* app = Application::Instance();
  const bool endedBefore = app == nullptr || app->Terminated();
  Timer giveUp(100);
  giveUp.OnTimer = [&client, app, endedBefore] {
    if (!endedBefore && app->Terminated()) client.Abort();
  };
  std::string body;
  RunKeepingWindowsAlive([&] { body = client.Get(url); });
  return body;
}

}  // namespace orlu
