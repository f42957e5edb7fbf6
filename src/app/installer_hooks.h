// The installer's and uninstaller's start-ups: "INIT" refreshes the manifest
// and removes a duplicate desktop shortcut, "UNINST" removes the startup
// entry and the data files. Neither shows a window.
#pragma once
#include <string>

#include "cookies/protect_file.h"
#include "platform/files.h"
#include "platform/registry.h"
#include "schedule/reboot_purge.h"

namespace tidemark::app {

// The files "UNINST" removes from each data folder.
inline constexpr const char* kDataFiles[] = {"Tidemark.ini", "Tidemark.Dat", "Plugins.dat",
                                             "IEcookie.dat", "IEprMode.dat", "Saltpan.log",
                                             "PurgeInx.bat", cookies::kTempProtectFile, schedule::kBootListFile};

struct InitInputs {
  std::string programFile;
  bool windowsNT = true;
  std::string commonDesktop;  // all-users desktop folder; empty when unknown
  std::string userDesktop;
};
void RunInitHook(const InitInputs& inputs, platform::FileSystem& files);

struct UninstallInputs {
  std::string dataFolder;
  std::string userName;
  std::string commonAppData;  // all-users application-data folder; empty when unknown
};
void RunUninstallHook(const UninstallInputs& inputs, platform::FileSystem& files, platform::Registry& registry);

}  // namespace tidemark::app
