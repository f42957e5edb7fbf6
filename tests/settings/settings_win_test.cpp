// The settings file: seeding it, the option sets, the configuration tab and the windows' saved state.
#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <iterator>

#include "platform/files_win.h"
#include "platform/ini_file.h"
#include "platform/text.h"
#include "settings/configuration.h"
#include "settings/option_sets.h"
#include "settings/settings_file.h"
#include "settings/window_place_win.h"
#include "settings/window_settings.h"
#include "support/sandbox_win.h"

namespace tidemark::settings {
namespace {

using Writes = std::vector<std::string>;

// Records each write ("Section/Key=value"); the write of one "Section/Key" fails as on a full disk.
struct RecordingFile : platform::PrivateProfileFile {
  explicit RecordingFile(const std::string& path, std::string failing = "")
      : PrivateProfileFile(path), failingKey(failing) {}
  bool WriteString(const std::string& section, const std::string& key, const std::string& value) override {
    written.push_back(section + "/" + key + "=" + value);
    lastError_ = section + "/" + key == failingKey ? ERROR_DISK_FULL : 0;
    return !lastError_ && PrivateProfileFile::WriteString(section, key, value);
  }
  Writes written;
  std::string failingKey;
};

struct SettingsFile {
  test::TempFolder folder;
  std::string path = folder / "Tidemark.ini";
  platform::PrivateProfileFile ini{path};
  void SetText(const std::string& text) const { folder.Write("Tidemark.ini", text); }
  // Whether `save` fails once the write of "Section/Key" fails.
  bool FailsAt(const std::string& key, const auto& save) const {
    RecordingFile failing(path, key);
    return !save(failing);
  }
};

TEST(OptionSets, EachOptionHasItsOwnKeyInItsSetsSectionAndEveryWriteCounts) {
  // The check boxes in PurgeFunctionId order, then the three radio groups.
  const std::vector<std::string> keys = Split(
      "CacheOption CookiesOption FFtypedURLs HistoryOption FormsOption ChromiumCacheOption ChromiumCookiesOption "
      "ChromiumTypedURLs ChromiumHistoryOption ChromiumFormsOption TempOption VisitedOption IECacheOption "
      "IECookiesOption IEHistoryOption IEUserDataOption IEDOMstoreOption IESearchesOption IETypedURLsOption "
      "IEStraysOption RecentLNKsOption RecycleBinOption ClipBoardOption PluginsOption SecureDeleteOption "
      "CompactSqlOption ReportOpt",
      ' ');
  int OptionSet::*const radios[] = {&OptionSet::secureErase, &OptionSet::compactSql, &OptionSet::reports};
  using enum OptionSetId;
  const std::pair<OptionSetId, const char*> sets[] = {
      {Standard, "StndOptions"}, {PurgeNow, "PnowOptions"}, {Startup, "BootOptions"}, {Shutdown, "ShutOptions"}};
  for (size_t i = 0; i < keys.size(); ++i) {
    auto [id, section] = sets[i % std::size(sets)];
    SCOPED_TRACE(keys[i]);
    SettingsFile file;
    OptionSet options;
    if (i < kPurgeFunctionCount) options.selected[i] = true;
    if (i >= kPurgeFunctionCount) options.*radios[i - kPurgeFunctionCount] = 1;
    ASSERT_TRUE(SaveOptionSet(file.ini, id, options));
    for (const std::string& key : keys)
      EXPECT_EQ(file.ini.ReadString(section, key, "missing"), key == keys[i] ? "1" : "0") << key;
    for (auto [other, otherSection] : sets)
      EXPECT_EQ(LoadOptionSet(file.ini, other), other == id ? options : OptionSet{}) << otherSection;
    EXPECT_TRUE(file.FailsAt(section + ("/" + keys[i]), [&](auto& ini) { return SaveOptionSet(ini, id, options); }));
  }
}

TEST(Settings, UnreadableValuesGiveDefaultsAndStayAsStoredUnsafeWritesAreRefusedAndEachApplyWritesItsOwnKeys) {
  SettingsFile file;
  platform::PrivateProfileFile& ini = file.ini;
  const std::string longValue = std::string(5000, 'x') + "end";
  ASSERT_TRUE(ini.WriteString("Positions", "Long", longValue));
  EXPECT_EQ(ini.ReadString("Positions", "Long", ""), longValue);
  EXPECT_FALSE(ini.WriteString("Fonts", "Main0Name", "Arial\n[StndOptions]\nCacheOption=1") || !ini.LastError());
  EXPECT_EQ(ini.ReadString("Fonts", "Main0Name", "none") + ini.ReadString("StndOptions", "CacheOption", "0"), "none0");
  // No data folder: the system must not fall back to a file of its own.
  platform::PrivateProfileFile none("");
  EXPECT_FALSE(none.WriteString("PnowOptions", "MainWinOpt", "3") || !none.LastError());
  EXPECT_EQ(none.ReadString("PnowOptions", "MainWinOpt", "0"), "0");

  file.SetText(
      "[ShutOptions]\r\nCacheOption=abc\r\nCookiesOption=2\r\nFormsOption= 1 \r\nSecureDeleteOption=5\r\n"
      "SplashOpt=9\r\nMainWinOpt=abc\r\nShutType=7\r\n[BootOptions]\r\nSplashOpt=-1\r\nMainWinOpt=4\r\n");
  OptionSet expected;
  expected[PurgeFunctionId::FirefoxCookies] = expected[PurgeFunctionId::FirefoxForms] = true;
  EXPECT_EQ(LoadOptionSet(ini, OptionSetId::Shutdown), expected);
  ConfigurationTab tab = LoadConfigurationTab(ini);
  EXPECT_EQ(std::tuple(tab.shutdown, tab.startup, tab.shutType),
            std::tuple(DisplayOptions{}, DisplayOptions{}, ShutType::Logoff));
  // The shred kind is the first character, "0" when it is none of "0".."2"; the passes are clamped to 1..99.
  const std::pair<const char*, ShredSettings> shreds[] = {{"Thoroughness=1abc\r\nRepeats=-7", {kThoroughShred, 1}},
                                                          {"Thoroughness=2\r\nRepeats=99999999999", {kBothShreds, 99}},
                                                          {"Thoroughness=3\r\nRepeats=abc", {kQuickShred, 1}},
                                                          {"Thoroughness=/\r\nRepeats=2", {kQuickShred, 2}}};
  for (auto [stored, shred] : shreds) {
    file.SetText(std::string("[ShredOption]\r\n") + stored + "\r\n");
    EXPECT_EQ(LoadShredSettings(ini), shred) << stored;
  }
  // DosDir holds "Windows Temp" and WinDir "Old Temp"; with no folder set "System Temp" is checked.
  const std::pair<const char*, TempFolderSettings> temps[] = {
      {"TmpDir=0\r\nDosDir=0\r\nWinDir=abc\r\nVolDir=0\r\n", {true, false, false, false, true, "8", 8}},
      {"DosDir=1\r\nAgeHours=-3\r\n", {false, true, false, false, true, "0", 0}},
      {"VolDir=1\r\nAgeTemp=0\r\nAgeHours= 48 \r\n", {false, false, false, true, false, "48", 48}}};
  for (auto [stored, temp] : temps) {
    file.SetText(std::string("[TempFolders]\r\n") + stored);
    EXPECT_EQ(LoadTempFolderSettings(ini), temp) << stored;
  }

  // Each Apply writes only its own keys and the run mode reads its own.
  const DisplayOptions purgeNow{SplashOption::Disable, MainWindowOption::EnableOnAnyError};
  const DisplayOptions startup{SplashOption::Enable, MainWindowOption::Disable};
  const DisplayOptions shutdown{SplashOption::Disable, MainWindowOption::EnableOnSevereError};
  TempFolderSettings temp{true, false, true, false, true, "abc", 12};
  ShredSettings page{kThoroughShred, 150}, unknown{'7', 5}, inMemory;
  auto applyAll = [&](platform::IniFile& ini) {
    return ApplyGeneral(ini, page, inMemory) && ApplyGeneral(ini, unknown, inMemory) && ApplyPurgeNow(ini, purgeNow) &&
           ApplyStartup(ini, startup) && ApplyShutdown(ini, shutdown, ShutType::Hibernate) &&
           ApplyTempFolders(ini, temp);
  };
  RecordingFile recording(file.path);
  ASSERT_TRUE(applyAll(recording));
  // An unknown shred kind is not written.
  const Writes writes{
      "ShredOption/Thoroughness=1", "ShredOption/Repeats=99",  "ShredOption/Repeats=5",    "PnowOptions/SplashOpt=1",
      "PnowOptions/MainWinOpt=1",   "BootOptions/SplashOpt=0", "BootOptions/MainWinOpt=3", "ShutOptions/SplashOpt=1",
      "ShutOptions/MainWinOpt=2",   "ShutOptions/ShutType=5",  "TempFolders/TmpDir=1",     "TempFolders/DosDir=0",
      "TempFolders/WinDir=1",       "TempFolders/VolDir=0",    "TempFolders/AgeHours=0",   "TempFolders/AgeTemp=1"};
  EXPECT_EQ(recording.written, writes);
  EXPECT_EQ(std::tuple(page, inMemory), std::tuple(ShredSettings{kThoroughShred, 99}, unknown));
  for (const std::string& entry : writes)
    EXPECT_TRUE(file.FailsAt(entry.substr(0, entry.find('=')), applyAll)) << entry;
  SettingsState state{.show = {.quickStartOpt = "N"}};
  LoadSettingsState(file.ini, OptionSetId::Shutdown, state);
  EXPECT_EQ(std::tuple(state.shred, state.temp.oldTemp, state.shutType, state.runModeDisplay, state.show.quickStartOpt),
            std::tuple(ShredSettings{'1', 5}, true, ShutType::Hibernate, shutdown, std::string("N")));
  // A failed Apply is reported and the page shows what the file holds.
  temp = {false, false, false, false, true, "12", 12};
  EXPECT_TRUE(file.FailsAt("TempFolders/TmpDir", [&](auto& ini) { return ApplyTempFolders(ini, temp); }));
  EXPECT_EQ(temp, (TempFolderSettings{true, false, false, false, true, "12", 12}));
}

// The copy from the program folder stops half way; the program folder's file can be unreadable too.
struct CopyStopsHalfWay : platform::Win32FileSystem {
  bool CopyFileTo(const std::string&, const std::string& to, bool) override { return WriteFile(to, "[Stnd") && false; }
  std::optional<std::string> ReadFile(const std::string& path) override {
    return readable ? Win32FileSystem::ReadFile(path) : std::nullopt;
  }
  bool readable = true;
};

TEST(EnsureSettingsFile, SeedsOnlyAFolderWithoutTheFileAndAFailureLeavesNoFileBehind) {
  const char* const seedText = "[StndOptions]\r\nCacheOption=1\r\n";
  test::TempFolder root;
  platform::FileSystem& files = platform::RealFileSystem();
  const std::string program = root / "Program", data = root / "Data", target = data + "\\Tidemark.ini";
  const std::string seed = root.Write("Program\\Tidemark.ini", seedText);
  files.CreateFolders(data);
  auto ensure = [&](const std::string& folder, bool cdExec = false) {
    return EnsureSettingsFile(files, program, folder, cdExec);
  };
  auto error = [&](platform::FileSystem& system, const std::string& folder) -> std::string {
    try {
      EnsureSettingsFile(system, program, folder, false);
    } catch (const ESettingsFileError& e) {
      return e.what();
    }
    return "no error";
  };
  CopyStopsHalfWay failing;
  EXPECT_EQ(error(failing, data), "Cannot create file " + target);
  failing.readable = false;
  EXPECT_EQ(error(failing, data), "Cannot open file " + seed);
  EXPECT_FALSE(files.FileExists(target)) << "no half copy is left";
  EXPECT_EQ((std::tuple{ensure(data, true), ensure(""), files.FileExists(target)}),
            std::tuple(EnsureResult::Skipped, EnsureResult::Skipped, false));
  EXPECT_EQ(ensure(data), EnsureResult::Copied);
  EXPECT_EQ(files.ReadFile(target), seedText);
  files.WriteFile(target, "[ShredOption]\r\n");
  // The data folder is the program folder on a removable drive.
  EXPECT_EQ((std::tuple{ensure(data), ensure(program), files.ReadFile(target), files.ReadFile(seed)}),
            std::tuple(EnsureResult::Existing, EnsureResult::Existing, "[ShredOption]\r\n", seedText));
  files.RemoveFile(seed);
  files.RemoveFile(target);
  EXPECT_EQ((std::tuple{ensure(data), files.ReadFile(target), ensure(data), ensure(root / "Missing")}),
            std::tuple(EnsureResult::CreatedEmpty, "", EnsureResult::Existing, EnsureResult::CreateFailed));
}

using enum PlacementKind;

const ScreenArea kScreen{0, 0, 1024, 768};
const RestoreContext kNormalStart{false, false, 96, kScreen};
const CookieListLayout kDesignedLists{{1, 2, 3, 4}, {5, 6, 7}, 8};

struct Restored {
  std::optional<WindowPlacement> main, cookies, plugins;
  ShowOptions show;
  FontSettings fonts;
  CookieListLayout layout = kDesignedLists;
  Restored(SettingsFile& file, const RestoreContext& context) {
    main = RestoreMainWindow(file.ini, platform::RealFileSystem(), context, show, fonts);
    cookies = RestoreCookieWindow(file.ini, context, {700, 500}, fonts, layout);
    plugins = RestoreWindow(file.ini, kPluginSelectWindowKey, context);
  }
};

TEST(WindowSettings, TheWindowsRoundTripAndEveryWriteCounts) {
  SettingsFile file;
  const ShowOptions show{"Y", "N", "X"};
  const FontSettings fonts{{"Lucida Console", 11, kFontBold | kFontItalic}, {"Tahoma", 8, kFontUnderline}};
  const CookieListLayout lists{{110, 120, 130, 140}, {210, 220, 230}, 300};
  ASSERT_TRUE(SaveMainWindow(file.ini, {WindowState::Normal, 120, 80, 450, 620}, show, fonts));
  ASSERT_TRUE(SaveCookieWindow(file.ini, {WindowState::Maximised, 30, 40, 500, 700}, lists));
  ASSERT_TRUE(SaveWindow(file.ini, kPluginSelectWindowKey, {WindowState::Normal, 1, 2, 3, 4}));
  Restored restored(file, kNormalStart);
  EXPECT_EQ(std::tuple(restored.main, restored.cookies, restored.plugins),
            std::tuple(WindowPlacement{Normal, 120, 80, 620, 450}, WindowPlacement{Maximised, 0, 0, 700, 500},
                       WindowPlacement{Normal, 1, 2, 4, 3}));
  EXPECT_EQ(std::tuple(restored.show, restored.fonts, restored.layout), std::tuple(show, fonts, lists));
  EXPECT_TRUE(file.FailsAt("Fonts/Prot1Style", [](auto& ini) { return SaveMainWindow(ini, {}, {}, FontSettings{}); }));
  EXPECT_TRUE(file.FailsAt("Positions/LV2Ht", [](auto& ini) { return SaveCookieWindow(ini, {}, CookieListLayout{}); }));

  file.SetText(
      "[Positions]\r\nFFoxForm=0 120 80 450 620\r\nCookieForm=2\r\nPlugSelForm=garbage\r\nLv1C0=\r\nLv1C1=abc\r\n"
      "Lv1C2=-5\r\nLv1C3=77\r\nLv2C1= 88 \r\nLV2Ht=12x\r\n[Fonts]\r\nMain0Name=Arial\r\nMain0Size=14\r\n"
      "Main0Style=x\r\nProt1Name=Verdana\r\nProt1Size=12\r\n[ShowOption]\r\nQuickStartOpt=N\r\n");
  restored = Restored(file, {false, false, 120, kScreen});
  EXPECT_EQ(restored.show, (ShowOptions{"N", "N", "N"}));
  // List sizes need a number that is not negative; a font a name and a size.
  EXPECT_EQ(restored.layout, (CookieListLayout{{1, 2, 3, 77}, {5, 88, 7}, 8}));
  EXPECT_EQ(restored.fonts, (FontSettings{{"Arial", 14, 0}, {"Verdana", 12, 0}}));
  // Only the positions are reset for the main window; the cookie manager keeps its designed lists and font.
  Restored afterReset(file, {false, true, 96, kScreen});
  EXPECT_EQ(afterReset.cookies, (WindowPlacement{Designed, 0, 0, 700, 500}));
  EXPECT_EQ(afterReset.fonts, (FontSettings{{"Arial", 14, 0}, FontSettings().cookieLists}));
  EXPECT_EQ(std::tuple(afterReset.show.quickStartOpt, afterReset.layout), std::tuple(std::string("N"), kDesignedLists));

  ASSERT_TRUE(SetFileAttributesA(file.path.c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN));
  Restored untouched(file, {true, false, 96, kScreen});
  EXPECT_FALSE(untouched.main || untouched.cookies || untouched.plugins);
  EXPECT_EQ(std::tuple(untouched.show, untouched.fonts, untouched.layout),
            std::tuple(ShowOptions{}, FontSettings{}, kDesignedLists));
  EXPECT_TRUE(GetFileAttributesA(file.path.c_str()) & FILE_ATTRIBUTE_READONLY) << "skipped entirely";
  // Restoring the main window makes the file writable again, hidden as it was.
  Restored{file, kNormalStart};
  EXPECT_EQ(GetFileAttributesA(file.path.c_str()) & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN),
            DWORD(FILE_ATTRIBUTE_HIDDEN));
  for (const char* stored : {"Main0Name=\r\nMain0Size=12\r\n", "Main0Name=Arial\r\nMain0Size=0\r\n"}) {
    file.SetText(std::string("[Fonts]\r\n") + stored);
    EXPECT_EQ(Restored(file, kNormalStart).fonts, FontSettings{}) << stored;
  }
}

// A place on the screen is read back as restored by the main window's test; one off the screen comes back on it.
TEST(WindowPlace, APlaceOffTheScreenIsReadBackOnItHidden) {
  HWND window =
      CreateWindowExA(0, "STATIC", "", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr, nullptr, nullptr);
  RECT work, placed;
  ASSERT_TRUE(SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0));
  EXPECT_FALSE(ApplyPlacement(window, nullptr, WindowPlacement{Normal, 5000, 6000, 640, 470}, {}, 96));
  GetWindowRect(window, &placed);
  EXPECT_EQ(std::tuple(placed.left, placed.top, placed.right, placed.bottom),
            std::tuple(work.right - 640, work.bottom - 470, work.right, work.bottom));
  EXPECT_FALSE(IsWindowVisible(window));
  EXPECT_EQ(StoredPositionOf(window),
            (StoredPosition{WindowState::Normal, work.bottom - 470, work.right - 640, 470, 640}));
  DestroyWindow(window);
}

}  // namespace
}  // namespace tidemark::settings
