#include <windows.h>

#include "platform/path_match.h"

namespace tidemark::platform {
namespace {

using PathMatchSpecFunction = BOOL(WINAPI*)(LPCSTR path, LPCSTR pattern);

class ShellPathMatchSpec : public PathMatcher {
 public:
  explicit ShellPathMatchSpec(PathMatchSpecFunction function) : function_(function) {}
  bool Matches(const std::string& path, const std::string& pattern) const override {
    return function_(path.c_str(), pattern.c_str()) != FALSE;
  }

 private:
  PathMatchSpecFunction function_;
};

PathMatchSpecFunction LookUpPathMatchSpec() {
  HMODULE shlwapi = LoadLibraryA("shlwapi.dll");
  if (!shlwapi) return nullptr;
  FARPROC found = GetProcAddress(shlwapi, "PathMatchSpecA");
  return found ? reinterpret_cast<PathMatchSpecFunction>(reinterpret_cast<void (*)()>(found)) : nullptr;
}

}  // namespace

const PathMatcher* ShellPathMatcher() {
  static const PathMatchSpecFunction function = LookUpPathMatchSpec();
  static const ShellPathMatchSpec matcher(function);
  return function ? &matcher : nullptr;
}

}  // namespace tidemark::platform
