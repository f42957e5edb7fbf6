#include "schedule/startup_entry.h"

#include "platform/text.h"

namespace tidemark::schedule {
namespace {

constexpr uint32_t kErrorFileNotFound = 2;
constexpr platform::RegistryRoot kUser = platform::RegistryRoot::CurrentUser;

}  // namespace

std::string StartupRunValue(const std::string& programFile, const std::string& shortPath) {
  const std::string& path = shortPath.empty() ? programFile : shortPath;
  return UpperCase("\"" + path + "\" Boot");
}

bool StartupEntryIsSet(platform::Registry& registry, const std::string& runKey) {
  auto data = registry.ReadString(kUser, runKey, kStartupValueName);
  return data && (EndsWith(*data, ".EXE BOOT") || EndsWith(*data, "EXE\" BOOT"));
}

bool SetStartupEntry(platform::Registry& registry, const std::string& data, const std::string& runKey) {
  return registry.WriteString(kUser, runKey, kStartupValueName, data);
}

bool RemoveStartupEntry(platform::Registry& registry, const std::string& runKey) {
  // A missing value (or key) leaves nothing to remove.
  return registry.DeleteValue(kUser, runKey, kStartupValueName) || registry.LastError() == kErrorFileNotFound;
}

}  // namespace tidemark::schedule
