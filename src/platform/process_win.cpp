#include "platform/process_win.h"

#include <shellapi.h>
#include <tlhelp32.h>

#include <vector>

namespace tidemark::platform {

bool Win32Processes::Start(const std::string& program, const std::string& arguments, bool hidden,
                           const std::function<void()>& whileWaiting) {
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = hidden ? SW_HIDE : SW_SHOWNORMAL;
  // The program is named apart from its command line, so the system never
  // reads it from blanks or searches for it; the program sees itself quoted.
  std::string commandLine = "\"" + program + "\"" + (arguments.empty() ? "" : " " + arguments);
  std::vector<char> writable(commandLine.begin(), commandLine.end());
  writable.push_back('\0');
  PROCESS_INFORMATION process{};
  if (!CreateProcessA(program.c_str(), writable.data(), nullptr, nullptr, FALSE, NORMAL_PRIORITY_CLASS, nullptr,
                      nullptr, &startup, &process))
    return Fail(GetLastError());
  CloseHandle(process.hThread);
  while (whileWaiting) {
    DWORD woken = MsgWaitForMultipleObjects(1, &process.hProcess, FALSE, 100, QS_ALLINPUT);
    if (woken == WAIT_OBJECT_0 || woken == WAIT_FAILED) break;
    whileWaiting();
  }
  CloseHandle(process.hProcess);
  return true;
}

bool Win32Processes::ShellOpen(const std::string& file) {
  SHELLEXECUTEINFOA info{};
  info.cbSize = sizeof info;
  info.fMask = SEE_MASK_FLAG_NO_UI;
  info.lpVerb = "open";
  info.lpFile = file.c_str();
  info.nShow = SW_SHOWNORMAL;
  if (ShellExecuteExA(&info)) return true;
  return Fail(GetLastError());
}

bool Win32Processes::ShellRunAndWait(const std::string& verb, const std::string& program, const std::string& folder,
                                     const std::string& parameters) {
  SHELLEXECUTEINFOA info{};
  info.cbSize = sizeof info;
  info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;  // the caller tells of a failure
  info.lpVerb = verb.c_str();
  info.lpFile = program.c_str();
  info.lpParameters = parameters.c_str();
  info.lpDirectory = folder.c_str();
  info.nShow = SW_SHOWNORMAL;
  if (!ShellExecuteExA(&info)) return Fail(GetLastError());
  if (info.hProcess) {
    WaitForSingleObject(info.hProcess, INFINITE);
    CloseHandle(info.hProcess);
  }
  return true;
}

std::vector<std::string> Win32Processes::RunningProgramNames() {
  std::vector<std::string> names;
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return names;
  PROCESSENTRY32 entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry))
    names.emplace_back(entry.szExeFile);
  CloseHandle(snapshot);
  return names;
}

Processes& RealProcesses() {
  static Win32Processes processes;
  return processes;
}

}  // namespace tidemark::platform
