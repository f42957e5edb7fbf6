// The shell special folders that the location passes start from, read once at
// start-up. Tests fill this themselves to point the passes at scratch folders.
#pragma once
#include <optional>
#include <string>

#include "platform/shell.h"

namespace tidemark::locations {

struct ShellFolderPaths {
  std::optional<std::string> AppData;       // Application Data (26)
  std::optional<std::string> LocalAppData;  // Local Application Data (28)
  std::optional<std::string> History;       // History (34)
  std::optional<std::string> Recent;        // Recent (8)
};

// Each folder is left unset when the shell cannot name it.
ShellFolderPaths ReadShellFolderPaths(platform::Shell& shell);

}  // namespace tidemark::locations
