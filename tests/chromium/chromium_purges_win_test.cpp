// The Chromium purges over browsers located by hand in scratch folders: real SQLite files made with Chromium's own
// schemas.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "chromium/chromium_purges.h"
#include "chromium_databases.h"
#include "engine/labels.h"
#include "firefox/firefox_databases.h"
#include "firefox/firefox_purges.h"
#include "support/purge_fixture_win.h"

namespace tidemark::chromium {
namespace {

using Lines = std::vector<std::string>;

class ChromiumPurge : public ::testing::Test {
 protected:
  // A browser with the profiles (folder names below its User Data).
  void Locate(const Lines& profiles) {
    locations::ChromiumBrowser browser{"Google Chrome", userData, userData, "chrome.exe", {}};
    for (const std::string& name : profiles) {
      browser.profiles.push_back({userData + "\\" + name, userData + "\\" + name});
      f.files.CreateFolders(userData + "\\" + name + "\\Network");
    }
    f.chromium = {browser};
  }
  std::string In(const std::string& profile, const std::string& file) const {
    return userData + "\\" + profile + "\\" + file;
  }
  // Every byte of the files and their journals.
  std::string Bytes(const Lines& files) const {
    std::string all;
    for (const std::string& file : files)
      for (const char* suffix : {"", "-journal"}) all += f.files.ReadFile(file + suffix).value_or("-") + "|";
    return all;
  }
  // The first column of every row of a query, joined by commas.
  static std::string Rows(const std::string& path, const std::string& sql) {
    return test::QueryText(path, "WITH q(c) AS (" + sql + ") SELECT ifnull(group_concat(c), '') FROM q");
  }

