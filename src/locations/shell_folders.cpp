#include "locations/shell_folders.h"

namespace tidemark::locations {
namespace {

std::optional<std::string> FolderOrNothing(platform::Shell& shell, int csidl) {
  platform::SpecialFolder folder = shell.GetSpecialFolder(csidl);
  if (!folder.found) return std::nullopt;
  return folder.path;
}

}  // namespace

ShellFolderPaths ReadShellFolderPaths(platform::Shell& shell) {
  ShellFolderPaths paths;
  paths.AppData = FolderOrNothing(shell, platform::csidl::kAppData);
  paths.LocalAppData = FolderOrNothing(shell, platform::csidl::kLocalAppData);
  paths.History = FolderOrNothing(shell, platform::csidl::kHistory);
  paths.Recent = FolderOrNothing(shell, platform::csidl::kRecent);
  return paths;
}

}  // namespace tidemark::locations
