// The Chromium history purge (ChromiumHistoryPurge) of one profile of 50,000
// urls and 100,000 visits (10 % typed) over 4,000 hosts, in today's schema:
// visit sources, search terms, segments with their usage, visited links,
// annotations and a few downloads (which stay); a Bookmarks file keeping
// 300 pages (250 of them in History), and a Favicons database with an icon
// for each host and every fifth page. The baseline runs the same statements
// (HistoryPurgeStatements, FaviconPurgeStatements) with the same SQLite
// build without Tidemark, in one connection. Each round starts from fresh
// copies of the same databases.
#include <cstdio>
#include <random>

#include "chromium/chromium_databases.h"
#include "chromium/chromium_purges.h"
#include "firefox/firefox_databases.h"
#include "firefox_bench_win.h"

namespace {

using namespace tidemark;
using firefox::TSQLiteDatabase;
using firefox::TSQLiteStatement;

constexpr int kUrls = 50'000;
constexpr int kVisits = 100'000;
constexpr int kHosts = 4'000;
constexpr int kBookmarkedUrlStep = 200;  // every 200th url is bookmarked
constexpr int kBookmarksElsewhere = 50;  // bookmarked pages History never had
constexpr int kRounds = 9;

std::string Host(int64_t url) { return "site" + std::to_string(url % kHosts) + ".example"; }

std::string PageUrl(int64_t url) { return "https://" + Host(url) + "/page/" + std::to_string(url) + "?ref=bench"; }

std::string PageElsewhere(int64_t n) { return "https://bookmarked" + std::to_string(n) + ".example/"; }

std::vector<std::string> BookmarkedUrls() {
  std::vector<std::string> urls;
  for (int64_t url = kBookmarkedUrlStep; url <= kUrls; url += kBookmarkedUrlStep) urls.push_back(PageUrl(url));
  for (int64_t n = 1; n <= kBookmarksElsewhere; ++n) urls.push_back(PageElsewhere(n));
  return urls;
}

std::string BookmarksFile(const std::vector<std::string>& urls) {
  std::string children;
  for (size_t i = 0; i < urls.size(); ++i)
    children += std::string(i == 0 ? "" : ",") + R"({"id": ")" + std::to_string(i + 10) +
                R"(", "name": "A bookmark", "type": "url", "url": ")" + urls[i] + "\"}";
  return R"({"checksum": "0", "roots": {"bookmark_bar": {"children": [)" + children +
         R"(], "name": "Bookmarks bar", "type": "folder"}, "other": {"children": [], "type": "folder"}}, "version": 1})";
}

