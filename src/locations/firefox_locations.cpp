#include "locations/firefox_locations.h"

#include <algorithm>
#include <cctype>
#include <charconv>

#include "platform/text.h"

namespace tidemark::locations {
namespace {

using platform::RegistryRoot;

constexpr size_t kMaxPathLength = 260;

std::vector<std::string> Lines(std::string_view text) {
  constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";  // some editors start the file with it
  if (StartsWith(text, kUtf8Mark)) text.remove_prefix(kUtf8Mark.size());
  std::vector<std::string> lines = Split(text, '\n');
  for (std::string& line : lines)
    if (!line.empty() && line.back() == '\r') line.pop_back();
  return lines;
}

struct IniSection {
  std::string name;
  std::vector<std::pair<std::string, std::string>> values;

  std::string Value(std::string_view key, std::string_view fallback = "") const {
    for (const auto& [name, value] : values)
      if (SameText(name, key)) return value;
    return std::string(fallback);
  }
};

// A value between matching quotes loses them, as Windows' own INI reader has it.
std::string Unquoted(std::string value) {
  if (value.size() >= 2 && (value[0] == '"' || value[0] == '\'') && value.back() == value[0])
    return value.substr(1, value.size() - 2);
  return value;
}

// The text of a JavaScript string literal whose opening quote is at open;
// nothing when it does not end on the line.
std::optional<std::string> JavaScriptString(std::string_view line, size_t open) {
  std::string value;
  for (size_t i = open + 1; i < line.size(); ++i) {
    char c = line[i];
    if (c == line[open]) return value;
    if (c != '\\' || i + 1 == line.size()) {
      value += c;
      continue;
    }
    char escaped = line[++i];
    switch (escaped) {
      case 'n': value += '\n'; break;
      case 't': value += '\t'; break;
      case 'r': value += '\r'; break;
      case 'u': {
        // A character this code page may not have: it stays as unusable as written.
        unsigned code = 0;
        if (i + 4 < line.size()) {
          auto [end, error] = std::from_chars(line.data() + i + 1, line.data() + i + 5, code, 16);
          if (error != std::errc() || end != line.data() + i + 5) code = 0;
        }
        value += code > 0 && code < 0x80 ? static_cast<char>(code) : '?';
        i += 4;
        break;
      }
      default: value += escaped;  // \\, \", \' and the rest stand for themselves
    }
  }
  return std::nullopt;
}

// "X:\..." or "\\server\share...".
bool IsAbsolutePath(std::string_view path) {
  bool drive = path.size() >= 3 && std::isalpha(static_cast<unsigned char>(path[0])) && path[1] == ':' &&
               path[2] == '\\';
  bool unc = path.size() >= 5 && path[0] == '\\' && path[1] == '\\' && path[2] != '\\';
  return drive || unc;
}

// Sections in file order; lines before the first section and comments are ignored.
std::vector<IniSection> ParseIni(std::string_view text) {
  std::vector<IniSection> sections;
  for (const std::string& raw : Lines(text)) {
    std::string line = Trim(raw);
    if (line.empty() || line[0] == ';') continue;
    if (line[0] == '[') {
      size_t close = line.find(']');
      sections.push_back({Trim(line.substr(1, close == std::string::npos ? std::string::npos : close - 1)), {}});
    } else if (size_t equals = line.find('='); equals != std::string::npos && !sections.empty()) {
      sections.back().values.emplace_back(Trim(line.substr(0, equals)), Unquoted(Trim(line.substr(equals + 1))));
    }
  }
  return sections;
}

std::string ProfileFolderOf(const ProfileEntry& entry, const std::string& firefoxFolder) {
  std::string folder;
  if (!entry.isRelative)
    folder = entry.path;
  else if (!entry.path.empty())
    folder = firefoxFolder + "\\" + entry.path;
  std::replace(folder.begin(), folder.end(), '/', '\\');
  return folder;
}

// Without a profile every item counts as missing: the paths are then relative
// to the drive root ("\Cookies.txt") and must never reach a purge.
bool ProfileFileExists(const FirefoxLocations& firefox, platform::FileSystem& files, const std::string& path) {
  return !firefox.FirefoxProfileFolder.empty() && files.FileExists(path);
}

void ReplaceMissingFile(const FirefoxLocations& firefox, platform::FileSystem& files, std::string& path,
                        const char* name) {
  if (IsFileNotFoundText(path) || ProfileFileExists(firefox, files, path)) return;
  path = std::string(kFileNotFoundPrefix) + name;
}

void ReplaceMissingFolder(const FirefoxLocations& firefox, platform::FileSystem& files, std::string& path) {
  if (path == kFolderNotFoundText || (!firefox.FirefoxProfileFolder.empty() && files.FolderExists(path))) return;
  path = kFolderNotFoundText;
}

void BuildProfilePaths(FirefoxLocations& firefox) {
  const std::string& profile = firefox.FirefoxProfileFolder;
  firefox.HostpermFile = profile + "\\hostperm.1";
  firefox.PermissionsFile = profile + "\\permissions.sqlite";
  firefox.CookiesTxtFile = profile + "\\Cookies.txt";
  firefox.CookiesSqliteFile = profile + "\\Cookies.sqlite";
  firefox.PlacesFile = profile + "\\Places.sqlite";
  firefox.FaviconsFile = profile + "\\favicons.sqlite";
  firefox.FormHistorySqliteFile = profile + "\\FormHistory.sqlite";
  firefox.CookiesPg1File = profile + "\\Cookies.pg1";
  firefox.CookiesPg2File = profile + "\\Cookies.pg2";
  firefox.HistoryDatFile = profile + "\\History.dat";
  firefox.FormHistoryDatFile = profile + "\\FormHistory.dat";
  firefox.FirefoxCacheFolder = profile + "\\Cache";
}

// Firefox 2 and later keep the cache under Local Application Data, at the
// same place relative to it as the profile has under Application Data.
void LocateLocalCache(FirefoxLocations& firefox, const ShellFolderPaths& shellFolders) {
  firefox.FirefoxLocalCacheFolder.clear();
  firefox.FirefoxLocalProfileFolder.clear();
  if (firefox.FirefoxProfileFolder.empty() || !shellFolders.AppData || !shellFolders.LocalAppData) return;
  const std::string& appData = *shellFolders.AppData;
  const std::string& cache = firefox.FirefoxCacheFolder;
  if (appData.empty() || !StartsWithNoCase(cache, appData) || cache.size() == appData.size() ||
      cache[appData.size()] != '\\')
    return;
  std::string local = *shellFolders.LocalAppData + cache.substr(appData.size());
  // A cut-off path could name some other, existing folder.
  if (local.size() > kMaxPathLength) return;
  firefox.FirefoxLocalCacheFolder = local;
  firefox.FirefoxLocalProfileFolder = ParentFolder(local);
}

}  // namespace

bool IsFileNotFoundText(std::string_view path) { return StartsWith(path, kFileNotFoundPrefix); }

ProfileList ParseProfilesIni(std::string_view iniText) {
  ProfileList list;
  for (const IniSection& section : ParseIni(iniText)) {
    ProfileEntry entry;
    int index = static_cast<int>(list.entries.size());
    if (StartsWithNoCase(section.name, "profile")) {
      entry.isProfile = true;
      if (list.defaultIndex < 0) list.defaultIndex = index;
      entry.path = section.Value("Path");
      entry.isRelative = section.Value("IsRelative") != "0";
      if (section.Value("Default", "0") == "1") list.defaultIndex = index;
    }
    list.entries.push_back(entry);
  }
  return list;
}

std::optional<std::string> CacheParentDirectoryPreference(std::string_view prefsText) {
  constexpr std::string_view kKey = "\"browser.cache.disk.parent_directory\"";
  for (const std::string& line : Lines(prefsText)) {
    size_t at = line.find(kKey);
    if (at == std::string::npos) continue;
    size_t open = line.find('"', at + kKey.size());
    if (open == std::string::npos) return std::nullopt;
    auto text = JavaScriptString(line, open);
    if (!text) return std::nullopt;
    // Runs of backslashes count as one, but for the two that begin a network path.
    std::string value = text->substr(0, 2);
    for (char c : std::string_view(*text).substr(std::min<size_t>(2, text->size())))
      if (c != '\\' || value.back() != '\\') value += c;
    // Only a full path: a relative one would name some folder nobody chose.
    if (!IsAbsolutePath(value)) return std::nullopt;
    return value;
  }
  return std::nullopt;
}

std::string LatestRelease(const std::vector<std::string>& releases) {
  // "10.0 (en-US)" is later than "9.0.1 (en-US)": the numbers compare as numbers.
  auto numbers = [](const std::string& release) {
    std::vector<long long> parts;
    size_t at = 0;
    while (at < release.size() && std::isdigit(static_cast<unsigned char>(release[at]))) {
      size_t end = at;
      while (end < release.size() && std::isdigit(static_cast<unsigned char>(release[end]))) ++end;
      parts.push_back(ParseInteger(release.substr(at, std::min<size_t>(end - at, 15))).value_or(0));
      if (end >= release.size() || release[end] != '.') break;
      at = end + 1;
    }
    return parts;
  };
  return *std::max_element(releases.begin(), releases.end(), [&](const std::string& a, const std::string& b) {
    auto left = numbers(a), right = numbers(b);
    return left != right ? left < right : LowerCase(a) < LowerCase(b);
  });
}

void LocateFirefoxFiles(FirefoxLocations& firefox, platform::FileSystem& files, const ShellFolderPaths& shellFolders) {
  firefox.Discovered = true;
  firefox.FirefoxProfileFolder.clear();
  if (shellFolders.AppData) {
    std::string firefoxFolder = *shellFolders.AppData + "\\Mozilla\\Firefox";
    if (auto ini = files.ReadFile(firefoxFolder + "\\profiles.ini")) {
      ProfileList profiles = ParseProfilesIni(*ini);
      if (profiles.defaultIndex >= 0) {
        std::string folder = ProfileFolderOf(profiles.entries[size_t(profiles.defaultIndex)], firefoxFolder);
        if (!folder.empty() && files.FolderExists(folder)) firefox.FirefoxProfileFolder = folder;
      }
    }
  }

  BuildProfilePaths(firefox);
  firefox.PermissionsSqlitePresent = ProfileFileExists(firefox, files, firefox.PermissionsFile);
  firefox.CookiesSqlitePresent = ProfileFileExists(firefox, files, firefox.CookiesSqliteFile);
  firefox.PlacesSqlitePresent = ProfileFileExists(firefox, files, firefox.PlacesFile);
  firefox.FormHistorySqlitePresent = ProfileFileExists(firefox, files, firefox.FormHistorySqliteFile);
  firefox.FirefoxSqliteFormat = firefox.PermissionsSqlitePresent || firefox.CookiesSqlitePresent ||
                                firefox.PlacesSqlitePresent || firefox.FormHistorySqlitePresent;
  firefox.DisableFFTypedURLsOption = !firefox.FirefoxSqliteFormat;

  LocateLocalCache(firefox, shellFolders);

  // Firefox creates its "Cache" folder inside the directory this preference
  // names; the directory itself may hold anything and must not be emptied.
  if (firefox.FirefoxProfileFolder.empty()) return;
  if (auto prefs = files.ReadFile(firefox.FirefoxProfileFolder + "\\Prefs.js"))
    if (auto parent = CacheParentDirectoryPreference(*prefs)) firefox.FirefoxCacheFolder = JoinPath(*parent, "Cache");
}

void EnsureFirefoxLocations(FirefoxLocations& firefox, IELocations& ie, platform::FileSystem& files,
                            const ShellFolderPaths& shellFolders) {
  if (!firefox.Discovered) LocateFirefoxFiles(firefox, files, shellFolders);
  ReplaceMissingFile(firefox, files, firefox.CookiesTxtFile, "Cookies.txt");
  ReplaceMissingFile(firefox, files, firefox.CookiesSqliteFile, "Cookies.sqlite");
  ReplaceMissingFile(firefox, files, firefox.HistoryDatFile, "History.dat");
  ReplaceMissingFile(firefox, files, firefox.FormHistoryDatFile, "FormHistory.dat");
  ReplaceMissingFolder(firefox, files, firefox.FirefoxCacheFolder);
  ReplaceMissingFolder(firefox, files, firefox.FirefoxLocalCacheFolder);
  if (ie.IEHistoryIndexFile != kFolderNotFoundText && !files.FileExists(ie.IEHistoryIndexFile))
    ie.IEHistoryIndexFile = kFolderNotFoundText;
}

std::string ReadFirefoxVersion(platform::Registry& registry, platform::Shell& shell, const std::string& firefoxKey) {
  constexpr RegistryRoot kMachine = RegistryRoot::LocalMachine;
  if (!registry.KeyExists(kMachine, firefoxKey)) return kFirefoxVersionNotFound;
  std::string release;
  auto current = registry.ReadString(kMachine, firefoxKey, "CurrentVersion");
  if (current && !current->empty() && registry.KeyExists(kMachine, firefoxKey + "\\" + *current)) {
    release = *current;
  } else {
    std::vector<std::string> releases = registry.SubKeys(kMachine, firefoxKey);
    if (releases.empty()) return kFirefoxVersionNotFound;
    release = LatestRelease(releases);
  }
  auto exe = registry.ReadString(kMachine, firefoxKey + "\\" + release + "\\Main", "PathToExe");
  if (!exe) return kFirefoxVersionNotFound;
  std::string version = shell.ProductVersionOf(*exe);
  if (StartsWith(version, "00.00.00.")) return kFirefoxVersionNotFound;
  return version;
}

void LocatePlugins(FirefoxLocations& firefox, platform::FileSystem& files, const std::string& programFolder,
                   const std::string& dataFolder, bool ffdatExe) {
  firefox.PluginsFolder = UpperCase(programFolder) + "\\PLUGINS";
  if (!files.FolderExists(firefox.PluginsFolder)) files.CreateFolders(firefox.PluginsFolder);
  firefox.PluginListFile = FileInFolder(ffdatExe ? programFolder : dataFolder, "PLUGINS.DAT");
}

}  // namespace tidemark::locations
