// Firefox databases for tests: the schemas of a current Firefox (places in
// WAL mode with url_hash and origins, favicons no longer inside, cookies
// with lower-case columns and origin attributes, form history with its
// sources), and small helpers to fill and read them.
#pragma once
#include <cstdint>
#include <initializer_list>
#include <string>

#include "firefox/sqlite_database.h"

namespace tidemark::test {

inline constexpr std::initializer_list<const char*> kCurrentPlacesSchema = {
    "PRAGMA journal_mode = WAL",
    "PRAGMA user_version = 77",
    "CREATE TABLE moz_origins ( id INTEGER PRIMARY KEY, prefix TEXT NOT NULL, host TEXT NOT NULL, frecency INTEGER "
    "NOT NULL, recalc_frecency INTEGER NOT NULL DEFAULT 0, alt_frecency INTEGER, recalc_alt_frecency INTEGER NOT NULL "
    "DEFAULT 0, UNIQUE (prefix, host) )",
    "CREATE TABLE moz_places (   id INTEGER PRIMARY KEY, url LONGVARCHAR, title LONGVARCHAR, rev_host LONGVARCHAR, "
    "visit_count INTEGER DEFAULT 0, hidden INTEGER DEFAULT 0 NOT NULL, typed INTEGER DEFAULT 0 NOT NULL, frecency "
    "INTEGER DEFAULT -1 NOT NULL, last_visit_date INTEGER , guid TEXT, foreign_count INTEGER DEFAULT 0 NOT NULL, "
    "url_hash INTEGER DEFAULT 0 NOT NULL , description TEXT, preview_image_url TEXT, site_name TEXT, origin_id "
    "INTEGER REFERENCES moz_origins(id), recalc_frecency INTEGER NOT NULL DEFAULT 0, alt_frecency INTEGER, "
    "recalc_alt_frecency INTEGER NOT NULL DEFAULT 0)",
    "CREATE INDEX moz_places_url_hashindex ON moz_places (url_hash)",
    "CREATE UNIQUE INDEX moz_places_guid_uniqueindex ON moz_places (guid)",
    "CREATE TABLE moz_historyvisits (  id INTEGER PRIMARY KEY, from_visit INTEGER, place_id INTEGER, visit_date "
    "INTEGER, visit_type INTEGER, session INTEGER, source INTEGER DEFAULT 0 NOT NULL, triggeringPlaceId INTEGER)",
    "CREATE INDEX moz_historyvisits_placedateindex ON moz_historyvisits (place_id, visit_date)",
    "CREATE TABLE moz_inputhistory (  place_id INTEGER NOT NULL, input LONGVARCHAR NOT NULL, use_count INTEGER, "
    "PRIMARY KEY (place_id, input))",
    "CREATE TABLE moz_bookmarks (  id INTEGER PRIMARY KEY, type INTEGER, fk INTEGER DEFAULT NULL, parent INTEGER, "
    "position INTEGER, title LONGVARCHAR, keyword_id INTEGER, folder_type TEXT, dateAdded INTEGER, lastModified "
    "INTEGER, guid TEXT, syncStatus INTEGER NOT NULL DEFAULT 0, syncChangeCounter INTEGER NOT NULL DEFAULT 1)",
    "CREATE INDEX moz_bookmarks_itemindex ON moz_bookmarks (fk, type)",
    "CREATE TABLE moz_anno_attributes (  id INTEGER PRIMARY KEY, name VARCHAR(32) UNIQUE NOT NULL)",
    "CREATE TABLE moz_annos (  id INTEGER PRIMARY KEY, place_id INTEGER NOT NULL, anno_attribute_id INTEGER, content "
    "LONGVARCHAR, flags INTEGER DEFAULT 0, expiration INTEGER DEFAULT 0, type INTEGER DEFAULT 0, dateAdded INTEGER "
    "DEFAULT 0, lastModified INTEGER DEFAULT 0)",
    "CREATE TABLE moz_meta (key TEXT PRIMARY KEY, value NOT NULL) WITHOUT ROWID",
};

inline constexpr std::initializer_list<const char*> kCurrentCookiesSchema = {
    "PRAGMA journal_mode = WAL",
    "PRAGMA user_version = 16",
    "CREATE TABLE moz_cookies (id INTEGER PRIMARY KEY, originAttributes TEXT NOT NULL DEFAULT '', name TEXT, value "
    "TEXT, host TEXT, path TEXT, expiry INTEGER, lastAccessed INTEGER, creationTime INTEGER, isSecure INTEGER, "
    "isHttpOnly INTEGER, inBrowserElement INTEGER DEFAULT 0, sameSite INTEGER DEFAULT 0, rawSameSite INTEGER DEFAULT "
    "0, schemeMap INTEGER DEFAULT 0, isPartitionedAttributeSet INTEGER DEFAULT 0, CONSTRAINT moz_uniqueid UNIQUE "
    "(name, host, path, originAttributes))",
};

inline constexpr std::initializer_list<const char*> kCurrentFormHistorySchema = {
    "PRAGMA journal_mode = WAL",
    "PRAGMA user_version = 5",
    "CREATE TABLE moz_formhistory (id INTEGER PRIMARY KEY, fieldname TEXT NOT NULL, value TEXT NOT NULL, timesUsed "
    "INTEGER, firstUsed INTEGER, lastUsed INTEGER, guid TEXT)",
    "CREATE TABLE moz_deleted_formhistory (id INTEGER PRIMARY KEY, timeDeleted INTEGER, guid TEXT)",
    "CREATE TABLE moz_sources (id INTEGER PRIMARY KEY, source TEXT NOT NULL)",
    "CREATE TABLE moz_history_to_sources (history_id INTEGER, source_id INTEGER, PRIMARY KEY (history_id, "
    "source_id), FOREIGN KEY (history_id) REFERENCES moz_formhistory(id) ON DELETE CASCADE, FOREIGN KEY (source_id) "
    "REFERENCES moz_sources(id) ON DELETE CASCADE) WITHOUT ROWID",
};

// Creates (or opens) the database and runs the statements in order.
inline void BuildDatabase(const std::string& path, std::initializer_list<const char*> statements) {
  firefox::TSQLiteDatabase database(path, firefox::OpenMode::Create);
  for (const char* statement : statements) {
    // A pragma that answers with a row (journal_mode) is a query.
    if (std::string(statement).rfind("PRAGMA journal_mode", 0) == 0)
      database.Query(statement);
    else
      database.Execute(statement);
  }
}

// The first column of the first row of a query, as text.
inline std::string QueryText(const std::string& path, const std::string& sql) {
  firefox::TSQLiteDatabase database(path);
  firefox::TSQLiteTable table = database.Query(sql);
  return table.AtEnd() ? std::string() : table.AsText(0);
}

inline int64_t QueryCount(const std::string& path, const std::string& sql) {
  return std::stoll(QueryText(path, "SELECT COUNT(*) FROM (" + sql + ")"));
}

}  // namespace tidemark::test
