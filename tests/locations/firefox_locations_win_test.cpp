#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>

#include "location_fixtures_win.h"
#include "locations/firefox_locations.h"
#include "platform/files.h"
#include "platform/registry.h"
#include "platform/text.h"
#include "support/samples.h"

namespace tidemark::locations {
namespace {

using platform::RegistryRoot;

class FirefoxLocationsTest : public ::testing::Test {
 protected:
  FirefoxLocationsTest() {
    folders.AppData = temp / "Roaming";
    folders.LocalAppData = temp / "Local";
  }

  std::string FirefoxFolder() const { return temp / "Roaming\\Mozilla\\Firefox"; }
  void WriteProfilesIni(const std::string& text) { temp.Write("Roaming\\Mozilla\\Firefox\\profiles.ini", text); }
  std::string MakeProfile(const std::string& relative) {
    std::string folder = JoinPath(FirefoxFolder(), relative);
    platform::RealFileSystem().CreateFolders(folder);
    return folder;
  }
  // A single relative default profile named x.default.
  std::string SingleProfile() {
    WriteProfilesIni("[General]\r\nStartWithLastProfile=1\r\n\r\n[Profile0]\r\nName=default\r\nIsRelative=1\r\n"
                     "Path=Profiles/x.default\r\nDefault=1\r\n");
    return MakeProfile("Profiles\\x.default");
  }
  void Put(const std::string& folder, const std::string& name, const std::string& content = "data") {
    ASSERT_TRUE(platform::RealFileSystem().WriteFile(JoinPath(folder, name), content));
  }
  FirefoxLocations Located() {
    FirefoxLocations firefox;
    LocateFirefoxFiles(firefox, platform::RealFileSystem(), folders);
    return firefox;
  }

