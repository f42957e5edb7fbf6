// Helpers shared by the location tests under Wine.
#pragma once
#include <windows.h>

#include <optional>
#include <string>

#include "platform/registry.h"
#include "platform/shell.h"
#include "support/sandbox_win.h"

namespace tidemark::test {

// A scratch key at the same path below both HKEY_CURRENT_USER and
// HKEY_LOCAL_MACHINE, removed from both afterwards.
class BothHivesKey {
 public:
  ~BothHivesKey() { platform::RealRegistry().DeleteKey(platform::RegistryRoot::LocalMachine, user_.path()); }
  const std::string& path() const { return user_.path(); }
  std::string operator/(const std::string& sub) const { return path() + "\\" + sub; }

 private:
  TempRegistryKey user_;
};

// The real shell with its special-folder lookups failing (as on a system
// without them), and optionally a fixed version text for every file.
class ShellWithoutFolders : public platform::Shell {
 public:
  platform::SpecialFolder GetSpecialFolder(int) override { return {false, platform::kPathNotFound}; }
  platform::SpecialFolder SpecialFolderFromIdList(int) override { return {false, platform::kFolderNotFound}; }
  std::string ExpandEnvVars(const std::string& text) override { return platform::RealShell().ExpandEnvVars(text); }
  std::string VersionString(const std::string& file, const std::string& name) override {
    return fixedVersion ? *fixedVersion : platform::RealShell().VersionString(file, name);
  }
  std::optional<std::string> fixedVersion;
};

// Sets a file's last-write time to the given FILETIME number.
inline bool SetWriteTime(const std::string& path, uint64_t time) {
  HANDLE file = CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  FILETIME stamp{DWORD(time & 0xFFFFFFFF), DWORD(time >> 32)};
  bool ok = SetFileTime(file, nullptr, nullptr, &stamp);
  CloseHandle(file);
  return ok;
}

}  // namespace tidemark::test
