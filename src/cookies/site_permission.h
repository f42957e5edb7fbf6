// The browsers' own per-site cookie decisions as the cookie manager sets
// them: Allow, Block, Allow for the session, or no decision at all.
#pragma once
#include <string>

namespace tidemark::cookies {

enum class PermissionChange : char { Allow = 'A', Block = 'B', Session = 'S', Remove = 'R' };

// The permission column after a change: "Allow", "Block", "Session", or empty for Remove.
std::string PermissionChangeText(PermissionChange change);

}  // namespace tidemark::cookies
