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
    "DELETE FROM moz_places WHERE id IN ( SELECT P.id FROM moz_places P LEFT OUTER JOIN moz_historyvisits V ON P.id = V.place_id LEFT OUTER JOIN moz_bookmarks B ON P.id = B.fk WHERE V.visit_type = 2 AND B.id IS NULL AND SUBSTR(P.url,1,6) <> 'place:' )",
    "DELETE FROM moz_HistoryVisits WHERE visit_type = 2 ",
};

constexpr const char* kHistoryStatements[] = {
    "DELETE FROM moz_HistoryVisits WHERE visit_type <> 2 ",
    "DELETE FROM moz_places WHERE id IN ( SELECT P.id FROM moz_places P LEFT OUTER JOIN moz_historyvisits V ON P.id = V.place_id LEFT OUTER JOIN moz_bookmarks B ON P.id = B.fk WHERE V.id IS NULL AND B.id IS NULL AND SUBSTR(P.url,1,6) <> 'place:' )",
    "DELETE FROM moz_Annos WHERE id IN( SELECT A.id FROM moz_Annos A LEFT OUTER JOIN moz_places P ON A.place_id = P.id LEFT OUTER JOIN moz_historyvisits V ON A.place_id = V.place_id WHERE P.id IS NULL OR (V.id IS NULL AND A.expiration != 4))",
    "DELETE FROM moz_HistoryVisits WHERE id IN( SELECT V.id FROM moz_HistoryVisits V LEFT OUTER JOIN moz_places P ON V.place_id = P.id WHERE P.id IS NULL)",
    "DELETE FROM moz_InputHistory WHERE place_id IN( SELECT T.place_id FROM moz_InputHistory T LEFT OUTER JOIN moz_places P ON T.place_id = P.id WHERE P.id IS NULL)",
};

// The typed URLs' own statements leave the other visits and the
// annotations of the places they remove; the history's own statements
// remove those already (and the input history both do).
constexpr const char* kTypedPlacesRemainsStatements[] = {
    "DELETE FROM moz_historyvisits WHERE place_id NOT IN (SELECT id FROM moz_places)",
    "DELETE FROM moz_annos WHERE place_id NOT IN (SELECT id FROM moz_places)",
};

// What removed visits and places leave behind: the visit count, last visit
// date and typed mark of a place that stays (a bookmark); the icons no place
// uses any more (Firefox 3 to 54); and in today's Firefox the extra data
// Sync keeps of places and visits, the history metadata and the search
// terms only that used, the new tab page's record, and each origin (the
// host the address bar offers) no place is left of. Firefox's foreign keys
// and triggers would remove these only while it runs. A metadata row that
// stays forgets a referrer that is gone.
constexpr const char* kPlacesOrphanStatements[] = {
    "UPDATE moz_places SET visit_count = 0 WHERE visit_count <> 0 AND id NOT IN (SELECT place_id FROM moz_historyvisits WHERE place_id IS NOT NULL)",
    "UPDATE moz_places SET last_visit_date = NULL WHERE last_visit_date IS NOT NULL AND id NOT IN (SELECT place_id FROM moz_historyvisits WHERE place_id IS NOT NULL)",
    "UPDATE moz_places SET typed = 0 WHERE typed <> 0 AND id NOT IN (SELECT place_id FROM moz_historyvisits WHERE visit_type = 2 AND place_id IS NOT NULL)",
    "DELETE FROM moz_favicons WHERE id NOT IN (SELECT favicon_id FROM moz_places WHERE favicon_id IS NOT NULL)",
    "DELETE FROM moz_historyvisits_extra WHERE visit_id NOT IN (SELECT id FROM moz_historyvisits)",
    "DELETE FROM moz_places_extra WHERE place_id NOT IN (SELECT id FROM moz_places)",
    "DELETE FROM moz_newtab_shortcuts_interaction WHERE place_id NOT IN (SELECT id FROM moz_places)",
    "DELETE FROM moz_places_metadata WHERE place_id NOT IN (SELECT id FROM moz_places)",
    "UPDATE moz_places_metadata SET referrer_place_id = NULL WHERE referrer_place_id NOT IN (SELECT id FROM moz_places)",
    "DELETE FROM moz_places_metadata_search_queries WHERE id NOT IN (SELECT search_query_id FROM moz_places_metadata WHERE search_query_id IS NOT NULL)",
    "DELETE FROM moz_origins WHERE id NOT IN (SELECT origin_id FROM moz_places WHERE origin_id IS NOT NULL)",
};

