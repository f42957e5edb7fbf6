// The URL cache index editor: open and walk, delete every URL record, both
// sweeps, and the reset of each kind. An input that begins with the index
// signature is taken as an index file (the public samples and their
// mutations); any other input is a program that builds a valid index (hash
// chain, records of every kind, leak chain, sub-directories) and then damages
// it with pokes aimed at its records, tables and end, so that every operation
// runs on every input. Besides the sanitizers' checks (the view is an exact
// allocation, so ASan sees any access outside it), every run checks what the
// operations promise.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "fuzz_require.h"
#include "ie/index_format.h"
#include "support/index_builder.h"

namespace {

using tidemark::ie::IndexEditor;
using tidemark::test::IndexBuilder;
using tidemark::test::IndexRecord;
using Bytes = std::vector<uint8_t>;

constexpr uint32_t kFreePattern = 0x0BADF00D;

// folder\name or folder\sub-directory\name.
bool InsideTheCache(const std::string& path) {
  const std::string folder = "C:\\CACHE\\";
  if (path.rfind(folder, 0) != 0) return false;
  size_t parts = 0;
  for (size_t at = folder.size(), end; at <= path.size(); at = end + 1, ++parts) {
    end = std::min(path.find('\\', at), path.size());
    std::string part = path.substr(at, end - at);
    if (part.empty() || part == "." || part == ".." || part.find_first_of(":/") != std::string::npos) return false;
  }
  return parts <= 2;
}

// Fails the deletions that the input's pattern picks.
class Remover : public tidemark::ie::CachedFileRemover {
 public:
  explicit Remover(uint8_t failures) : failures_(failures) {}
  bool Remove(const std::string& path) override {
    Require(InsideTheCache(path), "cached files lie in the cache folder");
    return !(failures_ >> (calls_++ % 8) & 1);
  }
  uint32_t LastError() const override { return 32; }
  uint32_t ClusterSize(const std::string&) override { return 4096; }

