// The Firefox purges over a located scratch profile: real SQLite files, current schemas and older public samples.
#include <gtest/gtest.h>
#include <windows.h>

#include <tuple>

#include "firefox/firefox_purges.h"
#include "firefox_databases.h"
#include "locations/firefox_locations.h"
#include "support/purge_fixture_win.h"
#include "support/samples.h"

namespace tidemark::firefox {
namespace {

using Lines = std::vector<std::string>;

class FirefoxPurge : public ::testing::Test {
 protected:
  FirefoxPurge() {
    f.shellFolders.AppData = f.scratch / "Roaming";
    f.shellFolders.LocalAppData = f.scratch / "Local";
    f.scratch.Write("Roaming\\Mozilla\\Firefox\\profiles.ini",
                    "[Profile0]\r\nName=default\r\nIsRelative=1\r\nPath=Profiles/t3st.default\r\nDefault=1\r\n");
    f.files.CreateFolders(profile);
    f.files.CreateFolders(localProfile);
  }
  void Locate() {
    f.firefox = {};
    locations::EnsureFirefoxLocations(f.firefox, f.ie, f.files, f.shellFolders);
  }
  std::string Database() const { return profile + "\\cookies.sqlite"; }
  // A current cookies.sqlite holding the cookies (host, name, value), and the protect list.
  void Make(const std::vector<std::array<std::string, 3>>& cookies, const std::string& protect) {
    f.files.RemoveFile(Database());
    test::BuildDatabase(Database(), test::kCurrentCookiesSchema);
    TSQLiteDatabase database(Database());
    TSQLiteStatement insert(database, "INSERT INTO moz_cookies (host, name, value, path, expiry, isSecure, isHttpOnly) "
                                      "VALUES (?1, ?2, ?3, '/', 2000000000, 0, 1)");
    for (const auto& [host, name, value] : cookies) insert.Execute({host, name, value});
    f.files.WriteFile(f.firefoxProtectFile, protect);
    Locate();
  }
  // "host:name=value ..." of the cookies stored now, sorted.
  std::string Stored() const {
    return test::QueryText(Database(), "SELECT group_concat(c, ' ') FROM (SELECT host || ':' || name || '=' || value "
                                       "AS c FROM moz_cookies ORDER BY 1)");
  }
  std::string Places() const { return profile + "\\places.sqlite"; }
  // The ids of a table's rows (the test's own places only), in order.
  std::string Ids(const std::string& table, const char* id = "id") const {
    return test::QueryText(Places(), "SELECT group_concat(" + std::string(id) + ") FROM (SELECT * FROM " + table +
                                         (table == "moz_places" ? " WHERE id > 1000" : "") + " ORDER BY 1)");
  }