  test::TempFolder temp;
  ShellFolderPaths folders;
};

TEST_F(FirefoxLocationsTest, DefaultInALaterSectionIsChosen) {
  WriteProfilesIni(
      "[General]\nStartWithLastProfile=1\n\n[Profile0]\nName=first\nIsRelative=1\nPath=Profiles/a.first\n\n"
      "[Profile1]\nName=second\nIsRelative=1\nPath=Profiles/b.second\nDefault=1\n");
  MakeProfile("Profiles\\a.first");
  std::string second = MakeProfile("Profiles\\b.second");
  FirefoxLocations firefox = Located();
  EXPECT_TRUE(firefox.Discovered);
  EXPECT_EQ(firefox.FirefoxProfileFolder, second);
  EXPECT_EQ(firefox.CookiesSqliteFile, second + "\\Cookies.sqlite");
  EXPECT_EQ(firefox.HostpermFile, second + "\\hostperm.1");
  EXPECT_EQ(firefox.PermissionsFile, second + "\\permissions.sqlite");
  EXPECT_EQ(firefox.CookiesPg1File, second + "\\Cookies.pg1");
  EXPECT_EQ(firefox.CookiesPg2File, second + "\\Cookies.pg2");
  EXPECT_EQ(firefox.FirefoxCacheFolder, second + "\\Cache");
}

TEST_F(FirefoxLocationsTest, AbsolutePathWithForwardSlashes) {
  std::string folder = temp / "Elsewhere\\My Profile";
  platform::RealFileSystem().CreateFolders(folder);
  std::string written = folder;
  std::replace(written.begin(), written.end(), '\\', '/');
  WriteProfilesIni("[Profile0]\nName=mine\nIsRelative=0\nPath=" + written + "\n");
  FirefoxLocations firefox = Located();
  EXPECT_EQ(firefox.FirefoxProfileFolder, folder);
  EXPECT_EQ(firefox.FirefoxLocalCacheFolder, "") << "not below Application Data";
}

TEST_F(FirefoxLocationsTest, MissingDefaultFolderMeansNoProfileAtAll) {
  WriteProfilesIni("[Profile0]\nPath=Profiles/a.there\n[Profile1]\nPath=Profiles/b.gone\nDefault=1\n");
  std::string other = MakeProfile("Profiles\\a.there");
  Put(other, "Cookies.txt");
  Put(other, "Cache\\..\\cookies.sqlite");
  FirefoxLocations firefox = Located();
  EXPECT_EQ(firefox.FirefoxProfileFolder, "");
  EXPECT_FALSE(firefox.FirefoxSqliteFormat);
  EXPECT_FALSE(firefox.CookiesSqlitePresent);
  EXPECT_TRUE(firefox.DisableFFTypedURLsOption);

  IELocations ie;
  EnsureFirefoxLocations(firefox, ie, platform::RealFileSystem(), folders);
  EXPECT_EQ(firefox.CookiesTxtFile, "  File not found - Cookies.txt");
  EXPECT_EQ(firefox.CookiesSqliteFile, "  File not found - Cookies.sqlite");
  EXPECT_EQ(firefox.HistoryDatFile, "  File not found - History.dat");
  EXPECT_EQ(firefox.FormHistoryDatFile, "  File not found - FormHistory.dat");
  EXPECT_EQ(firefox.FirefoxCacheFolder, "  Folder not found");
  EXPECT_EQ(firefox.FirefoxLocalCacheFolder, "  Folder not found");
  EXPECT_EQ(ie.IEHistoryIndexFile, "  Folder not found");
}

TEST_F(FirefoxLocationsTest, NoProfileListOrNoApplicationData) {
  FirefoxLocations firefox = Located();
  EXPECT_EQ(firefox.FirefoxProfileFolder, "");
  EXPECT_TRUE(firefox.Discovered);
  SingleProfile();
  folders.AppData.reset();
  firefox = Located();
  EXPECT_EQ(firefox.FirefoxProfileFolder, "");
  EXPECT_EQ(firefox.FirefoxLocalCacheFolder, "");
}

TEST_F(FirefoxLocationsTest, Firefox2ProfileDisablesTypedUrls) {
  std::string profile = SingleProfile();
  Put(profile, "Cookies.txt", "# Netscape HTTP Cookie File\n");
  Put(profile, "History.dat", "// <!-- <mdb:mork:z v=\"1.4\"/> -->\n");
  FirefoxLocations firefox = Located();
  EXPECT_EQ(firefox.FirefoxProfileFolder, profile);
  EXPECT_FALSE(firefox.FirefoxSqliteFormat);
  EXPECT_TRUE(firefox.DisableFFTypedURLsOption);

  IELocations ie;
  EnsureFirefoxLocations(firefox, ie, platform::RealFileSystem(), folders);
  EXPECT_EQ(firefox.CookiesTxtFile, profile + "\\Cookies.txt");
  EXPECT_EQ(firefox.HistoryDatFile, profile + "\\History.dat");
  EXPECT_EQ(firefox.CookiesSqliteFile, "  File not found - Cookies.sqlite");
  EXPECT_EQ(firefox.FormHistoryDatFile, "  File not found - FormHistory.dat");
}

TEST_F(FirefoxLocationsTest, Firefox3ProfilePresenceFlags) {
  TIDEMARK_REQUIRE_SAMPLE(places, "firefox3-places.sqlite");
  TIDEMARK_REQUIRE_SAMPLE(cookies, "firefox-legacy-cookies.sqlite");
  std::string profile = SingleProfile();
  ASSERT_TRUE(platform::RealFileSystem().CopyFileTo(places, profile + "\\places.sqlite", true));
  ASSERT_TRUE(platform::RealFileSystem().CopyFileTo(cookies, profile + "\\cookies.sqlite", true));
  FirefoxLocations firefox = Located();
  EXPECT_TRUE(firefox.PlacesSqlitePresent);
  EXPECT_TRUE(firefox.CookiesSqlitePresent);
  EXPECT_FALSE(firefox.PermissionsSqlitePresent);
  EXPECT_FALSE(firefox.FormHistorySqlitePresent);
  EXPECT_TRUE(firefox.FirefoxSqliteFormat);
  EXPECT_FALSE(firefox.DisableFFTypedURLsOption);
  IELocations ie;
  EnsureFirefoxLocations(firefox, ie, platform::RealFileSystem(), folders);
  EXPECT_EQ(firefox.CookiesSqliteFile, profile + "\\Cookies.sqlite");
}

TEST_F(FirefoxLocationsTest, CacheMovesUnderLocalApplicationData) {
  std::string profile = SingleProfile();
  std::string localProfile = temp / "Local\\Mozilla\\Firefox\\Profiles\\x.default";
  FirefoxLocations firefox = Located();
  EXPECT_EQ(firefox.FirefoxCacheFolder, profile + "\\Cache");
  EXPECT_EQ(firefox.FirefoxLocalCacheFolder, localProfile + "\\Cache");
  EXPECT_EQ(firefox.FirefoxLocalProfileFolder, localProfile);

  platform::RealFileSystem().CreateFolders(localProfile + "\\Cache");
  IELocations ie;
  EnsureFirefoxLocations(firefox, ie, platform::RealFileSystem(), folders);
  EXPECT_EQ(firefox.FirefoxLocalCacheFolder, localProfile + "\\Cache");
  EXPECT_EQ(firefox.FirefoxCacheFolder, "  Folder not found");
}

TEST_F(FirefoxLocationsTest, OverlongLocalCachePathIsNotCutShort) {
  std::string longName(150, 'p');
  WriteProfilesIni("[Profile0]\nPath=Profiles/" + longName + "\n");
  MakeProfile("Profiles\\" + longName);
  folders.LocalAppData = temp / std::string(80, 'L');
  FirefoxLocations firefox = Located();
  ASSERT_NE(firefox.FirefoxProfileFolder, "");
  EXPECT_EQ(firefox.FirefoxLocalCacheFolder, "");
  EXPECT_EQ(firefox.FirefoxLocalProfileFolder, "");
}

TEST_F(FirefoxLocationsTest, CachePreferenceNamesTheParentOfTheCacheFolder) {
  std::string profile = SingleProfile();
  std::string parent = temp / "Fire Cache";
  std::string escaped;
  for (char c : parent) escaped += c == '\\' ? std::string("\\\\") : std::string(1, c);
  Put(profile, "Prefs.js",
      "# Mozilla User Preferences\r\nuser_pref(\"browser.cache.disk.capacity\", 50000);\r\n"
      "user_pref(\"browser.cache.disk.parent_directory\", \"" + escaped + "\");\r\n");
  FirefoxLocations firefox = Located();
  EXPECT_EQ(firefox.FirefoxCacheFolder, parent + "\\Cache");
  EXPECT_EQ(firefox.FirefoxLocalCacheFolder, temp / "Local\\Mozilla\\Firefox\\Profiles\\x.default\\Cache")
      << "the local cache keeps the profile's place";
}

TEST_F(FirefoxLocationsTest, DiscoveryRunsOnceAndTextsStay) {
  std::string profile = SingleProfile();
  std::string historyIndex = temp.Write("History\\History.IE5\\index.dat", "index");
  IELocations ie;
  ie.IEHistoryIndexFile = historyIndex;
  FirefoxLocations firefox;
  EnsureFirefoxLocations(firefox, ie, platform::RealFileSystem(), folders);
  EXPECT_EQ(firefox.FirefoxProfileFolder, profile);
  EXPECT_EQ(firefox.CookiesTxtFile, "  File not found - Cookies.txt");
  EXPECT_EQ(ie.IEHistoryIndexFile, historyIndex);

  Put(profile, "Cookies.txt");
  Put(profile, "cookies.sqlite");
  EnsureFirefoxLocations(firefox, ie, platform::RealFileSystem(), folders);
  EXPECT_EQ(firefox.CookiesTxtFile, "  File not found - Cookies.txt");
  EXPECT_EQ(firefox.CookiesSqliteFile, "  File not found - Cookies.sqlite");
  EXPECT_FALSE(firefox.CookiesSqlitePresent) << "no second discovery";

  ASSERT_TRUE(platform::RealFileSystem().RemoveFile(historyIndex));
  EnsureFirefoxLocations(firefox, ie, platform::RealFileSystem(), folders);
  EXPECT_EQ(ie.IEHistoryIndexFile, "  Folder not found");
}

class FirefoxVersionTest : public ::testing::Test {
 protected:
  void SetRelease(const std::string& release, const std::string& exe) {
    ASSERT_TRUE(platform::RealRegistry().WriteString(RegistryRoot::LocalMachine, key / (release + "\\Main"),
                                                     "PathToExe", exe));
  }
  std::string Version() { return ReadFirefoxVersion(platform::RealRegistry(), platform::RealShell(), key.path()); }

