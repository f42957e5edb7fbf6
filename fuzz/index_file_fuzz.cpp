// The URL cache index editor over arbitrary bytes: open and walk, delete every
// URL record, both sweeps, and the reset of each kind. Besides the sanitizers'
// checks (the view is an exact allocation, so ASan sees any access outside
// it), every run checks what the operations promise.
#include <algorithm>
#include <cstdio>
#include <string>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "fuzz_require.h"
#include "ie/index_format.h"

namespace {

using tidemark::ie::IndexEditor;
using Bytes = std::vector<uint8_t>;

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

size_t UrlRecords(IndexEditor& editor) {
  size_t found = 0;
  for (editor.Restart(); editor.NextUrlRecord();) ++found;
  return found;
}

// The header up to the allocated-block count is never written.
bool HeaderKept(const Bytes& before, const Bytes& after) {
  return std::memcmp(before.data(), after.data(), std::min<size_t>(before.size(), 0x28)) == 0;
}

void Edit(const Bytes& input) {
  // The stored file size (0x1C) is never read: its bytes pick the switches.
  uint8_t switches = input.size() > 0x1D ? input[0x1C] : 0, failures = input.size() > 0x1D ? input[0x1D] : 0;
  Bytes bytes = input;
  IndexEditor editor(bytes, "C:\\CACHE");
  if (editor.Check() != tidemark::ie::kIndexOk) {
    Require(bytes == input, "a failed check writes nothing");
    return;
  }
  Require(UrlRecords(editor) <= bytes.size() / 4096 * 448, "a walk visits each hash entry at most once");
  Remover remover(failures);
  bool allDeleted = true;
  for (editor.Restart(); editor.NextUrlRecord();)
    allDeleted &= editor.DeleteCurrentRecord(remover, {.KeepFiles = bool(switches & 1), .IE7 = bool(switches & 2)});
  if (allDeleted && !editor.Corrupt()) Require(UrlRecords(editor) == 0, "no URL record after deleting them all");
  editor.SweepLeaksAndRedirects(switches & 4);
  editor.RemoveOrphanRecords();
  Require(HeaderKept(input, bytes), "header kept");
  Require(editor.Modified() || bytes == input, "every change is noted");
}

void Reset(const Bytes& input, char kind) {
  Bytes bytes = input;
  std::string message;
  if (!IndexEditor(bytes, {}).Reset(kind, message)) {
    Require(bytes == input, "a failed reset writes nothing");
    return;
  }
  Require(HeaderKept(input, bytes), "header kept by the reset");
  IndexEditor after(bytes, "C:\\CACHE");
  if (after.Check() == tidemark::ie::kIndexOk) Require(UrlRecords(after) == 0, "no URL record after a reset");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Bytes input(data, data + size);
  Edit(input);
  Reset(input, "CDTV"[size % 4]);
  return 0;
}
