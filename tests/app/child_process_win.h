// A program started as a real process, ended at the latest with the test.
#pragma once
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

namespace tidemark::test {

class ChildProcess {
 public:
  explicit ChildProcess(std::string commandLine) {
    STARTUPINFOA startup{sizeof startup};
    EXPECT_TRUE(
        CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info_))
        << commandLine;
  }
  ~ChildProcess() {
    if (!info_.hProcess) return;
    if (Running()) TerminateProcess(info_.hProcess, 255);
    WaitForSingleObject(info_.hProcess, 10000);
    CloseHandle(info_.hThread);
    CloseHandle(info_.hProcess);
  }
  DWORD id() const { return info_.dwProcessId; }
  bool Running() const { return info_.hProcess && WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT; }
  bool WaitForExit(DWORD milliseconds = 60000) const {
    return info_.hProcess && WaitForSingleObject(info_.hProcess, milliseconds) == WAIT_OBJECT_0;
  }
  DWORD ExitCode() const {
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(info_.hProcess, &code);
    return code;
  }

 private:
  PROCESS_INFORMATION info_{};
};

}  // namespace tidemark::test
