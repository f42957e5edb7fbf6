// What the browser database benchmarks share: a purge environment over the real
// Windows operations with a silent report, a scratch folder, and
// timing by the median of several rounds.
#pragma once
#include <sqlite3.h>
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <tuple>
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

// A baseline's one raw connection, with Tidemark's connection settings on
// each file when asked. A statement whose table the file lacks fails to
// prepare, as the purge leaves it out; any other failure is printed, and
// the connection is no longer Ok().
class BaselineConnection {
 public:
  BaselineConnection(const std::string& path, bool settings) : settings_(settings) {
    ok_ = sqlite3_open_v2(path.c_str(), &database_, SQLITE_OPEN_READWRITE, nullptr) == SQLITE_OK;
    if (settings_) Run(kConnectionSettings);
  }
  ~BaselineConnection() { sqlite3_close(database_); }
  BaselineConnection(const BaselineConnection&) = delete;
  BaselineConnection& operator=(const BaselineConnection&) = delete;

  void Run(const std::string& sql) {
    if (sqlite3_exec(database_, sql.c_str(), nullptr, nullptr, nullptr) == SQLITE_OK) return;
    if (std::string(sqlite3_errmsg(database_)).starts_with("no such table")) return;
    std::printf("baseline failed: %s\n", sqlite3_errmsg(database_));
    ok_ = false;
  }
  void Attach(const std::string& path, const std::string& schema) {
    Run("ATTACH DATABASE '" + path + "' AS " + schema);
    // An attached file has SQLite's defaults, not main's.
    if (settings_) Run("PRAGMA " + schema + ".SYNCHRONOUS=NORMAL; PRAGMA " + schema + ".cache_size = -16384;");
  }
  sqlite3* Handle() const { return database_; }
  bool Ok() const { return ok_; }

 private:
  sqlite3* database_ = nullptr;
  bool settings_;
  bool ok_;
};

// What a purge and its baseline (run with settings or SQLite's defaults)
// took, and the rows each left on fresh copies of the databases.
struct Comparison {
  double purge = 0, baseline = 0, defaults = 0;
  std::string purgedRows, baselineRows;

  // True when both left the same rows; else false, after printing both.
  bool SameRows() const {
    if (purgedRows == baselineRows) return true;
    std::printf("rows left by the purge: %s\nrows left by the baseline: %s\n", purgedRows.c_str(),
                baselineRows.c_str());
    return false;
  }
};

inline Comparison CompareWithBaseline(int rounds, const std::function<void()>& fresh,
                                      const std::function<void()>& purge,
                                      const std::function<void(bool settings)>& baseline,
                                      const std::function<std::string()>& rows) {
  Comparison comparison;
  fresh();
  purge();
  comparison.purgedRows = rows();
  fresh();
  baseline(true);
  comparison.baselineRows = rows();
  std::tie(comparison.purge, comparison.baseline) = AlternatingMedians(rounds, fresh, purge, [&] { baseline(true); });
  comparison.defaults = AlternatingMedians(
                            rounds, fresh, [&] { baseline(false); }, [] {})
                            .first;
  return comparison;
}

}  // namespace tidemark::bench
