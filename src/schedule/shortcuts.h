// Shell links that start the program: the shortcut generator with its
// location codes, and the three desktop shortcuts of the General page.
#pragma once
#include <array>
#include <string>

#include "platform/registry.h"
#include "platform/shell.h"

namespace tidemark::schedule {

enum class ShortcutLocation { Desktop = 0, StartMenu = 1, StartUp = 2, SendTo = 3, QuickLaunch = 4 };

// Where the folders of the location codes are read (HKEY_CURRENT_USER).
constexpr const char* kShellFoldersKey = "Software\\MicroSoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
constexpr const char* kQuickLaunchKey = "Software\\MicroSoft\\Windows\\CurrentVersion\\GrpConv\\MapGroups";

struct DesktopShortcut {
  const char* caption;  // of the button
  const char* hint;
  const char* linkName;
  const char* arguments;
  const char* iconFile;  // in the program folder
};
extern const std::array<DesktopShortcut, 3> kDesktopShortcuts;

// The folder of a location code as the registry holds it; empty when the
// value is missing or empty.
std::string ShortcutFolder(platform::Registry& registry, ShortcutLocation location);

enum class ShortcutResult { Written, NoFolder, NotSaved };

// Writes folder + "\" + linkName + ".lnk" (replacing an existing link):
// target, arguments, working folder = the target's folder, normal window,
// icon = the target's folder + "\" + iconFile at iconIndex. linkFile
// receives the link's path (empty with NoFolder).
ShortcutResult GenerateShortcut(platform::Registry& registry, platform::Shell& shell, const std::string& target,
                                ShortcutLocation location, const std::string& arguments, int iconIndex,
                                const std::string& linkName, const std::string& iconFile, std::string& linkFile);

}  // namespace tidemark::schedule
