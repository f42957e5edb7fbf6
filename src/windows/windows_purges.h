// The Windows purges: the temp folders, the recent-document links, the
// Recycle Bin and the clipboard. Each is the body of its purge function.
#pragma once
#include <string>

#include "engine/purge_environment.h"

namespace tidemark::windows {

// Empties the selected temp folders (their contents; the folders stay).
void TempFoldersPurge(engine::PurgeEnvironment& env);

// The located Recent folder's links, or an error line when it was not found.
void RecentLinksBody(engine::PurgeEnvironment& env);
// Deletes every shortcut (".LNK") at the top of folder; nothing else.
void RecentLinksPurge(engine::PurgeEnvironment& env, const std::string& folder);

// Empties the Recycle Bin of every drive.
void RecycleBinPurge(engine::PurgeEnvironment& env);

// Empties the clipboard.
void ClipboardPurge(engine::PurgeEnvironment& env);

}  // namespace tidemark::windows
