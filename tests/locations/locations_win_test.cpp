// The IE folders, the IE and Firefox versions, the temp folders and the
// shell's folder routes, over the real registry (scratch keys in both hives)
// and scratch folders.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>

#include "locations/firefox_locations.h"
#include "locations/ie_locations.h"
#include "locations/temp_folders.h"
#include "platform/files_win.h"
#include "platform/shell_win.h"
#include "platform/text.h"
#include "support/sandbox_win.h"

namespace tidemark::locations {
namespace {

using platform::RegistryRoot;
using platform::RealShell;
constexpr RegistryRoot kUser = RegistryRoot::CurrentUser, kMachine = RegistryRoot::LocalMachine;

TEST(Shell, SpecialFoldersExistBothRoutesAgreeAndFailuresAndVersionsHaveTheirTexts) {
  namespace csidl = platform::csidl;
  for (int id : {csidl::kRecent, csidl::kAppData, csidl::kLocalAppData, csidl::kInternetCache, csidl::kCookies}) {
    platform::SpecialFolder byPath = RealShell().GetSpecialFolder(id), byIdList = RealShell().SpecialFolderFromIdList(id);
    ASSERT_TRUE(byPath.found && byIdList.found) << id << ": " << byPath.path;
    EXPECT_TRUE(platform::RealFileSystem().FolderExists(byPath.path)) << byPath.path;
    EXPECT_TRUE(SameText(byPath.path, byIdList.path)) << byPath.path << " / " << byIdList.path;
  }
  EXPECT_EQ(RealShell().GetSpecialFolder(0x7E).path, "Failed - Path not Found");
  EXPECT_EQ(RealShell().SpecialFolderFromIdList(0x7E).path, "Failed - Folder not Found");
  test::EnvironmentVariables variables;
  variables.Set("TIDEMARK_TEST_ROOT", "C:\\Scratch Root");
  EXPECT_EQ(RealShell().ExpandEnvVars("%TIDEMARK_TEST_ROOT%\\%TIDEMARK_NO_SUCH%"), "C:\\Scratch Root\\%TIDEMARK_NO_SUCH%");
  EXPECT_NE(RealShell().FileVersionOf("shdocvw.dll").substr(0, 9), "00.00.00.");
  EXPECT_EQ(RealShell().VersionString("shdocvw.dll", "NoSuchVersionString"), "00.00.00.01");
  test::TempFolder temp;
  EXPECT_EQ(RealShell().FileVersionOf(temp.Write("plain.txt", "no version resource here")), "00.00.00.00");
  EXPECT_EQ(RealShell().ProductVersionOf(temp / "missing.exe"), "00.00.00.00");
}

// The real shell with its special-folder lookups failing, as on a system
// without them (the item id list route answers when idListWorks is set), and
// a fixed version text for every file when one is given.
struct ShellWithoutFolders : platform::Win32Shell {
  platform::SpecialFolder GetSpecialFolder(int) override { return {false, platform::kPathNotFound}; }
  platform::SpecialFolder SpecialFolderFromIdList(int id) override {
    return idListWorks ? Win32Shell::SpecialFolderFromIdList(id) : platform::SpecialFolder{false, platform::kFolderNotFound};
  }
  std::string VersionString(const std::string& file, const std::string& name) override {
    return fixedVersion ? *fixedVersion : Win32Shell::VersionString(file, name);
  }
  bool idListWorks = false;
  std::optional<std::string> fixedVersion;
};

class LocationsTest : public ::testing::Test {
 protected:
  LocationsTest() {
    keys = {key.path() + "\\IE", key.path() + "\\USF", key.path() + "\\SF", key.path() + "\\UserData"};
    variables.Set("TIDEMARK_TEST_ROOT", temp.path());
  }
  // The same scratch key path is used below HKEY_LOCAL_MACHINE.
  ~LocationsTest() override { platform::RealRegistry().DeleteKey(kMachine, key.path()); }
  LocationServices Services() { return {platform::RealFileSystem(), platform::RealRegistry(), shell}; }
  // A folder below the scratch folder, holding an index file or not.
  std::string Indexed(const std::string& relative) { return ParentFolder(temp.Write(relative + "\\Index.dat", "")); }
  std::string Plain(const std::string& relative) {
    platform::RealFileSystem().CreateFolders(temp / relative);
    return temp / relative;
  }
  void Set(RegistryRoot root, const std::string& subKey, const std::string& name, const std::string& value) {
    ASSERT_TRUE(platform::RealRegistry().WriteValue(root, subKey, name, {platform::RegistryType::ExpandString, value}));
  }
  IELocations Locate(const IEVersion& version, const ShellFolderPaths& folders = {}) {
    return LocateIELocations(Services(), version, folders, keys);
  }
  TempFolderRow Validate(std::string path, bool anyTemp = false) {
    TempFolderRow row;
    ValidateTempFolder(path, row.status, row.state, files, RealShell(), anyTemp);
    row.path = path;
    return row;
  }
  TempFolders Init(platform::FileSystem& system, std::array<bool, kTempRowCount> chosen, bool vista = false) {
    return InitTempFolders(system, RealShell(), chosen, false, vista);
  }
  std::string Upper(const std::string& relative) const { return UpperCase(temp / relative); }

