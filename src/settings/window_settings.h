// Restoring and saving the windows' saved state: [Positions], and for the
// main window and the cookie manager their [ShowOption] and [Fonts] values.
// Each restore leaves everything as designed under "ANYPOS", reads nothing
// then, and ignores values it cannot read.
#pragma once
#include <array>
#include <optional>
#include <string>

#include "platform/files.h"
#include "platform/ini_file.h"
#include "settings/settings_state.h"
#include "settings/window_positions.h"

namespace tidemark::settings {

using platform::IniFile;

// [Positions] keys of the windows that remember where they were.
constexpr const char* kMainWindowKey = "FFoxForm";
constexpr const char* kCookieWindowKey = "CookieForm";
constexpr const char* kPluginSelectWindowKey = "PlugSelForm";
constexpr const char* kPluginTestWindowKey = "PlugTstForm";

struct RestoreContext {
  bool anyPos = false;  // "ANYPOS": keep the designed positions
  bool reset = false;   // "RESET": ignore stored positions and list layout
  int pixelsPerInch = 96;
  ScreenArea virtualScreen;
};

// Column widths and the second list's height of the cookie manager; a
// restore replaces only the values stored as numbers, so the caller passes
// its designed layout in.
struct CookieListLayout {
  std::array<int, 4> list1Columns{};
  std::array<int, 3> list2Columns{};
  int list2Height = 0;
  bool operator==(const CookieListLayout&) const = default;
};

// A window without further saved state (the plugin windows). Nothing under
// "ANYPOS".
std::optional<WindowPlacement> RestoreWindow(IniFile& ini, const std::string& windowKey, const RestoreContext& context,
                                             DesignedSize designed = {});
// The main window: first makes the settings file writable again (a
// read-only file would lose every later save), then its position, the
// [ShowOption] values and the "Main0" font. A stored font replaces the one
// in memory only when its name is not empty and its size not 0.
std::optional<WindowPlacement> RestoreMainWindow(IniFile& ini, platform::FileSystem& files,
                                                 const RestoreContext& context, ShowOptions& show,
                                                 FontSettings& fonts);
// The cookie manager: its position, and unless "RESET" the "Prot1" font and
// the list layout.
std::optional<WindowPlacement> RestoreCookieWindow(IniFile& ini, const RestoreContext& context, DesignedSize designed,
                                                   FontSettings& fonts, CookieListLayout& layout);

// Saving when a window closes (the caller skips this under CdExec). Each
// answers false when a write failed.
bool SaveWindow(IniFile& ini, const std::string& windowKey, const StoredPosition& position);
// The three [ShowOption] values from memory.
bool SaveShowOptions(IniFile& ini, const ShowOptions& show);
// Also the [ShowOption] values and all six [Fonts] keys from memory.
bool SaveMainWindow(IniFile& ini, const StoredPosition& position, const ShowOptions& show, const FontSettings& fonts);
// Also the seven column widths and the list height.
bool SaveCookieWindow(IniFile& ini, const StoredPosition& position, const CookieListLayout& layout);

}  // namespace tidemark::settings
