// The Chromium history, typed URLs and form history purges: fixed statements
// against each profile's History, Favicons and Web Data, each database in
// one transaction, and the history's companion databases deleted whole.
// Bookmarked pages keep their URL and icons: the bookmarks themselves live
// in the profile's Bookmarks file, read first.
#include <iterator>

#include "chromium/bookmarks.h"
#include "chromium/chromium_purges.h"
#include "chromium/profile_database.h"
#include "firefox/firefox_purges.h"

namespace tidemark::chromium {
namespace {

// Chromium's page transition keeps its core type in the low byte: 1 typed.
// clang-format off
constexpr PurgeStatement kHistoryStatements[] = {
    {"visit_source", "DELETE FROM visit_source"},
    {"visits", "DELETE FROM visits", "visits"},
    {"urls", "DELETE FROM urls WHERE url IS NULL OR url NOT IN (SELECT url FROM temp.kept_urls)", "URLs"},
    {"urls", "UPDATE urls SET visit_count = 0, typed_count = 0, last_visit_time = 0 WHERE visit_count <> 0 OR typed_count <> 0 OR last_visit_time <> 0"},
    {"keyword_search_terms", "DELETE FROM keyword_search_terms", "search terms"},
    {"segments", "DELETE FROM segments"},
    {"segment_usage", "DELETE FROM segment_usage"},
    {"visited_links", "DELETE FROM visited_links"},
    {"content_annotations", "DELETE FROM content_annotations"},
    {"context_annotations", "DELETE FROM context_annotations"},
    {"clusters", "DELETE FROM clusters"},
    {"clusters_and_visits", "DELETE FROM clusters_and_visits"},
    {"cluster_keywords", "DELETE FROM cluster_keywords"},
    {"cluster_visit_duplicates", "DELETE FROM cluster_visit_duplicates"},
    {"history_sync_metadata", "DELETE FROM history_sync_metadata"},
};

// The URLs go first, while the typed visits still tell which are left
// without other visits; what the removed visits and URLs leave follows.
constexpr PurgeStatement kTypedUrlStatements[] = {
    {"keyword_search_terms", "DELETE FROM keyword_search_terms", "search terms"},
    {"visit_source", "DELETE FROM visit_source WHERE id IN (SELECT id FROM visits WHERE (transition & 255) = 1)"},
    {"urls", "DELETE FROM urls WHERE id NOT IN (SELECT url FROM visits WHERE (transition & 255) <> 1) AND (url IS NULL OR url NOT IN (SELECT url FROM temp.kept_urls))", "URLs"},
    {"visits", "DELETE FROM visits WHERE (transition & 255) = 1", "typed visits"},
    {"urls", "UPDATE urls SET typed_count = 0 WHERE typed_count <> 0"},
    {"content_annotations", "DELETE FROM content_annotations WHERE visit_id NOT IN (SELECT id FROM visits)"},
    {"context_annotations", "DELETE FROM context_annotations WHERE visit_id NOT IN (SELECT id FROM visits)"},
    {"clusters_and_visits", "DELETE FROM clusters_and_visits WHERE visit_id NOT IN (SELECT id FROM visits)"},
    {"cluster_visit_duplicates", "DELETE FROM cluster_visit_duplicates WHERE visit_id NOT IN (SELECT id FROM visits) OR duplicate_visit_id NOT IN (SELECT id FROM visits)"},
    {"clusters", "DELETE FROM clusters WHERE cluster_id NOT IN (SELECT cluster_id FROM clusters_and_visits)"},
    {"cluster_keywords", "DELETE FROM cluster_keywords WHERE cluster_id NOT IN (SELECT cluster_id FROM clusters)"},
    {"segments", "DELETE FROM segments WHERE url_id NOT IN (SELECT id FROM urls)"},
    {"segment_usage", "DELETE FROM segment_usage WHERE segment_id NOT IN (SELECT id FROM segments)"},
    {"visited_links", "DELETE FROM visited_links WHERE link_url_id NOT IN (SELECT id FROM urls)"},
};

// Favicons, with the purged History attached as "history": the icons of
// pages no longer there (a bookmark's stay, even of a page History never
// had), then the icons no page uses.
constexpr PurgeStatement kFaviconStatements[] = {
    {"icon_mapping", "DELETE FROM icon_mapping WHERE page_url NOT IN (SELECT url FROM history.urls WHERE url IS NOT NULL) AND page_url NOT IN (SELECT url FROM temp.kept_urls)", "page icons"},
    {"favicon_bitmaps", "DELETE FROM favicon_bitmaps WHERE icon_id NOT IN (SELECT icon_id FROM icon_mapping WHERE icon_id IS NOT NULL)"},
    {"favicons", "DELETE FROM favicons WHERE id NOT IN (SELECT icon_id FROM icon_mapping WHERE icon_id IS NOT NULL)"},
};

constexpr PurgeStatement kFormStatements[] = {
    {"autofill", "DELETE FROM autofill", "form entries"},
};
// clang-format on

// Each of the two history purges: its statements, its error line and the
// companion databases it deletes whole.
struct HistoryPurge {
  std::string_view function;
  std::span<const PurgeStatement> statements;
  const char* failedLine;
  std::initializer_list<const char*> companions;
};

const HistoryPurge kHistory = {
    "  Purge \"Chromium History\"",
    kHistoryStatements,
    "*** Error - Delete entries from Chromium History failed - ",
    {"Visited Links", "Top Sites", "Shortcuts", "Network Action Predictor", "History Provider Cache"}};
const HistoryPurge kTypedUrls = {"  Purge \"Chromium Typed URLs\"",
                                 kTypedUrlStatements,
                                 "*** Error - Delete Chromium Typed URL entries failed - ",
                                 {"Shortcuts", "Network Action Predictor"}};

// The profile's bookmarked addresses (a signed-in Chrome keeps the
// account's in AccountBookmarks); nothing, after its error line, when a
// bookmarks file is there but cannot be read: the history purge would lose
// what the bookmarks keep.
std::optional<std::vector<std::string>> ReadBookmarks(engine::PurgeEnvironment& env,
                                                      const locations::ChromiumProfile& profile) {
  std::vector<std::string> all;
  for (const char* name : {"\\Bookmarks", "\\AccountBookmarks"}) {
    const std::string path = profile.folder + name;
    if (!env.platform.files.FileExists(path)) continue;
    std::optional<std::string> text = env.platform.files.ReadFile(path);
    std::optional<std::vector<std::string>> urls = text ? BookmarkedUrls(*text) : std::nullopt;
    if (!urls) {
      firefox::FailureLine(env, "*** Error - Chromium Bookmarks could not be read, History not purged - " + path, "");
      return std::nullopt;
    }
    all.insert(all.end(), urls->begin(), urls->end());
  }
  return all;
}

// History (and Favicons after it), then the companion databases; the entries.
int64_t PurgeProfileHistory(engine::PurgeEnvironment& env, const locations::ChromiumProfile& profile,
                            const HistoryPurge& purge) {
  std::optional<std::vector<std::string>> bookmarks = ReadBookmarks(env, profile);
  if (!bookmarks) return 0;
  platform::FileSystem& files = env.platform.files;
  const std::string history = profile.folder + "\\History", favicons = profile.folder + "\\Favicons";
  int64_t entries = 0;
  if (files.FileExists(history)) {
    std::optional<int64_t> purged = RunDatabaseWork(env, history, purge.failedLine, [&](TSQLiteDatabase& database) {
      KeepUrls(database, *bookmarks);
      return RunStatements(env, database, purge.statements, history);
    });
    if (!purged) return 0;
    entries += *purged;
    // The icons follow the pages the purge removed, which a Preview has not.
    if (files.FileExists(favicons) && !env.Preview())
      entries += RunDatabaseWork(env, favicons, purge.failedLine, [&](TSQLiteDatabase& database) {
                   database.Attach(history, "history");
                   KeepUrls(database, *bookmarks);
                   return RunStatements(env, database, kFaviconStatements, favicons);
                 }).value_or(0);
  }
  for (const char* companion : purge.companions) entries += DeleteDatabaseFile(env, profile.folder + "\\" + companion);
  return entries;
}

void RunHistoryPurge(engine::PurgeEnvironment& env, const HistoryPurge& purge) {
  int64_t processed = 0;
  for (const locations::ChromiumBrowser& browser : env.located.chromium) {
    if (!BrowserMayBeProcessed(env, browser)) continue;
    for (const locations::ChromiumProfile& profile : browser.profiles)
      processed += PurgeProfileHistory(env, profile, purge);
  }
  env.WriteCompletion(engine::EntriesCompletion(purge.function), static_cast<int32_t>(processed));
}

}  // namespace

std::span<const PurgeStatement> HistoryPurgeStatements() { return kHistoryStatements; }

std::span<const PurgeStatement> FaviconPurgeStatements() { return kFaviconStatements; }

void ChromiumHistoryPurge(engine::PurgeEnvironment& env) { RunHistoryPurge(env, kHistory); }

void ChromiumTypedUrlsPurge(engine::PurgeEnvironment& env) { RunHistoryPurge(env, kTypedUrls); }

void ChromiumFormsPurge(engine::PurgeEnvironment& env) {
  int64_t processed = 0;
  for (const locations::ChromiumBrowser& browser : env.located.chromium) {
    if (!BrowserMayBeProcessed(env, browser)) continue;
    for (const locations::ChromiumProfile& profile : browser.profiles) {
      const std::string path = profile.folder + "\\Web Data";
      if (!env.platform.files.FileExists(path)) continue;
      processed += RunDatabaseWork(
                       env, path, "*** Error - Delete entries from Chromium Form History failed - ",
                       [&](TSQLiteDatabase& database) { return RunStatements(env, database, kFormStatements, path); })
                       .value_or(0);
    }
  }
  env.WriteCompletion(engine::EntriesCompletion("  Purge \"Chromium Forms History\""), static_cast<int32_t>(processed));
}

}  // namespace tidemark::chromium
