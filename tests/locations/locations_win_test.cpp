// The IE folders, the IE version, the temp folders and the Chromium browsers, over scratch keys in both
// hives and folders.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <optional>

#include "locations/chromium_locations.h"
#include "locations/ie_locations.h"
#include "locations/temp_folders.h"
#include "platform/files_win.h"
#include "platform/shell_win.h"
#include "platform/text.h"
#include "support/sandbox_win.h"

namespace tidemark::locations {
namespace {

using platform::RealShell;
using platform::RegistryRoot;
constexpr RegistryRoot kUser = RegistryRoot::CurrentUser, kMachine = RegistryRoot::LocalMachine;

// The real shell without special-folder lookups and with a fixed version text.
struct ShellWithoutFolders : platform::Win32Shell {
  platform::SpecialFolder GetSpecialFolder(int) override { return {false, platform::kPathNotFound}; }
  platform::SpecialFolder SpecialFolderFromIdList(int) override { return {false, platform::kFolderNotFound}; }
  std::string VersionString(const std::string& file, const std::string& name) override {
    return fixedVersion ? *fixedVersion : Win32Shell::VersionString(file, name);
  }
  std::optional<std::string> fixedVersion;
};

class LocationsTest : public ::testing::Test {
 protected:
  LocationsTest() {
    keys = {key.path() + "\\IE", key.path() + "\\USF", key.path() + "\\SF", key.path() + "\\UserData"};
    variables.Set("TIDEMARK_TEST_ROOT", temp.path());
  }
  // The same scratch key path is used below HKEY_LOCAL_MACHINE.
  ~LocationsTest() override { registry.DeleteKey(kMachine, key.path()); }
  LocationServices Services() { return {files, registry, shell}; }
  // A folder below the scratch folder, holding an index file or not.
  std::string Indexed(const std::string& relative) { return ParentFolder(temp.Write(relative + "\\Index.dat", "")); }
  std::string Plain(const std::string& relative) { return files.CreateFolders(temp / relative), temp / relative; }
  void Set(RegistryRoot root, const std::string& subKey, const std::string& name, const std::string& value) {
    ASSERT_TRUE(registry.WriteValue(root, subKey, name, {platform::RegistryType::ExpandString, value}));
  }
  IELocations Locate(const IEVersion& v, const ShellFolderPaths& f = {}) {
    return LocateIELocations(Services(), v, f, keys);
  }
  // The path as validated, its status text and state.
  std::tuple<std::string, std::string, TempFolderState> Validate(std::string path, bool anyTemp = false) {
    TempFolderRow row;
    ValidateTempFolder(path, row.status, row.state, files, RealShell(), anyTemp);
    return {path, row.status, row.state};
  }
  TempFolders Init(std::array<bool, kTempRowCount> chosen) {
    return InitTempFolders(files, RealShell(), chosen, false, false);
  }
  std::string Upper(const std::string& relative) const { return UpperCase(temp / relative); }

