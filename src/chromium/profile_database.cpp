#include "chromium/profile_database.h"

#include "engine/labels.h"
#include "firefox/firefox_purges.h"

namespace tidemark::chromium {

using firefox::ESQLiteException;
using firefox::OpenMode;

std::optional<int64_t> RunDatabaseWork(engine::PurgeEnvironment& env, const std::string& path,
                                       const std::string& failedLine, const DatabaseWork& work) {
  const bool preview = env.Preview();
  std::optional<TSQLiteDatabase> database;
  try {
    database.emplace(preview ? TSQLiteDatabase(path, OpenMode::ReadOnly) : firefox::OpenProfileDatabase(env, path));
    if (!preview) database->Execute("BEGIN IMMEDIATE");
    WorkDone done = work(*database);
    if (!preview) database->Execute("COMMIT");
    for (const std::string& line : done.lines) env.Line(line);
    if (env.flags.compact && !preview)
      firefox::CompactDatabase(env, *database,
                               {"  Compact Chromium database completed - " + path,
                                "*** Error - Compact Chromium database failed - " + path + " - ",
                                "*** Error - Compact Chromium database failed - " + path});
    return done.entries;
  } catch (const ESQLiteException& failure) {
    if (database && database->InTransaction()) {
      try {
        database->Execute("ROLLBACK");
      } catch (const ESQLiteException&) {
        // The library ended the transaction itself.
      }
    }
    database.reset();
    firefox::FailureLine(env, failedLine + path, failure.LastSQLiteMessage);
  }
  return std::nullopt;
}

WorkDone RunStatements(engine::PurgeEnvironment& env, TSQLiteDatabase& database,
                       std::span<const PurgeStatement> statements, const std::string& path) {
  WorkDone done;
  std::string counts;
  for (const PurgeStatement& statement : statements) {
    if (!database.HasTable(statement.table) || (env.Preview() && !statement.counted)) continue;
    int64_t rows = 0;
    if (env.Preview()) {
      std::string sql = statement.sql;
      rows = database.Query(sql.replace(0, sql.find(" FROM "), "SELECT COUNT(*)")).AsInteger(0);
    } else {
      database.Execute(statement.sql);
      rows = database.Changes();
    }
    if (!statement.counted || rows == 0) continue;
    done.entries += rows;
    counts += (counts.empty() ? "" : ", ") + std::to_string(rows) + " " + statement.counted;
  }
  if (!counts.empty() && env.Detail())
    done.lines.push_back(std::string(env.Preview() ? engine::kToDelete : engine::kDeleted) + counts + " from " + path);
  return done;
}

void KeepUrls(TSQLiteDatabase& database, const std::vector<std::string>& urls) {
  database.Execute("CREATE TEMP TABLE IF NOT EXISTS kept_urls (url TEXT PRIMARY KEY)");
  firefox::TSQLiteStatement keep(database, "INSERT OR IGNORE INTO temp.kept_urls (url) VALUES (?1)");
  for (const std::string& url : urls) keep.Execute({url});
}

int32_t DeleteDatabaseFile(engine::PurgeEnvironment& env, const std::string& path) {
  platform::FileSystem& files = env.platform.files;
  int32_t deleted = 0;
  if (files.FileExists(path)) {
    if (!env.deletion.DeleteDataFile(path)) return 0;
    ++deleted;
  }
  const std::string journal = path + "-journal";
  if (files.FileExists(journal) && env.deletion.DeleteDataFile(journal)) ++deleted;
  return deleted;
}

}  // namespace tidemark::chromium
