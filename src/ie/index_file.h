// Record access to Internet Explorer's URL cache indexes, shared with a
// running browser: the index is mapped in place under the browser's own
// mutex and mapping names, walked and edited (index_format.h), and closed
// again; plus the reset of a whole index file. Failures set the index error
// code and message.
#pragma once
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>

#include "cookies/user_messages.h"
#include "ie/index_format.h"
#include "locations/ie_locations.h"
#include "platform/shared_memory.h"

namespace tidemark::ie {

// Kind letters: C cookies, T cache, V visited URLs, U UserData, M DOM store;
// lower case for the Protected Mode copies. The name used in messages
// ("Cookies", "Pro-Mode Cache", ...); empty for another letter.
std::string KindName(char kind);

// The index folder of each kind letter.
using IndexFolders = std::map<char, std::string>;
IndexFolders IndexFoldersOf(const locations::IELocations& locations);

// The object names the browser uses for the index file at path.
struct IndexNames {
  std::string mutex;    // the folder with its backslash, "\" as "!", lower case
  std::string mapping;  // the path with "\" as "_", then "_" and the size
  uint64_t size = 0;    // the file size, kept as the size of the view
};
IndexNames IndexNamesOf(const std::string& path, uint64_t size);

// "Error - " + kind + " Index.dat is corrupted" and the like.
std::string IndexErrorMessage(int code, const std::string& kindName);

class IndexFile {
 public:
  IndexFile(platform::SharedMemory& memory, IndexFolders folders, CachedFileRemover& remover,
            cookies::UserMessages& messages, IndexOptions options);
  ~IndexFile();
  IndexFile(const IndexFile&) = delete;
  IndexFile& operator=(const IndexFile&) = delete;

  // The names of the ten kinds, computed once (on the first open otherwise).
  void PrepareIndexNames();
  // Opens record access on folder\index.dat; the same path again only
  // restarts the walk, another path closes the open one first.
  bool OpenIndexFile(const std::string& folder, char kind);
  // Checks the signature (error 99 with a message box when overwritten),
  // then flushes and unmaps under the mutex.
  void CloseIndexFile();

  bool NextUrlRecord();
  // The walk starts again before the first hash entry.
  void RestartWalk();
  // Visits the URL records in turn, each under the mutex taken for it alone
  // (the browser goes on between two), until visit answers false or an error
  // ends the walk; false when the mutex could not be taken.
  bool ForEachUrlRecord(const std::function<bool()>& visit);
  const UrlRecordInfo& Record() const;
  // With the cached file; LastDeleteError() is the Windows code of a failed
  // file deletion, 0 when none failed.
  bool DeleteCurrentRecord();
  uint32_t LastDeleteError() const { return lastDeleteError_; }
  bool DeleteRecordByUrl(const std::string& url);
  // Changes whenever the open index's hash tables change.
  uint64_t TablesFingerprint() const;
  bool SweepLeaksAndRedirects();
  void RemoveOrphanRecords();

  // Empties the index file at path (kind 'C', 'D', 'T' or 'V') under its own
  // mapping and mutex; message tells the outcome.
  bool ResetIndexFile(const std::string& path, char kind, std::string& message);

  // The open index's mutex. Waits nest; each is paired with one UnlockIndex.
  // Taking it re-reads the hash chain the browser may have grown meanwhile.
  // LastWait() tells how the last wait that reached the mutex ended.
  bool LockIndex();
  void UnlockIndex();
  platform::WaitStatus LastWait() const { return lastWait_; }

  int ErrorCode() const { return error_; }
  const std::string& ErrorMessage() const { return message_; }
  const std::string& MutexMessage() const { return mutexMessage_; }

 private:
  struct Mapping {
    platform::MappedView view;
    platform::ObjectHandle mutex = nullptr;
  };
  struct OpenIndex {
    std::string path;
    char kind;
    Mapping mapping;
    IndexEditor editor;
  };

  std::optional<Mapping> Map(const std::string& path, const IndexNames& names);
  bool Fail(int code, char kind);
  bool Checked(bool result);

  std::optional<platform::ObjectHandle> CreateIndexMutex(const std::string& name);
  bool LockIndex(platform::ObjectHandle mutex);
  void UnlockIndex(platform::ObjectHandle mutex);
  void CloseIndexMutex(platform::ObjectHandle mutex);

  platform::SharedMemory& memory_;
  IndexFolders folders_;
  CachedFileRemover& remover_;
  cookies::UserMessages& messages_;
  IndexOptions options_;
  std::optional<std::map<char, IndexNames>> names_;
  std::optional<OpenIndex> open_;
  int error_ = 0;
  std::string message_;
  std::string mutexMessage_;
  int held_ = 0;  // nested waits on the open index's mutex
  platform::WaitStatus lastWait_ = platform::WaitStatus::Acquired;
  uint32_t lastDeleteError_ = 0;
};

// The open index's mutex for one scope, when it could be taken.
class IndexLock {
 public:
  explicit IndexLock(IndexFile& index) : index_(index), held_(index.LockIndex()) {}
  IndexLock(const IndexLock&) = delete;
  IndexLock& operator=(const IndexLock&) = delete;
  ~IndexLock() {
    if (held_) index_.UnlockIndex();
  }
  bool held() const { return held_; }

 private:
  IndexFile& index_;
  const bool held_;
};

}  // namespace tidemark::ie
