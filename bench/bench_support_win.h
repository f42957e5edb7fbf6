// What the benchmarks share: a clock, scratch folders and trees, and the
// median of repeated runs. Purges run in the tests' headless environment (test::PurgeFixture).
#pragma once
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "platform/text.h"
#include "support/purge_fixture_win.h"

namespace tidemark::bench {

inline double Seconds() {
  static LARGE_INTEGER frequency = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return f;
  }();
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// The median time of runs of work, each after its own unmeasured prepare.
inline double Median(int runs, const std::function<void()>& prepare, const std::function<void()>& work) {
  std::vector<double> times;
  for (int i = 0; i < runs; ++i) {
    prepare();
    double start = Seconds();
    work();
    times.push_back(Seconds() - start);
  }
  std::sort(times.begin(), times.end());
  return times[times.size() / 2];
}

// A scratch folder below the temp folder, removed at the end.
inline std::string ScratchFolder(const std::string& name) {
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  std::string path = JoinPath(TrimRight(temp), name + std::to_string(GetCurrentProcessId()));
  while (!path.empty() && path.back() == '\\') path.pop_back();
  CreateDirectoryA(path.c_str(), nullptr);
  return path;
}

// files small files, 100 to a folder, in folders two levels deep (1,000
// files to an outer folder).
inline void MakeTree(const std::string& root, int files) {
  CreateDirectoryA(root.c_str(), nullptr);
  for (int i = 0; i < files; ++i) {
    std::string outer = root + "\\outer" + std::to_string(i / 1000);
    std::string inner = outer + "\\inner" + std::to_string(i / 100);
    if (i % 1000 == 0) CreateDirectoryA(outer.c_str(), nullptr);
    if (i % 100 == 0) CreateDirectoryA(inner.c_str(), nullptr);
    std::string path = inner + "\\file" + std::to_string(i) + ".tmp";
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written;
    WriteFile(file, "scratch data", 12, &written, nullptr);
    CloseHandle(file);
  }
}

}  // namespace tidemark::bench
