#include "schedule/shortcuts.h"

#include "platform/text.h"

namespace tidemark::schedule {

const std::array<DesktopShortcut, 3> kDesktopShortcuts = {{
    {"Tidemark       ", "Generate a Shortcut to execute Tidemark with its normal window", "Tidemark", "",
     "Tidemrk1.ico"},
    {"Tidemark Now", "Generate a Shortcut to execute Tidemark with the \"Purge Now\" options ", "Tidemark Now", "auto",
     "Tidemrk2.ico"},
    {"Tidemark && Shutdown", "Generate a Shortcut to execute Tidemark then Shutdown Windows with Shutdown options",
     "Tidemark & Shutdown", "SHUT", "Tidemrk3.ico"},
}};

std::string ShortcutFolder(platform::Registry& registry, ShortcutLocation location) {
  const char* shellFolder = nullptr;
  switch (location) {
    case ShortcutLocation::Desktop: shellFolder = "Desktop"; break;
    case ShortcutLocation::StartMenu: shellFolder = "Start Menu"; break;
    case ShortcutLocation::StartUp: shellFolder = "StartUp"; break;
    case ShortcutLocation::SendTo: shellFolder = "SendTo"; break;
    case ShortcutLocation::QuickLaunch: break;
  }
  auto folder = shellFolder
                    ? registry.ReadString(platform::RegistryRoot::CurrentUser, kShellFoldersKey, shellFolder)
                    : registry.ReadString(platform::RegistryRoot::CurrentUser, kQuickLaunchKey, "Quick Launch");
  return folder.value_or("");
}

ShortcutResult GenerateShortcut(platform::Registry& registry, platform::Shell& shell, const std::string& target,
                                ShortcutLocation location, const std::string& arguments, int iconIndex,
                                const std::string& linkName, const std::string& iconFile, std::string& linkFile) {
  linkFile.clear();
  std::string folder = ShortcutFolder(registry, location);
  if (folder.empty()) return ShortcutResult::NoFolder;
  linkFile = JoinPath(folder, linkName + ".lnk");
  std::string programFolder = ParentFolder(target);
  platform::ShellLink link{target, arguments, programFolder, JoinPath(programFolder, iconFile), iconIndex};
  return shell.SaveShellLink(link, linkFile) ? ShortcutResult::Written : ShortcutResult::NotSaved;
}

}  // namespace tidemark::schedule
