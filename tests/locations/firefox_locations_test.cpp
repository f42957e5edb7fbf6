// Finding the Firefox profile and its files, over a file system in memory.
#include "locations/firefox_locations.h"

#include <gtest/gtest.h>

#include "support/memory_files.h"

namespace tidemark::locations {
namespace {

constexpr const char* kRoaming = "C:\\Users\\me\\AppData\\Roaming";
constexpr const char* kLocal = "C:\\Users\\me\\AppData\\Local";
const std::string kFirefox = std::string(kRoaming) + "\\Mozilla\\Firefox";
const std::string kProfile = kFirefox + "\\Profiles\\x.default";

class FirefoxLocationsTest : public ::testing::Test {
 protected:
  FirefoxLocationsTest() {
    folders.AppData = kRoaming;
    folders.LocalAppData = kLocal;
  }
  // A single relative default profile named x.default.
  void SingleProfile() {
    files.AddFile(kFirefox + "\\profiles.ini",
                  "[General]\r\nStartWithLastProfile=1\r\n\r\n[Profile0]\r\nName=default\r\nIsRelative=1\r\n"
                  "Path=Profiles/x.default\r\nDefault=1\r\n");
    files.AddFolder(kProfile);
  }
  FirefoxLocations Located() {
    FirefoxLocations firefox;
    LocateFirefoxFiles(firefox, files, folders);
    return firefox;
  }
  void Ensure(FirefoxLocations& firefox) { EnsureFirefoxLocations(firefox, ie, files, folders); }

