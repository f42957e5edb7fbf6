// The purges that remove folders rather than index entries: the daily and
// weekly history folders, and the UserData folder's contents.
#include <vector>

#include "engine/labels.h"
#include "ie/ie_purges.h"
#include "ie/purge_index.h"
#include "platform/path_names.h"
#include "platform/text.h"

namespace tidemark::ie {
namespace {

using engine::ItemOutcome;

// A failure line, in "AllHist" reports only; ErrorSeen in any case.
void HistoryFailure(engine::PurgeEnvironment& env, uint32_t code, const std::string& item) {
  if (env.settings.allHist) env.Line(ResultCodeText(env, code, ResultMode::Folder) + item);
  env.RaiseError(0);
}

void HistorySuccess(engine::PurgeEnvironment& env, const std::string& item) {
  if (env.settings.allHist) env.Item(ItemOutcome::Success, engine::kDeleted, item);
}

// Deletes the history sub-folder's index, or resets it when something holds
// it; the emptied folder goes. The folder is held meanwhile; a directory
// link is removed as a link: nothing behind it is deleted or reset.
void HistorySubFolder(engine::PurgeEnvironment& env, IndexFile& index, const std::string& folder,
                      const platform::DirEntry& sub) {
  platform::FileSystem& files = env.platform.files;
  engine::DeletionEngine& deletion = env.deletion;
  std::string reported = UpperCase(JoinPath(folder, sub.name));
  std::optional<std::string> name = platform::ReachableName(sub);
  if (!name) {
    HistoryFailure(env, engine::error_code::kInvalidName, reported);
    return;
  }
  std::string path = JoinPath(folder, *name);
  engine::SubFolder entered = deletion.EnterSubFolder(path, sub.attributes);
  if (!entered.held && !entered.link) return;
  if (entered.held) {
    std::string indexFile = path + "\\INDEX.DAT";
    if (files.FileExists(indexFile)) {
      ++deletion.ItemsProcessed;
      env.UpdateProgress(10);
      if (deletion.DeleteOrShredFile(indexFile, ""))
        HistorySuccess(env, reported + "\\INDEX.DAT");
      else
        HistoryFailure(env, deletion.LastDeleteError, reported + "\\INDEX.DAT");
    }
    if (files.FileExists(indexFile)) {
      env.Line("       Index.dat is present  - " + sub.name);
      if (env.settings.ieVersionMajor >= 5) {
        std::string message;
        if (index.ResetIndexFile(indexFile, 'D', message)) {
          env.Line("       Cleared Daily History - " + sub.name);
        } else {
          env.Line("*** " + message);
          env.RaiseError(3);
        }
      }
      return;
    }
    entered.held.reset();
  }
  if (entered.link ? files.RemoveFolderLink(path) : files.RemoveFolder(path))
    HistorySuccess(env, reported);
  else
    HistoryFailure(env, files.LastError(), reported);
}

void HistoryFolder(engine::PurgeEnvironment& env, IndexFile& index, const std::string& folder) {
  engine::PurgeRoot root = env.deletion.OpenRoot(folder, engine::RootUse::Empty);
  if (!root) return;
  std::vector<platform::DirEntry> subs;
  env.deletion.ListHeldFolder(root.path, "*", [&](const platform::DirEntry& entry) {
    if (env.CancelNoted()) return false;
    if (entry.IsDirectory()) subs.push_back(entry);
    return true;
  });
  if (env.Cancelled()) return;
  for (const platform::DirEntry& sub : subs) {
    if (env.CancelNoted()) return;
    HistorySubFolder(env, index, root.path, sub);
  }
}

}  // namespace

void IEHistoryFoldersPurge(engine::PurgeEnvironment& env) {
  const locations::IELocations& ie = env.located.ie;
  env.deletion.ItemsProcessed = 0;
  if (env.Preview()) {
    env.Line("  \"I.E. History Folders\" Function bypassed for Preview.");
    return;
  }
  PurgeIndex index(env);
  for (const std::string& folder : {ie.IEHistoryFolder, ie.LowHistoryFolder})
    if (!env.Cancelled() && !folder.empty() && env.platform.files.FolderExists(folder))
      HistoryFolder(env, index.file, folder);
  if (env.settings.allHist) {
    int32_t processed = env.deletion.ItemsProcessed;
    env.Line(processed >= 1 ? "  Purge " + std::to_string(processed) + " History Folders Processed."
                            : "    No History Folders found to delete.");
  }
  env.WriteCompletion("  \"I.E. History Folders\"");
}

void IEUserDataPurge(engine::PurgeEnvironment& env) {
  const locations::IELocations& ie = env.located.ie;
  engine::DeletionEngine& deletion = env.deletion;
  deletion.ItemsProcessed = 0;
  if (!env.TempProtectReadable()) return;
  if (ie.IEUserDataFound && !ie.IEUserDataFolder.empty())
    deletion.DeleteFolderContents(ie.IEUserDataFolder, "*.*", false);
  env.WriteCompletion({.function = "  \"I.E. UserData\"",
                       .one = " \"I.E. UserData\" Files/Directories Processed.",
                       .noneFound = "    No \"I.E. UserData\" found to delete."},
                      deletion.ItemsProcessed);
}

}  // namespace tidemark::ie
