// The disk caches of every profile of every browser that is not running, and
// each browser's shader caches. The folders themselves stay.
#include <string_view>

#include "chromium/chromium_purges.h"
#include "platform/text.h"

namespace tidemark::chromium {
namespace {

constexpr std::string_view kProfileCaches[] = {"Cache\\Cache_Data", "Code Cache", "GPUCache",
                                               "Service Worker\\CacheStorage", "Service Worker\\ScriptCache"};
constexpr std::string_view kBrowserCaches[] = {"GrShaderCache", "ShaderCache", "GraphiteDawnCache"};

// Empties base\relative while base and each folder on the way are held:
// none of them is, or can become, a link the walk would follow.
void EmptyBelow(engine::DeletionEngine& deletion, const std::string& base, std::string_view relative) {
  std::vector<engine::PurgeRoot> held;
  held.push_back(deletion.OpenRoot(base, engine::RootUse::Reach));
  std::string folder = base;
  for (size_t separator; (separator = relative.find('\\')) != std::string_view::npos;
       relative.remove_prefix(separator + 1)) {
    if (!held.back()) return;
    folder += "\\" + std::string(relative.substr(0, separator));
    held.push_back(deletion.OpenRoot(folder, engine::RootUse::Reach));
  }
  if (held.back()) deletion.DeleteFolderContents(folder + "\\" + std::string(relative), "*.*", false);
}

}  // namespace

void ChromiumCachePurge(engine::PurgeEnvironment& env) {
  engine::DeletionEngine& deletion = env.deletion;
  deletion.ItemsProcessed = 0;
  if (!env.TempProtectReadable()) return;
  for (const locations::ChromiumBrowser& browser : env.located.chromium) {
    if (env.Cancelled()) break;
    if (!BrowserMayBeProcessed(env, browser)) continue;
    for (const locations::ChromiumProfile& profile : browser.profiles)
      for (std::string_view cache : kProfileCaches) EmptyBelow(deletion, profile.cacheFolder, cache);
    for (std::string_view cache : kBrowserCaches) EmptyBelow(deletion, browser.localUserData, cache);
  }
  env.WriteCompletion(engine::CacheFilesCompletion("  Purge \"Chromium Cache\""), deletion.ItemsProcessed);
}

}  // namespace tidemark::chromium