  test::TempFolder temp;
  platform::FileSystem& files = platform::RealFileSystem();
  platform::Registry& registry = platform::RealRegistry();
  test::TempRegistryKey key;
  test::EnvironmentVariables variables;
  ShellWithoutFolders shell;
  IERegistryKeys keys;
  IEVersion ie6{6, true, false, ""};
};

TEST_F(LocationsTest, TheIEVersionIsTheLargerOfTheRegistrysAndTheFiles) {
  const std::tuple<std::optional<std::string>, const char*, int, bool, bool> cases[] = {
      {"4.72.3110.0", "4.72.3110.8", 4, false, false},
      {"9.11.9600.16428", "6.00.2900.2180", 9, true, true},
      {"5.0", "7.0.5730.13", 7, true, true},
      {std::nullopt, "6.00.2900.2180", 6, true, false}};
  for (const auto& [stored, file, major, ie5Plus, ie7Plus] : cases) {
    registry.DeleteValue(kMachine, keys.InternetExplorer, "Version");
    if (stored) Set(kMachine, keys.InternetExplorer, "Version", *stored);
    shell.fixedVersion = file;
    IEVersion version = ReadIEVersion(registry, shell, keys);
    EXPECT_EQ(std::tuple(version.IEVersionMajor, version.IE5Plus, version.IE7Plus, version.RegistryVersionText),
              std::tuple(major, ie5Plus, ie7Plus, stored ? *stored + "    " : ""))
        << file;
  }
}

TEST_F(LocationsTest, IECandidatesAreTriedInOrderUntilOneHoldsAnIndexAndTheTwinsNeedOneToo) {
  // The cache: a user value naming the folder above Content.IE5 through an environment reference.
  std::string cache = Indexed("TIF\\Content.IE5"), lowCache = Indexed("TIF\\Low\\Content.IE5");
  Set(kUser, keys.UserShellFolders, "Cache", "%TIDEMARK_TEST_ROOT%\\TIF\\");
  // The history: the user's value names no folder, the machine's Shell Folders, the last candidate, names it; its twin
  // has no index.
  std::string history = Indexed("Hist\\History.IE5");
  Plain("Hist\\Low\\History.IE5");
  Set(kUser, keys.UserShellFolders, "History", temp / "NoSuchFolder");
  Set(kMachine, keys.ShellFolders, "History", temp / "Hist");
  std::string lowUserData = Indexed("UD\\Low");
  Set(kUser, keys.UserDataCache, "CachePath", "%TIDEMARK_TEST_ROOT%\\UD\\");
  IELocations found = Locate(ie6);
  EXPECT_EQ(std::tuple(found.IECacheFolder, found.IEHistoryFolder, found.LowCacheFolder, found.LowHistoryFolder),
            std::tuple(cache, history, lowCache, ""));
  EXPECT_EQ(std::tuple(found.IEUserDataFolder, found.IEUserDataFound, found.LowUserDataFolder),
            std::tuple(std::string(), false, lowUserData))
      << "no index";
  Indexed("UD");
  EXPECT_EQ(Locate(ie6).IEUserDataFolder, temp / "UD");
  // DOM storage, Recent and the history index lie below the shell folders.
  std::string dom = Indexed("Local\\MicroSoft\\Internet Explorer\\DomStore");
  std::string lowDom = Indexed("LocalLow\\MicroSoft\\Internet Explorer\\DomStore");
  ShellFolderPaths folders{temp / "AppData", temp / "Local", temp / "History", temp / "Recent"};
  found = Locate(ie6, folders);
  EXPECT_EQ(std::tuple(found.DomStoreFolder, found.DomStoreFound, found.LowDomStoreFolder, found.LowDomStoreFound,
                       found.RecentFolder, found.IEHistoryIndexFile),
            std::tuple(dom, true, lowDom, true, temp / "Recent", temp / "History\\History.IE5\\index.dat"));
}

// Each browser as "name program: User Data [local User Data] > profile [cache] > ...", the scratch folder left out.
std::vector<std::string> Browsers(const std::vector<ChromiumBrowser>& browsers, const std::string& root) {
  auto shown = [&](std::string path) { return StartsWith(path, root) ? path.substr(root.size() + 1) : path; };
  std::vector<std::string> lines;
  for (const ChromiumBrowser& browser : browsers) {
    std::string line = browser.name + " " + browser.program + ": " + shown(browser.userData);
    if (browser.localUserData != browser.userData) line += " [" + shown(browser.localUserData) + "]";
    for (const ChromiumProfile& profile : browser.profiles)
      line += " > " + shown(profile.folder) +
              (profile.cacheFolder != profile.folder ? " [" + shown(profile.cacheFolder) + "]" : "");
    lines.push_back(line);
  }
  return lines;
}

TEST_F(LocationsTest, ChromiumBrowsersWithTheProfilesLocalStateNamesElseTheirOwnFoldersButNeverALink) {
  const std::string chrome = "Local\\Google\\Chrome\\User Data", beta = "Local\\Google\\Chrome Beta\\User Data";
  temp.Write(chrome + "\\Local State",
             "{\"profile\": {\"info_cache\": {\"Profile 3\": {\"name\": \"Work\"}, \"..\": {}, \"Missing\": {}, "
             "\"Default\": {\"name\": \"Person 1\"}}, \"last_used\": \"Default\"}}");
  for (const char* folder : {"Default", "Profile 3", "Profile 9"}) Plain(chrome + "\\" + folder);
  // A broken Local State: the folders Chromium makes are scanned, the others and files passed over.
  temp.Write(beta + "\\Local State", "{\"profile\": {\"info_cache\": {\"Profile 2\": {}");
  for (const char* folder : {"Profile 2", "Default", "Profile 10", "Guest Profile", "Profiles"})
    Plain(beta + "\\" + folder);
  temp.Write(beta + "\\Profile 5", "");
  ShellFolderPaths folders{temp / "Roaming", temp / "Local"};
  EXPECT_EQ(Browsers(LocateChromiumBrowsers(files, folders), temp.path()),
            (std::vector<std::string>{
                "Google Chrome chrome.exe: " + chrome + " > " + chrome + "\\Profile 3 > " + chrome + "\\Default",
                "Google Chrome Beta chrome.exe: " + beta + " > " + beta + "\\Default > " + beta + "\\Profile 10 > " +
                    beta + "\\Profile 2"}));
  // Only below a full path.
  EXPECT_TRUE(LocateChromiumBrowsers(files, {"Roaming", "Local"}).empty());
  // A profile or User Data folder that is a link is never taken, whoever names it.
  const std::string linked = TIDEMARK_CHROMIUM_LINKS;
  if (!files.FolderExists(linked)) GTEST_SKIP() << "no link fixture at " << linked;
  EXPECT_EQ(Browsers(LocateChromiumBrowsers(files, {std::nullopt, linked}), linked),
            (std::vector<std::string>{
                "Google Chrome chrome.exe: Google\\Chrome\\User Data > Google\\Chrome\\User Data\\Default",
                "Microsoft Edge msedge.exe: Microsoft\\Edge\\User Data > Microsoft\\Edge\\User Data\\Default"}));
}

using State = TempFolderState;

TEST_F(LocationsTest, TempFoldersAreJudgedAndListedOnce) {
  for (const char* file : {"Temp\\x", "work\\x", "A Long Folder Name\\temp\\x"}) temp.Write(file, "");
  std::string shortForm;
  files.ListFolder(temp.path(), [&](const platform::DirEntry& entry) {
    if (entry.name == "A Long Folder Name") shortForm = entry.shortName;
    return true;
  });
  ASSERT_FALSE(shortForm.empty());
  const std::tuple<std::string, bool, std::string, std::string, State> cases[] = {
      {temp / "temp\\", false, Upper("Temp"), "", State::Usable},
      {"%TIDEMARK_TEST_ROOT%\\Temp", false, Upper("Temp"), "", State::Usable},
      {temp / (shortForm + "\\temp"), false, Upper("A Long Folder Name\\temp"), "", State::Usable},
      {temp / "work", false, Upper("work"), "... not safe to use - Folder name not \"temp\" ...", State::NotSafe},
      {temp / "work", true, Upper("work"), "", State::Usable},
      {temp / "missing\\temp", false, Upper("missing\\temp"), "... Folder Not Found ...", State::NotFound},
      {"", false, "... Not Found ...", "... No Path Specified ...", State::NotFound},
      {":odd", false, ":odd", "", State::NotFound},
  };
  for (const auto& [input, anyTemp, path, status, state] : cases)
    EXPECT_EQ(Validate(input, anyTemp), std::tuple(path, status, state)) << input;
  // A path that is not a full drive path is never safe, "C:temp" (relative to the drive's current folder) included.
  ASSERT_TRUE(SetCurrentDirectoryA(temp.path().c_str()));
  for (bool anyTemp : {false, true}) {
    EXPECT_EQ(std::get<2>(Validate("temp", anyTemp)), State::NotSafe) << anyTemp;
    EXPECT_NE(std::get<2>(Validate(temp.path().substr(0, 2) + "temp", anyTemp)), State::Usable) << anyTemp;
  }
  SetCurrentDirectoryA("C:\\");

  // The rows: each folder is listed once; the temp folder Windows names stands in when nothing usable is ticked.
  auto selected = [](const TempFolders& folders) {
    std::string shown;
    for (const TempFolderEntry& entry : folders.selected) shown += entry.displayName + "|" + entry.path + ";";
    return shown;
  };
  variables.Set("tmp", temp / "temp");
  variables.Set("temp", temp / "TEMP");
  TempFolders both = Init({true, false, true, false});
  EXPECT_EQ(both.rows[kOldTemp].path + ">" + selected(both), Upper("temp") + ">System Temp|" + Upper("temp") + ";");
  EXPECT_EQ(
      std::count_if(both.available.begin(), both.available.end(), [&](auto& e) { return e.path == Upper("temp"); }), 1);
  variables.Set("tmp", std::nullopt);
  EXPECT_EQ(selected(Init({true, false, false, false})), "System Temp|" + Upper("temp") + ";");
}

}  // namespace
}  // namespace tidemark::locations