  test::PurgeFixture f;
  const std::string userData = f.scratch / "Local\\Google\\Chrome\\User Data";
};

const std::string kCookiesDone = "  Purge \"Chromium Cookies\" Function Completed.";

TEST_F(ChromiumPurge, CookiesOfUnprotectedHostsGoWhileProtectedAndRandomHostsStay) {
  Locate({"Default"});
  const std::string current = In("Default", "Network\\Cookies");
  test::BuildDatabase(current, test::kCookiesSchemaV24);
  {
    firefox::TSQLiteDatabase database(current);
    firefox::TSQLiteStatement insert(
        database,
        "INSERT INTO cookies VALUES (1, ?1, '', 'n' || ?2, '', ?3, '/', 1, 1, 1, 1, 1, 1, 1, -1, 2, 443, 0, 0, 0)");
    int64_t n = 0;
    for (const char* host : {"gone.test", ".keep.test", ".random.test", "gone.test", ".gone.test", "keep.test.evil"})
      insert.Execute({host, ++n, "v10SECRET-" + std::string(host) + "-" + std::to_string(n)});
  }
  f.files.WriteFile(f.firefoxProtectFile, "p=.keep.test\r\nr=.Random.test\r\n");
  auto stored = [&] { return Rows(current, "SELECT host_key FROM cookies ORDER BY 1"); };
  const std::string random =
      "     Protected - .random.test - Random: Chromium's cookie values are encrypted and not scrambled";
  const std::string before = Bytes({current});
  f.state.previewMode = true;
  EXPECT_EQ(f.Run(ChromiumCookiesPurge),
            (Lines{"     to delete - .gone.test", random, "     to delete - gone.test",
                   "     to delete - keep.test.evil", kCookiesDone + "   3 Entries Processed."}));
  EXPECT_EQ(Bytes({current}), before) << "a Preview changes no byte";

  // Chromium holds the database (locked exclusively from its first write): it stays, nothing claimed.
  f.state.previewMode = false;
  f.state.flags.secureErase = true;
  {
    firefox::TSQLiteDatabase chromium(current);
    for (const char* statement : {"PRAGMA locking_mode = EXCLUSIVE", "BEGIN EXCLUSIVE", "COMMIT"})
      chromium.Query(statement);
    EXPECT_EQ(f.Run(ChromiumCookiesPurge),
              (Lines{"*** Error - Delete entries from Chromium Cookies failed - " + current + " - database is locked",
                     "    No Entries found to delete.", kCookiesDone}));
    EXPECT_EQ(f.r.report.ErrorLevel(), firefox::kDatabaseErrorLevel);
  }
  EXPECT_EQ(stored(), ".gone.test,.keep.test,.random.test,gone.test,gone.test,keep.test.evil");
  EXPECT_EQ(f.Run(ChromiumCookiesPurge),
            (Lines{"       deleted - .gone.test", random, "       deleted - gone.test",
                   "       deleted - keep.test.evil", "       deleted - " + current + "-journal",
                   kCookiesDone + "   3 Entries Processed."}));
  EXPECT_EQ(stored(), ".keep.test,.random.test");
  EXPECT_EQ(Rows(current, "SELECT encrypted_value FROM cookies WHERE host_key = '.random.test'"),
            "v10SECRET-.random.test-3")
      << "kept as it was";
  const std::string after = Bytes({current});
  for (const char* removed : {"SECRET-gone", "SECRET-.gone", "SECRET-keep.test.evil"})
    EXPECT_EQ(after.find(removed), std::string::npos) << removed;
}

// A profile's history: a visited page, a bookmarked one, a typed one, one both typed and followed, and the traces each
// leaves; icons of each, and of a bookmarked page History never had.
constexpr std::initializer_list<const char*> kHistoryRows = {
    "INSERT INTO urls (id, url, visit_count, typed_count, last_visit_time) VALUES (1, "
    "'https://secret-visited.example/page', 1, 0, 9), (2, 'https://booked.example/', 2, 1, 9), (3, "
    "'https://secret-typed.example/', 1, 1, 9), (4, 'https://typed-and-followed.example/', 2, 1, 9)",
    // Core types: 0 link, 1 typed; the qualifiers above the low byte do not change them.
    "INSERT INTO visits (id, url, visit_time, transition) VALUES (11, 1, 101, 805306368), (12, 2, 102, 0), (13, 2, "
    "103, 1), (14, 3, 104, 536870913), (15, 4, 105, 1), (16, 4, 106, 0)",
    "INSERT INTO visit_source (id, source) VALUES (11, 1), (14, 1)",
    "INSERT INTO keyword_search_terms VALUES (2, 1, 'secret terms', 'secret terms')",
    "INSERT INTO segments VALUES (1, 'http://secret-visited.example/', 1)",
    "INSERT INTO segment_usage VALUES (1, 1, 100, 1)",
    "INSERT INTO downloads VALUES (1, 'g', 'C:\\d', 'C:\\d', 1, 1, 1, 1, 0, 0, x'', 1, 0, 1, 0, "
    "'https://download.example/', "
    "'', '', '', '', '', '', '', '', '', '', '', '')",
};
constexpr std::initializer_list<const char*> kCurrentHistoryRows = {
    "INSERT INTO visited_links VALUES (1, 1, 'https://secret-top.example/', 'https://secret-top.example/', 1)",
    "INSERT INTO content_annotations (visit_id, annotation_flags, search_terms, has_url_keyed_image) VALUES (11, 0, "
    "'secret annotation', 0), (14, 0, 'secret typed annotation', 0)",
    "INSERT INTO context_annotations (visit_id, context_annotation_flags) VALUES (11, 0), (14, 0)",
    "INSERT INTO clusters VALUES (1, 1, 'secret cluster', 'secret cluster', 1, '', 0), (2, 1, 'typed', 'typed', 1, '', "
    "0)",
    "INSERT INTO clusters_and_visits VALUES (1, 11, 1, 1, 'u', 'u', 'u', 0), (2, 14, 1, 1, 'u', 'u', 'u', 0)",
    "INSERT INTO cluster_keywords VALUES (1, 'secret keyword', 1, 1, ''), (2, 'typed keyword', 1, 1, '')",
    "INSERT INTO cluster_visit_duplicates VALUES (11, 16), (16, 14)",
    "INSERT INTO history_sync_metadata VALUES (101, x'00')",
};
constexpr std::initializer_list<const char*> kIconRows = {
    "INSERT INTO favicons VALUES (1, 'https://secret-visited.example/favicon.ico', 1), (2, "
    "'https://booked.example/favicon.ico', 1), (3, 'https://never-visited.example/i.png', 1), (4, "
    "'https://secret-typed.example/t.png', 1)",
    "INSERT INTO favicon_bitmaps (id, icon_id, image_data) VALUES (1, 1, 'secret-bitmap-1'), (2, 2, 'bitmap-2'), (3, "
    "3, 'bitmap-3'), (4, 4, 'secret-bitmap-4')",
    "INSERT INTO icon_mapping (id, page_url, icon_id) VALUES (1, 'https://secret-visited.example/page', 1), (2, "
    "'https://booked.example/', 2), (3, 'https://never-visited.example/', 3), (4, 'https://secret-typed.example/', 4), "
    "(5, 'https://typed-and-followed.example/', 1), (6, 'https://booked.example/', NULL)",
};
const std::string kBookmarks = R"({"roots": {"bookmark_bar": {"children": [{"type": "url", "url":
    "https://booked.example/"}, {"type": "url", "url": "https://never-visited.example/"}], "type": "folder"}}})";
