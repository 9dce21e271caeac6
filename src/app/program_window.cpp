#include "app/program.h"

#include "app/main_form.h"
#include "app/small_windows.h"
#include "pages/stat_show_form.h"
#include "platform/net/page_client.h"
#include "platform/text/gbk.h"
#include "platform/thread/memory_policy.h"
#include "platform/thread/thread.h"
#include "platform/ui/application.h"
#include "whois/whois_info_form.h"

namespace orlu {

void CreateProgramWindows(Application& app) {
  app.CreateForm(FormMain);
  app.CreateForm(FormStatShow);
  // The main window opens where the status window, docked under it, fits
  // on the screen as well.
  if (FormMain && FormStatShow) FormMain->SetCenterSpaceBelow(FormStatShow->Height());
  app.CreateForm(FormKWordMi);
  app.CreateForm(FormWhoisInfo);
  app.CreateForm(FormSource);
  app.CreateForm(FormDaoqi);
  app.CreateForm(FormBanquan);
}

void StartProgram(Application& app) {
  ReturnLargeBlocksToSystem();  // before any worker
  app.SetTitle(Gbk("Orlu站长工具"));
  CreateProgramWindows(app);
}

int WinMain(int argc, char** argv) {
  try {
    InitNetwork();  // before any worker exists
    Application app(argc, argv);
    StartProgram(app);
    app.Run();
    // The main window has closed: stop every worker (pauses lifted,
    // transfers aborted) while their calls into the window thread are still
    // served, before the windows and job records go.
    ShutdownAllThreads(std::chrono::milliseconds(1500));
  } catch (...) {
    Application::ShowCurrentException();
  }
  return 0;
}

}  // namespace orlu