  test::TempFolder temp;
  platform::FileSystem& files = platform::RealFileSystem();
  test::TempRegistryKey key;
  test::EnvironmentVariables variables;
  ShellWithoutFolders shell;
  IERegistryKeys keys;
  IEVersion ie6{6, true, false, ""};
};

TEST_F(LocationsTest, FirefoxVersionIsTheCurrentReleasesElseTheLatestsElseNotFound) {
  auto set = [&](const std::string& subKey, const char* name, const std::string& value) {
    ASSERT_TRUE(platform::RealRegistry().WriteString(kMachine, key.path() + "\\" + subKey, name, value));
  };
  auto version = [&](const std::string& subKey) {
    return ReadFirefoxVersion(platform::RealRegistry(), RealShell(), key.path() + "\\" + subKey);
  };
  // Any file with a version resource stands in for firefox.exe.
  const std::string versioned = "C:\\windows\\system32\\kernel32.dll";
  const std::string expected = RealShell().ProductVersionOf(versioned);
  ASSERT_NE(expected.substr(0, 9), "00.00.00.") << "the stand-in has a product version";
  set("A\\3.6.28 (en-US)\\Main", "PathToExe", versioned);
  set("A\\10.0 (en-US)\\Main", "PathToExe", temp / "missing.exe");
  set("A", "CurrentVersion", "3.6.28 (en-US)");
  set("B\\9.0\\Main", "PathToExe", temp / "missing.exe");
  set("B\\10.0\\Main", "PathToExe", versioned);
  set("B", "CurrentVersion", "11.0 (gone)");
  set("C\\3.5\\Main", "PathToExe", temp.Write("firefox.exe", "not a program"));
  set("D", "CurrentVersion", "1");
  EXPECT_EQ(version("A") + "|" + version("B"), expected + "|" + expected);
  EXPECT_EQ(version("C") + version("D") + version("NoSuchKey"), "not found.not found.not found.");
}

TEST_F(LocationsTest, IEVersionIsTheLargerOfRegistryAndFile) {
  const std::tuple<std::optional<std::string>, const char*, int, bool, bool> cases[] = {
      {"4.72.3110.0", "4.72.3110.8", 4, false, false},
      {"9.11.9600.16428", "6.00.2900.2180", 9, true, true},
      {"5.0", "7.0.5730.13", 7, true, true},
      {std::nullopt, "6.00.2900.2180", 6, true, false}};
  for (const auto& [registry, file, major, ie5Plus, ie7Plus] : cases) {
    platform::RealRegistry().DeleteValue(kMachine, keys.InternetExplorer, "Version");
    if (registry) Set(kMachine, keys.InternetExplorer, "Version", *registry);
    shell.fixedVersion = file;
    IEVersion version = ReadIEVersion(platform::RealRegistry(), shell, keys);
    EXPECT_EQ(std::tuple(version.IEVersionMajor, version.IE5Plus, version.IE7Plus, version.RegistryVersionText),
              std::tuple(major, ie5Plus, ie7Plus, registry ? *registry + "    " : "")) << file;
  }
}

TEST_F(LocationsTest, IECandidatesAreTriedInOrderUntilOneHoldsAnIndexAndTheTwinsNeedOneToo) {
  // The cache: a user value naming the folder above Content.IE5 through an environment reference.
  std::string cache = Indexed("TIF\\Content.IE5"), lowCache = Indexed("TIF\\Low\\Content.IE5");
  Set(kUser, keys.UserShellFolders, "Cache", "%TIDEMARK_TEST_ROOT%\\TIF\\");
  // The cookies: both user values name folders without an index; the machine's first value wins.
  Set(kUser, keys.UserShellFolders, "Cookies", Plain("UserCookies"));
  Set(kUser, keys.ShellFolders, "Cookies", Plain("UserCookies2"));
  std::string cookies = Indexed("MachineCookies"), lowCookies = Indexed("MachineCookies\\Low");
  Set(kMachine, keys.UserShellFolders, "Cookies", cookies + "\\");
  Set(kMachine, keys.ShellFolders, "Cookies", Indexed("MachineCookiesSF"));
  // The history: only the machine's Shell Folders, the last candidate, names it; its twin has no index.
  std::string history = Indexed("Hist\\History.IE5");
  Plain("Hist\\Low\\History.IE5");
  Set(kUser, keys.UserShellFolders, "History", temp / "NoSuchFolder");
  Set(kMachine, keys.ShellFolders, "History", temp / "Hist");
  std::string lowUserData = Indexed("UD\\Low");
  Set(kUser, keys.UserDataCache, "CachePath", "%TIDEMARK_TEST_ROOT%\\UD\\");
  IELocations found = Locate(ie6);
  EXPECT_EQ(std::tuple(found.IECacheFolder, found.IECookiesFolder, found.IEHistoryFolder),
            std::tuple(cache, cookies, history));
  EXPECT_EQ(std::tuple(found.LowCacheFolder, found.LowCookiesFolder, found.LowHistoryFolder),
            std::tuple(lowCache, lowCookies, std::string()));
  EXPECT_EQ(std::tuple(found.IEUserDataFolder, found.IEUserDataFound, found.LowUserDataFolder),
            std::tuple(std::string(), false, lowUserData)) << "no index";
  Indexed("UD");
  EXPECT_EQ(Locate(ie6).IEUserDataFolder, temp / "UD");
  // Before IE 5 the shell folders themselves hold the index.
  temp.Write("TIF\\Index.dat", "");
  found = Locate(IEVersion{4, false, false, ""});
  EXPECT_EQ(found.IECacheFolder, temp / "TIF");
  EXPECT_EQ(found.LowCacheFolder, "");
  // User data from the machine hive only without a user key.
  platform::RealRegistry().DeleteKey(kUser, keys.UserDataCache);
  Set(kMachine, keys.UserDataCache, "CachePath", temp / "UD");
  EXPECT_EQ(FindUserDataFolder(Services(), keys), temp / "UD");
  Set(kUser, keys.UserDataCache, "Other", "x");
  EXPECT_EQ(FindUserDataFolder(Services(), keys), "");
}

TEST_F(LocationsTest, ACandidateQualifiesOnlyWithAnIndexNoOlderThanTheOneFound) {
  const uint64_t day = 864000000000ull, base = 130000000000000000ull;
  for (auto [name, age] : {std::pair{"Old", 0}, {"Mid", 1}, {"New", 2}}) {
    std::string folder = Indexed(name);
    ASSERT_TRUE(test::SetWriteTime(folder + "\\Index.dat", base + age * day));
    Set(kUser, keys.UserShellFolders, name, folder + "\\");
  }
  ShellFolderCandidate candidate{FolderMethod::Registry, 0, kUser, keys.UserShellFolders};
  CandidateGroup group, fresh;
  std::string path;
  auto locate = [&](CandidateGroup& g, const char* value) {
    return LocateShellFolder(Services(), true, g, candidate, "Index.Dat", "", value, path);
  };
  EXPECT_TRUE(locate(group, "Mid"));
  EXPECT_EQ(path, temp / "Mid") << "found without its trailing backslash";
  EXPECT_FALSE(locate(group, "Old"));
  EXPECT_EQ(path, temp / "Mid");
  EXPECT_TRUE(locate(group, "New"));
  EXPECT_EQ(path, temp / "New");
  EXPECT_FALSE(locate(fresh, "Missing"));
  EXPECT_EQ(path, "... Not Found ...");
  // The shell's two routes: here only the item id list answers.
  shell.idListWorks = true;
  const int cookies = platform::csidl::kCookies;
  candidate = {FolderMethod::SpecialFolder, cookies, kUser, ""};
  EXPECT_FALSE(LocateShellFolder(Services(), true, fresh, candidate, "", "", "", path));
  candidate.method = FolderMethod::IdList;
  ASSERT_TRUE(LocateShellFolder(Services(), true, fresh, candidate, "", "", "", path));
  EXPECT_EQ(path, RealShell().SpecialFolderFromIdList(cookies).path);
}

TEST_F(LocationsTest, IEFoldersBelowTheShellFolders) {
  std::string dom = Indexed("Local\\MicroSoft\\Internet Explorer\\DomStore");
  std::string lowDom = Indexed("LocalLow\\MicroSoft\\Internet Explorer\\DomStore");
  ShellFolderPaths folders{temp / "AppData", temp / "Local", temp / "History", temp / "Recent"};
  IELocations found = Locate(ie6, folders);
  EXPECT_EQ(found.IECacheFolder, "");
  EXPECT_EQ(std::tuple(found.DomStoreFolder, found.DomStoreFound, found.LowDomStoreFolder, found.LowDomStoreFound),
            std::tuple(dom, true, lowDom, true));
  EXPECT_EQ(found.RecentFolder, temp / "Recent");
  EXPECT_EQ(found.IEHistoryIndexFile, temp / "History\\History.IE5\\index.dat");
  // Below "Local Settings" there is no Protected Mode twin to look for, and
  // a DOM store without an index is not found.
  Plain("Local Settings\\Application Data\\MicroSoft\\Internet Explorer\\DomStore");
  Indexed("Local Settings\\Application DataLow\\MicroSoft\\Internet Explorer\\DomStore");
  folders.LocalAppData = temp / "Local Settings\\Application Data";
  found = Locate(ie6, folders);
  EXPECT_EQ(std::tuple(found.DomStoreFound, found.LowDomStoreFolder, found.LowDomStoreFound),
            std::tuple(false, std::string(), false));
}

using State = TempFolderState;
const char* const kNotSafe = "... not safe to use - Folder name not \"temp\" ...";

TEST_F(LocationsTest, TempFolderValidationJudgesEachCandidate) {
  for (const char* file : {"Temp\\x", "work\\x", "A Long Folder Name\\temp\\x"}) temp.Write(file, "");
  variables.Set("TM_TEST_ROOT", temp.path());
  std::string shortForm;
  files.ListFolder(temp.path(), [&](const platform::DirEntry& entry) {
    if (entry.name == "A Long Folder Name") shortForm = entry.shortName;
    return true;
  });
  ASSERT_FALSE(shortForm.empty());
  const std::tuple<std::string, bool, std::string, std::string, State> cases[] = {
      {temp / "temp\\", false, Upper("Temp"), "", State::Usable},
      {"%TM_TEST_ROOT%\\Temp", false, Upper("Temp"), "", State::Usable},
      {temp / (shortForm + "\\temp"), false, Upper("A Long Folder Name\\temp"), "", State::Usable},
      {temp / "work\\..\\Temp\\.", false, Upper("Temp"), "", State::Usable},
      {temp / "work", false, Upper("work"), kNotSafe, State::NotSafe},
      {temp / "work", true, Upper("work"), "", State::Usable},
      {temp / "missing\\temp", false, Upper("missing\\temp"), "... Folder Not Found ...", State::NotFound},
      {"", false, "... Not Found ...", "... No Path Specified ...", State::NotFound},
      {":odd", false, ":odd", "", State::NotFound},
  };
  for (const auto& [input, anyTemp, path, status, state] : cases) {
    TempFolderRow row = Validate(input, anyTemp);
    EXPECT_EQ(std::tuple(row.path, row.status, row.state), std::tuple(path, status, state)) << input;
  }
  // A path that is not a full drive path is never safe, "C:temp" (relative to the drive's current folder) included.
  ASSERT_TRUE(SetCurrentDirectoryA(temp.path().c_str()));
  for (bool anyTemp : {false, true}) {
    EXPECT_EQ(Validate("temp", anyTemp).state, State::NotSafe) << anyTemp;
    EXPECT_NE(Validate(temp.path().substr(0, 2) + "temp", anyTemp).state, State::Usable) << anyTemp;
  }
  SetCurrentDirectoryA("C:\\");
}

TEST_F(LocationsTest, TempFolderRowsAreListedOnceTheSystemTempStandsInAndAnUnlistableWindowsTempNeedsElevation) {
  temp.Write("temp\\x", "");
  temp.Write("work\\x", "");
  variables.Set("tmp", temp / "temp");
  variables.Set("temp", temp / "TEMP");
  TempFolders both = Init(files, {true, false, true, false});
  EXPECT_EQ(both.rows[kOldTemp].path, Upper("temp"));
  ASSERT_EQ(both.selected.size(), 1u);
  EXPECT_EQ(both.selected[0].displayName, "System Temp");
  EXPECT_EQ(std::count_if(both.available.begin(), both.available.end(),
                          [&](const TempFolderEntry& entry) { return entry.path == Upper("temp"); }),
            1);
  // An unsafe "tmp" is never used; with nothing usable ticked, the temp folder Windows names stands in.
  variables.Set("tmp", temp / "work");
  EXPECT_EQ(Init(files, {true, false, false, false}).rows[kSystemTemp].Label(), Upper("work") + "  [" + kNotSafe + "]");
  variables.Set("tmp", std::nullopt);
  TempFolders fallback = Init(files, {true, false, false, false});
  ASSERT_EQ(fallback.selected.size(), 1u);
  EXPECT_EQ(fallback.selected[0].displayName + "|" + fallback.selected[0].path, "System Temp|" + Upper("temp"));

  struct Unlistable : platform::Win32FileSystem {
    bool ListMatching(const std::string& folder, const std::string& mask,
                      const std::function<bool(const platform::DirEntry&)>& visit) override {
      return !EndsWith(UpperCase(folder), "WINDOWS\\TEMP") && Win32FileSystem::ListMatching(folder, mask, visit);
    }
  } unlistable;
  if (!files.FolderExists(RealShell().WindowsFolder() + "\\temp")) GTEST_SKIP() << "no Windows temp folder";
  TempFolders vista = Init(unlistable, {false, true, false, false}, true);
  const TempFolderRow& row = vista.rows[kWindowsTemp];
  EXPECT_EQ(row.Label(), row.path + "  [Only available to Admin with Elevated UAC]");
  EXPECT_EQ(row.state, State::NotFound);
  EXPECT_TRUE(vista.windowsTempDisabled);
  EXPECT_TRUE(Init(unlistable, {false, true, false, false}).rows[kWindowsTemp].Usable());
}

}  // namespace
}  // namespace tidemark::locations
