// Folder paths and listed names as they come from plugins, settings and the
// registry: the canonical form is a full path that resolves to itself, holds
// no step the system would rewrite, and a root stays a root; a name taken to
// reach an entry is always exact.
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz_require.h"
#include "platform/path_names.h"
#include "platform/text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace tidemark;
  std::string text(reinterpret_cast<const char*>(data), size);
  if (auto canonical = platform::CanonicalFolder(text)) {
    Require(platform::IsFullPath(*canonical) || platform::IsRootPath(*canonical), "the canonical form is full");
    Require(platform::CanonicalFolder(*canonical) == canonical, "the canonical form resolves to itself");
    Require(canonical->find('/') == std::string::npos, "no forward slash is left");
    std::string body = canonical->substr(2);
    Require(body.find("\\.\\") == std::string::npos && !EndsWith(body, "\\.") && !EndsWith(body, "\\.."),
            "no dot steps are left");
    if (platform::IsRootPath(*canonical))
      Require(platform::CanonicalFolder(*canonical + "\\x\\..") == canonical, "a root stays a root");
  }
  size_t split = text.find('\n');
  platform::DirEntry entry{text.substr(0, split), split == std::string::npos ? "" : text.substr(split + 1)};
  if (auto name = platform::ReachableName(entry)) {
    Require(platform::IsExactName(*name), "a reachable name is exact");
    Require(*name == entry.name || *name == entry.shortName, "it is one of the listed names");
  }
  return 0;
}
