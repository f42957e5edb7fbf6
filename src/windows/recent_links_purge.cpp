#include <vector>

#include "engine/labels.h"
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
  struct Link {
    std::string name, shortName;
  };
  std::vector<Link> links;
  engine::DeletionEngine& deletion = env.deletion;
  deletion.ItemsProcessed = 0;
  // The top of the folder only: nothing below it is touched.
  env.platform.files.ListMatching(folder, "*.*", [&](const platform::DirEntry& entry) {
    if (env.CancelNoted()) return false;
    if (!entry.IsDirectory()) links.push_back({entry.name, entry.shortName});
    env.Pump();
    return true;
  });

  const std::string upperFolder = UpperCase(folder);
  for (const Link& link : links) {
    std::string reported = upperFolder + "\\" + UpperCase(link.name);
    // Every shortcut goes, whatever its target; nothing else is touched.
    if (!EndsWith(reported, ".LNK")) continue;
    ++deletion.ItemsProcessed;
    env.UpdateProgress(10);
    if (env.Preview()) {
      env.Item(engine::ItemOutcome::Success, engine::kToDelete, reported);
    } else if (deletion.DeleteOrShredFile(JoinPath(folder, link.name), link.shortName)) {
      env.Item(engine::ItemOutcome::Success, engine::kDeleted, reported);
    } else {
      env.Line(engine::FileResultLabel(deletion.LastDeleteError, env.report).substr(0, 17) + reported);
      env.RaiseError(0);
    }
    env.Pump();
  }

  if (deletion.ItemsProcessed == 0) {
    env.Line("    No Links found to delete.");
    env.Line("  Purge \"Recent LNKs\" Function Completed.");
  } else {
    env.Line("  Purge \"Recent LNKs\" Function Completed.   " + std::to_string(deletion.ItemsProcessed) +
             " Links Processed.");
  }
}

}  // namespace tidemark::windows
