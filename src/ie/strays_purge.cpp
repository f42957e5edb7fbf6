// The strays: files in the IE store folders that no index entry names, and
// index entries whose file is gone.
#include <new>
#include <optional>
#include <set>
#include <unordered_map>
#include <vector>

#include "engine/labels.h"
#include "ie/ie_purges.h"
#include "ie/purge_index.h"
#include "platform/path_names.h"
#include "platform/text.h"

namespace tidemark::ie {
namespace {

using engine::ItemOutcome;

// The cached files the index names (upper case, no trailing "."), each with
// whether the folder scan found it.
using IndexEntryList = std::unordered_map<std::string, bool>;

std::string NamedFile(const UrlRecordInfo& record) {
  std::string path = record.CachedFilePath;
  if (!path.empty() && path.back() == '.') path.pop_back();
  return path;
}

class StraysRun {
 public:
  explicit StraysRun(engine::PurgeEnvironment& env) : env_(env), index_(env) {
    for (const auto& [letter, folder] : index_.folders)
      if (!folder.empty()) stores_.insert(UpperCase(folder));
  }

  // False when memory ran out: no further kind is scanned in this run.
  bool StraysForKind(int number);

 private:
  std::optional<IndexEntryList> BuildList(const PurgeKind& kind);
  bool ListEntries(IndexEntryList& entries);
  bool ScanFolder(const std::string& folder, bool recursive, IndexEntryList& entries);
  bool NamedNow(const std::string& reported, IndexEntryList& entries);
  bool Stray(const std::string& folder, const platform::DirEntry& entry, const std::string& reported,
             IndexEntryList& entries);
  void Purge(const std::string& folder, const platform::DirEntry& entry, const std::string& reported);
  void EntriesWithoutFiles(const std::string& folder, char letter, const IndexEntryList& entries);
  void IndexError(const std::string& message, const PurgeKind& kind);

