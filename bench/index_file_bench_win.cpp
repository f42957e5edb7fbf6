// URL cache index: walk, Preview (walk and parse every record, one report
// line each) and purge (delete every record) of indexes of 10,000 and
// 100,000 records, against Debian's msiecfexport listing the same file in
// the same run. msiecfexport is a Linux program: under Wine it is started
// through its Unix path, timed by bash itself.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "bench_support_win.h"
#include "cookies/user_messages.h"
#include "ie/index_file.h"
#include "platform/shared_memory.h"
#include "support/index_builder.h"

namespace {

using namespace tidemark;
using bench::Median;

std::string Slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Seconds msiecfexport takes to list the file; nothing outside Wine.
std::optional<double> Msiecfexport(const std::string& path, const std::string& scratch) {
  using UnixName = char*(CDECL*)(const WCHAR*);
  auto unixName = reinterpret_cast<UnixName>(
      reinterpret_cast<void (*)()>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
  if (!unixName) return std::nullopt;
  std::wstring wide(path.begin(), path.end());
  char* unixPath = unixName(wide.c_str());
  // Wine hands a Unix process its standard output only.
  std::string command = "\"\\\\?\\unix\\bin\\bash\" -c \"TIMEFORMAT=%R; { time msiecfexport '" +
                        std::string(unixPath) + "' >/dev/null; } 2>&1; echo done\"";
  HeapFree(GetProcessHeap(), 0, unixPath);
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  HANDLE out = CreateFileA(scratch.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS, 0, nullptr);
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdOutput = startup.hStdError = out;
  PROCESS_INFORMATION process{};
  bool started = CreateProcessA(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &process);
  CloseHandle(out);
  if (!started) return std::nullopt;
  // A Unix process gives no handle to wait on: wait for its last line.
  std::string text;
  for (int waited = 0; waited < 120000 && text.find("done") == std::string::npos; waited += 20) {
    Sleep(20);
    text = Slurp(scratch);
  }
  double seconds = 0;
  return std::sscanf(text.c_str(), "%lf", &seconds) == 1 ? std::optional(seconds) : std::nullopt;
}

class NoMessages : public cookies::UserMessages {
 public:
  void Show(const std::string&, const std::string&) override {}
};

class NoFiles : public ie::CachedFileRemover {
 public:
  bool Remove(const std::string&) override { return true; }
  uint32_t LastError() const override { return 0; }
  uint32_t ClusterSize(const std::string&) override { return 0; }
};

struct Figures {
  double exported = 0, walk = 0, preview = 0, purge = 0;
};

Figures Measure(int records) {
  test::IndexBuilder builder;
  for (const char* dir : {"AAAAAAAA", "BBBBBBBB", "CCCCCCCC", "DDDDDDDD"}) builder.SubDir(dir, 0);
  for (int i = 0; i < records; ++i)
    builder.Add({.url = "http://e.x/" + std::to_string(i), .file = std::to_string(i) + ".htm",
                 .subDir = uint8_t(i % 4), .fileSize = 1000, .textAt = 0x58});
  std::vector<uint8_t> bytes = builder.Finish();
  std::string folder = bench::ScratchFolder("tidemark-index-" + std::to_string(records) + "-");
  std::string path = folder + "\\index.dat", scratch = folder + "\\export.txt";
  // Written through to the disk, so that a purge's flush writes only its own changes.
  auto write = [&] {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written;
    WriteFile(file, bytes.data(), DWORD(bytes.size()), &written, nullptr);
    FlushFileBuffers(file);
    CloseHandle(file);
  };
  write();

  Figures f;
  std::vector<double> exports;
  for (int run = 0; run < 3; ++run) exports.push_back(Msiecfexport(path, scratch).value_or(0));
  std::sort(exports.begin(), exports.end());
  f.exported = exports[1];

  auto& memory = platform::RealSharedMemory();
  NoFiles files;
  NoMessages messages;
  f.walk = Median(3, [] {}, [&] {
    auto view = memory.MapFile(path, "tidemark-bench");
    ie::IndexEditor editor({view->data, bytes.size()}, folder);
    int found = 0;
    if (editor.Check() == ie::kIndexOk)
      while (editor.NextUrlEntry()) ++found;
    memory.UnmapView(*view);
    if (found != records) std::printf("the walk found %d records\n", found);
  });
  f.preview = Median(3, [] {}, [&] {
    ie::IndexFile index(memory, {{'T', folder}}, files, messages, {});
    std::vector<std::string> lines;
    if (index.OpenIndexFile(folder, 'T'))
      while (index.NextUrlRecord()) lines.push_back("     to delete - " + index.Record().Url);
    if (lines.size() != size_t(records)) std::printf("Preview listed %zu records\n", lines.size());
  });
  // As the IE purges run it: the mutex held for the walk and taken again for each entry.
  f.purge = Median(3, write, [&] {
    ie::IndexFile index(memory, {{'T', folder}}, files, messages, {.KeepFiles = true});
    if (!index.OpenIndexFile(folder, 'T')) return;
    index.LockIndex();
    while (index.NextUrlRecord()) {
      index.LockIndex();
      index.DeleteCurrentRecord();
      index.UnlockIndex();
    }
    index.SweepLeaksAndRedirects();
    index.RemoveOrphanRecords();
    index.UnlockIndex();
    index.CloseIndexFile();
  });
  DeleteFileA(path.c_str());
  DeleteFileA(scratch.c_str());
  RemoveDirectoryA(folder.c_str());
  return f;
}

}  // namespace

int main() {
  Figures small = Measure(10000), large = Measure(100000);
  std::printf("%-9s %13s %9s %9s %9s\n", "records", "msiecfexport", "walk", "Preview", "purge");
  for (auto [n, f] : {std::pair{10000, small}, std::pair{100000, large}})
    std::printf("%-9d %12.3fs %8.4fs %8.4fs %8.4fs\n", n, f.exported, f.walk, f.preview, f.purge);
  if (large.exported > 0)
    std::printf("Preview / msiecfexport: %.3f at 10,000 records, %.3f at 100,000 (target: at most 2)\n",
                small.preview / small.exported, large.preview / large.exported);
  std::printf("growth from 10,000 to 100,000 records (linear: 10): walk %.1f, Preview %.1f, purge %.1f\n",
              large.walk / small.walk, large.preview / small.preview, large.purge / small.purge);
  return large.exported > 0 && large.preview > 2 * large.exported ? 1 : 0;
}