// favicons.sqlite (Firefox 55 and later) with places.sqlite attached as
// "places": the pages that are no longer a place (found as Firefox finds
// them, by the address's hash, then compared whole), their links to icons,
// and the icons no page uses. A root icon ("host/favicon.ico") serves every
// page of its host, so it stays while a place of that host (with or without
// "www.") is left, as a bookmark's is. A host is what lies between "://" and
// the next '/'.
constexpr const char* kFaviconOrphanStatements[] = {
    "DELETE FROM moz_pages_w_icons WHERE NOT EXISTS (SELECT 1 FROM places.moz_places P WHERE P.url_hash = moz_pages_w_icons.page_url_hash AND P.url = moz_pages_w_icons.page_url)",
    "DELETE FROM moz_icons_to_pages WHERE page_id NOT IN (SELECT id FROM moz_pages_w_icons) OR icon_id NOT IN (SELECT id FROM moz_icons)",
    "DELETE FROM moz_icons WHERE id NOT IN (SELECT icon_id FROM moz_icons_to_pages) AND (root = 0 OR id NOT IN ("
    "WITH place_hosts(host) AS (SELECT substr(rest, 1, instr(rest || '/', '/') - 1) FROM (SELECT substr(url, instr(url, '://') + 3) AS rest FROM places.moz_places)), "
    "root_icons(id, host) AS (SELECT id, substr(rest, 1, instr(rest || '/', '/') - 1) FROM (SELECT id, substr(icon_url, instr(icon_url, '://') + 3) AS rest FROM moz_icons WHERE root = 1)) "
    "SELECT id FROM root_icons WHERE host IN place_hosts OR (host LIKE 'www.%' AND substr(host, 5) IN place_hosts)))",
};

// What a current form history keeps beside each entry: where it was typed.
constexpr const char* kFormHistoryStatements[] = {
    "DELETE FROM  moz_formhistory",
    "DELETE FROM moz_history_to_sources WHERE history_id NOT IN (SELECT id FROM moz_formhistory)",
    "DELETE FROM moz_sources WHERE id NOT IN (SELECT source_id FROM moz_history_to_sources WHERE source_id IS NOT NULL)",
};
// clang-format on

bool MissingDatabase(engine::PurgeEnvironment& env, const char* line) {
  FailureLine(env, line, "");
  return false;
}

using Compaction = void (*)(engine::PurgeEnvironment&, TSQLiteDatabase&);
using Statements = std::span<const char* const>;

// What a statement changes: the table of "DELETE FROM <table> ...", or the
// table and column of "UPDATE <table> SET <column> = ...".
struct Target {
  std::string table, column;
};
Target TargetOf(std::string_view statement) {
  auto word = [&statement](std::string_view after) {
    std::string_view rest = statement.substr(statement.find(after) + after.size());
    rest.remove_prefix(std::min(rest.find_first_not_of(' '), rest.size()));
    return std::string(rest.substr(0, rest.find(' ')));
  };
  if (statement.starts_with("DELETE")) return {word("FROM"), {}};
  return {word("UPDATE"), word(" SET")};
}

// Runs the statements one by one, each committing on its own. A statement
// whose table or column this Firefox does not keep in the file (favicons
// moved to a file of their own; the last visit date, origins and history
// metadata came later) has nothing to change.
void RunStatements(TSQLiteDatabase& database, std::initializer_list<Statements> lists) {
  for (Statements statements : lists)
    for (const char* statement : statements) {
      Target target = TargetOf(statement);
      if (database.HasTable(target.table, target.column)) database.Execute(statement);
    }
}

