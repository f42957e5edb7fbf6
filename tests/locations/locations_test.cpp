// Finding the Firefox profile and its files over files in memory, and the Chromium profiles Local State names.
#include <gtest/gtest.h>

#include "locations/chromium_locations.h"
#include "locations/firefox_locations.h"
#include "locations/ie_locations.h"
#include "support/memory_files.h"

namespace tidemark::locations {
namespace {

TEST(ProfilesIni, TheDefaultProfileAndItsPath) {
  const std::tuple<const char*, int, const char*, bool> cases[] = {
      // The last section saying Default=1 wins over the first profile.
      {"[General]\r\nStartWithLastProfile=1\r\n\r\n[Profile0]\r\nName=default\r\nIsRelative=1\r\n"
       "Path=Profiles/aaa.default\r\nDefault=1\r\n\r\n[Profile1]\r\nPath=Profiles/bbb.work\r\nDefault=1\r\n",
       2, "Profiles/bbb.work", true},
      // Without one the first profile section is the default; names compare without case.
      {"[General]\n[PROFILE0]\nPath=a\n[Profile1]\nPath=b\nDefault=0\n", 1, "a", true},
      // A byte order mark and quotes around values are read as Windows reads them.
      {"\xEF\xBB\xBF[Profile0]\nPath=a\n[Profile1]\nIsRelative=\"0\"\nPath=\"D:\\Prof\"\nDefault='1'\n", 1, "D:\\Prof",
       false},
      {"[General]\nStartWithLastProfile=1\n; Path=x\nnonsense line\n", -1, "", true},
  };
  for (auto [ini, defaultIndex, path, relative] : cases) {
    ProfileList list = ParseProfilesIni(ini);
    ASSERT_EQ(list.defaultIndex, defaultIndex) << ini;
    if (defaultIndex < 0) continue;
    const ProfileEntry& entry = list.entries.at(size_t(defaultIndex));
    EXPECT_EQ(std::tuple(entry.isProfile, entry.path, entry.isRelative), std::tuple(true, path, relative)) << ini;
  }
}

// The Prefs.js line setting the cache's parent folder to a JavaScript string literal.
std::string CacheParent(const std::string& literal) {
  return "user_pref(\"browser.cache.disk.parent_directory\", " + literal + ");\n";
}

TEST(PrefsJs, TheCacheParentDirectoryIsAFullPath) {
  const std::pair<std::string, const char*> cases[] = {
      {"user_pref(\"browser.cache.disk.capacity\", 50000);\r\n" + CacheParent("\"D:\\\\Fire fox\\\\\\\\cache\""),
       "D:\\Fire fox\\cache"},
      {CacheParent("\"\\\\\\\\server\\\\share\\\\ff\""), "\\\\server\\share\\ff"},
      {CacheParent("\"C:\\\\caf\\u0065\""), "C:\\cafe"}};
  for (const auto& [prefs, value] : cases) EXPECT_EQ(CacheParentDirectoryPreference(prefs), value) << prefs;
  // Only a full path counts, only from the first line naming the key, and the key only with its quotes.
  for (const std::string& prefs : {CacheParent("\"cache\""), CacheParent("\"\\\\cache\""), CacheParent("\"D:cache\""),
                                   CacheParent("\"C:\\\\open"), CacheParent("\"\"") + CacheParent("\"E:\\\\x\""),
                                   std::string("user_pref(browser.cache.disk.parent_directory, \"E:\\\\x\");\n")})
    EXPECT_FALSE(CacheParentDirectoryPreference(prefs)) << prefs;
}

TEST(Versions, NumbersCompareAsNumbers) {
  EXPECT_EQ(LatestRelease({"3.6.9", "3.6.10"}), "3.6.10");
  for (auto [text, major] : {std::pair{"8.00.6001.18702    ", 8}, {"11.0.9600", 11}, {"6", 0}, {"-5.1", 0}})
    EXPECT_EQ(VersionMajorOf(text), major) << text;
}

TEST(LocalState, OnlyPlainFolderNamesOfTheProfileInfoCacheInFileOrderOnce) {
  using Names = std::vector<std::string>;
  auto localState = [](const std::string& keys) {
    return "\xEF\xBB\xBF {\"browser\": [true, false, null, -1.5e+3], \"profile\": {\"info_cache\": {" + keys +
           "}, \"last_used\": \"Default\"}}\r\n";
  };
  const std::pair<std::string, Names> cases[] = {
      {localState("\"Profile 3\": {\"name\": \"Work\"}, \"Default\": {\"name\": \"Person 1\"}, \"default\": {}"),
       {"Profile 3", "Default"}},
      // Anything that could reach another folder, or none, or one the "A" code page cannot spell, is passed over.
      {localState("\"..\": {}, \".\": {}, \"\": {}, \"..\\\\..\\\\Windows\": {}, \"a/b\": {}, \"C:x\": {}, "
                  "\"*\": {}, \"Pro?ile\": {}, \"dot.\": {}, \"blank \": {}, \"caf\\u00e9\": {}, \"tab\\there\": {}, "
                  "\"del\\u007f\": {}, \"Guest Profile\": {}"),
       {"Guest Profile"}},
      {"{\"profile\": {\"info_cache\": [\"Default\"]}}", {}},
      {localState("\"Default\": {}").substr(5), {}},
  };
  for (const auto& [text, names] : cases) EXPECT_EQ(LocalStateProfileNames(text), names) << text;
}

const std::string kRoaming = "C:\\Users\\me\\AppData\\Roaming", kFirefox = kRoaming + "\\Mozilla\\Firefox";
const std::string kProfile = kFirefox + "\\Profiles\\x.default";
const std::string kLocalProfile = "C:\\Users\\me\\AppData\\Local\\Mozilla\\Firefox\\Profiles\\x.default";

// As on Windows, a path that starts with one backslash names the current drive's root.
struct CurrentDriveFiles : test::MemoryFileSystem {
  static std::string Full(const std::string& path) { return path.starts_with("\\") ? "C:" + path : path; }
  bool FileExists(const std::string& path) override { return MemoryFileSystem::FileExists(Full(path)); }
  bool FolderExists(const std::string& path) override { return MemoryFileSystem::FolderExists(Full(path)); }
};

class FirefoxLocationsTest : public ::testing::Test {
 protected:
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
  ShellFolderPaths folders{kRoaming, "C:\\Users\\me\\AppData\\Local"};
  IELocations ie;
  const std::string single = "[General]\r\n[Profile0]\r\nIsRelative=1\r\nPath=Profiles/x.default\r\n";
};

TEST_F(FirefoxLocationsTest, TheDefaultProfileItsFilesItsCachesAndWhatIsMissing) {
  Profile("[Profile0]\nPath=Profiles/a.there\n[Profile1]\nPath=Profiles/gone\nDefault=1\n",
          kFirefox + "\\Profiles\\a.there");
  files.AddFile(kFirefox + "\\Profiles\\a.there\\cookies.sqlite", "");
  files.AddFile("C:\\Cookies.txt", "");  // where paths without their profile would point
  files.AddFolder("C:\\Cache");
  ie.IEHistoryIndexFile = "C:\\History\\History.IE5\\index.dat";
  FirefoxLocations missing;
  EnsureFirefoxLocations(missing, ie, files, folders);
  EXPECT_TRUE(missing.FirefoxProfileFolder.empty() && missing.DisableFFTypedURLsOption) << "the default folder is gone";
  EXPECT_EQ(missing.CookiesTxtFile + missing.CookiesSqliteFile + missing.HistoryDatFile + missing.FormHistoryDatFile +
                missing.FirefoxCacheFolder + "|" + missing.FirefoxLocalCacheFolder + "|" + ie.IEHistoryIndexFile,
            "  File not found - Cookies.txt  File not found - Cookies.sqlite  File not found - History.dat"
            "  File not found - FormHistory.dat  Folder not found|  Folder not found|  Folder not found");
  files.AddFolder(kFirefox + "\\Profiles\\a.first");
  Profile("[Profile0]\nPath=Profiles/a.first\n[Profile1]\nPath=Profiles/x.default\nDefault=1\n");
  files.AddFolder(kLocalProfile + "\\Cache");
  FirefoxLocations firefox;
  EnsureFirefoxLocations(firefox, ie, files, folders);
  // Only the cache folder that exists is kept.
  EXPECT_EQ(firefox.FirefoxProfileFolder + "|" + firefox.FirefoxLocalCacheFolder + "|" + firefox.FirefoxCacheFolder,
            kProfile + "|" + kLocalProfile + "\\Cache|  Folder not found");
  // A local cache path too long for the system is not cut short to some other folder.
  folders.LocalAppData = "C:\\" + std::string(250, 'L');
  Profile(single);
  EXPECT_EQ(Located().CookiesSqliteFile + "|" + Located().FirefoxCacheFolder + "|" + Located().FirefoxLocalCacheFolder,
            kProfile + "\\Cookies.sqlite|" + kProfile + "\\Cache|");
  folders.AppData.reset();
  EXPECT_EQ(Located().FirefoxProfileFolder, "") << "no Application Data, no profile";
}

TEST_F(FirefoxLocationsTest, TheDatabasesTellAFirefox3ProfileAndPrefsMoveTheCache) {
  Profile(single);
  files.AddFile(kProfile + "\\Cookies.txt", "# Netscape HTTP Cookie File\n");
  FirefoxLocations older;
  EnsureFirefoxLocations(older, ie, files, folders);
  EXPECT_FALSE(older.FirefoxSqliteFormat || IsFileNotFoundText(older.CookiesTxtFile));
  EXPECT_EQ(older.CookiesTxtFile, kProfile + "\\Cookies.txt");
  files.AddFile(kProfile + "\\places.sqlite", "");
  files.AddFile(kProfile + "\\Prefs.js", CacheParent("\"E:\\\\Fire Cache\""));
  FirefoxLocations newer = Located();
  EXPECT_TRUE(newer.PlacesSqlitePresent && newer.FirefoxSqliteFormat);
  EXPECT_FALSE(newer.CookiesSqlitePresent || newer.DisableFFTypedURLsOption);
  EXPECT_EQ(newer.FirefoxCacheFolder + "|" + newer.FirefoxLocalCacheFolder,
            "E:\\Fire Cache\\Cache|" + kLocalProfile + "\\Cache");
}

}  // namespace
}  // namespace tidemark::locations
