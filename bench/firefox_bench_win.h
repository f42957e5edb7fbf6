// What the browser database benchmarks share: a purge environment over the real
// Windows operations with a silent report, a scratch folder, and
// timing by the median of several rounds.
#pragma once
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "engine/purge_environment.h"
#include "platform/clipboard.h"
#include "platform/files.h"
#include "platform/path_match.h"
#include "platform/registry.h"
#include "platform/shell.h"
#include "platform/window_list.h"

namespace tidemark::bench {

// One purge's environment; fill `firefox` and `cookies`, then Environment().
class Purge {
 public:
  engine::PurgeEnvironment& Environment() {
    engine::PurgeResources resources{
        {platform::RealFileSystem(), platform::RealRegistry(), platform::RealShell(), platform::RealWindowList(),
         platform::RealClipboard(), platform::ShellPathMatcher()},
        {shellFolders, ie, firefox, tempFolders, chromium},
        {},
        tempProtect,
        "",
        shred,
        0,
        cookies};
    environment_ = std::make_unique<engine::PurgeEnvironment>(silent.report, state, resources);
    return *environment_;
  }

  engine::SilentReport silent;
  engine::PurgeState state;
  locations::ShellFolderPaths shellFolders;
  locations::IELocations ie;
  locations::FirefoxLocations firefox;
  locations::TempFolders tempFolders;
  std::vector<locations::ChromiumBrowser> chromium;
  cookies::TempProtectList tempProtect;
  engine::ShredState shred;
  engine::CookiePurgeResources cookies;

 private:
  std::unique_ptr<engine::PurgeEnvironment> environment_;
};

// The settings TSQLiteDatabase opens every connection with.
inline constexpr const char* kConnectionSettings =
    "PRAGMA SYNCHRONOUS=NORMAL; PRAGMA temp_store = MEMORY; PRAGMA cache_size = -16384;";

// A fresh folder below %TEMP%.
inline std::string ScratchFolder(const char* name) {
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  std::string folder = std::string(temp) + name + "-" + std::to_string(GetCurrentProcessId());
  platform::RealFileSystem().CreateFolders(folder);
  return folder;
}

// The median seconds of two pieces of work, taken in alternate rounds so
// that both see the same machine; prepare runs untimed before each.
inline std::pair<double, double> AlternatingMedians(int rounds, const std::function<void()>& prepare,
                                                    const std::function<void()>& first,
                                                    const std::function<void()>& second) {
  std::vector<double> times[2];
  for (int i = 0; i < 2 * rounds; ++i) {
    prepare();
    auto start = std::chrono::steady_clock::now();
    (i % 2 == 0 ? first : second)();
    times[i % 2].push_back(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
  }
  for (auto& list : times) std::sort(list.begin(), list.end());
  return {times[0][size_t(rounds / 2)], times[1][size_t(rounds / 2)]};
}

// Copies a database file (no journal beside it) over another.
inline void CopyDatabase(const std::string& from, const std::string& to) {
  platform::RealFileSystem().CopyFileTo(from, to, false);
}

}  // namespace tidemark::bench
