#include <windows.h>

#include <gtest/gtest.h>

#include <optional>

#include "location_fixtures_win.h"
#include "locations/ie_locations.h"
#include "platform/files.h"
#include "platform/registry.h"

namespace tidemark::locations {
namespace {

using platform::RegistryRoot;
using platform::RegistryType;

class IELocationsTest : public ::testing::Test {
 protected:
  IELocationsTest() {
    keys.InternetExplorer = hives / "IE";
    keys.UserShellFolders = hives / "USF";
    keys.ShellFolders = hives / "SF";
    keys.UserDataCache = hives / "UserData";
    SetEnvironmentVariableA("TIDEMARK_TEST_ROOT", temp.path().c_str());
    ie6.IEVersionMajor = 6;
    ie6.IE5Plus = true;
  }

  LocationServices Services() { return {platform::RealFileSystem(), platform::RealRegistry(), shell}; }

  // A folder below the scratch folder holding an index file.
  std::string Indexed(const std::string& relative) {
    temp.Write(relative + "\\Index.dat", "index");
    return temp / relative;
  }
  std::string Plain(const std::string& relative) {
    platform::RealFileSystem().CreateFolders(temp / relative);
    return temp / relative;
  }
  void SetFolderValue(RegistryRoot root, const std::string& key, const std::string& name, const std::string& value) {
    ASSERT_TRUE(platform::RealRegistry().WriteValue(root, key, name, {RegistryType::ExpandString, value}));
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
  SetFolderValue(RegistryRoot::CurrentUser, keys.UserShellFolders, "Cache", "%TIDEMARK_TEST_ROOT%\\TIF\\");
  // The cookies: both user values name folders without an index; the machine's first value wins.
  Plain("UserCookies");
  Plain("UserCookies2");
  std::string machine = Indexed("MachineCookies");
  SetFolderValue(RegistryRoot::CurrentUser, keys.UserShellFolders, "Cookies", temp / "UserCookies");
  SetFolderValue(RegistryRoot::CurrentUser, keys.ShellFolders, "Cookies", temp / "UserCookies2");
  SetFolderValue(RegistryRoot::LocalMachine, keys.UserShellFolders, "Cookies", machine + "\\");
  SetFolderValue(RegistryRoot::LocalMachine, keys.ShellFolders, "Cookies", Indexed("MachineCookiesSF"));
  // The history: only the machine's Shell Folders, the last candidate, names it.
  std::string history = Indexed("Hist\\History.IE5");
  SetFolderValue(RegistryRoot::CurrentUser, keys.UserShellFolders, "History", temp / "NoSuchFolder");
  SetFolderValue(RegistryRoot::LocalMachine, keys.ShellFolders, "History", temp / "Hist");
  IELocations found = Locate(ie6);
  EXPECT_EQ(found.IECacheFolder, cache);
  EXPECT_EQ(found.IECookiesFolder, machine);
  EXPECT_EQ(found.IEHistoryFolder, history);
}

TEST_F(IELocationsTest, BeforeIE5TheShellFoldersThemselvesHoldTheIndex) {
  std::string cache = Indexed("TIF");
  std::string history = Indexed("Hist");
  Indexed("TIF\\Content.IE5");
  SetFolderValue(RegistryRoot::CurrentUser, keys.UserShellFolders, "Cache", cache);
  SetFolderValue(RegistryRoot::CurrentUser, keys.UserShellFolders, "History", history);
  IEVersion ie4;
  ie4.IEVersionMajor = 4;
  IELocations found = Locate(ie4);
  EXPECT_EQ(found.IECacheFolder, cache);
  EXPECT_EQ(found.IEHistoryFolder, history);
  EXPECT_EQ(found.LowCacheFolder, "");
}

TEST_F(IELocationsTest, VersionIsTheLargerOfRegistryAndFile) {
  struct Case {
    std::optional<std::string> registry;
    const char* file;
    int major;
    bool ie5Plus, ie7Plus;
  };
  const Case cases[] = {{"4.72.3110.0", "4.72.3110.8", 4, false, false},
                        {"9.11.9600.16428", "6.00.2900.2180", 9, true, true},
                        {"5.0", "7.0.5730.13", 7, true, true},
                        {std::nullopt, "6.00.2900.2180", 6, true, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    if (c.registry) {
      ASSERT_TRUE(platform::RealRegistry().WriteString(RegistryRoot::LocalMachine, keys.InternetExplorer, "Version",
                                                       *c.registry));
    } else {
      platform::RealRegistry().DeleteValue(RegistryRoot::LocalMachine, keys.InternetExplorer, "Version");
    }
    shell.fixedVersion = c.file;
    IEVersion version = ReadIEVersion(platform::RealRegistry(), shell, keys);
    EXPECT_EQ(version.IEVersionMajor, c.major);
    EXPECT_EQ(version.IE5Plus, c.ie5Plus);
    EXPECT_EQ(version.IE7Plus, c.ie7Plus);
    EXPECT_EQ(version.RegistryVersionText, c.registry ? *c.registry + "    " : "");
  }
}

TEST_F(IELocationsTest, IndexDateRuleKeepsTheNewestIndex) {
  std::string older = Indexed("Older");
  std::string middle = Indexed("Middle");
  std::string newer = Indexed("Newer");
  const uint64_t day = 864000000000ull;
  const uint64_t base = 130000000000000000ull;
  ASSERT_TRUE(test::SetWriteTime(older + "\\Index.dat", base));
  ASSERT_TRUE(test::SetWriteTime(middle + "\\Index.dat", base + day));
  ASSERT_TRUE(test::SetWriteTime(newer + "\\Index.dat", base + 2 * day));
  SetFolderValue(RegistryRoot::CurrentUser, keys.UserShellFolders, "Old", older);
  SetFolderValue(RegistryRoot::CurrentUser, keys.UserShellFolders, "Mid", middle + "\\");
  SetFolderValue(RegistryRoot::CurrentUser, keys.UserShellFolders, "New", newer);
  ShellFolderCandidate candidate{FolderMethod::Registry, 0, RegistryRoot::CurrentUser, keys.UserShellFolders};

  CandidateGroup group;
  std::string path;
  EXPECT_TRUE(LocateShellFolder(Services(), true, group, candidate, "Index.Dat", "", "Mid", path));
  EXPECT_EQ(path, middle) << "found without its trailing backslash";
  EXPECT_FALSE(LocateShellFolder(Services(), true, group, candidate, "Index.Dat", "", "Old", path));
  EXPECT_EQ(path, middle) << "an older index does not replace the one found";
  EXPECT_TRUE(LocateShellFolder(Services(), true, group, candidate, "Index.Dat", "", "New", path));
  EXPECT_EQ(path, newer);

  CandidateGroup fresh;
  EXPECT_FALSE(LocateShellFolder(Services(), true, fresh, candidate, "Index.Dat", "", "Missing", path));
  EXPECT_EQ(path, "... Not Found ...");
  EXPECT_FALSE(fresh.found);
}

TEST_F(IELocationsTest, ShellFolderCandidatesTakeTheirOwnRoute) {
  const int cookies = platform::csidl::kCookies;
  const ShellFolderCandidate byPath{FolderMethod::SpecialFolder, cookies, RegistryRoot::CurrentUser, ""};
  const ShellFolderCandidate byIdList{FolderMethod::IdList, cookies, RegistryRoot::CurrentUser, ""};
  std::string path;
  CandidateGroup real;
  LocationServices realServices{platform::RealFileSystem(), platform::RealRegistry(), platform::RealShell()};
  ASSERT_TRUE(LocateShellFolder(realServices, true, real, byPath, "", "", "", path));
  EXPECT_EQ(path, platform::RealShell().GetSpecialFolder(cookies).path);
  // Only the item id list route answers.
  shell.idListWorks = true;
  CandidateGroup pathFails, idListAnswers;
  EXPECT_FALSE(LocateShellFolder(Services(), true, pathFails, byPath, "", "", "", path));
  ASSERT_TRUE(LocateShellFolder(Services(), true, idListAnswers, byIdList, "", "", "", path));
  EXPECT_EQ(path, platform::RealShell().SpecialFolderFromIdList(cookies).path);
}

TEST_F(IELocationsTest, ProtectedModeTwinsNeedAnIndex) {
  Indexed("TIF\\Content.IE5");
  std::string lowCache = Indexed("TIF\\Low\\Content.IE5");
  Indexed("Hist\\History.IE5");
  Plain("Hist\\Low\\History.IE5");  // no index: not present
  std::string cookies = Indexed("Cookies");
  std::string lowCookies = Indexed("Cookies\\Low");
  std::string userData = Indexed("UD");
  std::string lowUserData = Indexed("UD\\Low");
  SetFolderValue(RegistryRoot::CurrentUser, keys.UserShellFolders, "Cache", temp / "TIF");
  SetFolderValue(RegistryRoot::CurrentUser, keys.UserShellFolders, "History", temp / "Hist");
  SetFolderValue(RegistryRoot::CurrentUser, keys.UserShellFolders, "Cookies", cookies);
  SetFolderValue(RegistryRoot::CurrentUser, keys.UserDataCache, "CachePath", "%TIDEMARK_TEST_ROOT%\\UD\\");
  IELocations found = Locate(ie6);
  EXPECT_EQ(found.LowCacheFolder, lowCache);
  EXPECT_EQ(found.LowHistoryFolder, "");
  EXPECT_EQ(found.LowCookiesFolder, lowCookies);
  EXPECT_EQ(found.IEUserDataFolder, userData);
  EXPECT_TRUE(found.IEUserDataFound);
  EXPECT_EQ(found.LowUserDataFolder, lowUserData);
}

TEST_F(IELocationsTest, UserDataFolderWithoutIndexIsDroppedAtTheEnd) {
  std::string userData = Plain("UD");
  SetFolderValue(RegistryRoot::CurrentUser, keys.UserDataCache, "CachePath", userData);
  EXPECT_EQ(FindUserDataFolder(Services(), keys), userData);
  IELocations found = Locate(ie6);
  EXPECT_EQ(found.IEUserDataFolder, "");
  EXPECT_FALSE(found.IEUserDataFound);
}

TEST_F(IELocationsTest, UserDataFromTheMachineHiveOnlyWithoutAUserKey) {
  std::string userData = Indexed("MachineUD");
  SetFolderValue(RegistryRoot::LocalMachine, keys.UserDataCache, "CachePath", userData);
  EXPECT_EQ(FindUserDataFolder(Services(), keys), userData);
  // A user key without the value hides the machine's.
  ASSERT_TRUE(platform::RealRegistry().WriteString(RegistryRoot::CurrentUser, keys.UserDataCache, "Other", "x"));
  EXPECT_EQ(FindUserDataFolder(Services(), keys), "");
  SetFolderValue(RegistryRoot::CurrentUser, keys.UserDataCache, "CachePath", temp / "Gone");
  EXPECT_EQ(FindUserDataFolder(Services(), keys), "");
}

TEST_F(IELocationsTest, FoldersBelowTheShellFoldersAndNoUnconfirmedOnes) {
  std::string dom = Indexed("Local\\MicroSoft\\Internet Explorer\\DomStore");
  std::string lowDom = Indexed("LocalLow\\MicroSoft\\Internet Explorer\\DomStore");
  ShellFolderPaths folders;
  folders.LocalAppData = temp / "Local";
  folders.Recent = temp / "Recent";
  folders.History = temp / "History";
  Plain("TIF\\Content.IE5");  // no index: no cache folder
  SetFolderValue(RegistryRoot::CurrentUser, keys.UserShellFolders, "Cache", temp / "TIF");
  IELocations found = Locate(ie6, folders);
  EXPECT_EQ(found.IECacheFolder, "");
  EXPECT_EQ(found.DomStoreFolder, dom);
  EXPECT_TRUE(found.DomStoreFound);
  EXPECT_EQ(found.LowDomStoreFolder, lowDom);
  EXPECT_TRUE(found.LowDomStoreFound);
  EXPECT_EQ(found.RecentFolder, temp / "Recent");
  EXPECT_TRUE(found.RecentFolderFound);
  EXPECT_EQ(found.IEHistoryIndexFile, temp / "History\\History.IE5\\index.dat");

  // Below "Local Settings" there is no Protected Mode twin to look for, and
  // a DOM store without an index is not found.
  Plain("Local Settings\\Application Data\\MicroSoft\\Internet Explorer\\DomStore");
  Indexed("Local Settings\\Application DataLow\\MicroSoft\\Internet Explorer\\DomStore");
  folders.LocalAppData = temp / "Local Settings\\Application Data";
  found = Locate(ie6, folders);
  EXPECT_EQ(found.DomStoreFolder, *folders.LocalAppData + "\\MicroSoft\\Internet Explorer\\DomStore");
  EXPECT_FALSE(found.DomStoreFound);
  EXPECT_EQ(found.LowDomStoreFolder, "");
  EXPECT_FALSE(found.LowDomStoreFound);
}

}  // namespace
}  // namespace tidemark::locations