// Opens the database (with places.sqlite beside it when the statements
// read it), runs the statements, then the compaction (if any). The first
// failure ends the work with failedLine; the compaction never turns the
// deletion into a failure.
bool PurgeDatabase(engine::PurgeEnvironment& env, const std::string& path, std::initializer_list<Statements> lists,
                   const std::string& failedLine, Compaction compaction, bool attachPlaces = false) {
  try {
    TSQLiteDatabase database = OpenProfileDatabase(env, path);
    if (attachPlaces) database.Attach(env.located.firefox.PlacesFile, "places");
    RunStatements(database, lists);
    if (compaction) compaction(env, database);
    return true;
  } catch (const ESQLiteException& failure) {
    FailureLine(env, failedLine, failure.LastSQLiteMessage);
  }
  return false;
}

// After places.sqlite: the icons of the pages that are gone, in the
// favicons file beside it (none before Firefox 55).
bool PurgeFavicons(engine::PurgeEnvironment& env, const std::string& failedLine, Compaction compaction) {
  const std::string& favicons = env.located.firefox.FaviconsFile;
  return !env.platform.files.FileExists(favicons) ||
         PurgeDatabase(env, favicons, {kFaviconOrphanStatements}, failedLine, compaction, true);
}

void CompactPlaces(engine::PurgeEnvironment& env, TSQLiteDatabase& database) {
  if (env.flags.compact)
    CompactDatabase(env, database,
                    {"  Compact History file completed", "*** Error - Compact History file failed - ",
                     "*** Error - Compact History file failed - exception"});
}

void CompactFavicons(engine::PurgeEnvironment& env, TSQLiteDatabase& database) {
  if (env.flags.compact)
    CompactDatabase(env, database,
                    {"  Compact Favicons file completed", "*** Error - Compact Favicons file failed - ",
                     "*** Error - Compact Favicons file failed - exception"});
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

const HistoryStatements& DeleteHistoryStatements() {
  static const HistoryStatements statements = [] {
    HistoryStatements lists;
    for (Statements list : {Statements(kHistoryStatements), Statements(kPlacesOrphanStatements)})
      lists.places.insert(lists.places.end(), list.begin(), list.end());
    lists.favicons.assign(std::begin(kFaviconOrphanStatements), std::end(kFaviconOrphanStatements));
    return lists;
  }();
  return statements;
}

bool DeleteTypedUrls(engine::PurgeEnvironment& env) {
  const locations::FirefoxLocations& firefox = env.located.firefox;
  if (!firefox.PlacesSqlitePresent) return MissingDatabase(env, kPlacesMissing);
  return PurgeDatabase(env, firefox.PlacesFile,
                       {kTypedUrlStatements, kTypedPlacesRemainsStatements, kPlacesOrphanStatements},
                       "*** Error - Delete Typed URL entries failed - Places.SQLite", nullptr) &&
         PurgeFavicons(env, "*** Error - Delete Typed URL entries failed - Favicons.SQLite", nullptr);
}

bool DeleteHistory(engine::PurgeEnvironment& env) {
  const locations::FirefoxLocations& firefox = env.located.firefox;
  if (!firefox.PlacesSqlitePresent) return MissingDatabase(env, kPlacesMissing);
  return PurgeDatabase(env, firefox.PlacesFile, {DeleteHistoryStatements().places},
                       "*** Error - Delete entries from History failed - Places.SQLite", CompactPlaces) &&
         PurgeFavicons(env, "*** Error - Delete entries from History failed - Favicons.SQLite", CompactFavicons);
}

bool DeleteFormHistory(engine::PurgeEnvironment& env) {
  const locations::FirefoxLocations& firefox = env.located.firefox;
  if (!firefox.FormHistorySqlitePresent)
    return MissingDatabase(env, "*** Error - Unable to find FireFox Form History file - FormHistory.SQLite");
  return PurgeDatabase(env, firefox.FormHistorySqliteFile, {kFormHistoryStatements},
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
