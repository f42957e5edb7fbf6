#include "locations/chromium_locations.h"

#include <algorithm>

#include "locations/json_text.h"
#include "platform/path_names.h"
#include "platform/text.h"

namespace tidemark::locations {
namespace {

// Where a browser keeps its User Data, below Local Application Data.
struct LocalBrowser {
  const char* name;
  const char* folder;
  const char* program;
};

constexpr LocalBrowser kLocalBrowsers[] = {
    {"Google Chrome", "Google\\Chrome", "chrome.exe"},
    {"Google Chrome Beta", "Google\\Chrome Beta", "chrome.exe"},
    {"Google Chrome Dev", "Google\\Chrome Dev", "chrome.exe"},
    {"Google Chrome Canary", "Google\\Chrome SxS", "chrome.exe"},
    {"Microsoft Edge", "Microsoft\\Edge", "msedge.exe"},
    {"Brave", "BraveSoftware\\Brave-Browser", "brave.exe"},
    {"Vivaldi", "Vivaldi", "vivaldi.exe"},
    {"Chromium", "Chromium", "chrome.exe"},
};

// Opera keeps its profile below Application Data and its caches at the same
// place below Local Application Data.
constexpr const char* kOperaFolder = "Opera Software\\Opera Stable";
constexpr const char* kDefaultProfile = "Default";

// A real folder: there, and no junction or other link.
bool IsRealFolder(platform::FileSystem& files, const std::string& path) {
  std::optional<uint32_t> attributes = files.Attributes(path);
  return attributes && platform::IsRealFolderAttributes(*attributes);
}

// A shell folder the browsers' folders can be found below: a full path.
const std::string* FullFolder(const std::optional<std::string>& folder) {
  return folder && platform::IsFullPath(*folder) ? &*folder : nullptr;
}

// The profile folders Chromium made itself, when Local State names none.
std::vector<std::string> ScannedProfileNames(platform::FileSystem& files, const std::string& userData) {
  std::vector<std::string> names;
  files.ListFolder(userData, [&](const platform::DirEntry& entry) {
    bool profile = SameText(entry.name, kDefaultProfile) || StartsWithNoCase(entry.name, "Profile ");
    if (profile && entry.IsRealFolder() && IsPlainFolderName(entry.name)) names.push_back(entry.name);
    return true;
  });
  // "Default" first, the others by name: listings come in no set order.
  std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
    bool aDefault = SameText(a, kDefaultProfile), bDefault = SameText(b, kDefaultProfile);
    return aDefault != bDefault ? aDefault : LowerCase(a) < LowerCase(b);
  });
  return names;
}

std::vector<ChromiumProfile> LocatedProfiles(platform::FileSystem& files, const std::string& userData) {
  std::vector<ChromiumProfile> profiles;
  std::optional<std::string> localState = files.ReadFile(userData + "\\Local State");
  for (const std::string& name : localState ? LocalStateProfileNames(*localState) : std::vector<std::string>()) {
    std::string folder = userData + "\\" + name;
    if (IsRealFolder(files, folder)) profiles.push_back({folder, folder});
  }
  if (!profiles.empty()) return profiles;
  for (const std::string& name : ScannedProfileNames(files, userData)) {
    std::string folder = userData + "\\" + name;
    profiles.push_back({folder, folder});
  }
  return profiles;
}

}  // namespace

bool IsPlainFolderName(std::string_view name) {
  return platform::IsExactName(name) &&
         std::all_of(name.begin(), name.end(), [](char c) { return c >= ' ' && c <= '~'; });
}

std::vector<std::string> LocalStateProfileNames(std::string_view localState) {
  std::vector<std::string> names;
  std::optional<JsonValue> json = ParseJson(localState);
  const JsonValue* profile = json ? json->Member("profile") : nullptr;
  const JsonValue* infoCache = profile ? profile->Member("info_cache") : nullptr;
  if (!infoCache) return names;
  for (const auto& member : infoCache->members) {
    const std::string& name = member.first;
    bool known = std::any_of(names.begin(), names.end(), [&](const std::string& kept) { return SameText(kept, name); });
    if (!known && IsPlainFolderName(name)) names.push_back(name);
  }
  return names;
}

std::vector<ChromiumBrowser> LocateChromiumBrowsers(platform::FileSystem& files, const ShellFolderPaths& shellFolders) {
  std::vector<ChromiumBrowser> browsers;
  const std::string* local = FullFolder(shellFolders.LocalAppData);
  if (!local) return browsers;
  for (const LocalBrowser& known : kLocalBrowsers) {
    std::string userData = *local + "\\" + known.folder + "\\User Data";
    if (IsRealFolder(files, userData))
      browsers.push_back({known.name, userData, userData, known.program, LocatedProfiles(files, userData)});
  }
  if (const std::string* roaming = FullFolder(shellFolders.AppData)) {
    std::string userData = *roaming + "\\" + kOperaFolder, localUserData = *local + "\\" + kOperaFolder;
    if (IsRealFolder(files, userData)) {
      ChromiumBrowser opera{"Opera", userData, localUserData, "opera.exe", {{userData, localUserData}}};
      if (IsRealFolder(files, userData + "\\" + kDefaultProfile))
        opera.profiles = {{userData + "\\" + kDefaultProfile, localUserData + "\\" + kDefaultProfile}};
      browsers.push_back(std::move(opera));
    }
  }
  return browsers;
}

}  // namespace tidemark::locations
