// Helpers shared by the location tests under Wine.
#pragma once
#include <windows.h>

#include <optional>
#include <string>

#include "platform/registry.h"
#include "platform/shell_win.h"
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

// The real shell with its special-folder lookups failing, as on a system
// without them (the item id list route still answers when idListWorks is
// set), and optionally a fixed version text for every file.
class ShellWithoutFolders : public platform::Win32Shell {
 public:
  platform::SpecialFolder GetSpecialFolder(int) override { return {false, platform::kPathNotFound}; }
  platform::SpecialFolder SpecialFolderFromIdList(int id) override {
    if (idListWorks) return Win32Shell::SpecialFolderFromIdList(id);
    return {false, platform::kFolderNotFound};
  }
  bool idListWorks = false;
  std::string VersionString(const std::string& file, const std::string& name) override {
    return fixedVersion ? *fixedVersion : Win32Shell::VersionString(file, name);
  }
  std::optional<std::string> fixedVersion;
};

}  // namespace tidemark::test
