// Which Firefox profile to clean and where each of its files lies. A path that
// does not exist is replaced by a ready-made report text (EnsureFirefoxLocations)
// so that the purges can print it as it stands.
#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "locations/ie_locations.h"
#include "locations/shell_folders.h"
#include "platform/files.h"
#include "platform/registry.h"
#include "platform/shell.h"

namespace tidemark::locations {

// A replaced file path starts with this (19 characters) and names the file.
constexpr const char* kFileNotFoundPrefix = "  File not found - ";
constexpr const char* kFirefoxVersionNotFound = "not found.";
constexpr const char* kFirefoxRegistryKey = "Software\\Mozilla\\Mozilla Firefox";

// True for a file path EnsureFirefoxLocations replaced by its report text.
bool IsFileNotFoundText(std::string_view path);

struct FirefoxLocations {
  bool Discovered = false;  // LocateFirefoxFiles has run (once per process)

  std::string FirefoxProfileFolder;  // the default profile's folder, or empty
  std::string HostpermFile;
  std::string PermissionsFile;
  std::string CookiesTxtFile;
  std::string CookiesSqliteFile;
  std::string PlacesFile;
  std::string FaviconsFile;  // Firefox 55 and later: the icons of places.sqlite's pages
  std::string FormHistorySqliteFile;
  std::string CookiesPg1File;
  std::string CookiesPg2File;
  std::string HistoryDatFile;
  std::string FormHistoryDatFile;
  std::string FirefoxCacheFolder;
  std::string FirefoxLocalCacheFolder;    // the cache under Local Application Data, or empty
  std::string FirefoxLocalProfileFolder;  // its parent, the profile's folder there, kept where that cache is missing

  // The SQLite databases that existed when located.
  bool PermissionsSqlitePresent = false;
  bool CookiesSqlitePresent = false;
  bool PlacesSqlitePresent = false;
  bool FormHistorySqlitePresent = false;
  bool FirefoxSqliteFormat = false;  // any of the four: Firefox 3 or later
  // A located profile older than Firefox 3: the main window disables
  // "FireFox Typed URLs" in all four option frames.
  bool DisableFFTypedURLsOption = false;

  std::string FirefoxVersionText = kFirefoxVersionNotFound;
  std::string PluginsFolder;
  std::string PluginListFile;
};

// One section of profiles.ini, in file order.
struct ProfileEntry {
  bool isProfile = false;  // the section name starts with "profile"
  std::string path;        // "Path" as written
  bool isRelative = true;  // "IsRelative" is not "0"
};

struct ProfileList {
  std::vector<ProfileEntry> entries;
  // The first profile section, or the last one with Default=1; -1 when none.
  int defaultIndex = -1;
};

ProfileList ParseProfilesIni(std::string_view iniText);

// The value of "browser.cache.disk.parent_directory" from the first Prefs.js
// line naming it: the JavaScript string decoded, runs of backslashes
// collapsed (but for a network path's first two); nothing when absent, empty
// or not a full path.
std::optional<std::string> CacheParentDirectoryPreference(std::string_view prefsText);

// The discovery pass: profiles.ini below AppData\Mozilla\Firefox, the default
// profile's files, the local cache and the cache preference. Errors are swallowed.
void LocateFirefoxFiles(FirefoxLocations& firefox, platform::FileSystem& files, const ShellFolderPaths& shellFolders);

// Runs the discovery on the first call, then (every call) replaces missing
// files and folders by their report texts, IEHistoryIndexFile included.
void EnsureFirefoxLocations(FirefoxLocations& firefox, IELocations& ie, platform::FileSystem& files,
                            const ShellFolderPaths& shellFolders);

// Firefox's product version from the registry and its executable's version
// resource, or kFirefoxVersionNotFound. The key lies below HKEY_LOCAL_MACHINE.
std::string ReadFirefoxVersion(platform::Registry& registry, platform::Shell& shell,
                               const std::string& firefoxKey = kFirefoxRegistryKey);

// The latest of Firefox's release names ("3.6.13 (en-US)", "10.0 (en-US)"):
// version numbers compare as numbers, then the names as text.
std::string LatestRelease(const std::vector<std::string>& releases);

// PluginsFolder (upper-cased program folder + "\PLUGINS", created when missing)
// and PluginListFile (in the data folder, or the program folder with FFdatExe;
// empty when that folder is unknown).
void LocatePlugins(FirefoxLocations& firefox, platform::FileSystem& files, const std::string& programFolder,
                   const std::string& dataFolder, bool ffdatExe);

}  // namespace tidemark::locations
