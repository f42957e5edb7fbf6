// The Firefox history purge (DeleteHistory) in two profiles of 50,000 places
// and 100,000 visits (10 % typed): one in the schema the statements were
// first written for, and today's, whose places also have their origins (4,000
// hosts), history metadata with search terms, Sync's extra data and new tab
// records, beside a favicons.sqlite of 50,000 pages, their icons and root
// icons. The baseline runs the same statements (DeleteHistoryStatements)
// with the same SQLite build without Tidemark, in one connection. Each round
// starts from fresh copies of the same databases.
#include <cstdio>
#include <random>

#include "firefox/firefox_databases.h"
#include "firefox/firefox_purges.h"
#include "firefox_bench_win.h"

namespace {

using namespace tidemark;
using firefox::TSQLiteDatabase;
using firefox::TSQLiteStatement;

constexpr int kPlaces = 50'000;
constexpr int kVisits = 100'000;
constexpr int kHosts = 4'000;
constexpr int kRounds = 9;

// The places schema of the Firefox versions the statements were written for.
constexpr const char* kOldSchema[] = {
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

std::string Host(int64_t place) { return "site" + std::to_string(place % kHosts) + ".example"; }

// Every 500th place is a saved query of the bookmarks, not a page.
bool IsQuery(int64_t place) { return place % 500 == 0; }

std::string PlaceUrl(int64_t place, const char* scheme) {
  return IsQuery(place) ? "place:sort=8&id=" + std::to_string(place)
                        : scheme + Host(place) + "/page/" + std::to_string(place) + "?ref=bench";
}

// What Firefox keeps as url_hash beside an address; any hash serves, as
// long as places.sqlite and favicons.sqlite agree (FNV-1a).
int64_t UrlHash(const std::string& url) {
  uint32_t hash = 2166136261u;
  for (unsigned char c : url) hash = (hash ^ c) * 16777619u;
  return hash;
}

// What both schemas keep alike: the visits (each tenth typed) of random
// places, a bookmark for every 50th place, annotations and input history.
void AddVisitsAndBookmarks(TSQLiteDatabase& database) {
  std::minstd_rand random(7);
  TSQLiteStatement visit(database,
                         "INSERT INTO moz_historyvisits (id, from_visit, place_id, visit_date, visit_type, session) "
                         "VALUES (?1, 0, ?2, ?3, ?4, 1)");
  for (int64_t id = 1; id <= kVisits; ++id)
    visit.Execute({id, int64_t(random() % kPlaces) + 1, int64_t{1'300'000'000'000'000} + id * 1'000'000,
                   int64_t{id % 10 == 0 ? 2 : 1}});
  TSQLiteStatement bookmark(database, "INSERT INTO moz_bookmarks (type, fk, parent) VALUES (1, ?1, 2)");
  for (int64_t fk = 7; fk <= kPlaces; fk += 50) bookmark.Execute({fk});
  TSQLiteStatement anno(database,
                        "INSERT INTO moz_annos (place_id, anno_attribute_id, content, expiration) VALUES (?1, 1, "
                        "'note', ?2)");
  for (int64_t id = 3; id <= kPlaces; id += 25) anno.Execute({id, int64_t{id % 4 == 0 ? 4 : 0}});
  TSQLiteStatement input(database, "INSERT INTO moz_inputhistory VALUES (?1, ?2, 1)");
  for (int64_t id = 10; id <= kPlaces; id += 40) input.Execute({id, "sit" + std::to_string(id)});
}

void BuildOldPlaces(const std::string& path) {
  TSQLiteDatabase database(path, firefox::OpenMode::Create);
  for (const char* statement : kOldSchema) database.Execute(statement);
  database.Execute("BEGIN");
  TSQLiteStatement place(database,
                         "INSERT INTO moz_places (id, url, title, rev_host, typed, favicon_id) VALUES (?1, ?2, 'A page "
                         "title of ordinary length', ?3, ?4, ?5)");
  for (int64_t id = 1; id <= kPlaces; ++id)
    place.Execute(
        {id, PlaceUrl(id, "http://"), Host(id), int64_t{id % 10 == 0}, int64_t{id % 3 == 0 ? id % 700 + 1 : 0}});
  AddVisitsAndBookmarks(database);
  TSQLiteStatement favicon(database, "INSERT INTO moz_favicons (id, url, data) VALUES (?1, ?2, x'89504e47')");
  for (int64_t id = 1; id <= 700; ++id) favicon.Execute({id, "http://icons.example/" + std::to_string(id)});
  database.Execute("COMMIT");
}

// Each host's origin (id: host + 1) and one for the saved queries; every
// tenth place with Sync's extra data and history metadata, every 50th of
// those with search terms of its own, every 20th referred by the place
// before it; every 100th on the new tab page.
void BuildCurrentPlaces(const std::string& path) {
  test::BuildDatabase(path, test::kCurrentPlacesSchema);
  TSQLiteDatabase database(path);
  database.Execute("BEGIN");
  TSQLiteStatement origin(database, "INSERT INTO moz_origins (id, prefix, host, frecency) VALUES (?1, ?2, ?3, 1)");
  for (int64_t host = 0; host < kHosts; ++host) origin.Execute({host + 1, "https://", Host(host)});
  origin.Execute({int64_t{kHosts + 1}, "place:", ""});
  TSQLiteStatement place(database,
                         "INSERT INTO moz_places (id, url, title, rev_host, typed, guid, url_hash, origin_id) VALUES "
                         "(?1, ?2, 'A page title of ordinary length', ?3, ?4, ?5, ?6, ?7)");
  for (int64_t id = 1; id <= kPlaces; ++id) {
    std::string url = PlaceUrl(id, "https://"), host = Host(id);
    place.Execute({id, url, std::string(host.rbegin(), host.rend()) + ".", int64_t{id % 10 == 0},
                   "guid" + std::to_string(id), UrlHash(url), IsQuery(id) ? int64_t{kHosts + 1} : id % kHosts + 1});
  }
  AddVisitsAndBookmarks(database);
  database.Execute(
      "INSERT INTO moz_places_extra (place_id, sync_json) SELECT id, '{\"sync\":1}' FROM moz_places "
      "WHERE id % 10 = 3");
  database.Execute(
      "INSERT INTO moz_historyvisits_extra (visit_id, sync_json) SELECT id, '{\"sync\":2}' FROM "
      "moz_historyvisits WHERE id % 10 = 4");
  database.Execute(
      "INSERT INTO moz_places_metadata_search_queries (id, terms) SELECT id / 50 + 1, 'terms ' || id "
      "FROM moz_places WHERE id % 50 = 5");
  database.Execute(
      "INSERT INTO moz_places_metadata (place_id, referrer_place_id, created_at, total_view_time, "
      "search_query_id) SELECT id, CASE WHEN id % 20 = 5 THEN id - 1 END, id, 1000, CASE WHEN id % 50 = "
      "5 THEN id / 50 + 1 END FROM moz_places WHERE id % 10 = 5");
  database.Execute(
      "INSERT INTO moz_newtab_shortcuts_interaction (place_id, event_type, timestamp_s, pinned, "
      "tile_position) SELECT id, 0, id, 0, id % 8 FROM moz_places WHERE id % 100 = 1");
  database.Execute("COMMIT");
}

// A page for each place (for a saved query, the page of a place Firefox
// has already expired), each with its host's icon, every fifth with one of
// its own too; every fourth host has a root icon, linked to no page.
void BuildCurrentFavicons(const std::string& path) {
  test::BuildDatabase(path, test::kCurrentFaviconsSchema);
  TSQLiteDatabase database(path);
  database.Execute("BEGIN");
  TSQLiteStatement icon(database,
                        "INSERT INTO moz_icons (id, icon_url, fixed_icon_url_hash, width, root, data) VALUES (?1, ?2, "
                        "?3, 32, ?4, randomblob(300))");
  auto addIcon = [&](int64_t id, const std::string& url, bool root) {
    icon.Execute({id, url, UrlHash(url), int64_t{root}});
  };
  for (int64_t host = 0; host < kHosts; ++host) {
    addIcon(host + 1, "https://" + Host(host) + "/icon-32.png", false);
    if (host % 4 == 0) addIcon(kHosts + kPlaces / 5 + host / 4 + 1, "https://" + Host(host) + "/favicon.ico", true);
  }
  TSQLiteStatement page(database, "INSERT INTO moz_pages_w_icons (id, page_url, page_url_hash) VALUES (?1, ?2, ?3)");
  TSQLiteStatement link(database, "INSERT INTO moz_icons_to_pages (page_id, icon_id) VALUES (?1, ?2)");
  for (int64_t id = 1; id <= kPlaces; ++id) {
    std::string url = IsQuery(id) ? "https://expired" + std::to_string(id) + ".example/" : PlaceUrl(id, "https://");
    page.Execute({id, url, UrlHash(url)});
    link.Execute({id, id % kHosts + 1});
    if (id % 5 != 0) continue;
    addIcon(kHosts + id / 5, "https://" + Host(id) + "/page/" + std::to_string(id) + "/icon.png", false);
    link.Execute({id, kHosts + id / 5});
  }
  database.Execute("COMMIT");
}

// The statements DeleteHistory sends, in one connection: favicons.sqlite
// (when there is one) with places.sqlite attached as "places", so that both
// lists run as sent, the places list's tables found in "places"; settings:
// with Tidemark's connection settings on both files.
bool Baseline(const std::string& places, const std::string& favicons, bool settings) {
  const firefox::HistoryStatements& statements = firefox::DeleteHistoryStatements();
  bench::BaselineConnection database(favicons.empty() ? places : favicons, settings);
  if (!favicons.empty()) database.Attach(places, "places");
  for (const char* statement : statements.places) database.Run(statement);
  if (!favicons.empty())
    for (const char* statement : statements.favicons) database.Run(statement);
  return database.Ok();
}

// The rows of every table the purge changes, to see that the baseline did the same work.
std::string RowCounts(const std::string& places, const std::string& favicons) {
  std::string counts;
  auto add = [&](const std::string& path, std::initializer_list<const char*> tables) {
    TSQLiteDatabase database(path);
    for (const char* table : tables)
      if (database.HasTable(table))
        counts += database.Query(std::string("SELECT COUNT(*) FROM ") + table).AsText(0) + " ";
  };
  add(places, {"moz_places", "moz_historyvisits", "moz_annos", "moz_inputhistory", "moz_favicons", "moz_origins",
               "moz_places_extra", "moz_historyvisits_extra", "moz_places_metadata",
               "moz_places_metadata_search_queries", "moz_newtab_shortcuts_interaction"});
  if (!favicons.empty()) add(favicons, {"moz_pages_w_icons", "moz_icons", "moz_icons_to_pages"});
  return counts;
}

struct Profile {
  const char* label;
  std::string places, favicons;  // favicons: empty for a profile without
};

// Times the purge against the baseline on fresh copies of the model files; prints the figures.
bool Measure(const Profile& model, const Profile& work) {
  auto fresh = [&] {
    bench::CopyDatabase(model.places, work.places);
    if (!model.favicons.empty()) bench::CopyDatabase(model.favicons, work.favicons);
  };
  bench::Purge purge;
  purge.firefox.FirefoxSqliteFormat = purge.firefox.PlacesSqlitePresent = true;
  purge.firefox.PlacesFile = work.places;
  purge.firefox.FaviconsFile = work.favicons;
  bool ok = true;
  bench::Comparison times = bench::CompareWithBaseline(
      kRounds, fresh, [&] { ok &= firefox::DeleteHistory(purge.Environment()); },
      [&](bool settings) { ok &= Baseline(work.places, work.favicons, settings); },
      [&] { return RowCounts(work.places, work.favicons); });
  ok &= times.SameRows();

  std::printf("history purge, %s, %d places, %d visits (10%% typed): Tidemark %.3f s, baseline %.3f s, ratio %.2f%s\n",
              model.label, kPlaces, kVisits, times.purge, times.baseline, times.purge / times.baseline,
              ok ? "" : " (the purge FAILED)");
  std::printf("  (the baseline opens with Tidemark's connection settings; with SQLite's defaults it takes %.3f s)\n",
              times.defaults);
  return ok;
}

}  // namespace

int main() {
  std::string folder = bench::ScratchFolder("tidemark-history-bench");
  auto in = [&](const char* name) { return folder + "\\" + name; };
  const Profile oldModel{"older schema", in("old-model.sqlite"), ""},
      currentModel{"today's schema with 50,000 icon pages", in("model.sqlite"), in("favicons-model.sqlite")},
      work{"", in("places.sqlite"), in("favicons.sqlite")};
  for (const std::string& file : {oldModel.places, currentModel.places, currentModel.favicons})
    platform::RealFileSystem().RemoveFile(file);  // left by an earlier run
  BuildOldPlaces(oldModel.places);
  BuildCurrentPlaces(currentModel.places);
  BuildCurrentFavicons(currentModel.favicons);

  bool ok = Measure(oldModel, {"", work.places, ""});
  ok &= Measure(currentModel, work);
  for (const std::string& file :
       {oldModel.places, currentModel.places, currentModel.favicons, work.places, work.favicons})
    platform::RealFileSystem().RemoveFile(file);
  platform::RealFileSystem().RemoveFolder(folder);
  return ok ? 0 : 1;
}
