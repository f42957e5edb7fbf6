#include <windows.h>

#include <gtest/gtest.h>

#include <optional>

#include "location_fixtures_win.h"
#include "locations/ie_locations.h"
#include "platform/files.h"
#include "platform/registry.h"
#include "platform/text.h"

namespace tidemark::locations {
namespace {

using platform::RegistryRoot;
constexpr RegistryRoot kUser = RegistryRoot::CurrentUser, kMachine = RegistryRoot::LocalMachine;

class IELocationsTest : public ::testing::Test {
 protected:
  IELocationsTest() {
    keys = {hives / "IE", hives / "USF", hives / "SF", hives / "UserData"};
    SetEnvironmentVariableA("TIDEMARK_TEST_ROOT", temp.path().c_str());
    ie6.IEVersionMajor = 6;
    ie6.IE5Plus = true;
  }
  LocationServices Services() { return {platform::RealFileSystem(), platform::RealRegistry(), shell}; }
  // A folder below the scratch folder, holding an index file or not.
  std::string Indexed(const std::string& relative) { return ParentFolder(temp.Write(relative + "\\Index.dat", "")); }
  std::string Plain(const std::string& relative) {
    platform::RealFileSystem().CreateFolders(temp / relative);
    return temp / relative;
  }
  void Set(RegistryRoot root, const std::string& key, const std::string& name, const std::string& value) {
    ASSERT_TRUE(platform::RealRegistry().WriteValue(root, key, name, {platform::RegistryType::ExpandString, value}));
  }
  IELocations Locate(const IEVersion& version, const ShellFolderPaths& folders = {}) {
    return LocateIELocations(Services(), version, folders, keys);
  }

