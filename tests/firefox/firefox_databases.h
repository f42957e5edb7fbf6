// A current Firefox's databases (WAL, no favicons, cookies with origin attributes) as the purges meet them.
#pragma once
#include <cstdint>
#include <initializer_list>
#include <string>

#include "firefox/sqlite_database.h"

namespace tidemark::test {

inline constexpr std::initializer_list<const char*> kCurrentPlacesSchema = {
    "PRAGMA journal_mode = WAL",
    "CREATE TABLE moz_places (id INTEGER PRIMARY KEY, url LONGVARCHAR, title LONGVARCHAR, visit_count INTEGER "
    "DEFAULT 0, typed INTEGER DEFAULT 0 NOT NULL, guid TEXT, url_hash INTEGER DEFAULT 0 NOT NULL, origin_id INTEGER)",
    "CREATE TABLE moz_historyvisits (id INTEGER PRIMARY KEY, from_visit INTEGER, place_id INTEGER, visit_date "
    "INTEGER, visit_type INTEGER, source INTEGER DEFAULT 0 NOT NULL, triggeringPlaceId INTEGER)",
    "CREATE TABLE moz_inputhistory (place_id INTEGER NOT NULL, input LONGVARCHAR NOT NULL, use_count INTEGER)",
    "CREATE TABLE moz_bookmarks (id INTEGER PRIMARY KEY, type INTEGER, fk INTEGER DEFAULT NULL, guid TEXT)",
    "CREATE TABLE moz_annos (id INTEGER PRIMARY KEY, place_id INTEGER NOT NULL, anno_attribute_id INTEGER, "
    "expiration INTEGER DEFAULT 0)",
};

inline constexpr std::initializer_list<const char*> kCurrentCookiesSchema = {
    "PRAGMA journal_mode = WAL",
    "CREATE TABLE moz_cookies (id INTEGER PRIMARY KEY, originAttributes TEXT NOT NULL DEFAULT '', name TEXT, value "
    "TEXT, host TEXT, path TEXT, expiry INTEGER, lastAccessed INTEGER, creationTime INTEGER, isSecure INTEGER, "
    "isHttpOnly INTEGER, inBrowserElement INTEGER DEFAULT 0, sameSite INTEGER DEFAULT 0, rawSameSite INTEGER DEFAULT "
    "0, schemeMap INTEGER DEFAULT 0, isPartitionedAttributeSet INTEGER DEFAULT 0, CONSTRAINT moz_uniqueid UNIQUE "
    "(name, host, path, originAttributes))",
};

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

}  // namespace tidemark::test