  test::BothHivesKey key;
  test::TempFolder temp;
  // Any file with a version resource stands in for firefox.exe.
  std::string versioned = "C:\\windows\\system32\\kernel32.dll";
};

TEST_F(FirefoxVersionTest, CurrentVersionNamesTheRelease) {
  std::string expected = platform::RealShell().ProductVersionOf(versioned);
  ASSERT_FALSE(StartsWith(expected, "00.00.00.")) << "the stand-in has a product version";
  SetRelease("3.6.28 (en-US)", versioned);
  SetRelease("9.0 (en-US)", temp / "old\\firefox.exe");
  ASSERT_TRUE(platform::RealRegistry().WriteString(RegistryRoot::LocalMachine, key.path(), "CurrentVersion",
                                                   "3.6.28 (en-US)"));
  EXPECT_EQ(Version(), expected);
}

TEST_F(FirefoxVersionTest, WithoutCurrentVersionTheLastSortedReleaseIsUsed) {
  SetRelease("2.0.0.20", temp / "missing.exe");
  SetRelease("3.0.19", versioned);
  ASSERT_TRUE(platform::RealRegistry().WriteString(RegistryRoot::LocalMachine, key.path(), "CurrentVersion",
                                                   "4.0 (gone)"));
  EXPECT_EQ(Version(), platform::RealShell().ProductVersionOf(versioned));
}

TEST_F(FirefoxVersionTest, UnreadableExecutableOrMissingKeyIsNotFound) {
  std::string text = temp.Write("firefox.exe", "not a program");
  SetRelease("3.5", text);
  EXPECT_EQ(Version(), "not found.");
  EXPECT_EQ(ReadFirefoxVersion(platform::RealRegistry(), platform::RealShell(), key / "NoSuchKey"), "not found.");
  ASSERT_TRUE(platform::RealRegistry().WriteString(RegistryRoot::LocalMachine, key / "Empty", "CurrentVersion", "1"));
  EXPECT_EQ(ReadFirefoxVersion(platform::RealRegistry(), platform::RealShell(), key / "Empty"), "not found.");
}

TEST(Plugins, FolderCreatedAndListFileByDataSwitch) {
  test::TempFolder temp;
  FirefoxLocations firefox;
  std::string program = temp / "Prog";
  LocatePlugins(firefox, platform::RealFileSystem(), program, temp / "Data", false);
  EXPECT_EQ(firefox.PluginsFolder, UpperCase(program) + "\\PLUGINS");
  EXPECT_TRUE(platform::RealFileSystem().FolderExists(firefox.PluginsFolder));
  EXPECT_EQ(firefox.PluginListFile, temp / "Data\\PLUGINS.DAT");
  LocatePlugins(firefox, platform::RealFileSystem(), program, temp / "Data", true);
  EXPECT_EQ(firefox.PluginListFile, program + "\\PLUGINS.DAT");
}

}  // namespace
}  // namespace tidemark::locations
