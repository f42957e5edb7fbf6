#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "settings/configuration.h"
#include "settings/option_sets.h"
#include "settings/window_settings.h"
#include "settings_fixture_win.h"

namespace tidemark::settings {
namespace {

using test::SettingsFile;

constexpr OptionSetId kAllSets[] = {OptionSetId::Standard, OptionSetId::PurgeNow, OptionSetId::Startup,
                                    OptionSetId::Shutdown};

// Keys of an option set as stored files hold them, in their order, with the
// function each check box stands for (nothing for the radio groups).
struct StoredKey {
  const char* key;
  std::optional<PurgeFunctionId> function;
};
const std::vector<StoredKey> kStoredOrder = {
    {"CacheOption", PurgeFunctionId::FirefoxCache},   {"CookiesOption", PurgeFunctionId::FirefoxCookies},
    {"HistoryOption", PurgeFunctionId::FirefoxHistory}, {"FFtypedURLs", PurgeFunctionId::FirefoxTypedUrls},
    {"FormsOption", PurgeFunctionId::FirefoxForms},   {"TempOption", PurgeFunctionId::TempFolders},
    {"VisitedOption", PurgeFunctionId::IEVisited},    {"RecentLNKsOption", PurgeFunctionId::RecentLinks},
    {"RecycleBinOption", PurgeFunctionId::RecycleBin}, {"ClipBoardOption", PurgeFunctionId::Clipboard},
    {"PluginsOption", PurgeFunctionId::Plugins},      {"SecureDeleteOption", std::nullopt},
    {"CompactSqlOption", std::nullopt},               {"ReportOpt", std::nullopt},
    {"IECacheOption", PurgeFunctionId::IECache},      {"IECookiesOption", PurgeFunctionId::IECookies},
    {"IEHistoryOption", PurgeFunctionId::IEHistory},  {"IEUserDataOption", PurgeFunctionId::IEUserData},
    {"IESearchesOption", PurgeFunctionId::IESearches}, {"IETypedURLsOption", PurgeFunctionId::IETypedUrls},
    {"IEStraysOption", PurgeFunctionId::IEStrays},    {"IEDOMstoreOption", PurgeFunctionId::IEDomStore},
};

TEST(SettingsDefaults, AnEmptyFileGivesEveryDefault) {
  SettingsFile file;
  file.SetText("");

  for (OptionSetId id : kAllSets) EXPECT_EQ(LoadOptionSet(file.ini, id), OptionSet{});

  ConfigurationTab tab = LoadConfigurationTab(file.ini);
  EXPECT_EQ(tab.shred.shredMode, kQuickShred);
  EXPECT_EQ(tab.shred.repeats, 1);
  for (const DisplayOptions& display : {tab.purgeNow, tab.startup, tab.shutdown}) {
    EXPECT_EQ(display.splash, SplashOption::Enable);
    EXPECT_EQ(display.mainWindow, MainWindowOption::Enable);
  }
  EXPECT_EQ(tab.shutType, ShutType::Logoff);

  TempFolderSettings temp = LoadTempFolderSettings(file.ini);
  EXPECT_TRUE(temp.systemTemp);
  EXPECT_FALSE(temp.windowsTemp || temp.oldTemp || temp.bootDiskTemp);
  EXPECT_TRUE(temp.ageFilterOn);
  EXPECT_EQ(temp.ageHoursText, "8");
  EXPECT_EQ(temp.ageHours, 8);

  ShowOptions show{"x", "x", "x"};
  FontSettings fonts{{"Arial", 20, kFontBold}, {"Arial", 20, kFontItalic}};
  auto main = RestoreMainWindow(file.ini, platform::RealFileSystem(), {false, false, 96, {0, 0, 1024, 768}}, show, fonts);
  EXPECT_EQ(main, (WindowPlacement{PlacementKind::Designed, 0, 0, 620, 450}));
  EXPECT_EQ(show.cookieMsgOpt, "N");
  EXPECT_EQ(show.ffCookieMsgOpt, "N");
  EXPECT_EQ(show.quickStartOpt, "S");
  EXPECT_TRUE(show.ShowQuickStart());
  EXPECT_EQ(fonts.results, (FontSetting{"Courier New", 9, 0}));

  CookieListLayout layout{{1, 2, 3, 4}, {5, 6, 7}, 8};
  const CookieListLayout designed = layout;
  auto cookies = RestoreCookieWindow(file.ini, {false, false, 96, {0, 0, 1024, 768}}, {}, fonts, layout);
  EXPECT_EQ(cookies, (WindowPlacement{PlacementKind::Designed, 0, 0, 620, 450}));
  EXPECT_EQ(fonts.cookieLists, (FontSetting{"MS Sans Serif", 10, 0}));
  EXPECT_EQ(layout, designed);
  for (const char* window : {kPluginSelectWindowKey, kPluginTestWindowKey})
    EXPECT_EQ(RestoreWindow(file.ini, window, {}), (WindowPlacement{PlacementKind::Designed, 0, 0, 620, 450}));

  // Reading never writes.
  EXPECT_EQ(file.Text(), "");
}

TEST(SettingsDefaults, TheInteractiveRunHasNoDisplayOptions) {
  SettingsFile file;
  file.SetText("[StndOptions]\r\nSplashOpt=1\r\nMainWinOpt=3\r\n[PnowOptions]\r\nSplashOpt=1\r\nMainWinOpt=2\r\n");
  EXPECT_EQ(LoadDisplayOptions(file.ini, OptionSetId::Standard), DisplayOptions{});
  EXPECT_EQ(LoadDisplayOptions(file.ini, OptionSetId::PurgeNow),
            (DisplayOptions{SplashOption::Disable, MainWindowOption::EnableOnSevereError}));
}

TEST(OptionSets, SectionNames) {
  EXPECT_STREQ(OptionSetSection(OptionSetId::Standard), "StndOptions");
  EXPECT_STREQ(OptionSetSection(OptionSetId::PurgeNow), "PnowOptions");
  EXPECT_STREQ(OptionSetSection(OptionSetId::Startup), "BootOptions");
  EXPECT_STREQ(OptionSetSection(OptionSetId::Shutdown), "ShutOptions");
}

TEST(OptionSets, EachCheckBoxHasItsOwnKeyAndKeysAreWrittenInOrder) {
  for (const StoredKey& expected : kStoredOrder) {
    if (!expected.function) continue;
    SCOPED_TRACE(expected.key);
    SettingsFile file;
    OptionSet options;
    options[*expected.function] = true;
    ASSERT_TRUE(SaveOptionSet(file.ini, OptionSetId::Startup, options));
    for (const StoredKey& key : kStoredOrder)
      EXPECT_EQ(file.ini.ReadString("BootOptions", key.key, "missing"), key.key == expected.key ? "1" : "0");
    EXPECT_EQ(LoadOptionSet(file.ini, OptionSetId::Startup), options);
  }

  SettingsFile file;
  OptionSet options;
  options.secureErase = 1;
  options.reports = 1;
  ASSERT_TRUE(SaveOptionSet(file.ini, OptionSetId::PurgeNow, options));
  std::string text = file.Text();
  EXPECT_NE(text.find("SecureDeleteOption=1"), std::string::npos);
  EXPECT_NE(text.find("CompactSqlOption=0"), std::string::npos);
  EXPECT_NE(text.find("ReportOpt=1"), std::string::npos);
  size_t previous = 0;
  for (const StoredKey& key : kStoredOrder) {
    size_t at = text.find(std::string("\n") + key.key + "=");
    ASSERT_NE(at, std::string::npos) << key.key;
    EXPECT_GT(at, previous) << key.key;
    previous = at;
  }
}

TEST(OptionSets, FourSetsRoundTripWithoutTouchingEachOther) {
  SettingsFile file;
  std::array<OptionSet, 4> sets;
  for (size_t set = 0; set < sets.size(); ++set) {
    for (size_t function = 0; function < kPurgeFunctionCount; ++function)
      sets[set].selected[function] = (function + set) % 3 == 0;
    sets[set].secureErase = set % 2;
    sets[set].compactSql = (set / 2) % 2;
    sets[set].reports = (set + 1) % 2;
    ASSERT_TRUE(SaveOptionSet(file.ini, kAllSets[set], sets[set]));
  }
  for (size_t set = 0; set < sets.size(); ++set) EXPECT_EQ(LoadOptionSet(file.ini, kAllSets[set]), sets[set]);

  OptionSet allOn;
  allOn.selected.fill(true);
  ASSERT_TRUE(SaveOptionSet(file.ini, OptionSetId::Standard, allOn));
  EXPECT_EQ(LoadOptionSet(file.ini, OptionSetId::Standard), allOn);
  EXPECT_EQ(LoadOptionSet(file.ini, OptionSetId::PurgeNow), sets[1]);
}

TEST(OptionSets, BadValuesReadAsTheirDefaults) {
  SettingsFile file;
  file.SetText(
      "[ShutOptions]\r\nCacheOption=abc\r\nCookiesOption=2\r\nHistoryOption=-1\r\nFFtypedURLs=\r\n"
      "FormsOption= 1 \r\nSecureDeleteOption=5\r\nCompactSqlOption=x\r\nReportOpt=1\r\n"
      "SplashOpt=9\r\nMainWinOpt=abc\r\nShutType=7\r\n"
      "[BootOptions]\r\nSplashOpt=-1\r\nMainWinOpt=4\r\n"
      "[PnowOptions]\r\nShutType=3\r\n");
  OptionSet options = LoadOptionSet(file.ini, OptionSetId::Shutdown);
  EXPECT_FALSE(options[PurgeFunctionId::FirefoxCache]);
  EXPECT_TRUE(options[PurgeFunctionId::FirefoxCookies]);
  EXPECT_TRUE(options[PurgeFunctionId::FirefoxHistory]);
  EXPECT_FALSE(options[PurgeFunctionId::FirefoxTypedUrls]);
  EXPECT_TRUE(options[PurgeFunctionId::FirefoxForms]);
  EXPECT_EQ(options.secureErase, 0);
  EXPECT_EQ(options.compactSql, 0);
  EXPECT_EQ(options.reports, 1);

  ConfigurationTab tab = LoadConfigurationTab(file.ini);
  EXPECT_EQ(tab.shutdown, DisplayOptions{});
  EXPECT_EQ(tab.startup, DisplayOptions{});
  EXPECT_EQ(tab.shutType, ShutType::Logoff);

  file.SetText("[ShutOptions]\r\nShutType=abc\r\n");
  EXPECT_EQ(LoadShutType(file.ini), ShutType::Logoff);
  file.SetText("[ShutOptions]\r\nShutType=5\r\n");
  EXPECT_EQ(LoadShutType(file.ini), ShutType::Hibernate);
}

TEST(ConfigurationTab, DisplayOptionsAndShutTypeRoundTrip) {
  SettingsFile file;
  DisplayOptions purgeNow{SplashOption::Disable, MainWindowOption::EnableOnAnyError};
  DisplayOptions startup{SplashOption::Enable, MainWindowOption::Disable};
  DisplayOptions shutdown{SplashOption::Disable, MainWindowOption::EnableOnSevereError};
  ASSERT_TRUE(ApplyPurgeNow(file.ini, purgeNow));
  ASSERT_TRUE(ApplyStartup(file.ini, startup));
  ASSERT_TRUE(ApplyShutdown(file.ini, shutdown, ShutType::StandBy));
  ConfigurationTab tab = LoadConfigurationTab(file.ini);
  EXPECT_EQ(tab.purgeNow, purgeNow);
  EXPECT_EQ(tab.startup, startup);
  EXPECT_EQ(tab.shutdown, shutdown);
  EXPECT_EQ(tab.shutType, ShutType::StandBy);
  EXPECT_EQ(LoadDisplayOptions(file.ini, OptionSetId::Startup), startup);
  EXPECT_EQ(file.ini.ReadString("ShutOptions", "ShutType", ""), "4");
}

TEST(ConfigurationTab, InMemoryValuesOfTheRunMode) {
  SettingsFile file;
  file.SetText(
      "[ShredOption]\r\nThoroughness=2\r\nRepeats=3\r\n[TempFolders]\r\nVolDir=1\r\nAgeHours=48\r\n"
      "[ShutOptions]\r\nShutType=3\r\nSplashOpt=1\r\nMainWinOpt=1\r\n[BootOptions]\r\nMainWinOpt=2\r\n");
  SettingsState state;
  state.show.quickStartOpt = "N";
  LoadSettingsState(file.ini, OptionSetId::Shutdown, state);
  EXPECT_EQ(state.shred, (ShredSettings{kBothShreds, 3}));
  EXPECT_TRUE(state.temp.bootDiskTemp);
  EXPECT_FALSE(state.temp.systemTemp);
  EXPECT_EQ(state.temp.ageHours, 48);
  EXPECT_EQ(state.shutType, ShutType::Poweroff);
  EXPECT_EQ(state.runModeDisplay, (DisplayOptions{SplashOption::Disable, MainWindowOption::EnableOnAnyError}));
  EXPECT_EQ(state.show.quickStartOpt, "N");  // left to the window restore

  LoadSettingsState(file.ini, OptionSetId::Startup, state);
  EXPECT_EQ(state.runModeDisplay, (DisplayOptions{SplashOption::Enable, MainWindowOption::EnableOnSevereError}));
  LoadSettingsState(file.ini, OptionSetId::Standard, state);
  EXPECT_EQ(state.runModeDisplay, DisplayOptions{});
}

TEST(ConfigurationTab, ShredSettingsRoundTripAndClamp) {
  SettingsFile file;
  ShredSettings inMemory;
  for (char kind : {kThoroughShred, kBothShreds, kQuickShred}) {
    ShredSettings page{kind, 42};
    ASSERT_TRUE(ApplyGeneral(file.ini, page, inMemory));
    EXPECT_EQ(inMemory, page);
    EXPECT_EQ(LoadShredSettings(file.ini), page);
  }

  ShredSettings page{kThoroughShred, 150};
  ASSERT_TRUE(ApplyGeneral(file.ini, page, inMemory));
  EXPECT_EQ(page.repeats, 99);  // the spin edit shows it too
  EXPECT_EQ(file.ini.ReadString("ShredOption", "Repeats", ""), "99");
  page.repeats = -4;
  ASSERT_TRUE(ApplyGeneral(file.ini, page, inMemory));
  EXPECT_EQ(file.ini.ReadString("ShredOption", "Repeats", ""), "1");
  EXPECT_EQ(inMemory.repeats, 1);
  page.repeats = 0;
  ASSERT_TRUE(ApplyGeneral(file.ini, page, inMemory));
  EXPECT_EQ(file.ini.ReadString("ShredOption", "Repeats", ""), "1");
}

TEST(ConfigurationTab, BadShredValues) {
  SettingsFile file;
  struct Case {
    const char* stored;
    char mode;
    int repeats;
  };
  for (Case c : {Case{"Thoroughness=\r\nRepeats=0", kQuickShred, 1}, Case{"Thoroughness=1abc\r\nRepeats=150", '1', 99},
                 Case{"Thoroughness=7\r\nRepeats=abc", '7', 1}, Case{"Thoroughness=2\r\nRepeats=-5", '2', 1},
                 Case{"Repeats=99999999999", kQuickShred, 99}, Case{"Repeats= 33 ", kQuickShred, 33}}) {
    SCOPED_TRACE(c.stored);
    file.SetText(std::string("[ShredOption]\r\n") + c.stored + "\r\n");
    EXPECT_EQ(LoadShredSettings(file.ini), (ShredSettings{c.mode, c.repeats}));
  }
  // An unknown kind selects no radio button, and applying it keeps the stored kind.
  file.SetText("[ShredOption]\r\nThoroughness=7\r\nRepeats=3\r\n");
  ShredSettings page = LoadShredSettings(file.ini), inMemory;
  EXPECT_FALSE(ShredButtonOf(page.shredMode));
  page.repeats = 5;
  ASSERT_TRUE(ApplyGeneral(file.ini, page, inMemory));
  EXPECT_EQ(file.Text(), "[ShredOption]\r\nThoroughness=7\r\nRepeats=5\r\n");
}

TEST(TempFolders, RoundTripKeepsTheStoredKeyPairing) {
  SettingsFile file;
  TempFolderSettings page;
  page.systemTemp = false;
  page.windowsTemp = true;
  page.oldTemp = false;
  page.bootDiskTemp = true;
  page.ageFilterOn = false;
  page.ageHoursText = "36";
  ASSERT_TRUE(ApplyTempFolders(file.ini, page));
  EXPECT_EQ(file.ini.ReadString("TempFolders", "TmpDir", ""), "0");
  EXPECT_EQ(file.ini.ReadString("TempFolders", "DosDir", ""), "1");  // "Windows Temp"
  EXPECT_EQ(file.ini.ReadString("TempFolders", "WinDir", ""), "0");  // "Old Temp"
  EXPECT_EQ(file.ini.ReadString("TempFolders", "VolDir", ""), "1");
  EXPECT_EQ(file.ini.ReadString("TempFolders", "AgeTemp", ""), "0");
  EXPECT_EQ(file.ini.ReadString("TempFolders", "AgeHours", ""), "36");
  EXPECT_EQ(page.ageHours, 36);

  TempFolderSettings loaded = LoadTempFolderSettings(file.ini);
  EXPECT_EQ(loaded, page);

  file.SetText("[TempFolders]\r\nWinDir=1\r\n");
  loaded = LoadTempFolderSettings(file.ini);
  EXPECT_TRUE(loaded.oldTemp);
  EXPECT_FALSE(loaded.systemTemp || loaded.windowsTemp || loaded.bootDiskTemp);
}

TEST(TempFolders, SystemTempIsCheckedWhenNoFolderIsSetButNotWritten) {
  SettingsFile file;
  file.SetText("[TempFolders]\r\nTmpDir=0\r\nDosDir=0\r\nWinDir=abc\r\nVolDir=0\r\n");
  TempFolderSettings loaded = LoadTempFolderSettings(file.ini);
  EXPECT_TRUE(loaded.systemTemp);
  EXPECT_FALSE(loaded.windowsTemp || loaded.oldTemp || loaded.bootDiskTemp);
  EXPECT_EQ(file.ini.ReadString("TempFolders", "TmpDir", ""), "0");
}

TEST(TempFolders, BadAgeHoursShowZeroAndChangeNothingElse) {
  SettingsFile file;
  file.SetText("[TempFolders]\r\nDosDir=1\r\nAgeTemp=1\r\nAgeHours=abc\r\n");
  TempFolderSettings loaded = LoadTempFolderSettings(file.ini);
  EXPECT_EQ(loaded.ageHoursText, "0");
  EXPECT_EQ(loaded.ageHours, 0);
  EXPECT_TRUE(loaded.ageFilterOn);
  EXPECT_TRUE(loaded.windowsTemp);
  EXPECT_FALSE(loaded.systemTemp);

  // Applying an edit holding a negative number writes "0".
  loaded.ageHoursText = "-12";
  ASSERT_TRUE(ApplyTempFolders(file.ini, loaded));
  EXPECT_EQ(file.ini.ReadString("TempFolders", "AgeHours", ""), "0");
  EXPECT_EQ(loaded.ageHoursText, "0");
  EXPECT_TRUE(loaded.ageFilterOn);
}

TEST(TempFolders, AFailedApplyIsReportedAndThePageShowsTheFile) {
  SettingsFile file;
  file.SetText("[TempFolders]\r\nVolDir=1\r\nAgeHours=4\r\n");
  TempFolderSettings page;
  page.ageHoursText = "12";
  {
    test::FileLock lock(file.path);
    ASSERT_TRUE(lock.held());
    EXPECT_FALSE(ApplyTempFolders(file.ini, page));
  }
  EXPECT_EQ(file.Text(), "[TempFolders]\r\nVolDir=1\r\nAgeHours=4\r\n");
  EXPECT_TRUE(page.bootDiskTemp);
  EXPECT_EQ(page.ageHours, 4);
}

}  // namespace
}  // namespace tidemark::settings
