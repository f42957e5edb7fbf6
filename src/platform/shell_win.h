// The real Windows shell. Tests derive from it to replace one operation and
// keep the real behaviour of all others.
#pragma once
#include <windows.h>

#include "platform/shell.h"

namespace tidemark::platform {

class Win32Shell : public Shell {
 public:
  SpecialFolder GetSpecialFolder(int csidl) override;
  SpecialFolder SpecialFolderFromIdList(int csidl) override;
  std::string ExpandEnvVars(const std::string& text) override;
  std::string VersionString(const std::string& file, const std::string& name) override;
  std::optional<std::string> EnvironmentVariable(const std::string& name) override;
  std::string WindowsFolder() override;
  std::string SystemFolder() override;
  std::string TempPath() override;
  std::optional<std::string> ComputerName() override;
  std::optional<std::string> UserName() override;
  bool RecycleBinAvailable() override;
  std::optional<int32_t> EmptyRecycleBin() override;
  std::string ShortPathOf(const std::string& path) override;
  bool SaveShellLink(const ShellLink& link, const std::string& linkFile) override;

 private:
  using GetFolderPathFn = HRESULT(WINAPI*)(HWND, int, HANDLE, DWORD, LPSTR);
  GetFolderPathFn FolderPathFunction();

  bool lookedUp_ = false;
  GetFolderPathFn getFolderPath_ = nullptr;
};

}  // namespace tidemark::platform