  test::PurgeFixture f;
  const std::string profile = f.scratch / "Roaming\\Mozilla\\Firefox\\Profiles\\t3st.default";
  const std::string localProfile = f.scratch / "Local\\Mozilla\\Firefox\\Profiles\\t3st.default";
};

const std::string kCookiesDone = "  Purge \"FireFox Cookies\" Function Completed.";

TEST_F(FirefoxPurge, CookiesDeletesUnprotectedKeepsProtectedScramblesRandomAndLeavesNothingBehind) {
  // Hosts are compared exactly, never as patterns; each host's cookies are one run wherever they are stored.
  Make({{"gone.test", "x", "GONE-VALUE-7731"}, {".random.test", "a", "ALPHAvalue12"}, {"keep.test", "sid", "K1"},
        {"a_b.test", "n", "1"}, {"axb.test", "n", "kept"}, {"100%.test", "n", "2"}, {"gone.test", "y", "2"},
        {".site.test", "s", "S"}, {"site.test", "t", "T"}, {".random.test", "b", "bravo-98765"}},
       "p=keep.test\r\nr=.RANDOM.test\r\np=.site.test\r\np=axb.test\r\np=100percent.test\r\n");
  const std::string before = Stored();
  f.state.previewMode = true;
  f.Run(FirefoxCookiesPurge);
  EXPECT_EQ(Stored(), before) << "a Preview changes nothing";
  f.state.previewMode = false;
  f.state.flags.secureErase = true;
  EXPECT_EQ(f.Run(FirefoxCookiesPurge),
            (Lines{"    Randomized - .random.test", "       deleted - 100%.test", "       deleted - a_b.test",
                   "       deleted - gone.test", "       deleted - site.test", "    1 Cookie Randomized.",
                   kCookiesDone + "   5 Entries Processed."}));
  const std::string stored = Stored(), kept = " .site.test:s=S axb.test:n=kept keep.test:sid=K1";
  EXPECT_TRUE(stored.ends_with(kept)) << stored;
  EXPECT_EQ(stored.size(), (".random.test:a=ALPHAvalue12 .random.test:b=bravo-98765" + kept).size()) << stored;
  // Secure Erase: neither a deleted nor a scrambled value is left anywhere in the file.
  const std::string file = f.files.ReadFile(Database()).value_or("") + stored;
  for (const char* value : {"GONE-VALUE-7731", "ALPHAvalue12", "bravo-98765"})
    EXPECT_EQ(file.find(value), std::string::npos) << value;
}

TEST_F(FirefoxPurge, CookieFailuresClaimNoChanges) {
  const std::string all = "a.test:a=1 keep.test:k=1 stuck.test:s=1 z.test:z=1";
  // A protect list that cannot be read: protected cookies cannot be told apart.
  const std::vector<std::array<std::string, 3>> cookies = {{"a.test", "a", "1"}, {"keep.test", "k", "1"},
                                                           {"stuck.test", "s", "1"}, {"z.test", "z", "1"}};
  Make(cookies, "p=keep.test\r\n");
  HANDLE locked = CreateFileA(f.firefoxProtectFile.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  EXPECT_EQ(f.Run(FirefoxCookiesPurge),
            (Lines{"*** Error - Bypassed Cookie procesing as existing Protect file could not be opened"}));
  CloseHandle(locked);
  EXPECT_EQ(f.r.report.ErrorLevel(), 7);
  EXPECT_EQ(Stored(), all);
  const std::string trigger = "CREATE TRIGGER t BEFORE DELETE ON moz_cookies WHEN OLD.host = 'stuck.test' BEGIN ";
  const std::string refused = "*** Error - Delete Entry from FireFox Cookies file failed - Cookies.SQLite - refused";
  // A change made after the cookies (none: another writer, Firefox, holds the database), the lines, what is left.
  const std::tuple<std::string, Lines, std::string> cases[] = {
      // The failing statement alone is undone; the rest is saved.
      {trigger + "SELECT RAISE(ABORT, 'refused'); END",
       {"       deleted - a.test", refused, "       deleted - z.test", kCookiesDone + "   2 Entries Processed."},
       "keep.test:k=1 stuck.test:s=1"},
      // The transaction is lost: nothing is saved, nothing claimed.
      {trigger + "SELECT RAISE(ROLLBACK, 'refused'); END",
       {refused, "*** Error - Save changes to FireFox Cookies file failed - Cookies.SQLite - the changes were rolled "
                 "back"},
       all},
      {"", {"*** Error - Open FireFox Cookies file failed - Cookies.SQLite - database is locked"}, all},
      {"ALTER TABLE moz_cookies RENAME TO moz_perms",
       {"*** Error - Load FireFox Cookies File failed - Cookies.SQLite - no such table: moz_cookies"}, ""},
  };
  for (const auto& [change, lines, left] : cases) {
    Make(cookies, "p=keep.test\r\n");
    TSQLiteDatabase writer(Database());
    writer.Execute(change.empty() ? "BEGIN IMMEDIATE" : change);
    EXPECT_EQ(f.Run(FirefoxCookiesPurge), lines);
    if (left.empty()) continue;  // no cookie table to look at
    EXPECT_EQ(Stored(), left);
  }
}

TEST_F(FirefoxPurge, CookiesTxtLosesEveryLineOfAnUnprotectedHostHttpOnlyOnesTooAndKeepsComments) {
  const std::string txt = profile + "\\Cookies.txt", header = "# Netscape HTTP Cookie File\n\n";
  const std::string kept = "#HttpOnly_.keep.test\tTRUE\t/\tFALSE\t9\tk\t3\n.keep.test\tFALSE\t/\tFALSE\t9\tj\t4\n";
  const std::string gone = "#HttpOnly_gone.test\tTRUE\t/\tFALSE\t9\th\t1\n", comment = "# a note\n";
  const std::string cookies = gone + comment + "gone.test\tFALSE\t/\tFALSE\t9\tg\t2\n" + kept;
  // What stands in the new file's way, the lines, what Cookies.txt holds afterwards.
  const std::tuple<std::string, Lines, std::string> cases[] = {
      {"", {"       deleted - gone.test", kCookiesDone + "   1 Entry Processed."}, header + comment + kept},
      {"Cookies.pg1", {"*** Error - Write FireFox Cookies file failed - Cookies.txt"}, header + cookies},
  };
  for (const auto& [blocker, lines, left] : cases) {
    f.files.WriteFile(txt, header + cookies);
    if (!blocker.empty()) f.files.CreateFolders(profile + "\\" + blocker);
    f.files.WriteFile(f.firefoxProtectFile, "p=.keep.test\r\n");
    Locate();
    EXPECT_EQ(f.Run(FirefoxCookiesPurge), lines);
    EXPECT_EQ(f.files.ReadFile(txt), left);
    EXPECT_FALSE(f.files.FileExists(profile + "\\Cookies.pg2"));
  }
}

// Places of every kind the statements tell apart, in either schema.
constexpr std::initializer_list<const char*> kPlaces = {
    "INSERT INTO moz_places (id, url, typed) VALUES (1001, 'http://typed.test/', 1), (1002, 'http://link.test/', 0), "
    "(1003, 'http://booked.test/', 0), (1004, 'place:sort=8&maxResults=5', 0), (1005, 'http://typed-booked.test/', "
    "1), (1006, 'http://typed-and-linked.test/', 1)",
    "INSERT INTO moz_historyvisits (id, place_id, visit_type) VALUES (2001, 1001, 2), (2002, 1002, 1), (2003, 1003, "
    "1), (2005, 1005, 2), (2006, 1006, 2), (2016, 1006, 1), (2098, 9998, 2)",
    "INSERT INTO moz_bookmarks (id, type, fk) VALUES (3003, 1, 1003), (3005, 1, 1005)",
    "INSERT INTO moz_inputhistory (place_id, input) VALUES (1001, 'typ'), (1002, 'lin')",
    "INSERT INTO moz_annos (id, place_id, anno_attribute_id, expiration) VALUES (4001, 1002, 1, 0), (4002, 1003, 1, "
    "4), (4003, 1003, 2, 0)",
};

TEST_F(FirefoxPurge, HistoryInTheCurrentSchemaIsPurgedAlikeAndTheCacheEmptiesBothCacheFoldersAndTheFastLoadFile) {
  test::BuildDatabase(Places(), test::kCurrentPlacesSchema);
  test::BuildDatabase(Places(), kPlaces);
  const std::string forms = profile + "\\formhistory.sqlite";
  test::BuildDatabase(forms,
                      {"PRAGMA journal_mode = WAL", "CREATE TABLE moz_formhistory (id INTEGER PRIMARY KEY, value TEXT)",
                       "INSERT INTO moz_formhistory (value) VALUES ('secret')"});
  Locate();
  f.state.previewMode = true;  // a Preview opens no database
  for (auto body : {FirefoxTypedUrlsPurge, FirefoxHistoryPurge, FirefoxFormHistoryPurge})
    EXPECT_EQ(f.Run(body), (Lines{"  No Deletes are done for a \"Preview Purge\"."}));
  f.state.previewMode = false;
  EXPECT_EQ(Ids("moz_places"), "1001,1002,1003,1004,1005,1006") << "a Preview changes nothing";
  EXPECT_EQ(f.Run(FirefoxTypedUrlsPurge), (Lines{"  Deleted entries from  FireFox Typed URLs - Places.SQLite"}));
  EXPECT_EQ(Ids("moz_places"), "1002,1003,1004,1005") << "the typed, unbookmarked places go";
  EXPECT_EQ(f.Run(FirefoxHistoryPurge), (Lines{"  Deleted entries from  FireFox History file - Places.SQLite"}));
  EXPECT_EQ(Ids("moz_places") + " " + Ids("moz_historyvisits") + " " + Ids("moz_annos"), "1003,1004,1005  4002");
  EXPECT_EQ(f.Run(FirefoxFormHistoryPurge),
            (Lines{"  Deleted entries from FireFox Form History file - FormHistory.SQLite"}));
  EXPECT_EQ(test::QueryCount(forms, "SELECT * FROM moz_formhistory"), 0);
  for (const char* file : {"Roaming\\Mozilla\\Firefox\\Profiles\\t3st.default\\Cache\\_CACHE_MAP_",
                           "Local\\Mozilla\\Firefox\\Profiles\\t3st.default\\Cache\\0\\5F2E1d01",
                           "Local\\Mozilla\\Firefox\\Profiles\\t3st.default\\XUL.MFL"})
    f.scratch.Write(file, "data");
  Locate();
  f.state.flags.detailReport = false;  // the data file's line shows all the same
  EXPECT_EQ(f.Run(FirefoxCachePurge),
            (Lines{"       deleted - " + localProfile + "\\XUL.MFL",
                   "  Purge \"FireFox Cache\" Function Completed.   4 Cache Data Files Processed."}));
  EXPECT_FALSE(f.files.FileExists(localProfile + "\\XUL.MFL"));
  // The cache folders themselves stay, emptied.
  EXPECT_TRUE(f.files.RemoveFolder(profile + "\\Cache") && f.files.RemoveFolder(localProfile + "\\Cache"));
}

TEST_F(FirefoxPurge, HistoryKeepsTypedVisitsBookmarksAndQueriesThenTypedUrlsRemoveTheTyped) {
  TIDEMARK_REQUIRE_SAMPLE(sample, "firefox3-places.sqlite");
  ASSERT_TRUE(f.files.CopyFileTo(sample, Places(), false) && f.files.SetAttributes(Places(), 0x80));  // was read-only
  test::BuildDatabase(Places(), kPlaces);
  Locate();
  f.state.flags.compact = true;
  EXPECT_EQ(f.Run(FirefoxHistoryPurge), (Lines{"  Compact History file completed",
                                             "  Deleted entries from  FireFox History file - Places.SQLite"}));
  EXPECT_EQ(Ids("moz_places"), "1001,1003,1004,1005,1006") << "the unvisited link goes; bookmark and query stay";
  EXPECT_EQ(Ids("moz_historyvisits"), "1,2001,2005,2006") << "typed visits stay, others and orphans go";
  EXPECT_EQ(Ids("moz_inputhistory", "place_id") + " " + Ids("moz_annos"), "1001 4002") << "never-expiring stays";
  EXPECT_EQ(test::QueryText(Places(), "PRAGMA freelist_count"), "0");

  EXPECT_EQ(f.Run(FirefoxTypedUrlsPurge), (Lines{"  Deleted entries from  FireFox Typed URLs - Places.SQLite"}));
  EXPECT_EQ(Ids("moz_places"), "1003,1004,1005") << "a bookmarked typed place stays";
  EXPECT_EQ(Ids("moz_historyvisits") + Ids("moz_inputhistory", "place_id"), "");
  EXPECT_EQ(test::QueryCount(Places(), "SELECT id FROM moz_places WHERE id <= 92"), 91) << "the sample's typed 92";
}

}  // namespace
}  // namespace tidemark::firefox
