// The Firefox history purge over a places.sqlite of 50,000 places and
// 100,000 visits (10 % typed), against the same six statements run by the
// same SQLite build without Tidemark: opened, executed one by one, closed.
// Each round starts from a fresh copy of the same database.
#include <sqlite3.h>

#include <cstdio>
#include <random>

#include "firefox/firefox_purges.h"
#include "firefox_bench_win.h"

namespace {

using namespace tidemark;

constexpr int kPlaces = 50'000;
constexpr int kVisits = 100'000;
constexpr int kRounds = 9;

// The places schema of the Firefox versions the statements were written for.
constexpr const char* kSchema[] = {
    "CREATE TABLE moz_places ( id INTEGER PRIMARY KEY, url LONGVARCHAR, title LONGVARCHAR, rev_host LONGVARCHAR, "
    "visit_count INTEGER DEFAULT 0, hidden INTEGER DEFAULT 0 NOT NULL, typed INTEGER DEFAULT 0 NOT NULL, favicon_id "
    "INTEGER, frecency INTEGER DEFAULT -1 NOT NULL, last_visit_date INTEGER )",
    "CREATE UNIQUE INDEX moz_places_url_uniqueindex ON moz_places (url)",
    "CREATE INDEX moz_places_faviconindex ON moz_places (favicon_id)",
    "CREATE INDEX moz_places_hostindex ON moz_places (rev_host)",
    "CREATE INDEX moz_places_lastvisitdateindex ON moz_places (last_visit_date)",
    "CREATE TABLE moz_historyvisits ( id INTEGER PRIMARY KEY, from_visit INTEGER, place_id INTEGER, visit_date "
    "INTEGER, visit_type INTEGER, session INTEGER)",
    "CREATE INDEX moz_historyvisits_placedateindex ON moz_historyvisits (place_id, visit_date)",
    "CREATE INDEX moz_historyvisits_dateindex ON moz_historyvisits (visit_date)",
    "CREATE TABLE moz_bookmarks ( id INTEGER PRIMARY KEY, type INTEGER, fk INTEGER DEFAULT NULL, parent INTEGER, "
    "position INTEGER, title LONGVARCHAR, keyword_id INTEGER, folder_type TEXT, dateAdded INTEGER, lastModified "
    "INTEGER)",
    "CREATE INDEX moz_bookmarks_itemindex ON moz_bookmarks (fk, type)",
    "CREATE TABLE moz_favicons ( id INTEGER PRIMARY KEY, url LONGVARCHAR UNIQUE, data BLOB, mime_type VARCHAR(32), "
    "expiration LONG)",
    "CREATE TABLE moz_annos ( id INTEGER PRIMARY KEY, place_id INTEGER NOT NULL, anno_attribute_id INTEGER, "
    "mime_type VARCHAR(32) DEFAULT NULL, content LONGVARCHAR, flags INTEGER DEFAULT 0, expiration INTEGER DEFAULT 0, "
    "type INTEGER DEFAULT 0, dateAdded INTEGER DEFAULT 0, lastModified INTEGER DEFAULT 0)",
    "CREATE UNIQUE INDEX moz_annos_placeattributeindex ON moz_annos (place_id, anno_attribute_id)",
    "CREATE TABLE moz_inputhistory ( place_id INTEGER NOT NULL, input LONGVARCHAR NOT NULL, use_count INTEGER, "
    "PRIMARY KEY (place_id, input))",
};

// The purge's six statements, as it sends them.
constexpr const char* kStatements[] = {
    "DELETE FROM moz_HistoryVisits WHERE visit_type <> 2 ",
    "DELETE FROM moz_places WHERE id IN ( SELECT P.id FROM moz_places P LEFT OUTER JOIN moz_historyvisits V ON "
    "P.id = V.place_id LEFT OUTER JOIN moz_bookmarks B ON P.id = B.fk WHERE V.id IS NULL AND B.id IS NULL AND "
    "SUBSTR(P.url,1,6) <> 'place:' )",
    "DELETE FROM moz_Annos WHERE id IN( SELECT A.id FROM moz_Annos A LEFT OUTER JOIN moz_places P ON A.place_id = "
    "P.id LEFT OUTER JOIN moz_historyvisits V ON A.place_id = V.place_id WHERE P.id IS NULL OR (V.id IS NULL AND "
    "A.expiration != 4))",
    "DELETE FROM moz_HistoryVisits WHERE id IN( SELECT V.id FROM moz_HistoryVisits V LEFT OUTER JOIN moz_places P "
    "ON V.place_id = P.id WHERE P.id IS NULL)",
    "DELETE FROM moz_InputHistory WHERE place_id IN( SELECT T.place_id FROM moz_InputHistory T LEFT OUTER JOIN "
    "moz_places P ON T.place_id = P.id WHERE P.id IS NULL)",
    "DELETE FROM moz_FavIcons WHERE id IN( SELECT F.id FROM moz_FavIcons F LEFT OUTER JOIN moz_places P ON F.id = "
    "P.favicon_id WHERE P.typed = 0 AND P.favicon_id IS NULL) ",
};

void BuildPlaces(const std::string& path) {
  platform::RealFileSystem().RemoveFile(path);  // left by an earlier run
  firefox::TSQLiteDatabase database(path, firefox::OpenMode::Create);
  for (const char* statement : kSchema) database.Execute(statement);
  database.Execute("BEGIN");
  std::minstd_rand random(7);
  firefox::TSQLiteStatement place(database,
                                  "INSERT INTO moz_places (id, url, title, rev_host, typed, favicon_id) VALUES (?1, "
                                  "?2, 'A page title of ordinary length', ?3, ?4, ?5)");
  for (int64_t id = 1; id <= kPlaces; ++id) {
    std::string host = "site" + std::to_string(id % 4000) + ".example";
    std::string url = id % 500 == 0 ? "place:sort=8&id=" + std::to_string(id)
                                    : "http://" + host + "/page/" + std::to_string(id) + "?ref=bench";
    place.Execute({id, url, host, int64_t{id % 10 == 0}, int64_t{id % 3 == 0 ? id % 700 + 1 : 0}});
  }
  firefox::TSQLiteStatement visit(database,
                                  "INSERT INTO moz_historyvisits (id, from_visit, place_id, visit_date, visit_type, "
                                  "session) VALUES (?1, 0, ?2, ?3, ?4, 1)");
  for (int64_t id = 1; id <= kVisits; ++id)
    visit.Execute({id, int64_t(random() % kPlaces) + 1, int64_t{1'300'000'000'000'000} + id * 1'000'000,
                   int64_t{id % 10 == 0 ? 2 : 1}});
  firefox::TSQLiteStatement bookmark(database, "INSERT INTO moz_bookmarks (type, fk, parent) VALUES (1, ?1, 2)");
  for (int64_t fk = 7; fk <= kPlaces; fk += 50) bookmark.Execute({fk});
  firefox::TSQLiteStatement favicon(database, "INSERT INTO moz_favicons (id, url, data) VALUES (?1, ?2, x'89504e47')");
  for (int64_t id = 1; id <= 700; ++id) favicon.Execute({id, "http://icons.example/" + std::to_string(id)});
  firefox::TSQLiteStatement anno(database,
                                 "INSERT INTO moz_annos (place_id, anno_attribute_id, content, expiration) VALUES "
                                 "(?1, 1, 'note', ?2)");
  for (int64_t id = 3; id <= kPlaces; id += 25) anno.Execute({id, int64_t{id % 4 == 0 ? 4 : 0}});
  firefox::TSQLiteStatement input(database, "INSERT INTO moz_inputhistory VALUES (?1, ?2, 1)");
  for (int64_t id = 10; id <= kPlaces; id += 40) input.Execute({id, "sit" + std::to_string(id)});
  database.Execute("COMMIT");
}

// settings: the connection settings Tidemark opens its databases with, or none.
void Baseline(const std::string& path, const char* settings) {
  sqlite3* database = nullptr;
  sqlite3_open_v2(path.c_str(), &database, SQLITE_OPEN_READWRITE, nullptr);
  if (settings) sqlite3_exec(database, settings, nullptr, nullptr, nullptr);
  for (const char* statement : kStatements)
    if (sqlite3_exec(database, statement, nullptr, nullptr, nullptr) != SQLITE_OK)
      std::printf("baseline failed: %s\n", sqlite3_errmsg(database));
  sqlite3_close(database);
}

}  // namespace

int main() {
  std::string folder = bench::ScratchFolder("tidemark-history-bench");
  std::string model = folder + "\\model.sqlite", places = folder + "\\places.sqlite";
  BuildPlaces(model);

  bench::Purge purge;
  purge.firefox.FirefoxSqliteFormat = purge.firefox.PlacesSqlitePresent = true;
  purge.firefox.PlacesFile = places;
  auto fresh = [&] { bench::CopyDatabase(model, places); };
  bool ok = true;
  auto [tidemark, baseline] = bench::AlternatingMedians(
      kRounds, fresh, [&] { ok &= firefox::DeleteHistory(purge.Environment()); },
      [&] { Baseline(places, bench::kConnectionSettings); });
  double defaults = bench::AlternatingMedians(
                        kRounds, fresh, [&] { Baseline(places, nullptr); }, [] {})
                        .first;

  std::printf("history purge, %d places, %d visits (10%% typed): Tidemark %.3f s, baseline %.3f s, ratio %.2f%s\n",
              kPlaces, kVisits, tidemark, baseline, tidemark / baseline, ok ? "" : " (the purge FAILED)");
  std::printf("  (the baseline opens with Tidemark's connection settings; with SQLite's defaults it takes %.3f s)\n",
              defaults);
  platform::RealFileSystem().RemoveFile(model);
  platform::RealFileSystem().RemoveFile(places);
  platform::RealFileSystem().RemoveFolder(folder);
  return ok ? 0 : 1;
}
