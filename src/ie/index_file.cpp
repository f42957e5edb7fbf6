#include "ie/index_file.h"

#include <algorithm>
#include <array>

#include "platform/text.h"

namespace tidemark::ie {
namespace {

struct Kind {
  char letter;
  const char* name;
};

constexpr std::array<Kind, 10> kKinds{{
    {'C', "Cookies"},
    {'T', "Cache"},
    {'V', "Visited URLs"},
    {'U', "UserData"},
    {'M', "DOMstore"},
    {'c', "Pro-Mode Cookies"},
    {'t', "Pro-Mode Cache"},
    {'v', "Pro-Mode Visited URLs"},
    {'u', "Pro-Mode UserData"},
    {'m', "Pro-Mode DOMstore"},
}};

const UrlRecordInfo kNoRecord;

// The view, no larger than the file was when its names were made.
std::span<uint8_t> Span(const platform::MappedView& view, uint64_t fileSize) {
  return {view.data, static_cast<size_t>(std::min<uint64_t>(view.size, fileSize))};
}

}  // namespace

std::string KindName(char kind) {
  for (const Kind& k : kKinds)
    if (k.letter == kind) return k.name;
  return {};
}

IndexFolders IndexFoldersOf(const locations::IELocations& l) {
  return {{'C', l.IECookiesFolder},  {'T', l.IECacheFolder},      {'V', l.IEHistoryFolder},
          {'U', l.IEUserDataFolder}, {'M', l.DomStoreFolder},     {'c', l.LowCookiesFolder},
          {'t', l.LowCacheFolder},   {'v', l.LowHistoryFolder},   {'u', l.LowUserDataFolder},
          {'m', l.LowDomStoreFolder}};
}

IndexNames IndexNamesOf(const std::string& path, uint64_t size) {
  IndexNames names;
  names.mutex = LowerCase(path.substr(0, path.rfind('\\') + 1));
  std::replace(names.mutex.begin(), names.mutex.end(), '\\', '!');
  names.mapping = path;
  std::replace(names.mapping.begin(), names.mapping.end(), '\\', '_');
  names.mapping += "_" + std::to_string(size);
  names.size = size;
  return names;
}

std::string IndexErrorMessage(int code, const std::string& kindName) {
  switch (code) {
    case kIndexNotFound: return "Error - " + kindName + " Index.dat file not found";
    case kIndexNotInitialized: return "Error - " + kindName + " Index.dat not yet initialized";
    case kIndexCorrupted: return "Error - " + kindName + " Index.dat is corrupted";
    case kIndexUnopenable: return "Error - Unable to open " + kindName + " Index.dat file";
    case kIndexUnsupported: return "Error - version of " + kindName + " Index.dat not supported";
    case kIndexBadHashPointer: return "Error - Invalid Hash Pointer in " + kindName + " Index.dat file";
    case kIndexSignatureOverlaid: return "Error - " + kindName + " Index.dat Signature overlayed";
    default: return {};
  }
}

IndexFile::IndexFile(platform::SharedMemory& memory, IndexFolders folders, CachedFileRemover& remover,
                     cookies::UserMessages& messages, IndexOptions options)
    : memory_(memory), folders_(std::move(folders)), remover_(remover), messages_(messages), options_(options) {}

IndexFile::~IndexFile() { CloseIndexFile(); }

void IndexFile::PrepareIndexNames() {
  names_.emplace();
  for (const auto& [kind, folder] : folders_) {
    std::string path = folder + "\\index.dat";
    auto size = folder.empty() ? std::nullopt : memory_.FileSize(path);
    (*names_)[kind] = size ? IndexNamesOf(path, *size) : IndexNames{};
  }
}

bool IndexFile::Fail(int code, char kind) {
  error_ = code;
  message_ = IndexErrorMessage(code, KindName(kind));
  return false;
}

// Damage found by the last operation ends it with the corruption error.
bool IndexFile::Checked(bool result) {
  if (!open_->editor.Corrupt()) return result;
  return Fail(kIndexCorrupted, open_->kind);
}

bool IndexFile::OpenIndexFile(const std::string& folder, char kind) {
  if (!names_) PrepareIndexNames();
  error_ = 0;
  message_.clear();
  std::string path = UpperCase(folder) + "\\index.dat";
  if (!memory_.FileSize(path)) return Fail(kIndexNotFound, kind);
  if (open_ && open_->path == path) {
    open_->kind = kind;
    open_->editor.Restart();
    return true;
  }
  CloseIndexFile();
  auto found = names_->find(kind);
  IndexNames names = found == names_->end() ? IndexNames{} : found->second;
  auto mapping = Map(path, names);
  if (!mapping) return Fail(kIndexUnopenable, kind);
  IndexEditor editor(Span(mapping->view, names.size), UpperCase(folder));
  if (int code = editor.Check()) {
    memory_.UnmapView(mapping->view);
    CloseIndexMutex(mapping->mutex);
    return Fail(code, kind);
  }
  open_.emplace(OpenIndex{path, kind, *mapping, std::move(editor)});
  return true;
}

// Maps the file under the mutex, which stays open for the index.
std::optional<IndexFile::Mapping> IndexFile::Map(const std::string& path, const IndexNames& names) {
  if (names.mapping.empty()) return std::nullopt;
  auto mutex = CreateIndexMutex(names.mutex);
  if (!mutex) return std::nullopt;
  if (!LockIndex(*mutex)) {
    CloseIndexMutex(*mutex);
    return std::nullopt;
  }
  auto view = memory_.MapFile(path, names.mapping);
  UnlockIndex(*mutex);
  if (!view) {
    CloseIndexMutex(*mutex);
    return std::nullopt;
  }
  return Mapping{*view, *mutex};
}

void IndexFile::CloseIndexFile() {
  if (!open_) return;
  if (!open_->editor.SignatureIntact()) {
    Fail(kIndexSignatureOverlaid, open_->kind);
    messages_.Show(cookies::kMessageCaption, message_ + "\r\n\r\nNotify the vendor\r\nFunction Terminated.");
  }
  LockIndex();
  memory_.FlushView(open_->mapping.view);
  memory_.UnmapView(open_->mapping.view);
  while (held_ > 0) UnlockIndex();  // with any the caller left
  CloseIndexMutex(open_->mapping.mutex);
  open_.reset();
}

bool IndexFile::NextUrlRecord() { return open_ && Checked(open_->editor.NextUrlRecord()); }

void IndexFile::RestartWalk() {
  if (open_) open_->editor.Restart();
}

bool IndexFile::ForEachUrlRecord(const std::function<bool()>& visit) {
  for (bool more = true; more;) {
    IndexLock lock(*this);
    if (!lock.held()) return false;
    more = NextUrlRecord() && visit() && error_ == kIndexOk;
  }
  return true;
}

const UrlRecordInfo& IndexFile::Record() const { return open_ ? open_->editor.Record() : kNoRecord; }

bool IndexFile::DeleteCurrentRecord() {
  lastDeleteError_ = 0;
  if (!open_) return false;
  bool deleted = open_->editor.DeleteCurrentRecord(remover_, options_);
  lastDeleteError_ = open_->editor.LastDeleteError();
  return Checked(deleted);
}

bool IndexFile::DeleteRecordByUrl(const std::string& url) {
  lastDeleteError_ = 0;
  if (!open_) return false;
  bool deleted = open_->editor.DeleteRecordByUrl(url, remover_, options_);
  lastDeleteError_ = open_->editor.LastDeleteError();
  return Checked(deleted);
}

uint64_t IndexFile::TablesFingerprint() const { return open_ ? open_->editor.TablesFingerprint() : 0; }

bool IndexFile::SweepLeaksAndRedirects() {
  return open_ && Checked(open_->editor.SweepLeaksAndRedirects(options_.AllLeaks));
}

void IndexFile::RemoveOrphanRecords() {
  if (!open_) return;
  open_->editor.RemoveOrphanRecords();
  Checked(true);
}

bool IndexFile::ResetIndexFile(const std::string& path, char kind, std::string& message) {
  auto size = memory_.FileSize(path);
  if (!size) {
    message = "Error - File does not exist - " + path;
    return false;
  }
  IndexNames names = IndexNamesOf(path, *size);
  auto view = memory_.MapFile(path, names.mapping);
  auto mutex = view ? CreateIndexMutex(names.mutex) : std::nullopt;
  if (!mutex || !LockIndex(*mutex)) {
    if (mutex) CloseIndexMutex(*mutex);
    if (view) memory_.UnmapView(*view);
    message = "Error - Error reading File  - " + path;
    return false;
  }
  IndexEditor editor(Span(*view, *size), {});
  bool reset = editor.Reset(kind, message);
  if (reset) memory_.FlushView(*view);
  memory_.UnmapView(*view);
  UnlockIndex(*mutex);
  CloseIndexMutex(*mutex);
  return reset;
}

// Mutexes -------------------------------------------------------------------

std::optional<platform::ObjectHandle> IndexFile::CreateIndexMutex(const std::string& name) {
  auto mutex = memory_.CreateNamedMutex(name);
  if (!mutex) mutexMessage_ = "Error - Creating Mutex for Index.dat file";
  return mutex;
}

// Waits nest: while this thread holds the mutex, further waits are only
// counted, and the last paired UnlockIndex releases it.
bool IndexFile::LockIndex() {
  if (!open_) {
    mutexMessage_ = "Error - Enq requires a Mutex for Index.dat file";
    return false;
  }
  if (held_ == 0) {
    if (!LockIndex(open_->mapping.mutex)) return false;
    open_->editor.Revalidate();
  }
  ++held_;
  return true;
}

// The wait has no time-out. An abandoned mutex is ours all the same (its
// owner ended without releasing it): waiting for it once more would take it
// twice and leave it held after the one paired release.
bool IndexFile::LockIndex(platform::ObjectHandle mutex) {
  lastWait_ = memory_.WaitMutex(mutex);
  if (lastWait_ == platform::WaitStatus::Acquired || lastWait_ == platform::WaitStatus::Abandoned) return true;
  mutexMessage_ = "Error - Enqueing Mutex for Index.dat file";
  return false;
}

void IndexFile::UnlockIndex() {
  if (open_ && held_ > 0 && --held_ == 0) UnlockIndex(open_->mapping.mutex);
}

void IndexFile::UnlockIndex(platform::ObjectHandle mutex) { memory_.ReleaseNamedMutex(mutex); }

void IndexFile::CloseIndexMutex(platform::ObjectHandle mutex) { memory_.CloseObject(mutex); }

}  // namespace tidemark::ie
