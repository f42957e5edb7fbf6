// Finding the Firefox profile and its files, over a file system in memory.
#include "locations/firefox_locations.h"

#include <gtest/gtest.h>

#include "support/memory_files.h"

namespace tidemark::locations {
namespace {

const std::string kRoaming = "C:\\Users\\me\\AppData\\Roaming", kLocal = "C:\\Users\\me\\AppData\\Local";
const std::string kFirefox = kRoaming + "\\Mozilla\\Firefox", kProfile = kFirefox + "\\Profiles\\x.default";
const std::string kLocalProfile = kLocal + "\\Mozilla\\Firefox\\Profiles\\x.default";

// As on Windows, a path that starts with one backslash names the current drive's root.
struct CurrentDriveFiles : test::MemoryFileSystem {
  static std::string Full(const std::string& path) { return path.starts_with("\\") ? "C:" + path : path; }
  bool FileExists(const std::string& path) override { return MemoryFileSystem::FileExists(Full(path)); }
  bool FolderExists(const std::string& path) override { return MemoryFileSystem::FolderExists(Full(path)); }
};

class FirefoxLocationsTest : public ::testing::Test {
 protected:
  FirefoxLocationsTest() {
    folders.AppData = kRoaming;
    folders.LocalAppData = kLocal;
  }
  // The profile folder and a profiles.ini naming it.
  void Profile(const std::string& ini, const std::string& folder = kProfile) {
    files.AddFile(kFirefox + "\\profiles.ini", ini);
    files.AddFolder(folder);
  }
  FirefoxLocations Located() {
    FirefoxLocations firefox;
    LocateFirefoxFiles(firefox, files, folders);
    return firefox;
  }

  CurrentDriveFiles files;
  ShellFolderPaths folders;
  IELocations ie;
  const std::string single = "[General]\r\n[Profile0]\r\nIsRelative=1\r\nPath=Profiles/x.default\r\n";
};

TEST_F(FirefoxLocationsTest, TheDefaultProfileItsFilesAndItsLocalCache) {
  files.AddFolder(kFirefox + "\\Profiles\\a.first");
  Profile("[Profile0]\nPath=Profiles/a.first\n[Profile1]\nPath=Profiles/x.default\nDefault=1\n");
  FirefoxLocations firefox = Located();
  EXPECT_EQ(firefox.FirefoxProfileFolder, kProfile);
  EXPECT_EQ(firefox.CookiesSqliteFile, kProfile + "\\Cookies.sqlite");
  EXPECT_EQ(firefox.FirefoxCacheFolder, kProfile + "\\Cache");
  EXPECT_EQ(firefox.FirefoxLocalCacheFolder, kLocalProfile + "\\Cache");
  // Only the cache folder that exists is kept.
  files.AddFolder(kLocalProfile + "\\Cache");
  EnsureFirefoxLocations(firefox, ie, files, folders);
  EXPECT_EQ(firefox.FirefoxLocalCacheFolder, kLocalProfile + "\\Cache");
  EXPECT_EQ(firefox.FirefoxCacheFolder, "  Folder not found");

  Profile("[Profile0]\nIsRelative=0\nPath=D:/Elsewhere/My Profile\n", "D:\\Elsewhere\\My Profile");
  EXPECT_EQ(Located().FirefoxProfileFolder, "D:\\Elsewhere\\My Profile");
  EXPECT_EQ(Located().FirefoxLocalCacheFolder, "") << "outside Application Data";
  // A local cache path too long for the system is not cut short to some other folder.
  folders.LocalAppData = "C:\\" + std::string(250, 'L');
  Profile(single);
  EXPECT_EQ(Located().FirefoxLocalCacheFolder, "");
}

TEST_F(FirefoxLocationsTest, WithoutTheDefaultFolderEveryFileIsMissing) {
  Profile("[Profile0]\nPath=Profiles/a.there\n[Profile1]\nPath=Profiles/gone\nDefault=1\n",
          kFirefox + "\\Profiles\\a.there");
  files.AddFile(kFirefox + "\\Profiles\\a.there\\cookies.sqlite", "");
  files.AddFile("C:\\Cookies.txt", "");  // where paths without their profile would point
  files.AddFolder("C:\\Cache");
  ie.IEHistoryIndexFile = "C:\\History\\History.IE5\\index.dat";
  FirefoxLocations firefox;
  EnsureFirefoxLocations(firefox, ie, files, folders);
  EXPECT_EQ(firefox.FirefoxProfileFolder, "");
  EXPECT_TRUE(firefox.DisableFFTypedURLsOption);
  EXPECT_EQ(firefox.CookiesTxtFile, "  File not found - Cookies.txt");
  EXPECT_TRUE(IsFileNotFoundText(firefox.CookiesTxtFile));
  EXPECT_EQ(firefox.CookiesSqliteFile, "  File not found - Cookies.sqlite");
  EXPECT_EQ(firefox.HistoryDatFile, "  File not found - History.dat");
  EXPECT_EQ(firefox.FormHistoryDatFile, "  File not found - FormHistory.dat");
  EXPECT_EQ(firefox.FirefoxCacheFolder, "  Folder not found");
  EXPECT_EQ(firefox.FirefoxLocalCacheFolder, "  Folder not found");
  EXPECT_EQ(ie.IEHistoryIndexFile, "  Folder not found");
  folders.AppData.reset();
  Profile(single);
  EXPECT_EQ(Located().FirefoxProfileFolder, "") << "no Application Data, no profile";
}

TEST_F(FirefoxLocationsTest, TheDatabasesTellAFirefox3ProfileAndDiscoveryRunsOnce) {
  Profile(single);
  files.AddFile(kProfile + "\\Cookies.txt", "# Netscape HTTP Cookie File\n");
  FirefoxLocations older;
  EnsureFirefoxLocations(older, ie, files, folders);
  EXPECT_FALSE(older.FirefoxSqliteFormat);
  EXPECT_TRUE(older.DisableFFTypedURLsOption);
  EXPECT_EQ(older.CookiesTxtFile, kProfile + "\\Cookies.txt");
  EXPECT_FALSE(IsFileNotFoundText(older.CookiesTxtFile));
  files.AddFile(kProfile + "\\places.sqlite", "");
  EnsureFirefoxLocations(older, ie, files, folders);
  EXPECT_FALSE(older.PlacesSqlitePresent) << "no second discovery";

  FirefoxLocations newer = Located();
  EXPECT_TRUE(newer.PlacesSqlitePresent);
  EXPECT_FALSE(newer.CookiesSqlitePresent);
  EXPECT_TRUE(newer.FirefoxSqliteFormat);
  EXPECT_FALSE(newer.DisableFFTypedURLsOption);
}

TEST_F(FirefoxLocationsTest, TheCachePreferenceNamesTheParentOfTheCacheFolder) {
  Profile(single);
  files.AddFile(kProfile + "\\Prefs.js",
                "user_pref(\"browser.cache.disk.parent_directory\", \"E:\\\\Fire Cache\");\r\n");
  FirefoxLocations firefox = Located();
  EXPECT_EQ(firefox.FirefoxCacheFolder, "E:\\Fire Cache\\Cache");
  EXPECT_EQ(firefox.FirefoxLocalCacheFolder, kLocalProfile + "\\Cache");
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
