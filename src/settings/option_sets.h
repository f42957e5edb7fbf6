// The four option sets (one per run mode) and the display options of the
// unattended runs, which share their sections.
#pragma once
#include <string>

#include "settings/purge_options.h"
#include "platform/ini_file.h"
#include "settings/settings_state.h"

namespace tidemark::settings {

using platform::IniFile;

// In the order of the option tabs.
enum class OptionSetId { Standard = 0, PurgeNow = 1, Startup = 2, Shutdown = 3 };

// "StndOptions", "PnowOptions", "BootOptions", "ShutOptions".
const char* OptionSetSection(OptionSetId id);

// Missing or non-numeric keys read as off / 0; a radio index outside its
// group reads as 0.
OptionSet LoadOptionSet(IniFile& ini, OptionSetId id);
// Writes every key; false when a write failed (the rest are still tried).
bool SaveOptionSet(IniFile& ini, OptionSetId id, const OptionSet& options);

// SplashOpt and MainWinOpt of an unattended run; the interactive run has
// none and always answers both Enable.
DisplayOptions LoadDisplayOptions(IniFile& ini, OptionSetId id);
bool SaveDisplayOptions(IniFile& ini, OptionSetId id, const DisplayOptions& options);

// [ShutOptions] ShutType; a missing value reads as Logoff.
ShutType LoadShutType(IniFile& ini);
bool SaveShutType(IniFile& ini, ShutType type);

}  // namespace tidemark::settings
