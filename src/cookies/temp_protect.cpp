#include "cookies/temp_protect.h"

#include "platform/text.h"

namespace tidemark::cookies {
namespace {

constexpr size_t kMaxPatternLength = 255;

}  // namespace

char MatchTempProtect(const TempProtectList& list, const std::string& fullPath, const std::string& fileName,
                      const platform::PathMatcher* matcher) {
  std::string path = LowerCase(fullPath);
  std::string name = LowerCase(fileName);
  // Protection wins: a "p=" entry keeps the item whatever "i=" entries also match.
  char result = kTempNoMatch;
  for (const std::string& entry : list.entries) {
    if (entry.size() <= 2) continue;
    std::string pattern = LowerCase(entry.substr(2, kMaxPatternLength));
    // Hand-written files may say "P=": the kind letter is case-insensitive too.
    char kind = LowerCase(entry.substr(0, 1))[0];
    bool matches = matcher ? (!name.empty() && matcher->Matches(name, pattern)) ||
                                 (pattern.find('\\') != std::string::npos && matcher->Matches(path, pattern))
                           : pattern == name;
    if (!matches) continue;
    if (kind == kTempProtect) return kind;
    if (result == kTempNoMatch || matcher == nullptr) result = kind;
  }
  return result;
}

}  // namespace tidemark::cookies
