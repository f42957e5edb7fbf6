// The temp-folder / plugin protect list (tidemark.pit): shell wildcard
// patterns of files and folders that the temp purge, folder deletion and the
// plugin file commands leave alone ("p=") or delete without reporting a
// failure ("i=").
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "platform/path_match.h"

namespace tidemark::cookies {

struct TempProtectList {
  std::vector<std::string> entries;  // sorted case-insensitively
  int32_t Count = 0;
  bool OpenedOK = true;  // false when tidemark.pit existed but could not be read
  bool Dirty = false;
};

constexpr char kTempNoMatch = ' ';
constexpr char kTempProtect = 'p';
constexpr char kTempIgnoreError = 'i';

// Judges a file (full path and bare name) or a folder (path with a trailing
// backslash, empty name): kTempNoMatch, or the kind letter of the matching
// entry; a matching "p=" entry wins over any other, else the first matching
// entry decides. Patterns holding a backslash are also tried on the full
// path. Without a matcher an entry matches only a file name equal to its
// pattern, and the last such entry decides among the others.
char MatchTempProtect(const TempProtectList& list, const std::string& fullPath, const std::string& fileName,
                      const platform::PathMatcher* matcher);

}  // namespace tidemark::cookies
