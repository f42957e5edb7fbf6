// Chromium's databases as the purges meet them, made with Chromium's own CREATE statements: today's Cookies (schema
// 24), History, Favicons and Web Data as the demo profile's script builds them too.
#pragma once
#include <initializer_list>

#include "firefox/firefox_databases.h"

namespace tidemark::test {

inline constexpr SharedSchema kCookiesSchemaV24{"chromium/cookies.sql"}, kFaviconsSchema{"chromium/favicons.sql"},
    kWebDataSchema{"chromium/web_data.sql"};
// History as the demo profile keeps it; the tables below make it today's.
inline constexpr SharedSchema kHistoryCommonSchema{"chromium/history.sql"};

// clang-format off
// What today's Chromium keeps beyond the demo profile's History: the clusters and the sync metadata.
inline constexpr std::initializer_list<const char*> kHistoryCurrentTables = {
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

// clang-format on

}  // namespace tidemark::test
