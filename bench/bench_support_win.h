// What the benchmarks share: a clock, scratch trees, a headless purge
// environment and the median of repeated runs.
#pragma once
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "engine/purge_environment.h"
#include "platform/text.h"
#include "support/memory_report.h"

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

// A purge environment with the real Windows operations and an in-memory report.
class Purge {
 public:
  Purge() { state.flags.detailReport = true; }
  engine::PurgeEnvironment& Environment() {
    environment_.reset();
    report.sink.lines.clear();
    engine::PurgeResources resources{
        {platform::RealFileSystem(), platform::RealRegistry(), platform::RealShell(), platform::RealWindowList(),
         platform::RealClipboard(), platform::ShellPathMatcher()},
        {shellFolders, ie, firefox, tempFolders},
        settings,
        protect,
        shred,
        0};
    environment_ = std::make_unique<engine::PurgeEnvironment>(report.report, state, resources);
    return *environment_;
  }

  test::MemoryReport report;
  engine::PurgeState state;
  engine::PurgeSettings settings;
  locations::ShellFolderPaths shellFolders;
  locations::IELocations ie;
  locations::FirefoxLocations firefox;
  locations::TempFolders tempFolders;
  cookies::TempProtectList protect;
  engine::ShredState shred;

 private:
  std::unique_ptr<engine::PurgeEnvironment> environment_;
};

}  // namespace tidemark::bench
