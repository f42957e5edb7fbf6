// Every Apply of the configuration tab, and saving an option set, writes its
// own keys and leaves the rest of the file exactly as it was.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "settings/configuration.h"
#include "settings/option_sets.h"
#include "settings_fixture_win.h"

namespace tidemark::settings {
namespace {

using test::SettingsFile;
using test::WithValue;

struct Entry {
  std::string section;
  std::string key;
  std::string value;
};

const char* const kOptionKeys[] = {
    "CacheOption",     "CookiesOption",    "HistoryOption",   "FFtypedURLs",        "FormsOption",
    "TempOption",      "VisitedOption",    "RecentLNKsOption", "RecycleBinOption",  "ClipBoardOption",
    "PluginsOption",   "SecureDeleteOption", "CompactSqlOption", "ReportOpt",       "IECacheOption",
    "IECookiesOption", "IEHistoryOption",  "IEUserDataOption", "IESearchesOption",  "IETypedURLsOption",
    "IEStraysOption",  "IEDOMstoreOption"};

// A file holding every key of the settings file, each with a value no
// Apply below writes to it.
std::vector<Entry> FullFile() {
  std::vector<Entry> entries;
  for (const char* section : {"StndOptions", "PnowOptions", "BootOptions", "ShutOptions"}) {
    for (const char* key : kOptionKeys) entries.push_back({section, key, "1"});
    if (std::string(section) != "StndOptions") {
      entries.push_back({section, "SplashOpt", "0"});
      entries.push_back({section, "MainWinOpt", "2"});
    }
  }
  entries.push_back({"ShutOptions", "ShutType", "1"});
  entries.push_back({"ShredOption", "Thoroughness", "2"});
  entries.push_back({"ShredOption", "Repeats", "7"});
  for (auto [key, value] : {std::pair{"TmpDir", "0"}, {"DosDir", "1"}, {"WinDir", "0"}, {"VolDir", "1"},
                            {"AgeTemp", "0"}, {"AgeHours", "12"}})
    entries.push_back({"TempFolders", key, value});
  for (auto [key, value] : {std::pair{"FFoxForm", "0 10 20 300 400"}, {"CookieForm", "2"},
                            {"PlugSelForm", "Default"}, {"PlugTstForm", "1 1 1 100 100"}, {"Lv1C0", "50"},
                            {"Lv1C1", "51"}, {"Lv1C2", "52"}, {"Lv1C3", "53"}, {"Lv2C0", "60"}, {"Lv2C1", "61"},
                            {"Lv2C2", "62"}, {"LV2Ht", "90"}})
    entries.push_back({"Positions", key, value});
  for (auto [key, value] : {std::pair{"CookieMsgOpt", "Y"}, {"FFcookieMsgOpt", "Y"}, {"QuickStartOpt", "N"}})
    entries.push_back({"ShowOption", key, value});
  for (auto [key, value] : {std::pair{"Main0Name", "Arial"}, {"Main0Size", "12"}, {"Main0Style", "1"},
                            {"Prot1Name", "Tahoma"}, {"Prot1Size", "8"}, {"Prot1Style", "2"}})
    entries.push_back({"Fonts", key, value});
  return entries;
}

struct WriteCase {
  const char* name;
  std::function<bool(IniFile&)> write;
  std::vector<Entry> written;
};

std::vector<WriteCase> Cases() {
  std::vector<WriteCase> cases;
  cases.push_back({"General",
                   [](IniFile& ini) {
                     ShredSettings page{kThoroughShred, 150}, inMemory;
                     return ApplyGeneral(ini, page, inMemory);
                   },
                   {{"ShredOption", "Thoroughness", "1"}, {"ShredOption", "Repeats", "99"}}});
  const DisplayOptions disabled{SplashOption::Disable, MainWindowOption::Disable};
  cases.push_back({"Purge Now", [=](IniFile& ini) { return ApplyPurgeNow(ini, disabled); },
                   {{"PnowOptions", "SplashOpt", "1"}, {"PnowOptions", "MainWinOpt", "3"}}});
  cases.push_back({"Startup", [=](IniFile& ini) { return ApplyStartup(ini, disabled); },
                   {{"BootOptions", "SplashOpt", "1"}, {"BootOptions", "MainWinOpt", "3"}}});
  cases.push_back({"Shutdown", [=](IniFile& ini) { return ApplyShutdown(ini, disabled, ShutType::Hibernate); },
                   {{"ShutOptions", "SplashOpt", "1"}, {"ShutOptions", "MainWinOpt", "3"},
                    {"ShutOptions", "ShutType", "5"}}});
  cases.push_back({"Temp Folders",
                   [](IniFile& ini) {
                     TempFolderSettings page;
                     page.systemTemp = true;
                     page.windowsTemp = false;
                     page.oldTemp = true;
                     page.bootDiskTemp = false;
                     page.ageFilterOn = true;
                     page.ageHoursText = "abc";
                     return ApplyTempFolders(ini, page);
                   },
                   {{"TempFolders", "TmpDir", "1"}, {"TempFolders", "DosDir", "0"}, {"TempFolders", "WinDir", "1"},
                    {"TempFolders", "VolDir", "0"}, {"TempFolders", "AgeTemp", "1"}, {"TempFolders", "AgeHours", "0"}}});
  std::vector<Entry> optionsOff;
  for (const char* key : kOptionKeys) optionsOff.push_back({"BootOptions", key, "0"});
  cases.push_back({"Save Options", [](IniFile& ini) { return SaveOptionSet(ini, OptionSetId::Startup, {}); },
                   optionsOff});
  return cases;
}

TEST(ApplyChanges, EachWritesOnlyItsOwnKeys) {
  for (const WriteCase& c : Cases()) {
    SCOPED_TRACE(c.name);
    SettingsFile file;
    for (const Entry& entry : FullFile()) ASSERT_TRUE(file.ini.WriteString(entry.section, entry.key, entry.value));
    std::string expected = file.Text();
    for (const Entry& entry : c.written) {
      std::string before = expected;
      expected = WithValue(expected, entry.section, entry.key, entry.value);
      EXPECT_NE(expected, before) << entry.key << " already holds " << entry.value;
    }

    ASSERT_TRUE(c.write(file.ini));
    EXPECT_EQ(file.Text(), expected);
  }
}

}  // namespace
}  // namespace tidemark::settings
