// Real child processes for tests under Wine: start a program, wait for it
// with a time limit, find the windows it owns, and make sure it is gone when
// the test ends.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

namespace tidemark::test {

class ChildProcess {
 public:
  ChildProcess() = default;
  ~ChildProcess() { Kill(); }
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  // False when the process could not be created.
  bool Start(const std::string& commandLine) {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    std::string line = commandLine;
    return CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info_) !=
           FALSE;
  }

  bool started() const { return info_.hProcess != nullptr; }
  DWORD id() const { return info_.dwProcessId; }
  bool Running() const { return started() && WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT; }
  // True once the process has ended, waiting at most milliseconds.
  bool WaitForExit(DWORD milliseconds) const {
    return started() && WaitForSingleObject(info_.hProcess, milliseconds) == WAIT_OBJECT_0;
  }
  // The exit code; STILL_ACTIVE while the process runs.
  DWORD ExitCode() const {
    DWORD code = STILL_ACTIVE;
    if (started()) GetExitCodeProcess(info_.hProcess, &code);
    return code;
  }
  // Ends the process when it still runs and releases its handles.
  void Kill() {
    if (!started()) return;
    if (Running()) {
      TerminateProcess(info_.hProcess, 255);
      WaitForSingleObject(info_.hProcess, 10000);
    }
    CloseHandle(info_.hThread);
    CloseHandle(info_.hProcess);
    info_ = {};
  }

 private:
  PROCESS_INFORMATION info_{};
};

inline std::string ClassNameOf(HWND window) {
  char name[256] = {};
  GetClassNameA(window, name, sizeof name);
  return name;
}

inline std::string TextOf(HWND window) {
  char text[1024] = {};
  GetWindowTextA(window, text, sizeof text);
  return text;
}

// Top-level windows with the given class name, with the processes that own them.
struct OwnedWindow {
  HWND window;
  DWORD processId;
};
inline std::vector<OwnedWindow> TopLevelWindows(const std::string& className) {
  struct Search {
    const std::string& className;
    std::vector<OwnedWindow> found;
  } search{className, {}};
  EnumWindows(
      [](HWND window, LPARAM data) -> BOOL {
        auto& search = *reinterpret_cast<Search*>(data);
        if (lstrcmpiA(ClassNameOf(window).c_str(), search.className.c_str()) == 0) {
          DWORD owner = 0;
          GetWindowThreadProcessId(window, &owner);
          search.found.push_back({window, owner});
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

inline std::vector<HWND> WindowsOfProcess(DWORD processId, const std::string& className) {
  std::vector<HWND> windows;
  for (const OwnedWindow& found : TopLevelWindows(className))
    if (found.processId == processId) windows.push_back(found.window);
  return windows;
}

// Waits until the process owns a top-level window of the class (and visible,
// when asked). Nothing when the process ends first or the time runs out.
inline HWND WaitForWindow(const ChildProcess& process, const std::string& className, bool mustBeVisible,
                          DWORD milliseconds) {
  DWORD start = GetTickCount();
  do {
    for (HWND window : WindowsOfProcess(process.id(), className))
      if (!mustBeVisible || IsWindowVisible(window)) return window;
    if (!process.Running()) return nullptr;
    Sleep(100);
  } while (GetTickCount() - start < milliseconds);
  return nullptr;
}

}  // namespace tidemark::test
