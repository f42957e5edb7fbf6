// What the Chromium purges share in their work on a profile's databases:
// each database changed in one transaction, statements left out where the
// table is missing, the counts the report gives.
#pragma once
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "engine/purge_environment.h"
#include "firefox/sqlite_database.h"

namespace tidemark::chromium {

using firefox::TSQLiteDatabase;

// One statement of a purge: left out when the database lacks the table it
// changes. A DELETE whose rows the report counts names them (its count in a
// Preview is its WHERE clause's, so it reads the database as it is before
// any statement runs).
struct PurgeStatement {
  const char* table;
  const char* sql;
  const char* counted = nullptr;  // "URLs", "visits"
};

// What a database's work did: the entries it removed (in a Preview: would
// remove), and the lines written once that is saved.
struct WorkDone {
  int64_t entries = 0;
  std::vector<std::string> lines;
};
using DatabaseWork = std::function<WorkDone(TSQLiteDatabase&)>;

// Opens the database and does the work: in a Preview read-only; otherwise
// in one transaction, which cannot begin while the browser (or anyone)
// holds the database, then with Compact Files the database compacted. The
// entries, or nothing after failedLine + path (with the library's cause):
// then nothing was changed.
std::optional<int64_t> RunDatabaseWork(engine::PurgeEnvironment& env, const std::string& path,
                                       const std::string& failedLine, const DatabaseWork& work);

// Runs the statements (in a Preview: counts the counted ones); the line
// "<n> URLs, <m> visits from <path>" with the entries counted, in Detail
// reports, when there are any.
WorkDone RunStatements(engine::PurgeEnvironment& env, TSQLiteDatabase& database,
                       std::span<const PurgeStatement> statements, const std::string& path);

// The addresses into temp.kept_urls, which the history statements keep.
void KeepUrls(TSQLiteDatabase& database, const std::vector<std::string>& urls);

// Deletes a database whole with its "-journal": the journal only once the
// database is gone, since a database may still need its journal. The files
// deleted (in a Preview: to delete).
int32_t DeleteDatabaseFile(engine::PurgeEnvironment& env, const std::string& path);

}  // namespace tidemark::chromium
