// The disk cache: everything inside the profile's cache folder and the one
// under Local Application Data, and the fast-load file XUL.MFL beside the
// latter; then the caches of a current Firefox in either profile folder. The
// folders themselves stay.
#include "firefox/firefox_purges.h"

namespace tidemark::firefox {
namespace {

// A folder the locations found (an empty one means no profile was located).
bool Located(const std::string& folder) { return !folder.empty() && folder != locations::kFolderNotFoundText; }

// A current Firefox's disk cache, startup cache, page thumbnails and taskbar icons.
constexpr const char* kCurrentCacheFolders[] = {"cache2", "startupCache", "thumbnails", "jumpListCache"};

}  // namespace

void FirefoxCachePurge(engine::PurgeEnvironment& env) {
  const locations::FirefoxLocations& firefox = env.located.firefox;
  engine::DeletionEngine& deletion = env.deletion;
  deletion.ItemsProcessed = 0;
  if (!env.TempProtectReadable()) return;
  if (Located(firefox.FirefoxCacheFolder)) deletion.DeleteFolderContents(firefox.FirefoxCacheFolder, "*.*", false);
  if (Located(firefox.FirefoxLocalCacheFolder)) {
    deletion.DeleteFolderContents(firefox.FirefoxLocalCacheFolder, "*.*", false);
    if (!firefox.FirefoxLocalProfileFolder.empty()) {
      std::string fastLoad = firefox.FirefoxLocalProfileFolder + "\\XUL.MFL";
      if (env.platform.files.FileExists(fastLoad) && deletion.DeleteDataFile(fastLoad)) ++deletion.ItemsProcessed;
    }
  }
  // The local profile folder is known even where no Cache folder is any more.
  for (const std::string* profile : {&firefox.FirefoxLocalProfileFolder, &firefox.FirefoxProfileFolder})
    if (Located(*profile))
      for (const char* folder : kCurrentCacheFolders)
        deletion.DeleteFolderContents(*profile + "\\" + folder, "*.*", false);

  env.WriteCompletion(engine::CacheFilesCompletion("  Purge \"FireFox Cache\""), deletion.ItemsProcessed);
}

}  // namespace tidemark::firefox