  engine::PurgeEnvironment& env_;
  PurgeIndex index_;
  const PurgeKind* kind_ = nullptr;  // the kind being scanned
  uint64_t listedTables_ = 0;     // the index's hash tables when the list was made
  std::set<std::string> stores_;  // every store folder, upper case
  bool outOfMemory_ = false;
};

bool StraysRun::StraysForKind(int number) {
  const PurgeKind& kind = PurgeKindOf(number);
  kind_ = &kind;
  const char letter = kind.letter;
  const std::string& folder = index_.folders.at(letter);
  platform::FileSystem& files = env_.platform.files;
  if (folder.empty() || !files.FolderExists(folder) || !files.FileExists(folder + "\\Index.dat")) return true;
  IndexFile& index = index_.file;
  if (!index.OpenIndexFile(folder, letter)) {
    if (index.ErrorCode() >= kIndexCorrupted) IndexError(index.ErrorMessage(), kind);
    return true;
  }
  std::optional<IndexEntryList> entries = BuildList(kind);
  bool cookies = letter == 'C' || letter == 'c';
  engine::PurgeRoot root;
  if (entries) root = env_.deletion.OpenRoot(folder, engine::RootUse::Empty);
  if (root && ScanFolder(root.path, !cookies, *entries)) {
    EntriesWithoutFiles(folder, letter, *entries);
    if (!env_.Preview() && !env_.Cancelled()) {
      IndexLock lock(index);
      if (lock.held()) {
        index.SweepLeaksAndRedirects();
        index.RemoveOrphanRecords();
      }
    }
  }
  index.CloseIndexFile();
  if (entries && index.ErrorCode() >= kIndexCorrupted) IndexError(index.ErrorMessage(), kind);
  return !outOfMemory_;
}

// The entries, listed under the mutex; nothing after an error line, or when
// memory ran out (the index closed, the user told).
std::optional<IndexEntryList> StraysRun::BuildList(const PurgeKind& kind) {
  IndexFile& index = index_.file;
  try {
    IndexEntryList entries;
    {
      IndexLock lock(index);
      if (!lock.held()) {
        IndexError(index.MutexMessage(), kind);
        return std::nullopt;
      }
      ListEntries(entries);
    }
    if (index.ErrorCode() >= kIndexCorrupted) {
      IndexError(index.ErrorMessage(), kind);
      return std::nullopt;
    }
    return entries;
  } catch (const std::bad_alloc&) {
    index.CloseIndexFile();
    index_.messages.Show(cookies::kMessageCaption,
                         "Insufficient RAM to perform the \"Strays\" processing.\r\n"
                         "Try again after some Cache is purged.\r\nFunction Terminated.");
    env_.RaiseError(9);
    env_.state.lowMemory = true;
    outOfMemory_ = true;
    return std::nullopt;
  }
}

// Lists the files the index names, under the mutex the caller holds; the
// marks of files listed before are kept. False after an error.
bool StraysRun::ListEntries(IndexEntryList& entries) {
  IndexFile& index = index_.file;
  IndexEntryList listed;
  for (index.RestartWalk(); index.NextUrlRecord();) {
    std::string file = NamedFile(index.Record());
    if (file.empty()) continue;
    auto before = entries.find(file);
    listed.emplace(std::move(file), before != entries.end() && before->second);
  }
  entries = std::move(listed);
  listedTables_ = index.TablesFingerprint();
  return index.ErrorCode() == kIndexOk;
}

// Whether the index names the file now: the browser may have added it since
// the list was made. Asked under the mutex.
bool StraysRun::NamedNow(const std::string& reported, IndexEntryList& entries) {
  if (index_.file.TablesFingerprint() != listedTables_ && !ListEntries(entries)) return true;
  auto named = entries.find(reported);
  if (named == entries.end()) return false;
  named->second = true;
  return true;
}

// Marks the files the index names and purges the others; false when Cancel
// stopped it. Each folder is held while it is scanned; never enters a
// directory link, nor another store's folder.
bool StraysRun::ScanFolder(const std::string& folder, bool recursive, IndexEntryList& entries) {
  std::vector<platform::DirEntry> listed;
  bool cancelled = false;
  env_.deletion.ListHeldFolder(folder, "*", [&](const platform::DirEntry& entry) {
    cancelled = env_.CancelNoted();
    if (!cancelled) listed.push_back(entry);
    return !cancelled;
  });
  if (cancelled) return false;
  for (const platform::DirEntry& entry : listed) {
    if (entry.IsDirectory()) continue;
    std::string name = UpperCase(entry.name);
    if (name == "DESKTOP.INI" || name == "INDEX.DAT") continue;
    if (env_.CancelNoted()) return false;
    std::string reported = UpperCase(folder) + "\\" + name;
    if (auto named = entries.find(reported); named != entries.end())
      named->second = true;
    else if (!Stray(folder, entry, reported, entries))
      return false;
  }
  if (!recursive) return true;
  for (const platform::DirEntry& entry : listed) {
    std::optional<std::string> name = platform::ReachableName(entry);
    if (!name || !entry.IsDirectory()) continue;
    std::string sub = JoinPath(folder, *name);
    if (stores_.count(UpperCase(sub))) continue;
    engine::SubFolder entered = env_.deletion.EnterSubFolder(sub, entry.attributes);
    if (entered.held && !ScanFolder(sub, true, entries)) return false;
  }
  return true;
}

// Purges a file the list does not name unless the index names it by now,
// checked and purged under the mutex; false when the index could not be
// locked or read, which ends the scan.
bool StraysRun::Stray(const std::string& folder, const platform::DirEntry& entry, const std::string& reported,
                      IndexEntryList& entries) {
  IndexFile& index = index_.file;
  IndexLock lock(index);
  if (!lock.held()) {
    IndexError(index.MutexMessage(), *kind_);
    return false;
  }
  bool named = NamedNow(reported, entries);
  bool readable = index.ErrorCode() == kIndexOk;
  if (!named && readable) Purge(folder, entry, reported);
  return readable;
}

void StraysRun::Purge(const std::string& folder, const platform::DirEntry& entry, const std::string& reported) {
  engine::DeletionEngine& deletion = env_.deletion;
  ++deletion.ItemsProcessed;
  env_.UpdateProgress(10);
  std::optional<std::string> name = platform::ReachableName(entry);
  if (env_.Preview()) {
    env_.Item(ItemOutcome::Success, engine::kToDelete, reported);
  } else if (name && deletion.DeleteOrShredFile(JoinPath(folder, *name), "")) {
    env_.Item(ItemOutcome::Success, engine::kDeleted, reported);
  } else {
    uint32_t code = name ? deletion.LastDeleteError : engine::error_code::kInvalidName;
    std::string result = ResultCodeText(env_, code, ResultMode::Stray);
    env_.Line(result + reported);
    if (result != engine::kLocked) env_.RaiseError(0);
  }
}

// Removes the entries whose file the scan did not find, without touching any
// file: one that has come back since stays with its entry.
void StraysRun::EntriesWithoutFiles(const std::string& folder, char letter, const IndexEntryList& entries) {
  IndexFile& index = index_.file;
  if (!index.OpenIndexFile(folder, letter)) return;  // the walk starts again
  index_.remover.goneOnly = true;
  bool locked = index.ForEachUrlRecord([&] {
    auto named = entries.find(NamedFile(index.Record()));
    if (named == entries.end() || named->second) return true;
    if (env_.CancelNoted()) return false;
    std::string url = index.Record().Url;
    std::string result(engine::kToDelete);
    int level = 0;
    if (!env_.Preview()) {
      bool deleted = index.DeleteCurrentRecord();
      result = deleted ? engine::kDeleted : engine::kDeleteFailed;
      level = deleted ? 0 : 7;
    }
    ++env_.deletion.ItemsProcessed;
    env_.UpdateProgress(10);
    if (result == engine::kDeleteFailed) {
      env_.Line(result + url);
      env_.RaiseError(level);
    } else {
      env_.Item(ItemOutcome::Success, result, url);
    }
    return true;
  });
  if (!locked) IndexError(index.MutexMessage(), *kind_);
  index_.remover.goneOnly = false;
}

void StraysRun::IndexError(const std::string& message, const PurgeKind& kind) {
  env_.Line("*** " + message + " - " + kind.name);
  env_.RaiseError(7);
}

}  // namespace

void IEStraysPurge(engine::PurgeEnvironment& env) {
  env.deletion.ItemsProcessed = 0;
  StraysRun run(env);
  for (int kind : {1, 11, 2, 12, 4, 14, 5, 15})
    if (env.Cancelled() || !run.StraysForKind(kind)) break;
  env.WriteCompletion({.function = "  \"I.E. Strays\"",
                       .gap = " ",
                       .one = " Files/URLs Processed.",
                       .noneFound = "    No Strays found to delete.",
                       .noneTail = " "},
                      env.deletion.ItemsProcessed);
}

}  // namespace tidemark::ie