  test::TempFolder temp;
  test::BothHivesKey hives;
  test::ShellWithoutFolders shell;
  IERegistryKeys keys;
  IEVersion ie6;
};

TEST_F(IELocationsTest, CandidatesAreTriedInOrderUntilOneHoldsAnIndex) {
  // The cache: a user value naming the folder above Content.IE5 through an environment reference.
  std::string cache = Indexed("TIF\\Content.IE5");
  Set(kUser, keys.UserShellFolders, "Cache", "%TIDEMARK_TEST_ROOT%\\TIF\\");
  // The cookies: both user values name folders without an index; the machine's first value wins.
  Set(kUser, keys.UserShellFolders, "Cookies", Plain("UserCookies"));
  Set(kUser, keys.ShellFolders, "Cookies", Plain("UserCookies2"));
  std::string machine = Indexed("MachineCookies");
  Set(kMachine, keys.UserShellFolders, "Cookies", machine + "\\");
  Set(kMachine, keys.ShellFolders, "Cookies", Indexed("MachineCookiesSF"));
  // The history: only the machine's Shell Folders, the last candidate, names it.
  std::string history = Indexed("Hist\\History.IE5");
  Set(kUser, keys.UserShellFolders, "History", temp / "NoSuchFolder");
  Set(kMachine, keys.ShellFolders, "History", temp / "Hist");
  IELocations found = Locate(ie6);
  EXPECT_EQ(found.IECacheFolder, cache);
  EXPECT_EQ(found.IECookiesFolder, machine);
  EXPECT_EQ(found.IEHistoryFolder, history);
  // Before IE 5 the shell folders themselves hold the index.
  temp.Write("TIF\\Index.dat", "");
  found = Locate(IEVersion{4, false, false, ""});
  EXPECT_EQ(found.IECacheFolder, temp / "TIF");
  EXPECT_EQ(found.LowCacheFolder, "");
}

TEST_F(IELocationsTest, VersionIsTheLargerOfRegistryAndFile) {
  const std::tuple<std::optional<std::string>, const char*, int, bool, bool> cases[] = {
      {"4.72.3110.0", "4.72.3110.8", 4, false, false},
      {"9.11.9600.16428", "6.00.2900.2180", 9, true, true},
      {"5.0", "7.0.5730.13", 7, true, true},
      {std::nullopt, "6.00.2900.2180", 6, true, false}};
  for (const auto& [registry, file, major, ie5Plus, ie7Plus] : cases) {
    SCOPED_TRACE(file);
    platform::RealRegistry().DeleteValue(kMachine, keys.InternetExplorer, "Version");
    if (registry) Set(kMachine, keys.InternetExplorer, "Version", *registry);
    shell.fixedVersion = file;
    IEVersion version = ReadIEVersion(platform::RealRegistry(), shell, keys);
    EXPECT_EQ(version.IEVersionMajor, major);
    EXPECT_EQ(version.IE5Plus, ie5Plus);
    EXPECT_EQ(version.IE7Plus, ie7Plus);
    EXPECT_EQ(version.RegistryVersionText, registry ? *registry + "    " : "");
  }
}

TEST_F(IELocationsTest, ACandidateQualifiesOnlyWithAnIndexNoOlderThanTheOneFound) {
  const uint64_t day = 864000000000ull, base = 130000000000000000ull;
  for (auto [name, age] : {std::pair{"Old", 0}, {"Mid", 1}, {"New", 2}}) {
    std::string folder = Indexed(name);
    ASSERT_TRUE(test::SetWriteTime(folder + "\\Index.dat", base + age * day));
    Set(kUser, keys.UserShellFolders, name, folder + "\\");
  }
  ShellFolderCandidate candidate{FolderMethod::Registry, 0, kUser, keys.UserShellFolders};
  CandidateGroup group;
  std::string path;
  EXPECT_TRUE(LocateShellFolder(Services(), true, group, candidate, "Index.Dat", "", "Mid", path));
  EXPECT_EQ(path, temp / "Mid") << "found without its trailing backslash";
  EXPECT_FALSE(LocateShellFolder(Services(), true, group, candidate, "Index.Dat", "", "Old", path));
  EXPECT_EQ(path, temp / "Mid");
  EXPECT_TRUE(LocateShellFolder(Services(), true, group, candidate, "Index.Dat", "", "New", path));
  EXPECT_EQ(path, temp / "New");
  CandidateGroup fresh;
  EXPECT_FALSE(LocateShellFolder(Services(), true, fresh, candidate, "Index.Dat", "", "Missing", path));
  EXPECT_EQ(path, "... Not Found ...");
  // The shell's two routes: here only the item id list answers.
  shell.idListWorks = true;
  const int cookies = platform::csidl::kCookies;
  EXPECT_FALSE(LocateShellFolder(Services(), true, fresh, {FolderMethod::SpecialFolder, cookies, kUser, ""}, "", "",
                                 "", path));
  ASSERT_TRUE(LocateShellFolder(Services(), true, fresh, {FolderMethod::IdList, cookies, kUser, ""}, "", "", "", path));
  EXPECT_EQ(path, platform::RealShell().SpecialFolderFromIdList(cookies).path);
}

TEST_F(IELocationsTest, ProtectedModeTwinsAndUserDataNeedAnIndex) {
  Indexed("TIF\\Content.IE5");
  std::string lowCache = Indexed("TIF\\Low\\Content.IE5");
  Indexed("Hist\\History.IE5");
  Plain("Hist\\Low\\History.IE5");  // no index: not present
  std::string lowCookies = Indexed("Cookies\\Low");
  std::string lowUserData = Indexed("UD\\Low");
  Set(kUser, keys.UserShellFolders, "Cache", temp / "TIF");
  Set(kUser, keys.UserShellFolders, "History", temp / "Hist");
  Set(kUser, keys.UserShellFolders, "Cookies", Indexed("Cookies"));
  Set(kUser, keys.UserDataCache, "CachePath", "%TIDEMARK_TEST_ROOT%\\UD\\");
  IELocations found = Locate(ie6);
  EXPECT_EQ(found.LowCacheFolder, lowCache);
  EXPECT_EQ(found.LowHistoryFolder, "");
  EXPECT_EQ(found.LowCookiesFolder, lowCookies);
  EXPECT_EQ(found.IEUserDataFolder, "") << "no index";
  EXPECT_FALSE(found.IEUserDataFound);
  EXPECT_EQ(found.LowUserDataFolder, lowUserData);
  Indexed("UD");
  EXPECT_EQ(Locate(ie6).IEUserDataFolder, temp / "UD");
}

TEST_F(IELocationsTest, UserDataFromTheMachineHiveOnlyWithoutAUserKey) {
  std::string userData = Indexed("MachineUD");
  Set(kMachine, keys.UserDataCache, "CachePath", userData);
  EXPECT_EQ(FindUserDataFolder(Services(), keys), userData);
  Set(kUser, keys.UserDataCache, "Other", "x");
  EXPECT_EQ(FindUserDataFolder(Services(), keys), "");
}

TEST_F(IELocationsTest, FoldersBelowTheShellFolders) {
  std::string dom = Indexed("Local\\MicroSoft\\Internet Explorer\\DomStore");
  std::string lowDom = Indexed("LocalLow\\MicroSoft\\Internet Explorer\\DomStore");
  ShellFolderPaths folders{temp / "AppData", temp / "Local", temp / "History", temp / "Recent"};
  IELocations found = Locate(ie6, folders);
  EXPECT_EQ(found.IECacheFolder, "");
  EXPECT_EQ(found.DomStoreFolder, dom);
  EXPECT_TRUE(found.DomStoreFound);
  EXPECT_EQ(found.LowDomStoreFolder, lowDom);
  EXPECT_TRUE(found.LowDomStoreFound);
  EXPECT_EQ(found.RecentFolder, temp / "Recent");
  EXPECT_EQ(found.IEHistoryIndexFile, temp / "History\\History.IE5\\index.dat");
  // Below "Local Settings" there is no Protected Mode twin to look for, and
  // a DOM store without an index is not found.
  Plain("Local Settings\\Application Data\\MicroSoft\\Internet Explorer\\DomStore");
  Indexed("Local Settings\\Application DataLow\\MicroSoft\\Internet Explorer\\DomStore");
  folders.LocalAppData = temp / "Local Settings\\Application Data";
  found = Locate(ie6, folders);
  EXPECT_FALSE(found.DomStoreFound);
  EXPECT_EQ(found.LowDomStoreFolder, "");
  EXPECT_FALSE(found.LowDomStoreFound);
}

}  // namespace
}  // namespace tidemark::locations
