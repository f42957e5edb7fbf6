// The IE cache purge of an index of 5,000 and 20,000 entries with their
// cached files (Detail report), against the deletion engine alone deleting
// the same files by the same paths. The index names cached files in upper
// case; under Wine a name whose case differs from the file's costs a scan of
// its folder (Windows has no such cost), so the store is written in upper
// case too.
#include <algorithm>
#include <cstdio>
#include <vector>

#include "bench_support_win.h"
#include "ie/ie_purges.h"
#include "support/index_builder.h"

namespace {

using namespace tidemark;

constexpr const char* kSubDirs[] = {"AAAAAAAA", "BBBBBBBB", "CCCCCCCC", "DDDDDDDD"};

std::string CachedFile(const std::string& cache, int i) {
  return cache + "\\" + kSubDirs[i % 4] + "\\" + std::to_string(i) + ".HTM";
}

// The index and its cached files.
void MakeStore(const std::string& cache, int entries) {
  test::IndexBuilder builder;
  for (const char* dir : kSubDirs) {
    builder.SubDir(dir, 0);
    CreateDirectoryA((cache + "\\" + dir).c_str(), nullptr);
  }
  for (int i = 0; i < entries; ++i) {
    builder.Add({.url = "http://e.x/" + std::to_string(i),
                 .file = std::to_string(i) + ".HTM",
                 .subDir = uint8_t(i % 4),
                 .fileSize = 12});
    HANDLE file = CreateFileA(CachedFile(cache, i).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written;
    WriteFile(file, "cached bytes", 12, &written, nullptr);
    CloseHandle(file);
  }
  std::vector<uint8_t> bytes = builder.Finish();
  HANDLE file = CreateFileA((cache + "\\index.dat").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  DWORD written;
  WriteFile(file, bytes.data(), DWORD(bytes.size()), &written, nullptr);
  CloseHandle(file);
}

}  // namespace

int main() {
  std::setvbuf(stdout, nullptr, _IONBF, 0);
  std::string root = bench::ScratchFolder("TM_IECACHE_BENCH");
  std::string cache = UpperCase(root + "\\Content.IE5");
  CreateDirectoryA(cache.c_str(), nullptr);
  test::PurgeFixture purge;
  purge.ie.IECacheFolder = cache;
  double ours[2], engine[2];
  std::string completion;
  const int sizes[] = {5000, 20000};
  for (int s = 0; s < 2; ++s) {
    int entries = sizes[s];
    // The two take turns, each first in half the rounds (A B, B A, B A, A B),
    // so that a busy machine or the disk's writing back slows each alike.
    std::vector<double> times[2];
    for (int round = 0; round < 4; ++round) {
      for (int turn = 0; turn < 2; ++turn) {
        int purging = (round == 1 || round == 2) ? 1 - turn : turn;
        MakeStore(cache, entries);
        purge.r.sink.lines.clear();
        engine::PurgeEnvironment& env = purge.Environment();
        double start = bench::Seconds();
        if (purging)
          ie::IECachePurge(env);
        else
          for (int i = 0; i < entries; ++i) env.deletion.PlainDeleteFile(UpperCase(CachedFile(cache, i)), "");
        times[purging].push_back(bench::Seconds() - start);
        if (purging) completion = purge.r.sink.lines.back();
      }
    }
    for (auto& t : times) std::sort(t.begin(), t.end());
    engine[s] = (times[0][1] + times[0][2]) / 2, ours[s] = (times[1][1] + times[1][2]) / 2;
    std::printf("%6d entries: cache purge %.3f s, deletion engine alone %.3f s, ratio %.2fx (%s)\n", entries, ours[s],
                engine[s], ours[s] / engine[s], completion.c_str());
  }
  std::printf("growth 5,000 -> 20,000 entries: cache purge %.2fx, deletion engine %.2fx (4.00x is linear)\n",
              ours[1] / ours[0], engine[1] / engine[0]);
  DeleteFileA((cache + "\\index.dat").c_str());
  for (const char* dir : kSubDirs) RemoveDirectoryA((cache + "\\" + dir).c_str());
  RemoveDirectoryA(cache.c_str());
  RemoveDirectoryA(root.c_str());
  return ours[1] / engine[1] > 1.3 ? 1 : 0;
}
