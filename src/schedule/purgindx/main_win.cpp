// PurgIndx.exe, the reboot program: schedules the Internet Explorer index
// files of a boot list for deletion at the next start of Windows and tells
// the user what it did. Exit code 0 when nothing failed, 1 when a file could
// not be scheduled, 2 when the list was missing or not a boot list.
#include <windows.h>

#include "platform/files.h"
#include "platform/session.h"
#include "platform/shell.h"
#include "schedule/boot_list.h"

using namespace tidemark;

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  std::string listFile = schedule::BootListArgument(GetCommandLineA());
  platform::FileSystem& files = platform::RealFileSystem();
  auto text = listFile.empty() ? std::nullopt : files.ReadFile(listFile);
  auto entries = text ? schedule::ParseBootList(*text) : std::nullopt;
  if (!entries) {
    std::string message = listFile.empty() ? std::string("No boot list was named.")
                                           : "The file " + listFile + " is not a Tidemark boot list.";
    MessageBoxA(nullptr, (message + "\r\n\r\nNothing was scheduled.").c_str(), schedule::kRebootCaption,
                MB_OK | MB_ICONERROR | MB_SETFOREGROUND);
    return 2;
  }
  platform::SpecialFolder profile = platform::RealShell().GetSpecialFolder(platform::csidl::kProfile);
  // Without the profile folder no entry can be vouched for: each is skipped.
  schedule::IndexScheduleResult result = schedule::ScheduleIndexFiles(
      files, platform::RealSession(), *entries, profile.found ? profile.path : std::string());
  MessageBoxA(nullptr, schedule::IndexScheduleSummary(result).c_str(), schedule::kRebootCaption,
              MB_OK | (result.failed ? MB_ICONWARNING : MB_ICONINFORMATION) | MB_SETFOREGROUND);
  return result.failed ? 1 : 0;
}