  test::MemoryFileSystem files;
  ShellFolderPaths folders;
  IELocations ie;
};

TEST_F(FirefoxLocationsTest, TheDefaultProfileAndItsFiles) {
  files.AddFile(kFirefox + "\\profiles.ini",
                "[General]\n[Profile0]\nPath=Profiles/a.first\n[Profile1]\nPath=Profiles/b.second\nDefault=1\n");
  files.AddFolder(kFirefox + "\\Profiles\\a.first");
  std::string second = kFirefox + "\\Profiles\\b.second";
  files.AddFolder(second);
  FirefoxLocations firefox = Located();
  EXPECT_EQ(firefox.FirefoxProfileFolder, second);
  EXPECT_EQ(firefox.CookiesSqliteFile, second + "\\Cookies.sqlite");
  EXPECT_EQ(firefox.FirefoxCacheFolder, second + "\\Cache");
  EXPECT_EQ(firefox.FirefoxLocalCacheFolder, std::string(kLocal) + "\\Mozilla\\Firefox\\Profiles\\b.second\\Cache");
}

TEST_F(FirefoxLocationsTest, AnAbsolutePathWithForwardSlashesHasNoLocalCache) {
  files.AddFile(kFirefox + "\\profiles.ini", "[Profile0]\nIsRelative=0\nPath=D:/Elsewhere/My Profile\n");
  files.AddFolder("D:\\Elsewhere\\My Profile");
  FirefoxLocations firefox = Located();
  EXPECT_EQ(firefox.FirefoxProfileFolder, "D:\\Elsewhere\\My Profile");
  EXPECT_EQ(firefox.FirefoxLocalCacheFolder, "");
}

TEST_F(FirefoxLocationsTest, WithoutTheDefaultFolderEveryFileIsMissing) {
  files.AddFile(kFirefox + "\\profiles.ini",
                "[Profile0]\nPath=Profiles/a.there\n[Profile1]\nPath=Profiles/gone\nDefault=1\n");
  files.AddFile(kFirefox + "\\Profiles\\a.there\\cookies.sqlite", "");
  files.AddFile("C:\\Cookies.txt", "");  // where a path without its profile would point
  ie.IEHistoryIndexFile = "C:\\History\\History.IE5\\index.dat";
  FirefoxLocations firefox = Located();
  EXPECT_EQ(firefox.FirefoxProfileFolder, "");
  EXPECT_FALSE(firefox.FirefoxSqliteFormat);
  EXPECT_TRUE(firefox.DisableFFTypedURLsOption);
  Ensure(firefox);
  EXPECT_EQ(firefox.CookiesTxtFile, "  File not found - Cookies.txt");
  EXPECT_TRUE(IsFileNotFoundText(firefox.CookiesTxtFile));
  EXPECT_EQ(firefox.CookiesSqliteFile, "  File not found - Cookies.sqlite");
  EXPECT_EQ(firefox.HistoryDatFile, "  File not found - History.dat");
  EXPECT_EQ(firefox.FormHistoryDatFile, "  File not found - FormHistory.dat");
  EXPECT_EQ(firefox.FirefoxCacheFolder, "  Folder not found");
  EXPECT_EQ(firefox.FirefoxLocalCacheFolder, "  Folder not found");
  EXPECT_EQ(ie.IEHistoryIndexFile, "  Folder not found");

  folders.AppData.reset();
  SingleProfile();
  EXPECT_EQ(Located().FirefoxProfileFolder, "") << "no Application Data, no profile";
}

TEST_F(FirefoxLocationsTest, TheDatabasesTellAFirefox3ProfileFromAnOlderOne) {
  SingleProfile();
  files.AddFile(kProfile + "\\Cookies.txt", "# Netscape HTTP Cookie File\n");
  files.AddFile(kProfile + "\\History.dat", "// <!-- <mdb:mork:z v=\"1.4\"/> -->\n");
  FirefoxLocations older = Located();
  EXPECT_FALSE(older.FirefoxSqliteFormat);
  EXPECT_TRUE(older.DisableFFTypedURLsOption);
  Ensure(older);
  EXPECT_EQ(older.CookiesTxtFile, kProfile + "\\Cookies.txt");
  EXPECT_FALSE(IsFileNotFoundText(older.CookiesTxtFile));
  EXPECT_EQ(older.HistoryDatFile, kProfile + "\\History.dat");
  EXPECT_EQ(older.CookiesSqliteFile, "  File not found - Cookies.sqlite");

  files.AddFile(kProfile + "\\places.sqlite", "");
  files.AddFile(kProfile + "\\cookies.sqlite", "");
  FirefoxLocations newer = Located();
  EXPECT_TRUE(newer.PlacesSqlitePresent);
  EXPECT_TRUE(newer.CookiesSqlitePresent);
  EXPECT_FALSE(newer.PermissionsSqlitePresent);
  EXPECT_FALSE(newer.FormHistorySqlitePresent);
  EXPECT_TRUE(newer.FirefoxSqliteFormat);
  EXPECT_FALSE(newer.DisableFFTypedURLsOption);
}

TEST_F(FirefoxLocationsTest, TheCacheFolderThatExistsIsKept) {
  SingleProfile();
  std::string local = std::string(kLocal) + "\\Mozilla\\Firefox\\Profiles\\x.default";
  files.AddFolder(local + "\\Cache");
  FirefoxLocations firefox = Located();
  EXPECT_EQ(firefox.FirefoxLocalProfileFolder, local);
  Ensure(firefox);
  EXPECT_EQ(firefox.FirefoxLocalCacheFolder, local + "\\Cache");
  EXPECT_EQ(firefox.FirefoxCacheFolder, "  Folder not found");
}

TEST_F(FirefoxLocationsTest, AnOverlongLocalCachePathIsNotCutShort) {
  std::string name(150, 'p');
  files.AddFile(kFirefox + "\\profiles.ini", "[Profile0]\nPath=Profiles/" + name + "\n");
  files.AddFolder(kFirefox + "\\Profiles\\" + name);
  folders.LocalAppData = "C:\\" + std::string(90, 'L');
  FirefoxLocations firefox = Located();
  ASSERT_NE(firefox.FirefoxProfileFolder, "");
  EXPECT_EQ(firefox.FirefoxLocalCacheFolder, "");
}

TEST_F(FirefoxLocationsTest, TheCachePreferenceNamesTheParentOfTheCacheFolder) {
  SingleProfile();
  files.AddFile(kProfile + "\\Prefs.js",
                "user_pref(\"browser.cache.disk.parent_directory\", \"E:\\\\Fire Cache\");\r\n");
  FirefoxLocations firefox = Located();
  EXPECT_EQ(firefox.FirefoxCacheFolder, "E:\\Fire Cache\\Cache");
  EXPECT_EQ(firefox.FirefoxLocalCacheFolder, std::string(kLocal) + "\\Mozilla\\Firefox\\Profiles\\x.default\\Cache");
}

TEST_F(FirefoxLocationsTest, DiscoveryRunsOnceAndItsTextsStay) {
  SingleProfile();
  ie.IEHistoryIndexFile = "C:\\History\\History.IE5\\index.dat";
  files.AddFile(ie.IEHistoryIndexFile, "index");
  FirefoxLocations firefox;
  Ensure(firefox);
  EXPECT_EQ(firefox.CookiesTxtFile, "  File not found - Cookies.txt");
  EXPECT_EQ(ie.IEHistoryIndexFile, "C:\\History\\History.IE5\\index.dat");

  files.AddFile(kProfile + "\\Cookies.txt", "");
  files.AddFile(kProfile + "\\cookies.sqlite", "");
  files.RemoveFile(ie.IEHistoryIndexFile);
  Ensure(firefox);
  EXPECT_EQ(firefox.CookiesTxtFile, "  File not found - Cookies.txt");
  EXPECT_FALSE(firefox.CookiesSqlitePresent) << "no second discovery";
  EXPECT_EQ(ie.IEHistoryIndexFile, "  Folder not found");
}

TEST_F(FirefoxLocationsTest, ThePluginsFolderIsCreatedAndTheListFollowsTheDataSwitch) {
  FirefoxLocations firefox;
  LocatePlugins(firefox, files, "C:\\Prog", "C:\\Data", false);
  EXPECT_EQ(firefox.PluginsFolder, "C:\\PROG\\PLUGINS");
  EXPECT_TRUE(files.FolderExists("C:\\Prog\\Plugins"));
  EXPECT_EQ(firefox.PluginListFile, "C:\\Data\\PLUGINS.DAT");
  LocatePlugins(firefox, files, "C:\\Prog", "C:\\Data", true);
  EXPECT_EQ(firefox.PluginListFile, "C:\\Prog\\PLUGINS.DAT");
}

}  // namespace
}  // namespace tidemark::locations
