// The option sets and the configuration tab read from and written to a real
// settings file.
#include <gtest/gtest.h>

#include <functional>
#include <iterator>

#include "settings/configuration.h"
#include "settings/option_sets.h"
#include "settings_fixture_win.h"

namespace tidemark::settings {
namespace {

using test::SettingsFile;
using Writes = std::vector<std::string>;

TEST(OptionSets, EachOptionHasItsOwnKeyInItsSetsSectionAndEveryWriteCounts) {
  // The check boxes in PurgeFunctionId order, then the three radio groups.
  const char* const keys[] = {
      "CacheOption",      "CookiesOption",    "FFtypedURLs",       "HistoryOption",   "FormsOption",
      "TempOption",       "VisitedOption",    "IECacheOption",     "IECookiesOption", "IEHistoryOption",
      "IEUserDataOption", "IEDOMstoreOption", "IESearchesOption",  "IETypedURLsOption", "IEStraysOption",
      "RecentLNKsOption", "RecycleBinOption", "ClipBoardOption",   "PluginsOption",   "SecureDeleteOption",
      "CompactSqlOption", "ReportOpt"};
  int OptionSet::*const radios[] = {&OptionSet::secureErase, &OptionSet::compactSql, &OptionSet::reports};
  const std::pair<OptionSetId, const char*> sets[] = {{OptionSetId::Standard, "StndOptions"},
                                                      {OptionSetId::PurgeNow, "PnowOptions"},
                                                      {OptionSetId::Startup, "BootOptions"},
                                                      {OptionSetId::Shutdown, "ShutOptions"}};
  for (size_t i = 0; i < std::size(keys); ++i) {
    auto [id, section] = sets[i % std::size(sets)];
    SCOPED_TRACE(keys[i]);
    SettingsFile file;
    OptionSet options;
    if (i < kPurgeFunctionCount)
      options.selected[i] = true;
    else
      options.*radios[i - kPurgeFunctionCount] = 1;
    ASSERT_TRUE(SaveOptionSet(file.ini, id, options));
    for (const char* key : keys) EXPECT_EQ(file.ini.ReadString(section, key, "missing"), key == keys[i] ? "1" : "0") << key;
    for (auto [other, otherSection] : sets)
      EXPECT_EQ(LoadOptionSet(file.ini, other), other == id ? options : OptionSet{}) << otherSection;
    test::RecordingFile failing(file.path, keys[i]);
    EXPECT_FALSE(SaveOptionSet(failing, id, options));
  }
}

TEST(Settings, StoredValuesThatCannotBeReadGiveTheirDefaultsAndAreNotWrittenBack) {
  SettingsFile file;
  file.SetText(
      "[ShutOptions]\r\nCacheOption=abc\r\nCookiesOption=2\r\nHistoryOption=-1\r\nFFtypedURLs=\r\n"
      "FormsOption= 1 \r\nSecureDeleteOption=5\r\nCompactSqlOption=x\r\nReportOpt=1\r\n"
      "SplashOpt=9\r\nMainWinOpt=abc\r\nShutType=7\r\n[BootOptions]\r\nSplashOpt=-1\r\nMainWinOpt=4\r\n");
  OptionSet expected;
  expected[PurgeFunctionId::FirefoxCookies] = expected[PurgeFunctionId::FirefoxHistory] = true;
  expected[PurgeFunctionId::FirefoxForms] = true;
  expected.reports = 1;
  EXPECT_EQ(LoadOptionSet(file.ini, OptionSetId::Shutdown), expected);
  ConfigurationTab tab = LoadConfigurationTab(file.ini);
  EXPECT_EQ(std::tuple(tab.shutdown, tab.startup, tab.shutType), std::tuple(DisplayOptions{}, DisplayOptions{}, ShutType::Logoff));
  // The shred kind is the first character, kept even when unknown; the passes are clamped to 1..99.
  const std::pair<const char*, ShredSettings> shreds[] = {{"", {kQuickShred, 1}},
                                                          {"Thoroughness=1abc\r\nRepeats=-7", {kThoroughShred, 1}},
                                                          {"Thoroughness=2\r\nRepeats=99999999999", {kBothShreds, 99}},
                                                          {"Thoroughness=7\r\nRepeats= 33 ", {'7', 33}}};
  for (auto [stored, shred] : shreds) {
    file.SetText(std::string("[ShredOption]\r\n") + stored + "\r\n");
    EXPECT_EQ(LoadShredSettings(file.ini), shred) << stored;
  }
  // DosDir holds "Windows Temp" and WinDir "Old Temp"; with no folder set "System Temp" is checked.
  const std::pair<const char*, TempFolderSettings> temps[] = {
      {"TmpDir=0\r\nDosDir=0\r\nWinDir=abc\r\nVolDir=0\r\n", {true, false, false, false, true, "8", 8}},
      {"DosDir=1\r\nAgeHours=-3\r\n", {false, true, false, false, true, "0", 0}},
      {"WinDir=1\r\nAgeHours=12h\r\n", {false, false, true, false, true, "0", 0}},
      {"VolDir=1\r\nAgeTemp=0\r\nAgeHours= 48 \r\n", {false, false, false, true, false, "48", 48}},
      {"TmpDir=1\r\nDosDir=1\r\nAgeHours=99999999999\r\n", {true, true, false, false, true, "0", 0}}};
  for (auto [stored, temp] : temps) {
    const std::string text = std::string("[TempFolders]\r\n") + stored;
    file.SetText(text);
    EXPECT_EQ(LoadTempFolderSettings(file.ini), temp) << stored;
    EXPECT_EQ(file.Text(), text);
  }
}

TEST(ConfigurationTab, EachApplyWritesOnlyItsOwnKeysAndTheRunModeReadsItsOwn) {
  const DisplayOptions purgeNow{SplashOption::Disable, MainWindowOption::EnableOnAnyError};
  const DisplayOptions startup{SplashOption::Enable, MainWindowOption::Disable};
  const DisplayOptions shutdown{SplashOption::Disable, MainWindowOption::EnableOnSevereError};
  TempFolderSettings temp{true, false, true, false, true, "abc", 12};
  ShredSettings unknown{'7', 5}, inMemory;
  using Apply = std::function<bool(platform::IniFile&)>;
  const std::tuple<const char*, Apply, Writes> cases[] = {
      {"General",
       [&](platform::IniFile& ini) {
         ShredSettings page{kThoroughShred, 150};
         return ApplyGeneral(ini, page, inMemory) && page.repeats == 99 && inMemory == page;
       },
       {"ShredOption/Thoroughness=1", "ShredOption/Repeats=99"}},
      {"unknown shred kind", [&](platform::IniFile& ini) { return ApplyGeneral(ini, unknown, inMemory); },
       {"ShredOption/Repeats=5"}},
      {"Purge Now", [&](platform::IniFile& ini) { return ApplyPurgeNow(ini, purgeNow); },
       {"PnowOptions/SplashOpt=1", "PnowOptions/MainWinOpt=1"}},
      {"Startup", [&](platform::IniFile& ini) { return ApplyStartup(ini, startup); },
       {"BootOptions/SplashOpt=0", "BootOptions/MainWinOpt=3"}},
      {"Shutdown", [&](platform::IniFile& ini) { return ApplyShutdown(ini, shutdown, ShutType::Hibernate); },
       {"ShutOptions/SplashOpt=1", "ShutOptions/MainWinOpt=2", "ShutOptions/ShutType=5"}},
      {"Temp Folders", [&](platform::IniFile& ini) { return ApplyTempFolders(ini, temp); },
       {"TempFolders/TmpDir=1", "TempFolders/DosDir=0", "TempFolders/WinDir=1", "TempFolders/VolDir=0",
        "TempFolders/AgeHours=0", "TempFolders/AgeTemp=1"}},
  };
  SettingsFile file;
  for (const auto& [name, write, writes] : cases) {
    SCOPED_TRACE(name);
    test::RecordingFile recording(file.path);
    ASSERT_TRUE(write(recording));
    EXPECT_EQ(recording.written, writes);
    for (const std::string& entry : writes) {
      std::string key = entry.substr(entry.find('/') + 1, entry.find('=') - entry.find('/') - 1);
      test::RecordingFile failing(file.path, key);
      EXPECT_FALSE(write(failing)) << key;
    }
  }
  EXPECT_EQ(temp, (TempFolderSettings{true, false, true, false, true, "0", 0})) << "the page shows the file";
  ConfigurationTab tab = LoadConfigurationTab(file.ini);
  EXPECT_EQ(tab.shred, (ShredSettings{'1', 5})) << "an unknown kind stays as it was stored";
  EXPECT_EQ(std::tuple(tab.purgeNow, tab.startup, tab.shutdown, tab.shutType),
            std::tuple(purgeNow, startup, shutdown, ShutType::Hibernate));
  ASSERT_TRUE(file.ini.WriteString("StndOptions", "SplashOpt", "1"));
  SettingsState state;
  state.show.quickStartOpt = "N";
  LoadSettingsState(file.ini, OptionSetId::Shutdown, state);
  EXPECT_EQ(std::tuple(state.shred, state.temp.oldTemp, state.shutType, state.runModeDisplay, state.show.quickStartOpt),
            std::tuple(tab.shred, true, ShutType::Hibernate, shutdown, std::string("N")));
  LoadSettingsState(file.ini, OptionSetId::Startup, state);
  EXPECT_EQ(state.runModeDisplay, startup);
  // The interactive run has no display options, whatever its section holds.
  LoadSettingsState(file.ini, OptionSetId::Standard, state);
  EXPECT_EQ(state.runModeDisplay, DisplayOptions{});
  // A failed Apply is reported and the page shows what the file holds.
  temp = {false, false, false, false, true, "12", 12};
  test::RecordingFile failing(file.path, "TmpDir");
  EXPECT_FALSE(ApplyTempFolders(failing, temp));
  EXPECT_EQ(temp, (TempFolderSettings{true, false, false, false, true, "12", 12}));
}

}  // namespace
}  // namespace tidemark::settings
