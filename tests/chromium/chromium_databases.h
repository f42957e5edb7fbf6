// Chromium's databases as the purges meet them, made with Chromium's own CREATE statements: today's Cookies (schema
// 24), History, Favicons and Web Data as the demo profile's script builds them too, cookies at schema version 18 and an
// older History (before visited links, annotations and clusters).
#pragma once
#include <initializer_list>

#include "firefox/firefox_databases.h"

namespace tidemark::test {

inline constexpr SharedSchema kCookiesSchemaV24{"chromium/cookies.sql"}, kFaviconsSchema{"chromium/favicons.sql"},
    kWebDataSchema{"chromium/web_data.sql"};
// Today's History as the demo profile keeps it, where both History schemas below start.
inline constexpr SharedSchema kHistoryCommonSchema{"chromium/history.sql"};

// clang-format off
// The same party, neither the source's type nor a cross-site ancestor (schema 20 only widened the unique index).
inline constexpr std::initializer_list<const char*> kCookiesSchemaV18 = {
    "CREATE TABLE meta(key LONGVARCHAR NOT NULL UNIQUE PRIMARY KEY, value LONGVARCHAR)",
    "INSERT INTO meta VALUES ('version', '18'), ('last_compatible_version', '18')",
    "CREATE TABLE cookies(creation_utc INTEGER NOT NULL,host_key TEXT NOT NULL,top_frame_site_key TEXT NOT NULL,name "
    "TEXT NOT NULL,value TEXT NOT NULL,encrypted_value BLOB NOT NULL,path TEXT NOT NULL,expires_utc INTEGER NOT NULL,"
    "is_secure INTEGER NOT NULL,is_httponly INTEGER NOT NULL,last_access_utc INTEGER NOT NULL,has_expires INTEGER NOT "
    "NULL,is_persistent INTEGER NOT NULL,priority INTEGER NOT NULL,samesite INTEGER NOT NULL,source_scheme INTEGER NOT "
    "NULL,source_port INTEGER NOT NULL,is_same_party INTEGER NOT NULL,last_update_utc INTEGER NOT NULL);",
    "CREATE UNIQUE INDEX cookies_unique_index ON cookies(host_key, top_frame_site_key, name, path)",
};

// What today's Chromium keeps beyond the demo profile's History: its indexes, the clusters and the sync metadata.
inline constexpr std::initializer_list<const char*> kHistoryCurrentTables = {
    "CREATE INDEX urls_url_index ON urls (url)",
    "CREATE INDEX visits_url_index ON visits (url)",
    "CREATE INDEX visits_time_index ON visits (visit_time)",
    "CREATE TABLE clusters(cluster_id INTEGER PRIMARY KEY AUTOINCREMENT,should_show_on_prominent_ui_surfaces BOOLEAN "
    "NOT NULL,label VARCHAR NOT NULL,raw_label VARCHAR NOT NULL,triggerability_calculated BOOLEAN NOT NULL,"
    "originator_cache_guid TEXT NOT NULL,originator_cluster_id INTEGER NOT NULL)",
    "CREATE TABLE clusters_and_visits(cluster_id INTEGER NOT NULL,visit_id INTEGER NOT NULL,score NUMERIC DEFAULT 0 NOT "
    "NULL,engagement_score NUMERIC DEFAULT 0 NOT NULL,url_for_deduping LONGVARCHAR NOT NULL,normalized_url LONGVARCHAR "
    "NOT NULL,url_for_display LONGVARCHAR NOT NULL,interaction_state INTEGER DEFAULT 0 NOT NULL,PRIMARY "
    "KEY(cluster_id,visit_id))WITHOUT ROWID",
    "CREATE TABLE cluster_keywords(cluster_id INTEGER NOT NULL,keyword VARCHAR NOT NULL,type INTEGER NOT NULL,score "
    "NUMERIC NOT NULL,collections VARCHAR NOT NULL)",
    "CREATE TABLE cluster_visit_duplicates(visit_id INTEGER NOT NULL,duplicate_visit_id INTEGER NOT NULL,PRIMARY "
    "KEY(visit_id,duplicate_visit_id))WITHOUT ROWID",
    "CREATE TABLE history_sync_metadata (storage_key INTEGER PRIMARY KEY NOT NULL, value BLOB)",
};

// Before visited links and annotations: the visits as they were.
inline constexpr std::initializer_list<const char*> kHistoryOlderTables = {
    "DROP TABLE visited_links", "DROP TABLE content_annotations", "DROP TABLE context_annotations", "DROP TABLE visits",
    "CREATE TABLE visits(id INTEGER PRIMARY KEY,url INTEGER NOT NULL,visit_time INTEGER NOT NULL,from_visit INTEGER,"
    "transition INTEGER DEFAULT 0 NOT NULL,segment_id INTEGER,visit_duration INTEGER DEFAULT 0 NOT NULL,"
    "incremented_omnibox_typed_score BOOLEAN DEFAULT FALSE NOT NULL)",
    "CREATE INDEX visits_url_index ON visits (url)",
};
// clang-format on

}  // namespace tidemark::test
