// The option sets and the configuration tab read from and written to a real
// settings file.
#include <gtest/gtest.h>

#include <iterator>
#include <optional>
#include <string>

#include "settings/configuration.h"
#include "settings/option_sets.h"
#include "settings_fixture_win.h"

namespace tidemark::settings {
namespace {

using test::SettingsFile;

// The keys of an option set: a check box (the function it runs) or a radio
// group (its index).
struct StoredOptionKey {
  const char* key;
  std::optional<PurgeFunctionId> function;
  int OptionSet::*radio = nullptr;
};
using enum PurgeFunctionId;
const StoredOptionKey kStoredOptionKeys[] = {
    {"CacheOption", FirefoxCache},      {"CookiesOption", FirefoxCookies},  {"HistoryOption", FirefoxHistory},
    {"FFtypedURLs", FirefoxTypedUrls},  {"FormsOption", FirefoxForms},      {"TempOption", TempFolders},
    {"VisitedOption", IEVisited},       {"RecentLNKsOption", RecentLinks},  {"RecycleBinOption", RecycleBin},
    {"ClipBoardOption", Clipboard},     {"PluginsOption", Plugins},         {"IECacheOption", IECache},
    {"IECookiesOption", IECookies},     {"IEHistoryOption", IEHistory},     {"IEUserDataOption", IEUserData},
    {"IESearchesOption", IESearches},   {"IETypedURLsOption", IETypedUrls}, {"IEStraysOption", IEStrays},
    {"IEDOMstoreOption", IEDomStore},   {"SecureDeleteOption", std::nullopt, &OptionSet::secureErase},
    {"CompactSqlOption", std::nullopt, &OptionSet::compactSql},
    {"ReportOpt", std::nullopt, &OptionSet::reports},
};

TEST(OptionSets, EachOptionHasItsOwnKeyInItsSetsSection) {
  const std::pair<OptionSetId, const char*> sets[] = {{OptionSetId::Standard, "StndOptions"},
                                                      {OptionSetId::PurgeNow, "PnowOptions"},
                                                      {OptionSetId::Startup, "BootOptions"},
                                                      {OptionSetId::Shutdown, "ShutOptions"}};
  for (size_t i = 0; i < std::size(kStoredOptionKeys); ++i) {
    const StoredOptionKey& option = kStoredOptionKeys[i];
    auto [id, section] = sets[i % std::size(sets)];
    SCOPED_TRACE(option.key);
    SettingsFile file;
    OptionSet options;
    if (option.function)
      options[*option.function] = true;
    else
      options.*option.radio = 1;
    ASSERT_TRUE(SaveOptionSet(file.ini, id, options));
    for (const StoredOptionKey& key : kStoredOptionKeys)
      EXPECT_EQ(file.ini.ReadString(section, key.key, "missing"), key.key == option.key ? "1" : "0") << key.key;
    for (auto [other, otherSection] : sets)
      EXPECT_EQ(LoadOptionSet(file.ini, other), other == id ? options : OptionSet{}) << otherSection;
  }
}

TEST(OptionSets, AnyOneFailedWriteFailsTheSave) {
  SettingsFile file;
  for (const char* key : {"CacheOption", "SecureDeleteOption", "IEDOMstoreOption"}) {
    test::FailingKeyFile ini(file.path, key);
    EXPECT_FALSE(SaveOptionSet(ini, OptionSetId::Startup, OptionSet{})) << key;
  }
}

TEST(OptionSets, BadValuesReadAsTheirDefaults) {
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
  EXPECT_EQ(tab.shutdown, DisplayOptions{});
  EXPECT_EQ(tab.startup, DisplayOptions{});
  EXPECT_EQ(tab.shutType, ShutType::Logoff);
}

TEST(ConfigurationTab, DisplayOptionsAndShutTypeRoundTripAndTheRunModeTakesItsOwn) {
  SettingsFile file;
  const DisplayOptions purgeNow{SplashOption::Disable, MainWindowOption::EnableOnAnyError};
  const DisplayOptions startup{SplashOption::Enable, MainWindowOption::Disable};
  const DisplayOptions shutdown{SplashOption::Disable, MainWindowOption::EnableOnSevereError};
  ASSERT_TRUE(ApplyPurgeNow(file.ini, purgeNow));
  ASSERT_TRUE(ApplyStartup(file.ini, startup));
  ASSERT_TRUE(ApplyShutdown(file.ini, shutdown, ShutType::Hibernate));
  ASSERT_TRUE(file.ini.WriteString("StndOptions", "SplashOpt", "1"));
  ConfigurationTab tab = LoadConfigurationTab(file.ini);
  EXPECT_EQ(tab.purgeNow, purgeNow);
  EXPECT_EQ(tab.startup, startup);
  EXPECT_EQ(tab.shutdown, shutdown);
  EXPECT_EQ(tab.shutType, ShutType::Hibernate);

  ASSERT_TRUE(file.ini.WriteString("ShredOption", "Thoroughness", "2"));
  ASSERT_TRUE(file.ini.WriteString("TempFolders", "VolDir", "1"));
  SettingsState state;
  state.show.quickStartOpt = "N";
  LoadSettingsState(file.ini, OptionSetId::Shutdown, state);
  EXPECT_EQ(state.shred.shredMode, kBothShreds);
  EXPECT_TRUE(state.temp.bootDiskTemp);
  EXPECT_EQ(state.shutType, ShutType::Hibernate);
  EXPECT_EQ(state.runModeDisplay, shutdown);
  EXPECT_EQ(state.show.quickStartOpt, "N");  // left to the window restore
  LoadSettingsState(file.ini, OptionSetId::Startup, state);
  EXPECT_EQ(state.runModeDisplay, startup);
  // The interactive run has no display options, whatever its section holds.
  LoadSettingsState(file.ini, OptionSetId::Standard, state);
  EXPECT_EQ(state.runModeDisplay, DisplayOptions{});
}

TEST(ConfigurationTab, StoredShredValues) {
  // The kind is the first character; the passes are clamped to 1..99.
  const std::pair<const char*, ShredSettings> cases[] = {{"", {kQuickShred, 1}},
                                                         {"Thoroughness=\r\nRepeats= 33 ", {kQuickShred, 33}},
                                                         {"Thoroughness=1abc\r\nRepeats=150", {kThoroughShred, 99}},
                                                         {"Thoroughness=7\r\nRepeats=abc", {'7', 1}}};
  SettingsFile file;
  for (auto [stored, expected] : cases) {
    file.SetText(std::string("[ShredOption]\r\n") + stored + "\r\n");
    EXPECT_EQ(LoadShredSettings(file.ini), expected) << stored;
  }
}

TEST(ConfigurationTab, ApplyingGeneralClampsThePassesAndKeepsAnUnknownKind) {
  SettingsFile file;
  ShredSettings page{kBothShreds, 150}, inMemory;
  ASSERT_TRUE(ApplyGeneral(file.ini, page, inMemory));
  EXPECT_EQ(page, (ShredSettings{kBothShreds, 99}));  // the spin edit shows it too
  EXPECT_EQ(inMemory, page);
  EXPECT_EQ(LoadShredSettings(file.ini), page);

  // An unknown kind selects no radio button; applying leaves it stored as it is.
  file.SetText("[ShredOption]\r\nThoroughness=7\r\nRepeats=3\r\n");
  page = LoadShredSettings(file.ini);
  page.repeats = 5;
  ASSERT_TRUE(ApplyGeneral(file.ini, page, inMemory));
  EXPECT_EQ(file.Text(), "[ShredOption]\r\nThoroughness=7\r\nRepeats=5\r\n");
}

TEST(TempFolders, StoredValuesKeepTheirKeyPairingAndAreNotWrittenBack) {
  // DosDir holds "Windows Temp" and WinDir "Old Temp"; with no folder set "System Temp" is checked.
  const std::pair<const char*, TempFolderSettings> cases[] = {
      {"", {true, false, false, false, true, "8", 8}},
      {"TmpDir=0\r\nDosDir=0\r\nWinDir=abc\r\nVolDir=0\r\n", {true, false, false, false, true, "8", 8}},
      {"DosDir=1\r\n", {false, true, false, false, true, "8", 8}},
      {"WinDir=1\r\n", {false, false, true, false, true, "8", 8}},
      {"VolDir=1\r\nAgeTemp=0\r\nAgeHours= 48 \r\n", {false, false, false, true, false, "48", 48}},
      {"TmpDir=1\r\nDosDir=1\r\nAgeHours=abc\r\n", {true, true, false, false, true, "0", 0}}};
  SettingsFile file;
  for (auto [stored, expected] : cases) {
    const std::string text = std::string("[TempFolders]\r\n") + stored;
    file.SetText(text);
    EXPECT_EQ(LoadTempFolderSettings(file.ini), expected) << stored;
    EXPECT_EQ(file.Text(), text);
  }
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
  EXPECT_EQ(page, (TempFolderSettings{false, false, false, true, true, "4", 4}));
}

}  // namespace
}  // namespace tidemark::settings
