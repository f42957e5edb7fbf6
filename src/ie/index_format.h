// Internet Explorer's URL cache index ("index.dat", "Client UrlCache MMF Ver
// 5.2") as a byte view: the header and hash-chain checks, the walk over URL
// records, their parsing, and the edits (record deletion, the leak and orphan
// sweeps, the reset). Every read and write is checked against the view; a
// damaged index sets Corrupt() and ends the operation without writing there.
#pragma once
#include <cstdint>
#include <optional>
#include <set>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tidemark::ie {

inline constexpr const char* kIndexSignature = "Client UrlCache MMF Ver 5.2";
inline constexpr const char* kIndexSignaturePrefix = "Client UrlCache MMF Ver ";

// Index error codes; codes below 13 are silent.
enum IndexError : int {
  kIndexOk = 0,
  kIndexNotFound = 11,
  kIndexNotInitialized = 12,
  kIndexCorrupted = 13,
  kIndexUnopenable = 22,
  kIndexUnsupported = 91,
  kIndexBadHashPointer = 93,
  kIndexSignatureOverlaid = 99,
};

// The current URL record.
struct UrlRecordInfo {
  std::string Url;             // "URL - blank.." when the record has none
  std::string CachedFilePath;  // upper case; empty without a file name
  uint16_t UseCount = 0;
  uint32_t Flags = 0;
  uint32_t FileSize = 0;
  uint64_t LastAccess = 0;  // FILETIME (UTC) as one number
  uint8_t SubDirIndex = 0;
};

// What a record deletion needs from the file deletion (plain or shredded).
class CachedFileRemover {
 public:
  virtual ~CachedFileRemover() = default;
  // True when the file is gone; otherwise LastError() holds the Windows code.
  virtual bool Remove(const std::string& path) = 0;
  virtual uint32_t LastError() const = 0;
  // Cluster size of the volume holding path; 0 when unknown.
  virtual uint32_t ClusterSize(const std::string& path) = 0;
};

// Run switches that change the edits.
struct IndexOptions {
  bool KeepFiles = false;  // "KeepFiles": records go, cached files stay
  bool IE7 = false;        // IE 7 or later, or "IE7": no cluster rounding of the cache size
  bool AllLeaks = false;   // "ALLLEAKS": the leak sweep also deletes records of unknown kinds
};

// Record access on one mapped index. A block is a hash table only when it is
// one of the chain's checked tables, and a record's span may reach neither a
// table nor another record a hash entry names: anything else is damage.
class IndexEditor {
 public:
  // folder: the index's folder in upper case; cached-file paths begin with it.
  IndexEditor(std::span<uint8_t> view, std::string folder);

  // kIndexOk when the view holds a usable index, else 12, 13, 91 or 93.
  // Required before any other call.
  int Check();
  // After the browser had the index (its mutex was released): the hash chain
  // is read again and must still begin with the tables the walk knows.
  void Revalidate();
  // The walk starts again before the first hash entry.
  void Restart();
  // Advances to the next URL record; NextUrlRecord also parses it into Record().
  bool NextUrlEntry();
  bool NextUrlRecord();
  const UrlRecordInfo& Record() const { return record_; }
  // Deletes the current record with its cached file, provided its hash entry
  // still names it and it still holds the URL the walk read. A failed file
  // deletion leaves the record as it is, with the Windows code in LastDeleteError().
  bool DeleteCurrentRecord(CachedFileRemover& remover, const IndexOptions& options);
  uint32_t LastDeleteError() const { return lastDeleteError_; }
  // Deletes the first URL record whose URL is url (case-sensitive).
  bool DeleteRecordByUrl(const std::string& url, CachedFileRemover& remover, const IndexOptions& options);
  bool SweepLeaksAndRedirects(bool allLeaks);
  void RemoveOrphanRecords();
  // Empties the whole index (kind 'C', 'D', 'T' or 'V'; no Check() needed);
  // message tells the outcome.
  bool Reset(char kind, std::string& message);

  // Changes whenever the hash tables change (an entry added, freed or moved).
  uint64_t TablesFingerprint() const;

  // The first 27 bytes still read "Client UrlCache MMF Ver 5.2".
  bool SignatureIntact() const;
  // An operation met damage and ended; every later one ends at once.
  bool Corrupt() const { return corrupt_; }
  // Some byte of the view was changed.
  bool Modified() const { return modified_; }

 private:
  struct Cursor {
    size_t table = 0;    // index into tables_
    uint64_t entry = 0;  // offset within the table
    bool done = false;
  };
  // The hash tables from the header's first one, up to a link that names no
  // table; circular when the links run in a circle.
  struct Chain {
    std::vector<uint64_t> tables;
    bool complete = false;  // ended with a 0 link
    bool circular = false;
  };

  bool OtherVersion() const;
  Chain ReadChain() const;
  void SetTables(std::vector<uint64_t> tables);
  bool IsTable(uint64_t offset) const;
  bool IsChainTable(uint64_t offset) const;
  Cursor Start() const;
  bool NextEntryInUse(Cursor& cursor);
  bool NextRecordEntry(Cursor& cursor);
  uint64_t EntryAt(const Cursor& cursor) const { return tables_[cursor.table] + cursor.entry; }
  uint32_t RecordAt(const Cursor& cursor) const { return Raw32(EntryAt(cursor) + 4); }
  bool EntryInUse(uint64_t entry) const;
  void ReadReferenced();
  bool InRecordRange(uint64_t offset) const;
  bool Parse(uint64_t record);
  std::optional<std::string> TextAt(uint64_t record, uint64_t size, uint64_t field) const;
  static bool SafeName(std::string_view name);
  std::optional<uint64_t> RecordLength(uint64_t record) const;
  bool Wipe(uint64_t record);
  void WipeBlock(uint64_t block);
  void FillFree(uint64_t block);
  void FreeBlock(uint64_t block);
  void FreeEntry(uint64_t entry);
  std::vector<uint64_t> LeakChain();
  void RebuildBitmap();

  bool Has(uint64_t offset, uint64_t length) const;
  uint32_t Raw32(uint64_t offset) const;  // callers check the bounds
  uint32_t Get32(uint64_t offset);
  std::string Tag(uint64_t offset);
  void Put(uint64_t offset, const void* bytes, uint64_t length);
  void Put32(uint64_t offset, uint32_t value) { Put(offset, &value, 4); }
  void Zero(uint64_t offset, uint64_t length);

  std::span<uint8_t> view_;
  std::string folder_;
  uint64_t hashTable_ = 0;
  std::vector<uint64_t> tables_;        // the chain, in its order
  std::vector<uint64_t> sortedTables_;  // the same, by offset
  // The records the hash entries named when the index was checked or swept,
  // less those freed since.
  std::set<uint64_t> referenced_;
  uint32_t subDirs_ = 0;
  bool ready_ = false;  // Check() passed
  Cursor cursor_;
  uint64_t current_ = 0;  // offset of the current record, 0 when none
  UrlRecordInfo record_;
  uint32_t lastDeleteError_ = 0;
  bool corrupt_ = false;
  bool modified_ = false;
};

}  // namespace tidemark::ie
