// Shell wildcard matching ("*", "?", several patterns separated by ";") as the
// shell's PathMatchSpecA does it. Callers hold a pointer that is null when the
// system lacks the function, and fall back to plain comparison then.
#pragma once
#include <string>

namespace tidemark::platform {

class PathMatcher {
 public:
  virtual ~PathMatcher() = default;
  virtual bool Matches(const std::string& path, const std::string& pattern) const = 0;
};

// PathMatchSpecA looked up by name in shlwapi.dll; null when it is not there.
const PathMatcher* ShellPathMatcher();

}  // namespace tidemark::platform