 private:
  uint8_t failures_;
  unsigned calls_ = 0;
};

using UrlList = std::multiset<std::pair<std::string, std::string>>;

UrlList Urls(IndexEditor& editor) {
  UrlList urls;
  for (editor.Restart(); editor.NextUrlRecord();) urls.emplace(editor.Record().Url, editor.Record().CachedFilePath);
  return urls;
}

uint32_t Word(const Bytes& b, uint64_t at) { return at + 4 <= b.size() ? tidemark::test::Get32(b, at) : 0; }

// The hash tables the header's chain reaches, followed as plainly as possible.
std::set<uint64_t> ChainTables(const Bytes& b) {
  std::set<uint64_t> tables;
  for (uint64_t t = Word(b, 0x20); t >= 0x4000 && t % 4096 == 0 && t + 4096 <= b.size() && !tables.count(t);
       t = Word(b, t + 8)) {
    std::string tag(b.begin() + t, b.begin() + t + 4);
    std::transform(tag.begin(), tag.end(), tag.begin(), ::toupper);
    if (tag != "HASH") break;
    tables.insert(t);
  }
  return tables;
}

struct Switches {
  bool keepFiles, ie7, allLeaks;
  uint8_t failures;
  char resetKind;
};

void Edit(const Bytes& input, const Switches& s) {
  Bytes bytes = input;
  IndexEditor editor(bytes, "C:\\CACHE");
  if (editor.Check() != tidemark::ie::kIndexOk) {
    Require(bytes == input, "a failed check writes nothing");
    return;
  }
  const UrlList before = Urls(editor);
  Require(before.size() <= bytes.size() / 4096 * 448, "a walk visits each hash entry at most once");
  Remover remover(s.failures);
  // Records whose deletion failed, and those deleted (two hash entries may name one record).
  UrlList kept, deleted;
  for (editor.Restart(); editor.NextUrlRecord();) {
    auto record = std::pair(editor.Record().Url, editor.Record().CachedFilePath);
    (editor.DeleteCurrentRecord(remover, {.KeepFiles = s.keepFiles, .IE7 = s.ie7}) ? deleted : kept).insert(record);
  }
  if (kept.empty() && !editor.Corrupt()) Require(Urls(editor).empty(), "no URL record after deleting them all");
  editor.SweepLeaksAndRedirects(s.allLeaks);
  editor.RemoveOrphanRecords();
  Require(std::memcmp(input.data(), bytes.data(), 0x28) == 0, "header kept");
  Require(editor.Modified() || bytes == input, "every change is noted");
  if (editor.Corrupt()) return;
  UrlList after = Urls(editor);
  Require(std::includes(before.begin(), before.end(), after.begin(), after.end()), "no URL record appears");
  for (const auto& record : kept)
    Require(after.count(record) || deleted.count(record), "a record whose deletion failed stays whole");
}

void Reset(const Bytes& input, char kind) {
  Bytes bytes = input;
  std::string message;
  if (!IndexEditor(bytes, {}).Reset(kind, message)) {
    Require(bytes == input, "a failed reset writes nothing");
    return;
  }
  Require(std::memcmp(input.data(), bytes.data(), 0x28) == 0, "header kept by the reset");
  std::set<uint64_t> tables = ChainTables(bytes);
  uint64_t from = tables.empty() ? 0x4000 : Word(bytes, 0x20);  // the blocks before the first table are not its
  for (uint64_t at = from; at + 128 <= bytes.size(); at += 128) {
    if (tables.count(at / 4096 * 4096)) continue;
    bool zero = std::all_of(&bytes[at], &bytes[at + 128], [](uint8_t b) { return b == 0; });
    bool free = true;
    for (uint64_t word = at; word < at + 128 && free; word += 4) free = Word(bytes, word) == kFreePattern;
    Require(zero || free, "the reset leaves no block but the chain's tables unwiped");
  }
}

// The structured index: records of the kinds the format has, then pokes.
Bytes BuildIndex(FuzzedDataProvider& in) {
  IndexBuilder builder;
  std::vector<uint32_t> records, leaks;
  const char* const tags[] = {"URL ", "REDR", "LEAK", "HASH", "hash", "JUNK"};
  const char* const names[] = {"", "page[1].htm", "a.gif", "..", "x\\y", "c:z", "long name with blanks.txt"};
  for (int step = 0, steps = in.ConsumeIntegralInRange(0, 24); step < steps; ++step) {
    switch (in.ConsumeIntegralInRange(0, 3)) {
      case 0:
        builder.SubDir(in.ConsumeBytesAsString(8).append(8, 'S').substr(0, 8), in.ConsumeIntegral<uint8_t>());
        break;
      case 1:
        builder.Entry(in.ConsumeIntegral<uint32_t>(), records.empty() ? 0 : records.back() + in.ConsumeIntegral<uint8_t>());
        break;
      default: {
        IndexRecord r;
        r.tag = tags[in.ConsumeIntegralInRange<size_t>(0, std::size(tags) - 1)];
        r.url = "http://" + std::string(in.ConsumeIntegralInRange(0, 400), 'u') + in.ConsumeRandomLengthString(24);
        r.file = names[in.ConsumeIntegralInRange<size_t>(0, std::size(names) - 1)];
        r.subDir = in.ConsumeIntegralInRange(0, 4);
        r.fileSize = in.ConsumeIntegral<uint16_t>();
        r.hashed = r.tag != "LEAK" && in.ConsumeBool();
        uint32_t at = builder.Add(r);
        (r.tag == "LEAK" ? leaks : records).push_back(at);
      }
    }
  }
  Bytes bytes = builder.Finish();
  // The leak chain, in the order the records were added.
  for (uint32_t link = 0x224; uint32_t leak : leaks) {
    tidemark::test::Put32(bytes, link, leak);
    link = leak + 0x2C;
  }
  // Damage: words aimed at the records' fields, the first table's entries and
  // link, the header, and records that straddle the file's end.
  records.insert(records.end(), leaks.begin(), leaks.end());
  auto pick = [&](const auto& list) { return list[in.ConsumeIntegralInRange<size_t>(0, std::size(list) - 1)]; };
  auto record = [&] { return records.empty() ? 0x6000u : pick(records); };
  auto value = [&]() -> uint32_t {
    switch (in.ConsumeIntegralInRange(0, 4)) {
      case 0: return record() + in.ConsumeIntegralInRange(0, 2) * 128;
      case 1: return uint32_t(bytes.size() - in.ConsumeIntegralInRange(1, 8));
      case 2: return in.ConsumeIntegralInRange(0, 8);
      case 3: return kFreePattern;
      default: return in.ConsumeIntegral<uint32_t>();
    }
  };
  auto put = [&](uint64_t at, uint32_t word) {
    if (at >= 0x28 && at < bytes.size()) std::memcpy(&bytes[at], &word, std::min<uint64_t>(4, bytes.size() - at));
  };
  auto entry = [&](uint32_t named) {
    uint64_t at = 0x5010 + 8 * in.ConsumeIntegralInRange(0, 447);
    put(at, in.ConsumeBool() ? 0x80 : in.ConsumeIntegralInRange(0, 3));
    put(at + 4, named);
  };
  const uint64_t fields[] = {0x00, 0x04, 0x20, 0x2C, 0x34, 0x38, 0x3C};
  const uint64_t header[] = {0x20, 0x28, 0x38, 0x48, 0x224, 0x5008};
  while (in.remaining_bytes() > 0) {
    switch (in.ConsumeIntegralInRange(0, 4)) {
      case 0: put(record() + pick(fields), in.ConsumeBool() ? value() : in.ConsumeIntegral<uint8_t>()); break;
      case 1: entry(value()); break;
      case 2: {
        uint32_t at = uint32_t(bytes.size() - in.ConsumeIntegralInRange(1, 8)), tag;
        std::memcpy(&tag, pick(tags), 4);
        put(at, tag);
        entry(at);
        break;
      }
      case 3: put(pick(header), value()); break;
      default: put(0x6000 + in.ConsumeIntegralInRange<uint64_t>(0, bytes.size()), value()); break;
    }
  }
  return bytes;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::string signature = tidemark::ie::kIndexSignature;
  bool file = size >= signature.size() && std::memcmp(data, signature.data(), signature.size()) == 0;
  // A file's stored size (0x1C) is never read: its bytes pick the switches.
  FuzzedDataProvider in(data, size);
  uint8_t switches = file ? (size > 0x1C ? data[0x1C] : 0) : in.ConsumeIntegral<uint8_t>();
  uint8_t failures = file ? (size > 0x1D ? data[0x1D] : 0) : in.ConsumeIntegral<uint8_t>();
  Bytes index = file ? Bytes(data, data + size) : BuildIndex(in);
  Switches s{bool(switches & 1), bool(switches & 2), bool(switches & 4), failures, "CDTV"[switches >> 3 & 3]};
  Edit(index, s);
  Reset(index, s.resetKind);
  return 0;
}
