// Program entry.
#include <windows.h>

#include "app/application_win.h"
#include "platform/files.h"
#include "platform/registry.h"
#include "platform/shell.h"
#include "platform/window_list.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  using namespace tidemark;
  char programFile[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, programFile, MAX_PATH);
  app::Platform system{platform::RealFileSystem(), platform::RealRegistry(), platform::RealWindowList(),
                       platform::RealShell()};
  app::Application application(system, app::CommandLine::FromFullText(GetCommandLineA()), programFile);
  return application.Run();
}
