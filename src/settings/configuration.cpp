#include "settings/configuration.h"

#include <algorithm>
#include <cstdint>

#include "platform/text.h"
#include "settings/ini_values.h"

namespace tidemark::settings {
namespace {

constexpr const char* kShredSection = "ShredOption";
constexpr const char* kThoroughness = "Thoroughness";
constexpr const char* kRepeats = "Repeats";

// The keys keep a historical pairing: DosDir holds "Windows Temp" and WinDir
// "Old Temp". Stored files depend on it.
constexpr const char* kTempSection = "TempFolders";
constexpr const char* kSystemTempKey = "TmpDir";
constexpr const char* kWindowsTempKey = "DosDir";
constexpr const char* kOldTempKey = "WinDir";
constexpr const char* kBootDiskTempKey = "VolDir";
constexpr const char* kAgeTemp = "AgeTemp";
constexpr const char* kAgeHours = "AgeHours";

}  // namespace

std::optional<int> ShredButtonOf(char shredMode) {
  if (shredMode < kQuickShred || shredMode > kBothShreds) return std::nullopt;
  return shredMode - kQuickShred;
}

int ClampRepeats(long long repeats) { return static_cast<int>(std::clamp<long long>(repeats, kMinRepeats, kMaxRepeats)); }

ShredSettings LoadShredSettings(IniFile& ini) {
  ShredSettings shred;
  std::string kind = ini.ReadString(kShredSection, kThoroughness, std::string(1, kQuickShred));
  // Any other character would shred with no overwrite pass at all.
  shred.shredMode = !kind.empty() && ShredButtonOf(kind.front()) ? kind.front() : kQuickShred;
  shred.repeats = ClampRepeats(ParseInteger(ini.ReadString(kShredSection, kRepeats, "")).value_or(kMinRepeats));
  return shred;
}

void NormalizeAgeHours(TempFolderSettings& temp, std::string_view text) {
  auto hours = ParseInteger(text);
  if (hours && *hours >= 0 && *hours <= INT32_MAX) {
    temp.ageHoursText = Trim(text);
    temp.ageHours = static_cast<int>(*hours);
  } else {
    temp.ageHoursText = "0";
    temp.ageHours = 0;
  }
}

TempFolderSettings LoadTempFolderSettings(IniFile& ini) {
  TempFolderSettings temp;
  temp.systemTemp = ReadBool(ini, kTempSection, kSystemTempKey, false);
  temp.windowsTemp = ReadBool(ini, kTempSection, kWindowsTempKey, false);
  temp.oldTemp = ReadBool(ini, kTempSection, kOldTempKey, false);
  temp.bootDiskTemp = ReadBool(ini, kTempSection, kBootDiskTempKey, false);
  if (!temp.systemTemp && !temp.windowsTemp && !temp.oldTemp && !temp.bootDiskTemp) temp.systemTemp = true;
  temp.ageFilterOn = ReadBool(ini, kTempSection, kAgeTemp, true);
  NormalizeAgeHours(temp, ini.ReadString(kTempSection, kAgeHours, "8"));
  return temp;
}

ConfigurationTab LoadConfigurationTab(IniFile& ini) {
  ConfigurationTab tab;
  tab.shred = LoadShredSettings(ini);
  tab.purgeNow = LoadDisplayOptions(ini, OptionSetId::PurgeNow);
  tab.startup = LoadDisplayOptions(ini, OptionSetId::Startup);
  tab.shutdown = LoadDisplayOptions(ini, OptionSetId::Shutdown);
  tab.shutType = LoadShutType(ini);
  return tab;
}

void LoadSettingsState(IniFile& ini, OptionSetId runMode, SettingsState& state) {
  state.shred = LoadShredSettings(ini);
  state.temp = LoadTempFolderSettings(ini);
  state.shutType = LoadShutType(ini);
  state.runModeDisplay = LoadDisplayOptions(ini, runMode);
}

bool ApplyGeneral(IniFile& ini, ShredSettings& page, ShredSettings& inMemory) {
  page.repeats = ClampRepeats(page.repeats);
  bool written = true;
  if (ShredButtonOf(page.shredMode)) written = ini.WriteString(kShredSection, kThoroughness, std::string(1, page.shredMode));
  written = WriteInteger(ini, kShredSection, kRepeats, page.repeats) && written;
  inMemory = page;  // the choice holds for this run even when the file could not take it
  return written;
}

bool ApplyPurgeNow(IniFile& ini, const DisplayOptions& page) {
  return SaveDisplayOptions(ini, OptionSetId::PurgeNow, page);
}

bool ApplyStartup(IniFile& ini, const DisplayOptions& page) {
  return SaveDisplayOptions(ini, OptionSetId::Startup, page);
}

bool ApplyShutdown(IniFile& ini, const DisplayOptions& page, ShutType shutType) {
  bool displayWritten = SaveDisplayOptions(ini, OptionSetId::Shutdown, page);
  return SaveShutType(ini, shutType) && displayWritten;
}

bool ApplyTempFolders(IniFile& ini, TempFolderSettings& page) {
  NormalizeAgeHours(page, std::string(page.ageHoursText));  // a copy: the rule rewrites the text
  bool written = WriteBool(ini, kTempSection, kSystemTempKey, page.systemTemp);
  written = WriteBool(ini, kTempSection, kWindowsTempKey, page.windowsTemp) && written;
  written = WriteBool(ini, kTempSection, kOldTempKey, page.oldTemp) && written;
  written = WriteBool(ini, kTempSection, kBootDiskTempKey, page.bootDiskTemp) && written;
  written = ini.WriteString(kTempSection, kAgeHours, page.ageHoursText) && written;
  written = WriteBool(ini, kTempSection, kAgeTemp, page.ageFilterOn) && written;
  page = LoadTempFolderSettings(ini);
  return written;
}

}  // namespace tidemark::settings
