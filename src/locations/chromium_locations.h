// The Chromium-family browsers installed for this user (Chrome, Edge, Brave,
// Vivaldi, Chromium, Opera) and their profiles.
#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "locations/shell_folders.h"
#include "platform/files.h"

namespace tidemark::locations {

struct ChromiumProfile {
  std::string folder;       // its databases: Cookies, History, Web Data, Bookmarks
  std::string cacheFolder;  // its caches (Opera keeps them under Local Application Data)
};

struct ChromiumBrowser {
  std::string name;           // as the report names it: "Google Chrome", "Microsoft Edge"
  std::string userData;       // "User Data": Local State and lockfile (Opera: under Application Data)
  std::string localUserData;  // the browser-wide caches' folder (the same but for Opera)
  std::string program;        // its program file's name: "chrome.exe"
  std::vector<ChromiumProfile> profiles;
};

// The profile folders "Local State" names: the keys of profile.info_cache,
// in file order, each once. Only a plain folder name is kept (one printable
// ASCII name the system takes as it is: Chromium names its own folders so, and
// anything else could reach another folder or not survive the "A" code
// page). Nothing when the text is no JSON or names none.
std::vector<std::string> LocalStateProfileNames(std::string_view localState);

// True for a name LocalStateProfileNames keeps.
bool IsPlainFolderName(std::string_view name);

// The installed browsers (their User Data folder is there and no link) in
// a fixed order, each with its profiles: those Local State names whose
// folder is there and no link, else the "Default" and "Profile *" folders.
std::vector<ChromiumBrowser> LocateChromiumBrowsers(platform::FileSystem& files, const ShellFolderPaths& shellFolders);

}  // namespace tidemark::locations
