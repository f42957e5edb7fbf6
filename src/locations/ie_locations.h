// Where this user's Internet Explorer data lies (cache, cookies, history,
// UserData, DOM storage and their Protected Mode twins), which IE version is
// installed, and the Windows folders found alongside (Recent, the history
// index). Nothing is created: a location not confirmed on disk stays empty.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

#include "locations/shell_folders.h"
#include "platform/files.h"
#include "platform/registry.h"
#include "platform/shell.h"

namespace tidemark::locations {

// Report text that replaces a folder that was not found.
constexpr const char* kFolderNotFoundText = "  Folder not found";

struct IEVersion {
  int IEVersionMajor = 0;
  bool IE5Plus = false;  // Content.IE5 / History.IE5 layout
  bool IE7Plus = false;
  // The registry "Version" value followed by four blanks; empty without one.
  std::string RegistryVersionText;
};

// Registry keys read by the IE passes; tests point them at keys of their own.
// The shell folder keys are read below HKEY_CURRENT_USER and then
// HKEY_LOCAL_MACHINE, the version key below HKEY_LOCAL_MACHINE only.
struct IERegistryKeys {
  std::string InternetExplorer = "Software\\Microsoft\\Internet Explorer";
  std::string UserShellFolders = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";
  std::string ShellFolders = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
  std::string UserDataCache =
      "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\\5.0\\Cache\\Extensible Cache\\Userdata";
};

// Every path has no trailing backslash; empty means "not found".
struct IELocations {
  std::string IECacheFolder;
  std::string IECookiesFolder;
  std::string IEHistoryFolder;
  std::string IEUserDataFolder;
  bool IEUserDataFound = false;
  // Protected Mode twins: non-empty means present (holds an index file).
  std::string LowCacheFolder;
  std::string LowHistoryFolder;
  std::string LowCookiesFolder;
  std::string LowUserDataFolder;
  std::string DomStoreFolder;
  bool DomStoreFound = false;
  std::string LowDomStoreFolder;
  bool LowDomStoreFound = false;
  std::string RecentFolder;
  bool RecentFolderFound = false;
  // History + "\History.IE5\index.dat"; "none" when the history folder is
  // unknown, kFolderNotFoundText once EnsureFirefoxLocations found it missing.
  std::string IEHistoryIndexFile = "none";
};

// The platform a location pass works against.
struct LocationServices {
  platform::FileSystem& files;
  platform::Registry& registry;
  platform::Shell& shell;
};

// The integer before the first '.', 0 when there is none.
int VersionMajorOf(std::string_view versionText);

// The larger major of the registry "Version" value and shdocvw.dll's file version.
IEVersion ReadIEVersion(platform::Registry& registry, platform::Shell& shell, const IERegistryKeys& keys = {});

// At least 4 characters holding a ':' and a '\'.
bool IsUsablePath(std::string_view path);

// How one candidate obtains its folder.
enum class FolderMethod {
  SpecialFolder,  // GetSpecialFolder (id)
  IdList,         // the special folder's item id list
  Registry,       // a string value under root\key
};

struct ShellFolderCandidate {
  FolderMethod method = FolderMethod::SpecialFolder;
  int folderId = 0;
  platform::RegistryRoot root = platform::RegistryRoot::CurrentUser;
  std::string key;
};

// Shared by the candidates of one location; clear before the first.
struct CandidateGroup {
  bool found = false;
  uint64_t bestIndexDate = 0;
};

// Tries one candidate. While the group has found nothing, outPath is first
// set to a not-found text. With ie5Plus, subfolder (if any) is appended. The
// candidate qualifies when its folder exists and, with an index file name,
// holds that file dated no older than the group's best so far; it then sets
// outPath and the group's flag.
bool LocateShellFolder(const LocationServices& services, bool ie5Plus, CandidateGroup& group,
                       const ShellFolderCandidate& candidate, const std::string& indexFileName,
                       const std::string& subfolder, const std::string& valueName, std::string& outPath);

// The UserData folder named by the registry (HKCU, else HKLM), or empty when
// it is not an existing folder.
std::string FindUserDataFolder(const LocationServices& services, const IERegistryKeys& keys = {});

// The locate-all pass, run once after ReadIEVersion.
IELocations LocateIELocations(const LocationServices& services, const IEVersion& version,
                              const ShellFolderPaths& shellFolders, const IERegistryKeys& keys = {});

}  // namespace tidemark::locations
