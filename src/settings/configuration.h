// The "   Configure   " tab: shred settings, display options of the
// unattended runs, the power action and the temp-folder choices. Each Apply
// writes only the keys of its own page and answers false when a write failed.
#pragma once
#include <optional>
#include <string>
#include <string_view>

#include "platform/ini_file.h"
#include "settings/option_sets.h"
#include "settings/settings_state.h"

namespace tidemark::settings {

using platform::IniFile;

// Radio button (0..2) of a shred kind; nothing for an unknown kind.
std::optional<int> ShredButtonOf(char shredMode);
int ClampRepeats(long long repeats);

// Thoroughness (first character, empty counts as quick) and Repeats (1..99).
ShredSettings LoadShredSettings(IniFile& ini);

// The AgeHours text rule: a text that is not a decimal number, or is
// negative, becomes "0"; the number is the text's value (text kept without
// surrounding blanks).
void NormalizeAgeHours(TempFolderSettings& temp, std::string_view text);

// When no folder is set, "System Temp" is checked (not written back).
TempFolderSettings LoadTempFolderSettings(IniFile& ini);

struct ConfigurationTab {
  ShredSettings shred;
  DisplayOptions purgeNow;
  DisplayOptions startup;
  DisplayOptions shutdown;
  ShutType shutType = ShutType::Logoff;
};
// Everything the tab shows that lives in the settings file (the startup
// entry and the themes choice live elsewhere).
ConfigurationTab LoadConfigurationTab(IniFile& ini);

// The in-memory values the purges read, as the main window loads them when
// it is created: shred settings, temp folders, ShutType and the display
// options of the run mode (its option set). [ShowOption] and [Fonts] come
// with the main window's position.
void LoadSettingsState(IniFile& ini, OptionSetId runMode, SettingsState& state);

// General: writes Thoroughness (only when the mode has a radio button) and
// Repeats, clamping the passes to 1..99 first (the page shows the clamped
// value); the in-memory copy takes the new values.
bool ApplyGeneral(IniFile& ini, ShredSettings& page, ShredSettings& inMemory);
// Purge Now / Startup: SplashOpt and MainWinOpt of their section. (The
// startup entry itself is set by the caller afterwards.)
bool ApplyPurgeNow(IniFile& ini, const DisplayOptions& page);
bool ApplyStartup(IniFile& ini, const DisplayOptions& page);
// Shutdown: SplashOpt, MainWinOpt and ShutType.
bool ApplyShutdown(IniFile& ini, const DisplayOptions& page, ShutType shutType);
// Temp Folders: normalises the AgeHours text of the page, writes the four
// folder flags, AgeHours and AgeTemp, then reads them back into the page
// (so the page shows what the file now holds). The caller locates the temp
// folders again.
bool ApplyTempFolders(IniFile& ini, TempFolderSettings& page);

}  // namespace tidemark::settings
