#include "ie/index_format.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>

#include "platform/text.h"

namespace tidemark::ie {
namespace {

static_assert(std::endian::native == std::endian::little, "the index is little-endian like its hosts");

constexpr size_t kSignatureLength = 27, kPrefixLength = 24;
constexpr uint64_t kBlock = 128;
constexpr uint64_t kFirstBlock = 0x4000;  // blocks are counted from here; the header ends here
constexpr uint64_t kTableSize = 4096;
constexpr uint64_t kFirstEntry = 16;
constexpr uint64_t kLastEntry = 3592;
constexpr uint64_t kEntrySize = 8;
constexpr uint32_t kFreePattern = 0x0BADF00D;
constexpr uint32_t kMinAllocated = 32;

// Header fields.
constexpr uint64_t kHashTableField = 0x20;
constexpr uint64_t kAllocatedBlocks = 0x28;
constexpr uint64_t kResetArea = 0x34;
constexpr uint64_t kCacheSize = 0x38;
constexpr uint64_t kSubDirCount = 0x48;
constexpr uint64_t kSubDirs = 0x4C;
constexpr uint64_t kSubDirSize = 12;
constexpr uint64_t kLeakHead = 0x224;
constexpr uint64_t kBitmap = 0x250;
// Sub-directory entries past this many would overlap the leak chain head.
constexpr uint32_t kMaxSubDirs = (kLeakHead - kSubDirs) / kSubDirSize;

// Record fields.
constexpr uint64_t kBlocksField = 0x04;
constexpr uint64_t kLastAccessField = 0x10;
constexpr uint64_t kFileSizeField = 0x20;
constexpr uint64_t kLeakNextField = 0x2C;
constexpr uint64_t kUrlField = 0x34;
constexpr uint64_t kSubDirField = 0x38;
constexpr uint64_t kFileNameField = 0x3C;
constexpr uint64_t kFlagsField = 0x40;
constexpr uint64_t kUseCountField = 0x54;
constexpr uint64_t kRecordFields = 0x58;

constexpr const char* kUrlTag = "URL ";

}  // namespace

IndexEditor::IndexEditor(std::span<uint8_t> view, std::string folder) : view_(view), folder_(std::move(folder)) {}

// Reading and writing -------------------------------------------------------

bool IndexEditor::Has(uint64_t offset, uint64_t length) const {
  return offset <= view_.size() && length <= view_.size() - offset;
}

uint32_t IndexEditor::Raw32(uint64_t offset) const {
  uint32_t value;
  std::memcpy(&value, view_.data() + offset, 4);
  return value;
}

uint32_t IndexEditor::Get32(uint64_t offset) {
  if (Has(offset, 4)) return Raw32(offset);
  corrupt_ = true;
  return 0;
}

std::string IndexEditor::Tag(uint64_t offset) {
  if (!Has(offset, 4)) {
    corrupt_ = true;
    return {};
  }
  return UpperCase(std::string_view(reinterpret_cast<const char*>(view_.data() + offset), 4));
}

void IndexEditor::Put(uint64_t offset, const void* bytes, uint64_t length) {
  if (!Has(offset, length)) {
    corrupt_ = true;
    return;
  }
  if (std::memcmp(view_.data() + offset, bytes, length) == 0) return;
  std::memcpy(view_.data() + offset, bytes, length);
  modified_ = true;
}

void IndexEditor::Zero(uint64_t offset, uint64_t length) {
  static const uint8_t zeros[kBlock] = {};
  for (uint64_t done = 0; done < length && !corrupt_; done += kBlock)
    Put(offset + done, zeros, std::min(kBlock, length - done));
}

bool IndexEditor::SignatureIntact() const {
  return Has(0, kSignatureLength) && std::memcmp(view_.data(), kIndexSignature, kSignatureLength) == 0;
}

// The signature of another version of the format.
bool IndexEditor::OtherVersion() const {
  return Has(0, kPrefixLength) && std::memcmp(view_.data(), kIndexSignaturePrefix, kPrefixLength) == 0;
}

// Checks and the hash-chain walk --------------------------------------------

int IndexEditor::Check() {
  if (!SignatureIntact()) return OtherVersion() ? kIndexUnsupported : kIndexCorrupted;
  if (!Has(kHashTableField, 4)) return kIndexCorrupted;
  hashTable_ = Raw32(kHashTableField);
  if (hashTable_ == 0) return kIndexNotInitialized;
  if (!IsTable(hashTable_)) return kIndexBadHashPointer;
  Chain chain = ReadChain();
  if (chain.circular) return kIndexCorrupted;
  SetTables(std::move(chain.tables));
  subDirs_ = std::min<uint32_t>(view_[kSubDirCount], kMaxSubDirs);
  ready_ = true;
  ReadReferenced();
  Restart();
  return kIndexOk;
}

// Tables are only ever added to the chain: the links the walk knows must
// stand, and a new last link brings the tables after it in.
void IndexEditor::Revalidate() {
  if (!ready_ || corrupt_) return;
  bool intact = Raw32(kHashTableField) == hashTable_ && IsTable(tables_[cursor_.table]);
  for (size_t i = 0; intact && i + 1 < tables_.size(); ++i) intact = Raw32(tables_[i] + 8) == tables_[i + 1];
  if (!intact) {
    corrupt_ = true;
    return;
  }
  if (Raw32(tables_.back() + 8) == 0) return;
  Chain chain = ReadChain();
  if (chain.circular || chain.tables.size() < tables_.size()) {
    corrupt_ = true;
    return;
  }
  SetTables(std::move(chain.tables));
}

IndexEditor::Chain IndexEditor::ReadChain() const {
  Chain chain;
  for (uint64_t table = hashTable_; IsTable(table); table = Raw32(table + 8)) {
    // More tables than the view holds: the links run in a circle.
    if (chain.tables.size() >= view_.size() / kTableSize) {
      chain.circular = true;
      return chain;
    }
    chain.tables.push_back(table);
    chain.complete = Raw32(table + 8) == 0;
  }
  return chain;
}

void IndexEditor::SetTables(std::vector<uint64_t> tables) {
  tables_ = std::move(tables);
  sortedTables_ = tables_;
  std::sort(sortedTables_.begin(), sortedTables_.end());
}

// A hash table lies wholly inside the view (not just starts there).
bool IndexEditor::IsTable(uint64_t offset) const {
  return offset >= kFirstBlock && offset % kTableSize == 0 && Has(offset, kTableSize) &&
         UpperCase(std::string_view(reinterpret_cast<const char*>(view_.data() + offset), 4)) == "HASH";
}

bool IndexEditor::IsChainTable(uint64_t offset) const {
  return std::binary_search(sortedTables_.begin(), sortedTables_.end(), offset);
}

bool IndexEditor::InRecordRange(uint64_t offset) const {
  return offset >= hashTable_ + kTableSize && offset < view_.size();
}

bool IndexEditor::EntryInUse(uint64_t entry) const {
  uint8_t low = view_[entry];
  return low != 1 && low != 3;
}

void IndexEditor::ReadReferenced() {
  referenced_.clear();
  for (Cursor cursor = Start(); NextRecordEntry(cursor);) referenced_.insert(RecordAt(cursor));
}

void IndexEditor::Restart() {
  cursor_ = Start();
  current_ = 0;
}

IndexEditor::Cursor IndexEditor::Start() const { return {0, kFirstEntry - kEntrySize, !ready_}; }

bool IndexEditor::NextEntryInUse(Cursor& cursor) {
  while (!cursor.done && !corrupt_) {
    cursor.entry += kEntrySize;
    if (cursor.entry > kLastEntry) {
      if (cursor.table + 1 >= tables_.size()) break;
      ++cursor.table;
      cursor.entry = kFirstEntry;
    }
    if (EntryInUse(EntryAt(cursor))) return true;
  }
  cursor.done = true;
  return false;
}

bool IndexEditor::NextRecordEntry(Cursor& cursor) {
  while (NextEntryInUse(cursor))
    if (InRecordRange(RecordAt(cursor))) return true;
  return false;
}

bool IndexEditor::NextUrlEntry() {
  current_ = 0;
  while (NextRecordEntry(cursor_)) {
    uint64_t record = RecordAt(cursor_);
    if (Tag(record) == kUrlTag) {
      current_ = record;
      return true;
    }
  }
  return false;
}

bool IndexEditor::NextUrlRecord() { return NextUrlEntry() && Parse(current_); }

uint64_t IndexEditor::TablesFingerprint() const {
  uint64_t hash = 0xCBF29CE484222325;  // FNV-1a
  for (uint64_t table : tables_)
    for (uint64_t at = table; at < table + kTableSize; ++at) hash = (hash ^ view_[at]) * 0x100000001B3;
  return hash;
}

// Parsing -------------------------------------------------------------------

std::optional<std::string> IndexEditor::TextAt(uint64_t record, uint64_t size, uint64_t field) const {
  int32_t offset = static_cast<int32_t>(Raw32(record + field));
  if (offset <= 0 || uint64_t(offset) >= size) return std::nullopt;
  uint64_t start = record + offset;
  if (start >= view_.size()) return std::nullopt;
  uint64_t end = std::min<uint64_t>(record + size, view_.size());
  const char* text = reinterpret_cast<const char*>(view_.data() + start);
  return std::string(text, strnlen(text, end - start));
}

// A name that keeps a path inside its folder.
bool IndexEditor::SafeName(std::string_view name) {
  return name != "." && name != ".." && name.find_first_of(std::string_view("\\/:\0", 4)) == std::string_view::npos;
}

bool IndexEditor::Parse(uint64_t record) {
  if (!Has(record, kRecordFields)) {
    corrupt_ = true;
    return false;
  }
  uint64_t size = view_[record + kBlocksField] * kBlock;
  record_ = {};
  record_.Url = TextAt(record, size, kUrlField).value_or("URL - blank..");
  record_.UseCount = static_cast<uint16_t>(Raw32(record + kUseCountField));
  record_.Flags = Raw32(record + kFlagsField);
  record_.FileSize = Raw32(record + kFileSizeField);
  record_.LastAccess = Raw32(record + kLastAccessField) | uint64_t(Raw32(record + kLastAccessField + 4)) << 32;
  record_.SubDirIndex = view_[record + kSubDirField];
  std::string name = TextAt(record, size, kFileNameField).value_or("");
  if (name.empty()) return true;
  if (!SafeName(name)) {
    corrupt_ = true;
    return false;
  }
  if (record_.SubDirIndex < subDirs_) {
    std::string subDir(reinterpret_cast<const char*>(view_.data() + kSubDirs + kSubDirSize * record_.SubDirIndex + 4), 8);
    if (!SafeName(subDir)) {
      corrupt_ = true;
      return false;
    }
    name = subDir + "\\" + name;
  }
  record_.CachedFilePath = UpperCase(folder_ + "\\" + name);
  return true;
}

// Deleting ------------------------------------------------------------------

bool IndexEditor::DeleteCurrentRecord(CachedFileRemover& remover, const IndexOptions& options) {
  lastDeleteError_ = 0;
  uint64_t record = current_;
  if (!record || corrupt_) return false;
  // The mutex may have been released since the walk: the entry must still
  // name this record, and the record the URL the walk read.
  uint64_t entry = EntryAt(cursor_);
  std::string walkedUrl = record_.Url;
  if (!EntryInUse(entry) || Raw32(entry + 4) != record || Tag(record) != kUrlTag || !Parse(record) ||
      record_.Url != walkedUrl)
    return false;
  // The blocks must be wipeable before the file goes.
  if (!RecordLength(record)) {
    corrupt_ = true;
    return false;
  }
  const std::string& path = record_.CachedFilePath;
  if (!path.empty() && !options.KeepFiles && !remover.Remove(path)) {
    lastDeleteError_ = remover.LastError();
    return false;
  }
  uint64_t bytes = record_.FileSize;
  uint32_t cluster = options.IE7 ? 0 : remover.ClusterSize(folder_);
  if (cluster) bytes = (bytes + cluster - 1) / cluster * cluster;
  int64_t cacheSize;
  std::memcpy(&cacheSize, view_.data() + kCacheSize, 8);
  cacheSize = cacheSize <= int64_t(bytes) ? 0 : cacheSize - int64_t(bytes);
  Put(kCacheSize, &cacheSize, 8);
  if (record_.SubDirIndex < subDirs_) {
    uint64_t count = kSubDirs + kSubDirSize * record_.SubDirIndex;
    int32_t files = static_cast<int32_t>(Raw32(count));
    if (files > 0) Put32(count, files - 1);
  }
  Wipe(record);
  FreeEntry(entry);
  current_ = 0;
  return true;
}

bool IndexEditor::DeleteRecordByUrl(const std::string& url, CachedFileRemover& remover, const IndexOptions& options) {
  for (Restart(); NextUrlRecord();)
    if (record_.Url == url) return DeleteCurrentRecord(remover, options);
  return false;
}

// The bytes from the record to the end of its blocks; none when its block
// count cannot be read or is 0, or its blocks leave the view or reach a hash
// table or another record a hash entry names.
std::optional<uint64_t> IndexEditor::RecordLength(uint64_t record) const {
  if (record < hashTable_ + kTableSize || !Has(record, kBlocksField + 1)) return std::nullopt;
  uint64_t length = view_[record + kBlocksField] * kBlock;
  if (length == 0 || !Has(record, length)) return std::nullopt;
  auto table = std::lower_bound(sortedTables_.begin(), sortedTables_.end(), record + length);
  if (table != sortedTables_.begin() && *std::prev(table) + kTableSize > record) return std::nullopt;
  auto other = referenced_.upper_bound(record);
  if (other != referenced_.end() && *other < record + length) return std::nullopt;
  return length;
}

bool IndexEditor::Wipe(uint64_t record) {
  std::optional<uint64_t> length = RecordLength(record);
  if (!length) {
    corrupt_ = true;
    return false;
  }
  for (uint64_t block = record; block < record + *length; block += kBlock) WipeBlock(block);
  referenced_.erase(record);
  return true;
}

void IndexEditor::WipeBlock(uint64_t block) {
  FillFree(block);
  FreeBlock(block);
}

void IndexEditor::FillFree(uint64_t block) {
  static const auto pattern = [] {
    std::array<uint32_t, kBlock / 4> words;
    words.fill(kFreePattern);
    return words;
  }();
  Put(block, pattern.data(), kBlock);
}

void IndexEditor::FreeBlock(uint64_t block) {
  uint64_t byte = kBitmap + (block - kFirstBlock) / 1024;
  uint8_t bit = uint8_t(1u << ((block - kFirstBlock) % 1024 / kBlock));
  // Blocks past the bitmap's reach are not tracked.
  if (byte >= kFirstBlock || !(view_[byte] & bit)) return;
  uint8_t cleared = view_[byte] & ~bit;
  Put(byte, &cleared, 1);
  uint32_t allocated = Raw32(kAllocatedBlocks);
  if (allocated > kMinAllocated) Put32(kAllocatedBlocks, allocated - 1);
}

void IndexEditor::FreeEntry(uint64_t entry) {
  Put32(entry, 1);
  Put32(entry + 4, 0);
}

// Sweeps --------------------------------------------------------------------

bool IndexEditor::SweepLeaksAndRedirects(bool allLeaks) {
  if (!ready_) return false;
  ReadReferenced();
  bool ok = true, deleted = false;
  // A wiped record no longer reads "LEAK", so the chain cannot lead back to it.
  for (uint64_t leak = Raw32(kLeakHead); !corrupt_ && leak > 0 && Has(leak, 4) && Tag(leak) == "LEAK";) {
    if (!Has(leak, kRecordFields)) {
      ok = false;
      break;
    }
    uint64_t next = Raw32(leak + kLeakNextField);
    if (!Wipe(leak)) break;
    deleted = true;
    leak = next;
  }
  if (deleted) Put32(kLeakHead, 0);

  for (Cursor cursor = Start(); NextEntryInUse(cursor);) {
    uint64_t entry = EntryAt(cursor), record = RecordAt(cursor);
    if (record == 3) {
      Put32(entry, 3);
      continue;
    }
    if (!InRecordRange(record) || IsChainTable(record)) continue;  // a hash table is never a record
    std::string tag = Tag(record);
    if (corrupt_ || tag == kUrlTag) continue;
    if (Raw32(record) == kFreePattern) {
      FreeEntry(entry);
    } else if (tag == "REDR" || tag == "LEAK" || allLeaks) {
      if (Wipe(record)) FreeEntry(entry);
    }
  }
  return ok && !corrupt_;
}

std::vector<uint64_t> IndexEditor::LeakChain() {
  std::vector<uint64_t> chain;
  for (uint64_t leak = Raw32(kLeakHead); !corrupt_ && leak > 0 && Has(leak, 4) && Tag(leak) == "LEAK";) {
    if (chain.size() > view_.size() / kBlock) {
      corrupt_ = true;  // the chain runs in a circle
      break;
    }
    chain.push_back(leak);
    leak = Get32(leak + kLeakNextField);
  }
  std::sort(chain.begin(), chain.end());
  return chain;
}

void IndexEditor::RemoveOrphanRecords() {
  if (!ready_) return;
  ReadReferenced();
  std::vector<uint64_t> leaks = LeakChain();

  for (uint64_t offset = hashTable_; !corrupt_ && Has(offset, kBlock);) {
    if (IsChainTable(offset)) {
      offset += kTableSize;
      continue;
    }
    if (Raw32(offset) == kFreePattern) {
      offset += kBlock;
      continue;
    }
    std::string tag = Tag(offset);
    bool kept = referenced_.count(offset) || std::binary_search(leaks.begin(), leaks.end(), offset);
    if (kept || tag == kUrlTag || tag == "REDR" || tag == "LEAK") {
      std::optional<uint64_t> length = RecordLength(offset);
      if (!length || (!kept && !Wipe(offset))) {
        corrupt_ = true;  // the scan could not step over it
        break;
      }
      offset += *length;
    } else if (auto other = referenced_.upper_bound(offset); other != referenced_.end() && *other < offset + kBlock) {
      corrupt_ = true;  // a record begins inside the block
      break;
    } else {
      WipeBlock(offset);
      offset += kBlock;
    }
  }
}

// Reset ---------------------------------------------------------------------

bool IndexEditor::Reset(char kind, std::string& message) {
  message = "Error Modifying file";
  if (!SignatureIntact()) {
    message = OtherVersion() ? "Error - version of Index.dat not supported" : "Error - Index.dat is corrupted";
    return false;
  }
  if (!Has(0, kFirstBlock)) {
    message = "Error - Index.dat is corrupted";
    return false;
  }
  if (kind != 'C' && kind != 'D' && kind != 'T' && kind != 'V') return false;
  // The whole chain is checked before anything is written.
  hashTable_ = Raw32(kHashTableField);
  Chain chain = ReadChain();
  if (hashTable_ != 0 && (!chain.complete || chain.circular)) return false;
  SetTables(std::move(chain.tables));
  for (uint64_t table : tables_) {
    for (uint64_t entry = table + kFirstEntry; entry <= table + kLastEntry; entry += kEntrySize) {
      if (EntryInUse(entry)) Put32(entry, 1);
      Put32(entry + 4, 0);
    }
  }

  // Without a hash table (an index never initialised) the wipe starts at the first block.
  for (uint64_t offset = std::max(hashTable_ + kTableSize, kFirstBlock); Has(offset, kBlock);) {
    if (IsChainTable(offset)) {
      offset += kTableSize;
      continue;
    }
    const uint8_t* block = view_.data() + offset;
    bool zero = std::all_of(block, block + kBlock, [](uint8_t b) { return b == 0; });
    bool free = true;
    for (uint64_t word = 0; word < kBlock && free; word += 4) free = Raw32(offset + word) == kFreePattern;
    if (!zero && !free) FillFree(offset);
    offset += kBlock;
  }

  if (kind != 'C') Zero(kAllocatedBlocks + 1, 7);
  if (hashTable_ != 0) {
    uint64_t from = kind == 'T' ? kBitmap : kResetArea;
    Zero(from, hashTable_ - from);
    RebuildBitmap();
  } else if (kind == 'C' || kind == 'T') {
    Zero(kLeakHead, 4);
    Zero(kCacheSize, 4);
  }
  if (kind == 'T') {
    uint32_t count = std::min(Raw32(kSubDirCount), kMaxSubDirs);
    for (uint32_t i = 0; i < count; ++i) Zero(kSubDirs + kSubDirSize * i, 4);
  }
  message = "Processed with no Errors...";
  return true;
}

void IndexEditor::RebuildBitmap() {
  uint32_t count = 0;
  auto mark = [&](uint64_t area) {
    uint64_t word = kBitmap + (area - kFirstBlock) / 1024;
    if (word + 4 > kFirstBlock || Raw32(word) == ~0u) return;  // past the bitmap, or marked already
    Put32(word, ~0u);
    count += 32;
  };
  for (uint64_t table : tables_) mark(table);
  if (hashTable_ > kFirstBlock) mark(kFirstBlock);
  Put32(kAllocatedBlocks, count);
}

}  // namespace tidemark::ie
