// A font setting as the LOGFONT of the system's font dialog and back (size in
// points at the screen's resolution, style bits).
#pragma once
#include <windows.h>

#include "settings/settings_state.h"

namespace tidemark::settings {

LOGFONTA LogFontOf(const FontSetting& font, int ppi);
FontSetting FontSettingOf(const LOGFONTA& font, int pointSize);

}  // namespace tidemark::settings
