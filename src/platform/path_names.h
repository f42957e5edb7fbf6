// The paths deletions act on and the listed names they may use. The "A" API
// rewrites some names before the system sees them (a trailing dot or blank is
// dropped, a character the code page lacks arrives as "?"), so such a name
// can reach another file than the one listed, or none: deletions never use it.
#pragma once
#include <optional>
#include <string>
#include <string_view>

#include "platform/files.h"

namespace tidemark::platform {

// True for "X:\..." and "\\server\share\...", never a device form ("\\?\", "\\.\").
bool IsFullPath(std::string_view path);
// A drive root "X:\" or a share root "\\server\share", in canonical form.
bool IsRootPath(std::string_view path);
// A name the system takes as it is: no separator, wildcard or other
// character a file name cannot hold, not "." or "..", no trailing dot or blank.
bool IsExactName(std::string_view name);
// The folder as the system resolves it: "/" as "\", repeated separators and
// "." dropped, ".." resolved, no trailing "\" but for a drive root. Nothing
// for a path that is not full, a device form, or a step the system would
// rewrite (a trailing dot or blank, a wildcard).
std::optional<std::string> CanonicalFolder(std::string_view path);
// The name that reaches exactly this listed entry: its long name, else its
// 8.3 name; nothing when neither is exact.
std::optional<std::string> ReachableName(const DirEntry& entry);

}  // namespace tidemark::platform
