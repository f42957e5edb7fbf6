// Typed URLs, history and form history: fixed statements against the
// profile's places and form history databases; older profiles keep history
// and form history in whole files, which are deleted.
#include <algorithm>
#include <span>
#include <string_view>

#include "firefox/firefox_purges.h"

namespace tidemark::firefox {
namespace {

constexpr const char* kNoDeletesInPreview = "  No Deletes are done for a \"Preview Purge\".";
constexpr const char* kPlacesMissing = "*** Error - Unable to find FireFox History file - Places.SQLite";

// The statements as sent, one per line. A "place:" URL is a saved query of
// the bookmarks, not a visited page: its first six characters tell.
// clang-format off
constexpr const char* kTypedUrlStatements[] = {
    "DELETE FROM moz_InputHistory ",
    "DELETE FROM moz_FavIcons WHERE id IN( SELECT F.id FROM moz_FavIcons F LEFT OUTER JOIN moz_places P ON P.favicon_id = F.id WHERE P.typed <> 0 AND P.favicon_id IS NULL) ",
    "DELETE FROM moz_places WHERE id IN ( SELECT P.id FROM moz_places P LEFT OUTER JOIN moz_historyvisits V ON P.id = V.place_id LEFT OUTER JOIN moz_bookmarks B ON P.id = B.fk WHERE V.visit_type = 2 AND B.id IS NULL AND SUBSTR(P.url,1,6) <> 'place:' )",
    "DELETE FROM moz_HistoryVisits WHERE visit_type = 2 ",
};

constexpr const char* kHistoryStatements[] = {
    "DELETE FROM moz_HistoryVisits WHERE visit_type <> 2 ",
    "DELETE FROM moz_places WHERE id IN ( SELECT P.id FROM moz_places P LEFT OUTER JOIN moz_historyvisits V ON P.id = V.place_id LEFT OUTER JOIN moz_bookmarks B ON P.id = B.fk WHERE V.id IS NULL AND B.id IS NULL AND SUBSTR(P.url,1,6) <> 'place:' )",
    "DELETE FROM moz_Annos WHERE id IN( SELECT A.id FROM moz_Annos A LEFT OUTER JOIN moz_places P ON A.place_id = P.id LEFT OUTER JOIN moz_historyvisits V ON A.place_id = V.place_id WHERE P.id IS NULL OR (V.id IS NULL AND A.expiration != 4))",
    "DELETE FROM moz_HistoryVisits WHERE id IN( SELECT V.id FROM moz_HistoryVisits V LEFT OUTER JOIN moz_places P ON V.place_id = P.id WHERE P.id IS NULL)",
    "DELETE FROM moz_InputHistory WHERE place_id IN( SELECT T.place_id FROM moz_InputHistory T LEFT OUTER JOIN moz_places P ON T.place_id = P.id WHERE P.id IS NULL)",
    "DELETE FROM moz_FavIcons WHERE id IN( SELECT F.id FROM moz_FavIcons F LEFT OUTER JOIN moz_places P ON F.id = P.favicon_id WHERE P.typed = 0 AND P.favicon_id IS NULL) ",
};
// clang-format on

bool MissingDatabase(engine::PurgeEnvironment& env, const char* line) {
  FailureLine(env, line, "");
  return false;
}

using Compaction = void (*)(engine::PurgeEnvironment&, TSQLiteDatabase&);

// The table a "DELETE FROM <table> ..." statement empties.
std::string TargetTable(std::string_view statement) {
  std::string_view rest = statement.substr(std::string_view("DELETE FROM").size());
  rest.remove_prefix(std::min(rest.find_first_not_of(' '), rest.size()));
  return std::string(rest.substr(0, rest.find(' ')));
}

// Runs the statements one by one, each committing on its own, then the
// compaction (if any). A statement whose table this Firefox no longer keeps
// in the file (favicons moved to a file of their own) has nothing to delete.
// The first failure ends the work with failedLine; the compaction never
// turns the deletion into a failure.
bool PurgeDatabase(engine::PurgeEnvironment& env, const std::string& path, std::span<const char* const> statements,
                   const char* failedLine, Compaction compaction) {
  try {
    TSQLiteDatabase database = OpenProfileDatabase(env, path);
    for (const char* statement : statements)
      if (database.HasTable(TargetTable(statement))) database.Execute(statement);
    if (compaction) compaction(env, database);
    return true;
  } catch (const ESQLiteException& failure) {
    FailureLine(env, failedLine, failure.LastSQLiteMessage);
  }
  return false;
}

void CompactPlaces(engine::PurgeEnvironment& env, TSQLiteDatabase& database) {
  if (env.flags.compact)
    CompactDatabase(env, database,
                    {"  Compact History file completed", "*** Error - Compact History file failed - ",
                     "*** Error - Compact History file failed - exception"});
}

void CompactFormHistory(engine::PurgeEnvironment& env, TSQLiteDatabase& database) {
  if (env.flags.compact)
    CompactDatabase(env, database,
                    {"  Compact Form History file completed", "*** Error - Compact Form History file failed - ",
                     "*** Error - Compact Form History file failed - exception"});
}

// The history and form history bodies: the older profile's whole file, then
// the database work and its success line.
void HistoryBody(engine::PurgeEnvironment& env, const std::string& datFile,
                 bool (*deleteEntries)(engine::PurgeEnvironment&), const char* successLine) {
  const locations::FirefoxLocations& firefox = env.located.firefox;
  if (!firefox.FirefoxSqliteFormat) env.deletion.DeleteDataFile(datFile);
  if (env.Preview())
    env.Line(kNoDeletesInPreview);
  else if (firefox.FirefoxSqliteFormat && deleteEntries(env))
    env.Line(successLine);
}

}  // namespace

bool DeleteTypedUrls(engine::PurgeEnvironment& env) {
  const locations::FirefoxLocations& firefox = env.located.firefox;
  if (!firefox.PlacesSqlitePresent) return MissingDatabase(env, kPlacesMissing);
  return PurgeDatabase(env, firefox.PlacesFile, kTypedUrlStatements,
                       "*** Error - Delete Typed URL entries failed - Places.SQLite", nullptr);
}

bool DeleteHistory(engine::PurgeEnvironment& env) {
  const locations::FirefoxLocations& firefox = env.located.firefox;
  if (!firefox.PlacesSqlitePresent) return MissingDatabase(env, kPlacesMissing);
  return PurgeDatabase(env, firefox.PlacesFile, kHistoryStatements,
                       "*** Error - Delete entries from History failed - Places.SQLite", CompactPlaces);
}

bool DeleteFormHistory(engine::PurgeEnvironment& env) {
  const locations::FirefoxLocations& firefox = env.located.firefox;
  if (!firefox.FormHistorySqlitePresent)
    return MissingDatabase(env, "*** Error - Unable to find FireFox Form History file - FormHistory.SQLite");
  static constexpr const char* kStatements[] = {"DELETE FROM  moz_formhistory"};
  return PurgeDatabase(env, firefox.FormHistorySqliteFile, kStatements,
                       "*** Error - Delete entries from Form History failed - FormHistory.SQLite", CompactFormHistory);
}

void FirefoxTypedUrlsPurge(engine::PurgeEnvironment& env) {
  if (env.Preview())
    env.Line(kNoDeletesInPreview);
  else if (env.located.firefox.FirefoxSqliteFormat && DeleteTypedUrls(env))
    env.Line("  Deleted entries from  FireFox Typed URLs - Places.SQLite");
}

void FirefoxHistoryPurge(engine::PurgeEnvironment& env) {
  HistoryBody(env, env.located.firefox.HistoryDatFile, DeleteHistory,
              "  Deleted entries from  FireFox History file - Places.SQLite");
}

void FirefoxFormHistoryPurge(engine::PurgeEnvironment& env) {
  HistoryBody(env, env.located.firefox.FormHistoryDatFile, DeleteFormHistory,
              "  Deleted entries from FireFox Form History file - FormHistory.SQLite");
}

}  // namespace tidemark::firefox