// Each url visited at random (each tenth visit typed, with qualifiers above
// the core type), every tenth visit synced; search terms for every 20th url,
// a segment for every tenth with two time slots, visited links for every
// other, annotations for every tenth visit.
void BuildHistory(const std::string& path) {
  test::BuildDatabase(path, test::kHistoryCommonSchema);
  test::BuildDatabase(path, test::kHistoryCurrentTables);
  TSQLiteDatabase database(path);
  database.Execute("BEGIN");
  TSQLiteStatement url(database,
                       "INSERT INTO urls (id, url, title, visit_count, typed_count, last_visit_time) VALUES (?1, ?2, "
                       "'A page title of ordinary length', 2, ?3, ?4)");
  for (int64_t id = 1; id <= kUrls; ++id)
    url.Execute({id, PageUrl(id), int64_t{id % 10 == 0}, int64_t{13'300'000'000'000'000} + id});
  std::minstd_rand random(7);
  TSQLiteStatement visit(database,
                         "INSERT INTO visits (id, url, visit_time, transition, segment_id, visited_link_id) VALUES "
                         "(?1, ?2, ?3, ?4, 0, 0)");
  for (int64_t id = 1; id <= kVisits; ++id)
    visit.Execute({id, int64_t(random() % kUrls) + 1, int64_t{13'300'000'000'000'000} + id * 1'000'000,
                   int64_t{id % 10 == 0 ? 0x30000001 : 0x30000000}});
  database.Execute("INSERT INTO visit_source (id, source) SELECT id, 1 FROM visits WHERE id % 10 = 3");
  database.Execute(
      "INSERT INTO keyword_search_terms SELECT 2, id, 'terms ' || id, 'terms ' || id FROM urls WHERE id % 20 = 7");
  database.Execute("INSERT INTO segments SELECT id / 10 + 1, 'https://' || id, id FROM urls WHERE id % 10 = 1");
  database.Execute(
      "INSERT INTO segment_usage (segment_id, time_slot, visit_count) SELECT id, slot, 1 FROM segments, (SELECT 1 "
      "AS slot UNION ALL SELECT 2)");
  database.Execute(
      "INSERT INTO visited_links (link_url_id, top_level_url, frame_url, visit_count) SELECT id, url, url, 1 FROM "
      "urls WHERE id % 2 = 0");
  database.Execute(
      "INSERT INTO content_annotations (visit_id, annotation_flags, search_terms, has_url_keyed_image) SELECT id, 0, "
      "'', 0 FROM visits WHERE id % 10 = 5");
  database.Execute(
      "INSERT INTO context_annotations (visit_id, context_annotation_flags) SELECT id, 0 FROM visits WHERE id % 10 = "
      "5");
  database.Execute(
      "INSERT INTO downloads SELECT id, 'guid' || id, 'C:\\d', 'C:\\d', 1, 1, 1, 1, 0, 0, x'', 1, 0, 1, 0, url, '', "
      "'', '', '', '', '', '', '', '', '', '', '' FROM urls WHERE id % 500 = 9");
  database.Execute("COMMIT");
}

// A host icon (two sizes) for each host, and an icon of its own for every
// fifth page and each bookmarked page History never had.
void BuildFavicons(const std::string& path) {
  test::BuildDatabase(path, test::kFaviconsSchema);
  TSQLiteDatabase database(path);
  database.Execute("BEGIN");
  TSQLiteStatement icon(database, "INSERT INTO favicons (id, url) VALUES (?1, ?2)");
  TSQLiteStatement bitmap(database,
                          "INSERT INTO favicon_bitmaps (icon_id, image_data, width, height) VALUES (?1, "
                          "randomblob(300), ?2, ?2)");
  TSQLiteStatement mapping(database, "INSERT INTO icon_mapping (page_url, icon_id) VALUES (?1, ?2)");
  for (int64_t host = 0; host < kHosts; ++host) {
    icon.Execute({host + 1, "https://" + Host(host) + "/favicon.ico"});
    for (int64_t size : {16, 32}) bitmap.Execute({host + 1, size});
  }
  int64_t nextIcon = kHosts + 1;
  auto ownIcon = [&](const std::string& page) {
    icon.Execute({nextIcon, page + "icon.png"});
    bitmap.Execute({nextIcon, int64_t{32}});
    mapping.Execute({page, nextIcon++});
  };
  for (int64_t url = 1; url <= kUrls; ++url) {
    mapping.Execute({PageUrl(url), url % kHosts + 1});
    if (url % 5 == 0) ownIcon(PageUrl(url));
  }
  for (int64_t n = 1; n <= kBookmarksElsewhere; ++n) ownIcon(PageElsewhere(n));
  database.Execute("COMMIT");
}

// The statements ChromiumHistoryPurge sends, in one connection: Favicons
// with History attached as "history", so that both lists run as sent (the
// history list's tables found in "history"), each in its own transaction as
// the purge's; settings: with Tidemark's connection settings on both files.
bool Baseline(const std::string& history, const std::string& favicons, const std::vector<std::string>& kept,
              bool settings) {
  bench::BaselineConnection database(favicons, settings);
  database.Attach(history, "history");
  database.Run("CREATE TEMP TABLE kept_urls (url TEXT PRIMARY KEY)");
  sqlite3_stmt* keep = nullptr;
  sqlite3_prepare_v2(database.Handle(), "INSERT OR IGNORE INTO temp.kept_urls (url) VALUES (?1)", -1, &keep, nullptr);
  bool keptAll = true;
  for (const std::string& url : kept) {
    sqlite3_bind_text(keep, 1, url.data(), static_cast<int>(url.size()), SQLITE_STATIC);
    keptAll &= sqlite3_step(keep) == SQLITE_DONE;
    sqlite3_reset(keep);
  }
  sqlite3_finalize(keep);
  for (auto statements : {chromium::HistoryPurgeStatements(), chromium::FaviconPurgeStatements()}) {
    database.Run("BEGIN IMMEDIATE");
    for (const chromium::PurgeStatement& statement : statements) database.Run(statement.sql);
    database.Run("COMMIT");
  }
  return keptAll && database.Ok();
}

// The rows of every table of both files, to see that the baseline did the same work.
std::string RowCounts(const std::string& history, const std::string& favicons) {
  std::string counts;
  for (const std::string& path : {history, favicons}) {
    TSQLiteDatabase database(path);
    std::vector<std::string> tables;
    for (firefox::TSQLiteTable table =
             database.Query("SELECT name FROM sqlite_master WHERE type = 'table' ORDER BY name");
         !table.AtEnd(); table.NextRow())
      tables.push_back(table.AsText(0));
    for (const std::string& table : tables)
      counts += table + " " + database.Query("SELECT COUNT(*) FROM \"" + table + "\"").AsText(0) + ", ";
  }
  return counts;
}

}  // namespace

int main() {
  std::string folder = bench::ScratchFolder("tidemark-chromium-history-bench");
  const std::string userData = folder + "\\User Data", profile = userData + "\\Default";
  const std::string historyModel = folder + "\\History-model", faviconsModel = folder + "\\Favicons-model",
                    history = profile + "\\History", favicons = profile + "\\Favicons",
                    bookmarks = profile + "\\Bookmarks";
  platform::FileSystem& files = platform::RealFileSystem();
  files.CreateFolders(profile);
  for (const std::string& file : {historyModel, faviconsModel}) files.RemoveFile(file);  // left by an earlier run
  BuildHistory(historyModel);
  BuildFavicons(faviconsModel);
  const std::vector<std::string> kept = BookmarkedUrls();
  files.WriteFile(bookmarks, BookmarksFile(kept));

  auto fresh = [&] {
    bench::CopyDatabase(historyModel, history);
    bench::CopyDatabase(faviconsModel, favicons);
  };
  bench::Purge purge;
  purge.chromium = {{"Google Chrome", userData, userData, "chrome.exe", {{profile, profile}}}};
  bool ok = true;
  bench::Comparison times = bench::CompareWithBaseline(
      kRounds, fresh, [&] { chromium::ChromiumHistoryPurge(purge.Environment()); },
      [&](bool settings) { ok &= Baseline(history, favicons, kept, settings); },
      [&] { return RowCounts(history, favicons); });
  ok &= times.SameRows() && purge.silent.report.ErrorLevel() == 0;

  std::printf(
      "Chromium history purge, %d urls, %d visits (10%% typed), %zu bookmarks, with Favicons: Tidemark %.3f s, "
      "baseline %.3f s, ratio %.2f%s\n",
      kUrls, kVisits, kept.size(), times.purge, times.baseline, times.purge / times.baseline,
      ok ? "" : " (the purge FAILED)");
  std::printf("  (the baseline opens with Tidemark's connection settings; with SQLite's defaults it takes %.3f s)\n",
              times.defaults);
  std::printf("  rows left: %s\n", times.purgedRows.c_str());
  for (const std::string& file : {historyModel, faviconsModel, history, favicons, bookmarks}) files.RemoveFile(file);
  for (const std::string& emptied : {profile, userData, folder}) files.RemoveFolder(emptied);
  return ok ? 0 : 1;
}
