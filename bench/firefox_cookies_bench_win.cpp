// The Firefox cookie purge over a cookies.sqlite of 20,000 cookies on 5,000
// hosts (a quarter of the hosts protected, a quarter Random, half deleted),
// against a baseline that makes the same deletions and value changes with
// the same SQLite build and connection settings in one transaction, knowing
// beforehand which rows they are. And the purge's growth from 5,000 to
// 20,000 cookies.
#include <sqlite3.h>

#include <cstdio>
#include <tuple>

#include "firefox/firefox_purges.h"
#include "firefox_bench_win.h"

namespace {

using namespace tidemark;

constexpr int kCookiesPerHost = 4;
constexpr int kRounds = 9;

std::string Host(int i) {
  char host[32];
  std::snprintf(host, sizeof host, "h%05d.example", i);
  return host;
}

// Host i is protected when i % 4 == 0, Random when i % 4 == 1. The number
// of cookies the purge keeps.
int BuildJar(const std::string& path, const std::string& protectFile, int hosts) {
  platform::RealFileSystem().RemoveFile(path);  // left by an earlier run
  firefox::TSQLiteDatabase database(path, firefox::OpenMode::Create);
  database.Query("PRAGMA journal_mode = WAL");
  database.Execute(
      "CREATE TABLE moz_cookies (id INTEGER PRIMARY KEY, originAttributes TEXT NOT NULL DEFAULT '', name TEXT, value "
      "TEXT, host TEXT, path TEXT, expiry INTEGER, lastAccessed INTEGER, creationTime INTEGER, isSecure INTEGER, "
      "isHttpOnly INTEGER, inBrowserElement INTEGER DEFAULT 0, sameSite INTEGER DEFAULT 0, rawSameSite INTEGER "
      "DEFAULT 0, schemeMap INTEGER DEFAULT 0, isPartitionedAttributeSet INTEGER DEFAULT 0, CONSTRAINT moz_uniqueid "
      "UNIQUE (name, host, path, originAttributes))");
  database.Execute("BEGIN");
  firefox::TSQLiteStatement insert(database,
                                   "INSERT INTO moz_cookies (name, value, host, path, expiry, lastAccessed, "
                                   "creationTime, isSecure, isHttpOnly) VALUES (?1, ?2, ?3, '/', 1900000000, "
                                   "1700000000000000, 1700000000000000, 1, 0)");
  std::string protect;
  int kept = 0;
  for (int i = 0; i < hosts; ++i) {
    std::string host = (i % 2 ? "." : "") + Host(i);
    for (int c = 0; c < kCookiesPerHost; ++c)
      insert.Execute({"cookie" + std::to_string(c), "Value-" + std::to_string(i * 7919 + c) + "-abcdefXYZ", host});
    if (i % 4 >= 2) continue;
    protect += (i % 4 == 0 ? "p=" : "r=") + host + "\r\n";
    kept += kCookiesPerHost;
  }
  database.Execute("COMMIT");
  platform::RealFileSystem().WriteFile(protectFile, protect);
  return kept;
}

// What the purge will change, as row ids and the new values.
struct Changes {
  std::vector<int64_t> deleted;
  std::vector<std::pair<int64_t, std::string>> randomized;
};

Changes PlannedChanges(const std::string& path) {
  firefox::TSQLiteDatabase database(path);
  firefox::TSQLiteTable rows = database.Query("SELECT id, host, value FROM moz_cookies");
  Changes changes;
  for (; !rows.AtEnd(); rows.NextRow()) {
    int host = std::stoi(rows.AsText(1).substr(rows.AsText(1)[0] == '.' ? 2 : 1, 5));
    if (host % 4 >= 2) changes.deleted.push_back(rows.AsInteger(0));
    if (host % 4 == 1) changes.randomized.emplace_back(rows.AsInteger(0), "Vxnrf-1234-ghijklMNO");
  }
  return changes;
}

void Baseline(const std::string& path, const Changes& changes) {
  sqlite3* database = nullptr;
  sqlite3_open_v2(path.c_str(), &database, SQLITE_OPEN_READWRITE, nullptr);
  sqlite3_exec(database, bench::kConnectionSettings, nullptr, nullptr, nullptr);
  sqlite3_exec(database, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
  sqlite3_stmt* remove = nullptr;
  sqlite3_stmt* update = nullptr;
  sqlite3_prepare_v2(database, "DELETE FROM moz_cookies WHERE id = ?1", -1, &remove, nullptr);
  sqlite3_prepare_v2(database, "UPDATE moz_cookies SET value = ?1 WHERE id = ?2", -1, &update, nullptr);
  for (int64_t id : changes.deleted) {
    sqlite3_bind_int64(remove, 1, id);
    sqlite3_step(remove);
    sqlite3_reset(remove);
  }
  for (const auto& [id, value] : changes.randomized) {
    sqlite3_bind_text(update, 1, value.data(), int(value.size()), SQLITE_TRANSIENT);
    sqlite3_bind_int64(update, 2, id);
    sqlite3_step(update);
    sqlite3_reset(update);
  }
  sqlite3_finalize(remove);
  sqlite3_finalize(update);
  sqlite3_exec(database, "COMMIT", nullptr, nullptr, nullptr);
  sqlite3_close(database);
}

struct Measured {
  double tidemark = 0, baseline = 0;
  bool ok = true;
};

Measured Measure(const std::string& folder, int hosts) {
  std::string model = folder + "\\model.sqlite", jar = folder + "\\cookies.sqlite";
  bench::Purge purge;
  purge.firefox.FirefoxSqliteFormat = purge.firefox.CookiesSqlitePresent = true;
  purge.firefox.CookiesSqliteFile = jar;
  purge.cookies.firefoxProtectFile = folder + "\\Tidemark.Dat";
  int kept = BuildJar(model, purge.cookies.firefoxProtectFile, hosts);
  Changes changes = PlannedChanges(model);

  Measured measured;
  std::tie(measured.tidemark, measured.baseline) = bench::AlternatingMedians(
      kRounds, [&] { bench::CopyDatabase(model, jar); }, [&] { firefox::FirefoxCookiesPurge(purge.Environment()); },
      [&] { Baseline(jar, changes); });
  // The purge's own result, once more: what is left is what the protect list keeps.
  bench::CopyDatabase(model, jar);
  firefox::FirefoxCookiesPurge(purge.Environment());
  firefox::TSQLiteDatabase database(jar);
  measured.ok = database.Query("SELECT COUNT(*) FROM moz_cookies").AsInteger(0) == kept;
  platform::RealFileSystem().RemoveFile(model);
  return measured;
}

}  // namespace

int main() {
  std::string folder = bench::ScratchFolder("tidemark-cookies-bench");
  Measured small = Measure(folder, 1'250);
  Measured large = Measure(folder, 5'000);
  std::printf(
      "cookie purge, 20000 cookies over 5000 hosts: Tidemark %.3f s, one-transaction baseline %.3f s, "
      "ratio %.2f\n",
      large.tidemark, large.baseline, large.tidemark / large.baseline);
  std::printf(
      "cookie purge growth, 5000 -> 20000 cookies (x4): Tidemark %.3f s -> %.3f s, x%.2f "
      "(baseline x%.2f)%s\n",
      small.tidemark, large.tidemark, large.tidemark / small.tidemark, large.baseline / small.baseline,
      small.ok && large.ok ? "" : " (the purge left the wrong cookies)");
  for (const char* name : {"\\cookies.sqlite", "\\Tidemark.Dat"}) platform::RealFileSystem().RemoveFile(folder + name);
  platform::RealFileSystem().RemoveFolder(folder);
  return small.ok && large.ok ? 0 : 1;
}
