// A program started as a real process, ended at the latest with the test.
#pragma once
#include <gtest/gtest.h>
#include <windows.h>

#include <optional>
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
    TerminateProcess(info_.hProcess, 255);  // fails once it has ended
    WaitForSingleObject(info_.hProcess, 10000);
    CloseHandle(info_.hThread);
    CloseHandle(info_.hProcess);
  }
  DWORD id() const { return info_.dwProcessId; }
  // The exit code; nothing when the process has not ended in time.
  std::optional<DWORD> WaitForExit(DWORD milliseconds = 60000) const {
    DWORD code = 0;
    if (!info_.hProcess || WaitForSingleObject(info_.hProcess, milliseconds) != WAIT_OBJECT_0) return std::nullopt;
    GetExitCodeProcess(info_.hProcess, &code);
    return code;
  }

 private:
  PROCESS_INFORMATION info_{};
};

}  // namespace tidemark::test
