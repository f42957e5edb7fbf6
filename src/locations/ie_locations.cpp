#include "locations/ie_locations.h"

#include <algorithm>
#include <optional>

#include "platform/text.h"

namespace tidemark::locations {
namespace {

using platform::RegistryRoot;

constexpr const char* kCandidateNotFound = "... Not Found ...";
constexpr const char* kIndexFileName = "Index.Dat";

void DropTrailingBackslash(std::string& path) {
  if (path.size() > 1 && path.back() == '\\') path.pop_back();
}

std::optional<std::string> CandidateFolder(const LocationServices& services, const ShellFolderCandidate& candidate,
                                           const std::string& valueName) {
  switch (candidate.method) {
    case FolderMethod::SpecialFolder:
    case FolderMethod::IdList: {
      platform::SpecialFolder folder = candidate.method == FolderMethod::SpecialFolder
                                           ? services.shell.GetSpecialFolder(candidate.folderId)
                                           : services.shell.SpecialFolderFromIdList(candidate.folderId);
      if (!folder.found) return std::nullopt;
      return services.shell.ExpandEnvVars(folder.path);
    }
    case FolderMethod::Registry: {
      auto value = services.registry.ReadString(candidate.root, candidate.key, valueName);
      if (!value) return std::nullopt;
      return services.shell.ExpandEnvVars(*value);
    }
  }
  return std::nullopt;
}

// The shell, then the two registry keys under the user's hive and the machine's.
std::string LocateGroup(const LocationServices& services, bool ie5Plus, const IERegistryKeys& keys, int folderId,
                        const std::string& subfolder, const std::string& valueName) {
  const ShellFolderCandidate candidates[] = {
      {FolderMethod::SpecialFolder, folderId, RegistryRoot::CurrentUser, ""},
      {FolderMethod::IdList, folderId, RegistryRoot::CurrentUser, ""},
      {FolderMethod::Registry, 0, RegistryRoot::CurrentUser, keys.UserShellFolders},
      {FolderMethod::Registry, 0, RegistryRoot::CurrentUser, keys.ShellFolders},
      {FolderMethod::Registry, 0, RegistryRoot::LocalMachine, keys.UserShellFolders},
      {FolderMethod::Registry, 0, RegistryRoot::LocalMachine, keys.ShellFolders},
  };
  CandidateGroup group;
  std::string path;
  for (const ShellFolderCandidate& candidate : candidates) {
    if (group.found) break;
    LocateShellFolder(services, ie5Plus, group, candidate, kIndexFileName, subfolder, valueName, path);
  }
  if (group.found) DropTrailingBackslash(path);
  if (!IsUsablePath(path)) path.clear();
  return path;
}

bool HoldsIndex(platform::FileSystem& files, const std::string& folder) {
  return !folder.empty() && files.FolderExists(folder) && files.FileExists(JoinPath(folder, "Index.dat"));
}

// folder with "\Low" inserted before part ("...\Low\Content.IE5"), kept only
// when it holds an index.
std::string LowTwinBefore(platform::FileSystem& files, const std::string& folder, const std::string& part) {
  size_t at = LowerCase(folder).find(LowerCase(part));
  if (at == std::string::npos) return "";
  std::string twin = folder.substr(0, at) + "\\Low" + folder.substr(at);
  return HoldsIndex(files, twin) ? twin : "";
}

// folder + "\Low", kept only when it holds an index.
std::string LowTwinInside(platform::FileSystem& files, const std::string& folder) {
  if (folder.empty()) return "";
  std::string twin = JoinPath(folder, "Low");
  return HoldsIndex(files, twin) ? twin : "";
}

}  // namespace

int VersionMajorOf(std::string_view versionText) {
  size_t dot = versionText.find('.');
  if (dot == std::string_view::npos) return 0;
  return std::max(0, ParseIntOr(versionText.substr(0, dot), 0));
}

IEVersion ReadIEVersion(platform::Registry& registry, platform::Shell& shell, const IERegistryKeys& keys) {
  IEVersion version;
  if (auto value = registry.ReadString(RegistryRoot::LocalMachine, keys.InternetExplorer, "Version"))
    version.RegistryVersionText = *value + "    ";
  std::string fileVersionText = shell.FileVersionOf("shdocvw.dll") + "    ";
  version.IEVersionMajor = std::max(VersionMajorOf(version.RegistryVersionText), VersionMajorOf(fileVersionText));
  version.IE5Plus = version.IEVersionMajor >= 5;
  version.IE7Plus = version.IEVersionMajor >= 7;
  return version;
}

bool IsUsablePath(std::string_view path) {
  return path.size() >= 4 && path.find(':') != std::string_view::npos && path.find('\\') != std::string_view::npos;
}

bool LocateShellFolder(const LocationServices& services, bool ie5Plus, CandidateGroup& group,
                       const ShellFolderCandidate& candidate, const std::string& indexFileName,
                       const std::string& subfolder, const std::string& valueName, std::string& outPath) {
  if (!group.found) {
    outPath = kCandidateNotFound;
    group.bestIndexDate = 0;
  }
  std::optional<std::string> folder = CandidateFolder(services, candidate, valueName);
  if (!folder) return false;
  DropTrailingBackslash(*folder);
  if (!subfolder.empty() && ie5Plus) *folder = JoinPath(*folder, subfolder);
  if (!services.files.FolderExists(*folder)) return false;
  if (!indexFileName.empty()) {
    std::string index = JoinPath(*folder, indexFileName);
    if (!services.files.FileExists(index)) return false;
    std::optional<uint64_t> date = services.files.LastWriteTime(index);
    if (!date || *date < group.bestIndexDate) return false;
    group.bestIndexDate = *date;
  }
  outPath = *folder;
  group.found = true;
  return true;
}

std::string FindUserDataFolder(const LocationServices& services, const IERegistryKeys& keys) {
  RegistryRoot root = services.registry.KeyExists(RegistryRoot::CurrentUser, keys.UserDataCache)
                          ? RegistryRoot::CurrentUser
                          : RegistryRoot::LocalMachine;
  auto value = services.registry.ReadString(root, keys.UserDataCache, "CachePath");
  if (!value) return "";
  std::string folder = services.shell.ExpandEnvVars(*value);
  DropTrailingBackslash(folder);
  return services.files.FolderExists(folder) ? folder : "";
}

IELocations LocateIELocations(const LocationServices& services, const IEVersion& version,
                              const ShellFolderPaths& shellFolders, const IERegistryKeys& keys) {
  platform::FileSystem& files = services.files;
  IELocations found;
  found.IECacheFolder =
      LocateGroup(services, version.IE5Plus, keys, platform::csidl::kInternetCache, "Content.IE5", "Cache");
  found.IECookiesFolder = LocateGroup(services, version.IE5Plus, keys, platform::csidl::kCookies, "", "Cookies");
  found.IEHistoryFolder =
      LocateGroup(services, version.IE5Plus, keys, platform::csidl::kHistory, "History.IE5", "History");

  found.IEUserDataFolder = FindUserDataFolder(services, keys);
  found.IEUserDataFound = !found.IEUserDataFolder.empty();

  found.LowCacheFolder = LowTwinBefore(files, found.IECacheFolder, "\\Content.IE5");
  found.LowHistoryFolder = LowTwinBefore(files, found.IEHistoryFolder, "\\History.IE5");
  found.LowCookiesFolder = LowTwinInside(files, found.IECookiesFolder);
  found.LowUserDataFolder = LowTwinInside(files, found.IEUserDataFolder);

  if (shellFolders.LocalAppData && !shellFolders.LocalAppData->empty()) {
    const std::string& local = *shellFolders.LocalAppData;
    found.DomStoreFolder = local + "\\MicroSoft\\Internet Explorer\\DomStore";
    found.DomStoreFound = HoldsIndex(files, found.DomStoreFolder);
    // Vista keeps Protected Mode data in the sibling "LocalLow" folder.
    if (EndsWith(UpperCase(local), "\\LOCAL")) {
      found.LowDomStoreFolder = local + "Low\\MicroSoft\\Internet Explorer\\DomStore";
      found.LowDomStoreFound = HoldsIndex(files, found.LowDomStoreFolder);
    }
  }

  if (found.IEUserDataFound && !HoldsIndex(files, found.IEUserDataFolder)) {
    found.IEUserDataFolder.clear();
    found.IEUserDataFound = false;
  }

  if (shellFolders.History) found.IEHistoryIndexFile = *shellFolders.History + "\\History.IE5\\index.dat";
  if (shellFolders.Recent) {
    found.RecentFolder = *shellFolders.Recent;
    found.RecentFolderFound = true;
  }
  return found;
}

}  // namespace tidemark::locations