// A signed-in profile keeps the account's bookmarks apart.
const std::string
    kLocalBookmark = R"({"roots": {"other": {"children": [{"type": "url", "url": "https://booked.example/"}]}}})",
    kAccountBookmark =
        R"({"roots": {"other": {"children": [{"type": "url", "url": "https://never-visited.example/"}]}}})";

TEST_F(ChromiumPurge, HistoryAndTypedUrlsKeepTheBookmarksWithTheirIconsAndFormsEmptyOnlyTheAutofillTable) {
  // A profile; a signed-in one; one whose Bookmarks cannot be read.
  Locate({"Default", "Profile 1", "Profile 2"});
  for (const char* profile : {"Default", "Profile 1", "Profile 2"}) {
    const bool signedIn = std::string(profile) == "Profile 1";
    test::BuildDatabase(In(profile, "History"), test::kHistoryCommonSchema);
    for (auto statements : {test::kHistoryCurrentTables, kHistoryRows, kCurrentHistoryRows})
      test::BuildDatabase(In(profile, "History"), statements);
    test::BuildDatabase(In(profile, "Favicons"), test::kFaviconsSchema);
    test::BuildDatabase(In(profile, "Favicons"), kIconRows);
    f.files.WriteFile(In(profile, "Bookmarks"), signedIn                            ? kLocalBookmark
                                                : std::string(profile) == "Default" ? kBookmarks
                                                                                    : kBookmarks.substr(9));
    if (signedIn) f.files.WriteFile(In(profile, "AccountBookmarks"), kAccountBookmark);
    for (const char* companion : {"Top Sites", "Shortcuts", "Network Action Predictor", "Visited Links"})
      for (const char* suffix : {"", "-journal"})
        f.files.WriteFile(In(profile, companion) + suffix, "secret-companion");
  }
  test::BuildDatabase(In("Default", "Web Data"), test::kWebDataSchema);
  test::BuildDatabase(In("Default", "Web Data"), {"INSERT INTO autofill (name, value) VALUES ('q', 'secret form')"});
  Lines files;
  for (const char* profile : {"Default", "Profile 1", "Profile 2"})
    for (const char* file : {"History", "Favicons", "Web Data", "Top Sites", "Shortcuts", "Network Action Predictor"})
      files.push_back(In(profile, file));
  const std::string history = In("Default", "History"), favicons = In("Default", "Favicons");
  // The urls left, then the rows of the other tables of History and Favicons.
  auto state = [&](const std::string& path, const std::string& icons) {
    std::string rows = Rows(
        path, "SELECT id || ':' || visit_count || ':' || typed_count || ':' || last_visit_time FROM urls ORDER BY 1");
    for (const char* table : {"visits", "visit_source", "keyword_search_terms", "segments", "downloads"})
      rows += " " + Rows(path, std::string("SELECT rowid FROM ") + table + " ORDER BY 1");
    rows += " |";
    for (const char* table : {"icon_mapping", "favicons", "favicon_bitmaps"})
      rows += " " + Rows(icons, std::string("SELECT rowid FROM ") + table + " ORDER BY 1");
    return rows;
  };
  auto annotations = [&] {
    std::string rows;
    for (const char* table :
         {"visited_links", "content_annotations", "context_annotations", "clusters", "clusters_and_visits",
          "cluster_keywords", "cluster_visit_duplicates", "history_sync_metadata"})
      rows += test::QueryText(history, std::string("SELECT COUNT(*) FROM ") + table);
    return rows;
  };
  const std::string before = Bytes(files),
                    unreadBefore = Bytes({In("Profile 2", "History"), In("Profile 2", "Favicons")});
  f.state.previewMode = true;
  const Lines preview = f.Run(ChromiumHistoryPurge);
  ASSERT_EQ(preview.size(), 20u);
  EXPECT_EQ(preview[0], "     to delete - 6 visits, 3 URLs, 1 search terms from " + history);
  EXPECT_EQ(preview[18],
            "*** Error - Chromium Bookmarks could not be read, History not purged - " + In("Profile 2", "Bookmarks"));
  EXPECT_EQ(preview[19], "  Purge \"Chromium History\" Function Completed.   36 Entries Processed.");
  EXPECT_EQ(Bytes(files), before) << "a Preview changes no byte";

  f.state.previewMode = false;
  f.state.flags.secureErase = true;
  Lines lines = f.Run(ChromiumTypedUrlsPurge);
  ASSERT_EQ(lines.size(), 18u);
  EXPECT_EQ(Lines(lines.begin(), lines.begin() + 4),
            (Lines{"       deleted - 1 search terms, 1 URLs, 3 typed visits from " + history,
                   "       deleted - " + history + "-journal", "       deleted - 1 page icons from " + favicons,
                   "       deleted - " + favicons + "-journal"}));
  EXPECT_EQ(lines.back(), "  Purge \"Chromium Typed URLs\" Function Completed.   20 Entries Processed.");
  // The typed page and its icon go; what was followed too stays, without its typed visits and marks.
  EXPECT_EQ(state(history, favicons), "1:1:0:9,2:2:0:9,4:2:0:9 11,12,16 11  1 1 | 1,2,3,5,6 1,2,3 1,2,3");
  EXPECT_EQ(annotations(), "11111111") << "each table keeps what belongs to a visit that stays";
  EXPECT_TRUE(f.files.FileExists(In("Default", "Top Sites")) &&
              !f.files.FileExists(In("Default", "Shortcuts-journal")));

  // A companion database that is held stays with its journal.
  HANDLE held = CreateFileA(In("Default", "Top Sites").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  lines = f.Run(ChromiumHistoryPurge);
  CloseHandle(held);
  EXPECT_EQ(lines[0], "       deleted - 3 visits, 2 URLs from " + history);
  EXPECT_EQ(std::count(lines.begin(), lines.end(), std::string(engine::kLocked) + In("Default", "Top Sites")), 1);
  EXPECT_TRUE(f.files.FileExists(In("Default", "Top Sites-journal")));
  EXPECT_EQ(lines.back(), "  Purge \"Chromium History\" Function Completed.   20 Entries Processed.");
  // The bookmarks stay with their icons (one History never had too), without a trace of a visit.
  for (const char* profile : {"Default", "Profile 1"})
    EXPECT_EQ(state(In(profile, "History"), In(profile, "Favicons")), "2:0:0:0     1 | 2,3,6 2,3 2,3") << profile;
  EXPECT_EQ(annotations(), "00000000");
  EXPECT_EQ(Bytes({In("Profile 2", "History"), In("Profile 2", "Favicons")}), unreadBefore);

  f.state.flags.compact = true;
  EXPECT_EQ(f.Run(ChromiumFormsPurge),
            (Lines{"       deleted - 1 form entries from " + In("Default", "Web Data"),
                   "  Compact Chromium database completed - " + In("Default", "Web Data"),
                   "       deleted - " + In("Default", "Web Data") + "-journal",
                   "  Purge \"Chromium Forms History\" Function Completed.   1 Entry Processed."}));
  EXPECT_EQ(Rows(In("Default", "Web Data"), "SELECT key FROM meta ORDER BY 1"), "last_compatible_version,version")
      << "nothing else in that file";
  // Secure Erase: no removed row is left in a purged database or its journal.
  std::erase_if(files, [](const std::string& file) {
    return file.find("Profile 2") != std::string::npos || file.ends_with("Top Sites");
  });
  EXPECT_EQ(Bytes(files).find("secret"), std::string::npos);
}

}  // namespace
}  // namespace tidemark::chromium
