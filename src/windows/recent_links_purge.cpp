#include <vector>

#include "engine/labels.h"
#include "platform/path_names.h"
#include "platform/text.h"
#include "windows/windows_purges.h"

namespace tidemark::windows {

void RecentLinksBody(engine::PurgeEnvironment& env) {
  const locations::IELocations& ie = env.located.ie;
  if (!ie.RecentFolderFound) {
    env.Line(" -Error- Recent LNKs:  not processed as folder could not be located");
    env.RaiseError(3);
    return;
  }
  RecentLinksPurge(env, ie.RecentFolder);
}

void RecentLinksPurge(engine::PurgeEnvironment& env, const std::string& folder) {
  std::vector<platform::DirEntry> links;
  engine::DeletionEngine& deletion = env.deletion;
  deletion.ItemsProcessed = 0;
  engine::PurgeRoot root = deletion.OpenRoot(folder, engine::RootUse::Empty);
  // The top of the folder only: nothing below it is touched.
  if (root)
    deletion.ListHeldFolder(root.path, "*.*", [&](const platform::DirEntry& entry) {
      if (env.CancelNoted()) return false;
      if (!entry.IsDirectory()) links.push_back(entry);
      env.Pump();
      return true;
    });

  const std::string upperFolder = UpperCase(root.path);
  for (const platform::DirEntry& link : links) {
    std::string reported = upperFolder + "\\" + UpperCase(link.name);
    // Every shortcut goes, whatever its target; nothing else is touched.
    if (!EndsWith(reported, ".LNK")) continue;
    ++deletion.ItemsProcessed;
    env.UpdateProgress(10);
    std::optional<std::string> name = platform::ReachableName(link);
    if (env.Preview()) {
      env.Item(engine::ItemOutcome::Success, engine::kToDelete, reported);
    } else if (name && deletion.DeleteOrShredFile(JoinPath(root.path, *name), "")) {
      env.Item(engine::ItemOutcome::Success, engine::kDeleted, reported);
    } else {
      uint32_t code = name ? deletion.LastDeleteError : engine::error_code::kInvalidName;
      env.Line(engine::FileResultLabel(code, env.report).substr(0, 17) + reported);
      env.RaiseError(0);
    }
    env.Pump();
  }

  env.WriteCompletion(
      {.function = "  Purge \"Recent LNKs\"", .one = " Links Processed.", .noneFound = "    No Links found to delete."},
      deletion.ItemsProcessed);
}

}  // namespace tidemark::windows
