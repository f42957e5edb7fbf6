// The Chromium-family browsers installed for this user (Chrome, Edge, Brave,
// Vivaldi, Chromium, Opera) and their profiles.
#pragma once
#include <string>
#include <vector>

namespace tidemark::locations {

struct ChromiumProfile {
  std::string folder;       // its databases: Cookies, History, Web Data, Bookmarks
  std::string cacheFolder;  // its caches (Opera keeps them under Local Application Data)
};

struct ChromiumBrowser {
  std::string name;      // as the report names it: "Google Chrome", "Microsoft Edge"
  std::string userData;  // "User Data": Local State and lockfile (Opera: under Application Data)
  std::string localUserData;  // the browser-wide caches' folder (the same but for Opera)
  std::string program;        // its program file's name: "chrome.exe"
  std::vector<ChromiumProfile> profiles;
};

}  // namespace tidemark::locations
