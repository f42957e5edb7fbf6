// Builds Internet Explorer URL cache index files ("Client UrlCache MMF Ver 5.2") from the format's tables, for tests,
// fuzz seeds and benchmarks.
#pragma once
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace tidemark::test {

inline uint32_t Get32(const std::vector<uint8_t>& b, size_t at) {
  return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | uint32_t(b[at + 3]) << 24;
}
inline uint64_t Get64(const std::vector<uint8_t>& b, size_t at) {
  return Get32(b, at) | uint64_t(Get32(b, at + 4)) << 32;
}
inline void Put32(std::vector<uint8_t>& b, size_t at, uint32_t v) { std::memcpy(&b[at], &v, 4); }

struct IndexRecord {
  std::string tag = "URL ";
  std::string url;
  std::string file;  // cached file name, empty for none
  uint8_t subDir = 0;
  uint32_t fileSize = 0;
  uint32_t flags = 0;
  uint64_t lastAccess = 0x01D0DF25EE8B1260;
  bool hashed = true;    // gets a hash entry
  uint32_t textAt = 0x68;  // where the URL text begins
};

class IndexBuilder {
 public:
  static constexpr uint32_t kBlock = 128, kTable = 4096, kEntries = 448;

  IndexBuilder() {
    bytes.assign(lastTable_ + 2 * kTable, 0);
    std::memcpy(bytes.data(), "Client UrlCache MMF Ver 5.2", 28);
    Put32(bytes, 0x20, lastTable_);
    InitTable(lastTable_);
    next_ = lastTable_ + kTable;
  }

  void SubDir(const std::string& name8, uint32_t files) {
    uint32_t count = Get32(bytes, 0x48);
    Put32(bytes, 0x4C + 12 * count, files);
    std::memcpy(&bytes[0x4C + 12 * count + 4], name8.data(), 8);
    Put32(bytes, 0x48, count + 1);
  }

  // Appends the record at the next free blocks (with a hash entry unless unhashed) and answers its offset.
  uint32_t Add(const IndexRecord& r) {
    bool redirect = r.tag == "REDR";
    uint32_t urlAt = redirect ? 0x10 : r.textAt;
    uint32_t fileAt = urlAt + uint32_t(r.url.size()) + 1;
    uint32_t blocks = (fileAt + uint32_t(r.file.size()) + 1 + kBlock - 1) / kBlock;
    uint32_t at = Allocate(blocks);
    std::memcpy(&bytes[at], r.tag.data(), 4);
    Put32(bytes, at + 4, blocks);
    std::memcpy(&bytes[at + urlAt], r.url.c_str(), r.url.size() + 1);
    if (!redirect) {
      Put32(bytes, at + 0x10, uint32_t(r.lastAccess));
      Put32(bytes, at + 0x14, uint32_t(r.lastAccess >> 32));
      Put32(bytes, at + 0x20, r.fileSize);
      Put32(bytes, at + 0x34, urlAt);
      bytes[at + 0x38] = r.subDir;
      Put32(bytes, at + 0x3C, r.file.empty() ? 0 : fileAt);
      Put32(bytes, at + 0x40, r.flags);
      if (!r.file.empty()) std::memcpy(&bytes[at + fileAt], r.file.c_str(), r.file.size() + 1);
    }
    if (r.hashed) Entry(0x1000 * ++records_ | 0x80, at);
    return at;
  }

  // A hash entry in the first unused slot of the last table (a new table when full).
  void Entry(uint32_t hash, uint32_t record) {
    if (slot_ == kEntries) {
      uint32_t table = Allocate(kTable / kBlock, kTable);
      Put32(bytes, lastTable_ + 8, table);
      InitTable(lastTable_ = table);
    }
    Put32(bytes, lastTable_ + 16 + 8 * slot_, hash);
    Put32(bytes, lastTable_ + 20 + 8 * slot_++, record);
  }

  // The finished file (a multiple of 16 KiB), with its sizes and allocated-block count filled in.
  std::vector<uint8_t> Finish() {
    bytes.resize((next_ + 0x3FFF) / 0x4000 * 0x4000);
    Put32(bytes, 0x1C, uint32_t(bytes.size()));
    Put32(bytes, 0x24, uint32_t(bytes.size() - 0x4000) / kBlock);
    Put32(bytes, 0x28, allocated_);
    return bytes;
  }

  std::vector<uint8_t> bytes;

 private:
  void InitTable(uint32_t at) {
    std::memcpy(&bytes[at], "HASH", 4);
    Put32(bytes, at + 4, kTable / kBlock);
    for (uint32_t i = 0; i < kEntries; ++i) {
      Put32(bytes, at + 16 + 8 * i, 3);
      Put32(bytes, at + 20 + 8 * i, 3);
    }
    Mark(at, kTable / kBlock);
    slot_ = 0;
  }

  uint32_t Allocate(uint32_t blocks, uint32_t align = kBlock) {
    uint32_t at = (next_ + align - 1) / align * align;
    next_ = at + blocks * kBlock;
    if (bytes.size() < next_) bytes.resize(std::max<size_t>(next_, bytes.size() * 2));
    if (align == kBlock) Mark(at, blocks);
    return at;
  }

  // Marks the blocks allocated in the bitmap, where it reaches.
  void Mark(uint32_t at, uint32_t blocks) {
    for (uint32_t b = 0; b < blocks; ++b) {
      uint32_t block = at + b * kBlock - 0x4000, byte = 0x250 + block / 1024;
      if (byte >= 0x4000) continue;
      bytes[byte] |= uint8_t(1 << (block % 1024 / kBlock));
      ++allocated_;
    }
  }

  uint32_t lastTable_ = 0x5000, next_ = 0, slot_ = 0, records_ = 0, allocated_ = 0;
};

}  // namespace tidemark::test
