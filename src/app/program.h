// Start-up of the program: the application object, its title, the seven
// windows in their order, and the loop.
#pragma once

namespace orlu {

class Application;

// Makes the windows in this order, each into its global: FormMain,
// FormStatShow, FormKWordMi, FormWhoisInfo, FormSource, FormDaoqi,
// FormBanquan. Only the main window is shown (by the loop).
void CreateProgramWindows(Application& app);

// Sets how the allocator gives large blocks back (ReturnLargeBlocksToSystem),
// the application's title ("Orlu站长工具"), and makes the windows.
void StartProgram(Application& app);

// The whole program; returns the process's exit code (0).
int WinMain(int argc, char** argv);

}  // namespace orlu
