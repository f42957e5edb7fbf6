// Every Apply of the configuration tab writes its own keys and leaves the
// rest of the file exactly as it was.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "settings/configuration.h"
#include "settings_fixture_win.h"

namespace tidemark::settings {
namespace {

using test::SettingsFile;

struct Entry {
  std::string section, key, value;
};

// Every key of the settings file, each holding a value no Apply below writes to it.
std::vector<Entry> FullFile() {
  std::vector<Entry> entries;
  for (std::string section : {"StndOptions", "PnowOptions", "BootOptions", "ShutOptions"}) {
    entries.insert(entries.end(), {{section, "CacheOption", "1"}, {section, "IEDOMstoreOption", "1"}});
    if (section == "StndOptions") continue;
    entries.insert(entries.end(), {{section, "SplashOpt", "0"}, {section, "MainWinOpt", "2"}});
  }
  const char* const others[][3] = {
      {"ShutOptions", "ShutType", "1"},      {"ShredOption", "Thoroughness", "2"}, {"ShredOption", "Repeats", "7"},
      {"TempFolders", "TmpDir", "0"},        {"TempFolders", "DosDir", "1"},       {"TempFolders", "WinDir", "0"},
      {"TempFolders", "VolDir", "1"},        {"TempFolders", "AgeTemp", "0"},      {"TempFolders", "AgeHours", "12"},
      {"Positions", "FFoxForm", "2"},        {"Positions", "Lv1C0", "50"},         {"ShowOption", "CookieMsgOpt", "Y"},
      {"Fonts", "Main0Name", "Arial"},       {"Fonts", "Prot1Size", "8"}};
  for (auto& [section, key, value] : others) entries.push_back({section, key, value});
  return entries;
}

TEST(ApplyChanges, EachWritesOnlyItsOwnKeys) {
  const DisplayOptions disabled{SplashOption::Disable, MainWindowOption::Disable};
  struct Case {
    const char* name;
    std::function<bool(IniFile&)> write;
    std::vector<Entry> written;
  };
  const Case cases[] = {
      {"General",
       [](IniFile& ini) {
         ShredSettings page{kThoroughShred, 150}, inMemory;
         return ApplyGeneral(ini, page, inMemory);
       },
       {{"ShredOption", "Thoroughness", "1"}, {"ShredOption", "Repeats", "99"}}},
      {"Purge Now", [=](IniFile& ini) { return ApplyPurgeNow(ini, disabled); },
       {{"PnowOptions", "SplashOpt", "1"}, {"PnowOptions", "MainWinOpt", "3"}}},
      {"Startup", [=](IniFile& ini) { return ApplyStartup(ini, disabled); },
       {{"BootOptions", "SplashOpt", "1"}, {"BootOptions", "MainWinOpt", "3"}}},
      {"Shutdown", [=](IniFile& ini) { return ApplyShutdown(ini, disabled, ShutType::Hibernate); },
       {{"ShutOptions", "SplashOpt", "1"}, {"ShutOptions", "MainWinOpt", "3"}, {"ShutOptions", "ShutType", "5"}}},
      {"Temp Folders",
       [](IniFile& ini) {
         TempFolderSettings page{true, false, true, false, true, "abc", 12};
         return ApplyTempFolders(ini, page);
       },
       {{"TempFolders", "TmpDir", "1"}, {"TempFolders", "DosDir", "0"}, {"TempFolders", "WinDir", "1"},
        {"TempFolders", "VolDir", "0"}, {"TempFolders", "AgeTemp", "1"}, {"TempFolders", "AgeHours", "0"}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SettingsFile file;
    for (const Entry& entry : FullFile()) ASSERT_TRUE(file.ini.WriteString(entry.section, entry.key, entry.value));
    std::string expected = file.Text();
    for (const Entry& entry : c.written) expected = test::WithValue(expected, entry.section, entry.key, entry.value);
    ASSERT_NE(expected, file.Text());
    ASSERT_TRUE(c.write(file.ini));
    EXPECT_EQ(file.Text(), expected);
    // Any one write failing fails the Apply.
    for (const Entry& entry : c.written) {
      test::FailingKeyFile failing(file.path, entry.key);
      EXPECT_FALSE(c.write(failing)) << entry.key;
    }
  }
}

}  // namespace
}  // namespace tidemark::settings
