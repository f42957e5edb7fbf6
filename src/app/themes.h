// Visual-theme support is switched by which manifest file lies next to the
// program: "<program>.ManifesT" is the manifest Windows uses (themes on),
// "<program>.ManifesX" the same file parked under a name Windows ignores
// (themes off). A change takes effect at the next start.
#pragma once
#include <string>

#include "platform/files.h"

namespace tidemark::app {

inline constexpr const char* kThemedManifestSuffix = ".ManifesT";
inline constexpr const char* kParkedManifestSuffix = ".ManifesX";

// ThemeState: 0 no manifest (or not Windows NT: the switch is hidden),
// 1 themes off, 2 themes on.
enum ThemeState : int { kThemesUnavailable = 0, kThemesOff = 1, kThemesOn = 2 };

ThemeState ReadThemeState(platform::FileSystem& files, const std::string& programFile, bool windowsNT);

// The state the themes check box asks for: hidden -> unavailable.
ThemeState ThemeStateOfCheckBox(bool shown, bool checked);

// Renames the manifest so the next start sees `wanted`. Nothing is touched
// when `wanted` equals `current` or either is unavailable. False when the
// rename failed (the manifest files are then as they were).
bool ApplyThemeState(platform::FileSystem& files, const std::string& programFile, ThemeState current,
                     ThemeState wanted);

}  // namespace tidemark::app
