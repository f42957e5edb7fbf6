// Today's Firefox databases as the purges meet them: the tables the purges touch as Firefox creates them (places,
// favicons, form history, cookies), the indexes their statements can use, in WAL mode.
#pragma once
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <cstdint>
#include <initializer_list>
#include <string>

#include "firefox/sqlite_database.h"

namespace tidemark::test {

// clang-format off
inline constexpr std::initializer_list<const char*> kCurrentPlacesSchema = {
    "PRAGMA journal_mode = WAL",
    "CREATE TABLE moz_origins ( id INTEGER PRIMARY KEY, prefix TEXT NOT NULL, host TEXT NOT NULL, frecency INTEGER NOT "
    "NULL, recalc_frecency INTEGER NOT NULL DEFAULT 0, alt_frecency INTEGER, recalc_alt_frecency INTEGER NOT NULL "
    "DEFAULT 0, UNIQUE (prefix, host) )",
    "CREATE TABLE moz_places (   id INTEGER PRIMARY KEY, url LONGVARCHAR, title LONGVARCHAR, rev_host LONGVARCHAR, "
    "visit_count INTEGER DEFAULT 0, hidden INTEGER DEFAULT 0 NOT NULL, typed INTEGER DEFAULT 0 NOT NULL, frecency "
    "INTEGER DEFAULT -1 NOT NULL, last_visit_date INTEGER , guid TEXT, foreign_count INTEGER DEFAULT 0 NOT NULL, "
    "url_hash INTEGER DEFAULT 0 NOT NULL , description TEXT, preview_image_url TEXT, site_name TEXT, origin_id "
    "INTEGER REFERENCES moz_origins(id), recalc_frecency INTEGER NOT NULL DEFAULT 0, alt_frecency INTEGER, "
    "recalc_alt_frecency INTEGER NOT NULL DEFAULT 0)",
    "CREATE INDEX moz_places_url_hashindex ON moz_places (url_hash)",
    "CREATE INDEX moz_places_originidindex ON moz_places (origin_id)",
    "CREATE TABLE moz_historyvisits (  id INTEGER PRIMARY KEY, from_visit INTEGER, place_id INTEGER, visit_date "
    "INTEGER, visit_type INTEGER, session INTEGER, source INTEGER DEFAULT 0 NOT NULL, triggeringPlaceId INTEGER)",
    "CREATE INDEX moz_historyvisits_placedateindex ON moz_historyvisits (place_id, visit_date)",
    "CREATE TABLE moz_places_extra (  place_id INTEGER PRIMARY KEY NOT NULL, sync_json TEXT, FOREIGN KEY (place_id) "
    "REFERENCES moz_places(id) ON DELETE CASCADE )",
    "CREATE TABLE moz_historyvisits_extra (  visit_id INTEGER PRIMARY KEY NOT NULL, sync_json TEXT, FOREIGN KEY "
    "(visit_id) REFERENCES moz_historyvisits(id) ON   DELETE CASCADE)",
    "CREATE TABLE moz_inputhistory (  place_id INTEGER NOT NULL, input LONGVARCHAR NOT NULL, use_count INTEGER, "
    "PRIMARY KEY (place_id, input))",
    "CREATE TABLE moz_annos (  id INTEGER PRIMARY KEY, place_id INTEGER NOT NULL, anno_attribute_id INTEGER, content "
    "LONGVARCHAR, flags INTEGER DEFAULT 0, expiration INTEGER DEFAULT 0, type INTEGER DEFAULT 0, dateAdded INTEGER "
    "DEFAULT 0, lastModified INTEGER DEFAULT 0)",
    "CREATE TABLE moz_bookmarks (  id INTEGER PRIMARY KEY, type INTEGER, fk INTEGER DEFAULT NULL, parent INTEGER, "
    "position INTEGER, title LONGVARCHAR, keyword_id INTEGER, folder_type TEXT, dateAdded INTEGER, lastModified "
    "INTEGER, guid TEXT, syncStatus INTEGER NOT NULL DEFAULT 0, syncChangeCounter INTEGER NOT NULL DEFAULT 1)",
    "CREATE INDEX moz_bookmarks_itemindex ON moz_bookmarks (fk, type)",
    "CREATE TABLE moz_places_metadata (id INTEGER PRIMARY KEY, place_id INTEGER NOT NULL, referrer_place_id INTEGER, "
    "created_at INTEGER NOT NULL DEFAULT 0, updated_at INTEGER NOT NULL DEFAULT 0, total_view_time INTEGER NOT NULL "
    "DEFAULT 0, typing_time INTEGER NOT NULL DEFAULT 0, key_presses INTEGER NOT NULL DEFAULT 0, scrolling_time "
    "INTEGER NOT NULL DEFAULT 0, scrolling_distance INTEGER NOT NULL DEFAULT 0, document_type INTEGER NOT NULL "
    "DEFAULT 0, search_query_id INTEGER, FOREIGN KEY (place_id) REFERENCES moz_places(id) ON DELETE CASCADE, "
    "FOREIGN KEY (referrer_place_id) REFERENCES moz_places(id) ON DELETE CASCADE, FOREIGN "
    "KEY(search_query_id) REFERENCES moz_places_metadata_search_queries(id) ON DELETE CASCADE CHECK(place_id != "
    "referrer_place_id) )",
    "CREATE UNIQUE INDEX moz_places_metadata_placecreated_uniqueindex ON moz_places_metadata (place_id, created_at)",
    "CREATE INDEX moz_places_metadata_referrerindex ON moz_places_metadata (referrer_place_id)",
    "CREATE TABLE IF NOT EXISTS moz_places_metadata_search_queries ( id INTEGER PRIMARY KEY, terms TEXT NOT NULL "
    "UNIQUE )",
    "CREATE TABLE moz_newtab_shortcuts_interaction (   id INTEGER PRIMARY KEY,   place_id INTEGER NOT NULL REFERENCES "
    "moz_places(id) ON DELETE CASCADE,   event_type INTEGER NOT NULL,   timestamp_s INTEGER NOT NULL,   pinned INTEGER "
    "NOT NULL CHECK (pinned IN (0, 1)),   tile_position INTEGER NOT NULL)",
};

inline constexpr std::initializer_list<const char*> kCurrentFaviconsSchema = {
    "PRAGMA journal_mode = WAL",
    "CREATE TABLE moz_pages_w_icons ( id INTEGER PRIMARY KEY, page_url TEXT NOT NULL, page_url_hash INTEGER NOT NULL ) ",
    "CREATE INDEX moz_pages_w_icons_urlhashindex ON moz_pages_w_icons (page_url_hash)",
    "CREATE TABLE moz_icons ( id INTEGER PRIMARY KEY, icon_url TEXT NOT NULL, fixed_icon_url_hash INTEGER NOT NULL, "
    "width INTEGER NOT NULL DEFAULT 0, root INTEGER NOT NULL DEFAULT 0, color INTEGER, expire_ms INTEGER NOT NULL "
    "DEFAULT 0, flags INTEGER NOT NULL DEFAULT 0, data BLOB ) ",
    "CREATE INDEX moz_icons_iconurlhashindex ON moz_icons (fixed_icon_url_hash)",
    "CREATE TABLE moz_icons_to_pages ( page_id INTEGER NOT NULL, icon_id INTEGER NOT NULL, expire_ms INTEGER NOT NULL "
    "DEFAULT 0, PRIMARY KEY (page_id, icon_id), FOREIGN KEY (page_id) REFERENCES moz_pages_w_icons ON DELETE CASCADE, "
    "FOREIGN KEY (icon_id) REFERENCES moz_icons ON DELETE CASCADE ) WITHOUT ROWID ",
};

inline constexpr std::initializer_list<const char*> kCurrentFormHistorySchema = {
    "PRAGMA journal_mode = WAL",
    "CREATE TABLE moz_formhistory (id INTEGER PRIMARY KEY, fieldname TEXT NOT NULL, value TEXT NOT NULL, timesUsed "
    "INTEGER, firstUsed INTEGER, lastUsed INTEGER, guid TEXT)",
    "CREATE TABLE moz_sources (id INTEGER PRIMARY KEY, source TEXT NOT NULL)",
    "CREATE TABLE moz_history_to_sources (history_id INTEGER, source_id INTEGER, PRIMARY KEY (history_id, "
    "source_id), FOREIGN KEY (history_id) REFERENCES moz_formhistory(id) ON DELETE CASCADE, FOREIGN KEY (source_id) "
    "REFERENCES moz_sources(id) ON DELETE CASCADE)",
    "CREATE INDEX moz_formhistory_index ON moz_formhistory (fieldname)",
};

inline constexpr std::initializer_list<const char*> kCurrentCookiesSchema = {
    "PRAGMA journal_mode = WAL",
    "CREATE TABLE moz_cookies (id INTEGER PRIMARY KEY, originAttributes TEXT NOT NULL DEFAULT '', name TEXT, value "
    "TEXT, host TEXT, path TEXT, expiry INTEGER, lastAccessed INTEGER, creationTime INTEGER, isSecure INTEGER, "
    "isHttpOnly INTEGER, inBrowserElement INTEGER DEFAULT 0, sameSite INTEGER DEFAULT 0, rawSameSite INTEGER DEFAULT "
    "0, schemeMap INTEGER DEFAULT 0, isPartitionedAttributeSet INTEGER DEFAULT 0, CONSTRAINT moz_uniqueid UNIQUE "
    "(name, host, path, originAttributes))",
};
// clang-format on

// Creates (or opens) the database and runs the statements in order.
inline void BuildDatabase(const std::string& path, std::initializer_list<const char*> statements) {
  firefox::TSQLiteDatabase database(path, firefox::OpenMode::Create);
  for (const char* statement : statements) database.Query(statement);
}

// The first column of the first row of a query, as text; the number of rows of a query.
inline std::string QueryText(const std::string& path, const std::string& sql) {
  firefox::TSQLiteDatabase database(path);
  firefox::TSQLiteTable table = database.Query(sql);
  return table.AtEnd() ? std::string() : table.AsText(0);
}
inline int64_t QueryCount(const std::string& path, const std::string& sql) {
  return std::stoll(QueryText(path, "SELECT COUNT(*) FROM (" + sql + ")"));
}

// A writer that stops as a crashing Firefox does: what it wrote stays in the write-ahead log, never copied into the
// database, for the next connection to find there.
inline void WriteWithoutCheckpoint(const std::string& path, std::initializer_list<const char*> statements) {
  sqlite3* database = nullptr;
  ASSERT_EQ(sqlite3_open(path.c_str(), &database), SQLITE_OK);
  sqlite3_db_config(database, SQLITE_DBCONFIG_NO_CKPT_ON_CLOSE, 1, nullptr);
  for (const char* statement : statements)
    EXPECT_EQ(sqlite3_exec(database, statement, nullptr, nullptr, nullptr), SQLITE_OK) << statement;
  sqlite3_close(database);
}

}  // namespace tidemark::test
