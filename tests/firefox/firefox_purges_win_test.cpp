// The Firefox purges over a located scratch profile: real SQLite files made with current schemas.
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <windows.h>

#include <optional>
#include <set>
#include <sstream>
#include <tuple>

#include "firefox/firefox_purges.h"
#include "firefox_databases.h"
#include "locations/firefox_locations.h"
#include "platform/text.h"
#include "support/purge_fixture_win.h"

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
  // A current cookies.sqlite holding the cookies ("host name value", then a container's or a private window's origin
  // attributes if any), and the protect list.
  void Make(const Lines& cookies, const std::string& protect) {
    f.files.RemoveFile(Database());
    test::BuildDatabase(Database(), test::kCurrentCookiesSchema);
    TSQLiteDatabase database(Database());
    TSQLiteStatement insert(database,
                            "INSERT INTO moz_cookies (host, name, value, originAttributes, path, expiry, isSecure, "
                            "isHttpOnly) VALUES (?1, ?2, ?3, ?4, '/', 2000000000, 0, 1)");
    for (const std::string& cookie : cookies) {
      std::string host, name, value, origin;
      std::istringstream(cookie) >> host >> name >> value >> origin;
      insert.Execute({host, name, value, origin});
    }
    f.files.WriteFile(f.firefoxProtectFile, protect);
    Locate();
  }
  // "host:name=value[origin attributes] ..." of the cookies stored now, sorted.
  std::string Stored() const {
    return test::QueryText(Database(),
                           "SELECT group_concat(c, ' ') FROM (SELECT host || ':' || name || '=' || value "
                           "|| originAttributes AS c FROM moz_cookies ORDER BY 1)");
  }
  std::string Places() const { return profile + "\\places.sqlite"; }
  // The keys of a table's rows (of places.sqlite's places, the test's own only), in order.
  std::string Ids(const std::string& table, const std::string& key = "id", const std::string& database = "") const {
    return test::QueryText(database.empty() ? Places() : database,
                           "SELECT group_concat(k) FROM (SELECT " + key + " AS k FROM " + table +
                               (table == "moz_places" ? " WHERE id > 1000" : "") + " ORDER BY 1)");
  }

  test::PurgeFixture f;
  const std::string profile = f.scratch / "Roaming\\Mozilla\\Firefox\\Profiles\\t3st.default";
  const std::string localProfile = f.scratch / "Local\\Mozilla\\Firefox\\Profiles\\t3st.default";
};

const std::string kCookiesDone = "  Purge \"FireFox Cookies\" Function Completed.";
const std::string kCompacted = "  Compact History file completed";
const std::string kHistoryDone = "  Deleted entries from  FireFox History file - Places.SQLite";
const std::string kTypedDone = "  Deleted entries from  FireFox Typed URLs - Places.SQLite";

TEST_F(FirefoxPurge, CookiesDeletesUnprotectedKeepsProtectedScramblesRandomAndLeavesNothingBehind) {
  // Hosts are compared exactly, never as patterns; each host's cookies are one run wherever they are stored, in
  // whichever container or private window, each row on its own.
  Make({"gone.test x GONE-VALUE-7731", ".random.test a ALPHAvalue12", "keep.test sid K1", "a_b.test n 1",
        "axb.test n kept", "100%.test n 2", "gone.test y 2", ".site.test s S", "site.test t T",
        ".random.test b bravo-98765", "gone.test x GONE-CONTAINER-2 ^userContextId=2",
        "keep.test sid K2 ^userContextId=2", ".random.test a ALPHA-private-41 ^privateBrowsingId=1"},
       "p=keep.test\r\nr=.RANDOM.test\r\np=.site.test\r\np=axb.test\r\np=100percent.test\r\n");
  const std::string before = Stored();
  f.state.previewMode = true;
  f.Run(FirefoxCookiesPurge);
  EXPECT_EQ(Stored(), before) << "a Preview changes nothing";
  // Firefox has written since and stopped before copying its log into the database.
  test::WriteWithoutCheckpoint(Database(),
                               {"INSERT INTO moz_cookies (host, name, value, path, originAttributes) VALUES "
                                "('gone.test', 'y', 'GONE-LOGGED-3', '/', '^userContextId=3'), "
                                "('.random.test', 'b', 'bravo-LOGGED-3', '/', '^userContextId=3'), "
                                "('keep.test', 'sid', 'K3', '/', '^userContextId=3')"});
  ASSERT_TRUE(f.files.ReadFile(Database() + "-wal").value_or("").find("GONE-LOGGED-3") != std::string::npos &&
              f.files.ReadFile(Database()).value_or("").find("GONE-LOGGED-3") == std::string::npos)
      << "in the log alone";
  f.state.previewMode = false;
  f.state.flags.secureErase = true;
  EXPECT_EQ(f.Run(FirefoxCookiesPurge),
            (Lines{"    Randomized - .random.test", "       deleted - 100%.test", "       deleted - a_b.test",
                   "       deleted - gone.test", "       deleted - site.test",
                   "       deleted - " + f.firefox.CookiesSqliteFile + "-wal", "    1 Cookie Randomized.",
                   kCookiesDone + "   5 Entries Processed."}));
  const std::string stored = Stored();
  const std::string kept =
      " .site.test:s=S axb.test:n=kept keep.test:sid=K1 keep.test:sid=K2^userContextId=2 "
      "keep.test:sid=K3^userContextId=3";
  EXPECT_TRUE(stored.ends_with(kept)) << stored;
  // Each Random cookie keeps its own row and its value's length.
  const std::string random =
      ".random.test:a=ALPHAvalue12 .random.test:a=ALPHA-private-41^privateBrowsingId=1 "
      ".random.test:b=bravo-98765 .random.test:b=bravo-LOGGED-3^userContextId=3";
  EXPECT_EQ(stored.size(), (random + kept).size()) << stored;
  // Secure Erase: neither a deleted nor a scrambled value is left anywhere in the file.
  const std::string file = f.files.ReadFile(Database()).value_or("") + stored;
  for (const char* value : {"GONE-VALUE-7731", "ALPHAvalue12", "bravo-98765", "GONE-CONTAINER-2", "ALPHA-private-41",
                            "GONE-LOGGED-3", "bravo-LOGGED-3"})
    EXPECT_EQ(file.find(value), std::string::npos) << value;
}

TEST_F(FirefoxPurge, CookieFailuresClaimNoChanges) {
  const std::string all = "a.test:a=1 keep.test:k=1 stuck.test:s=1 z.test:z=1";
  // A protect list that cannot be read: protected cookies cannot be told apart.
  const Lines cookies = {"a.test a 1", "keep.test k 1", "stuck.test s 1", "z.test z 1"};
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
       {refused,
        "*** Error - Save changes to FireFox Cookies file failed - Cookies.SQLite - the changes were rolled back"},
       all},
      {"", {"*** Error - Open FireFox Cookies file failed - Cookies.SQLite - database is locked"}, all},
  };
  for (const auto& [change, lines, left] : cases) {
    Make(cookies, "p=keep.test\r\n");
    TSQLiteDatabase writer(Database());
    writer.Execute(change.empty() ? "BEGIN IMMEDIATE" : change);
    EXPECT_EQ(f.Run(FirefoxCookiesPurge), lines);
    EXPECT_EQ(Stored(), left);
  }
}

// Places of every kind the statements tell apart.
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

TEST_F(FirefoxPurge, CacheEmptiesTheCacheFoldersOfTheProfileFoldersKnownKeepingFolders) {
  const std::string completed = "  Purge \"FireFox Cache\" Function Completed.";
  const std::string prefs = f.scratch.Write("Roaming\\Mozilla\\Firefox\\Profiles\\t3st.default\\prefs.js", "");
  // The caches below the local profile folder and below the roaming one; their folders stay, emptied.
  Lines files;
  std::set<std::string> folders;
  for (const auto& [root, names] :
       {std::pair{localProfile, Lines{"cache2\\entries\\3C5A9E0F1B", "cache2\\doomed\\1", "cache2\\index",
                                      "startupCache\\startupCache.8.little", "thumbnails\\0a1b2c.png",
                                      "jumpListCache\\aXh3.ico"}},
        {profile, Lines{"cache2\\entries\\D00DFEED"}}})
    for (const std::string& name : names) {
      files.push_back(root + "\\" + name);
      ASSERT_TRUE(f.files.CreateFolders(ParentFolder(files.back())) && f.files.WriteFile(files.back(), "data"));
      folders.insert(root + "\\" + name.substr(0, name.find('\\')));
    }
  Locate();
  f.state.previewMode = true;
  const Lines preview = f.Run(FirefoxCachePurge);
  const Lines lines = {completed + "   10 Cache Data Files Processed."};
  EXPECT_EQ(preview.back(), lines.back()) << "a Preview counts alike";
  for (const std::string& file : files) EXPECT_TRUE(f.files.FileExists(file)) << "a Preview changes nothing";
  f.state.previewMode = f.state.flags.detailReport = false;
  EXPECT_EQ(f.Run(FirefoxCachePurge), lines);
  for (const std::string& file : files) EXPECT_FALSE(f.files.FileExists(file)) << file;
  for (const std::string& folder : folders) EXPECT_TRUE(f.files.FolderExists(folder)) << folder;
  EXPECT_TRUE(f.files.FileExists(prefs)) << "the profile's own files stay";
  // No profile, or one outside Application Data (so none under Local Application Data): no folder is sought from the
  // profile folder not known.
  for (const std::string& ini : {std::string(), "[Profile0]\r\nIsRelative=0\r\nPath=" + f.scratch.path() + "\r\n"}) {
    f.scratch.Write("Roaming\\Mozilla\\Firefox\\profiles.ini", ini);
    Locate();
    EXPECT_EQ(f.Run(FirefoxCachePurge), (Lines{"    No Cache Data Files found to delete.", completed})) << ini;
  }
}

// A current profile's history: a visited page, a bookmarked one with a "www." twin, a typed one; each with its
// origin, history metadata, search terms, Sync's extra data, a new tab record and icons, the bookmark's root icons too.
constexpr std::initializer_list<const char*> kCurrentHistory = {
    "INSERT INTO moz_origins (id, prefix, host, frecency) VALUES (1, 'https://', 'secret-alpha.example', 1), (2, "
    "'https://', 'booked.example', 1), (3, 'https://', 'typed-gamma.example', 1), (4, 'https://', "
    "'www.booked.example', 1)",
    "INSERT INTO moz_places (id, url, url_hash, origin_id, typed, visit_count, last_visit_date) VALUES (1001, "
    "'https://secret-alpha.example/page', 11, 1, 0, 1, 7), (1002, 'https://booked.example/', 12, 2, 0, 1, 8), (1003, "
    "'https://typed-gamma.example/', 13, 3, 1, 2, 9), (1004, 'https://www.booked.example/other', 14, 4, 0, 1, 6)",
    "INSERT INTO moz_historyvisits (id, place_id, visit_type) VALUES (2001, 1001, 1), (2002, 1002, 1), (2003, 1003, "
    "2), (2004, 1004, 1), (2005, 1003, 1)",
    "INSERT INTO moz_historyvisits_extra (visit_id, sync_json) VALUES (2001, '{\"secret-alpha\":1}'), (2003, "
    "'{\"typed-gamma\":1}')",
    "INSERT INTO moz_places_extra (place_id, sync_json) VALUES (1001, '{\"secret-alpha\":2}'), (1002, '{}')",
    "INSERT INTO moz_bookmarks (id, type, fk) VALUES (3002, 1, 1002)",
    "INSERT INTO moz_places_metadata_search_queries (id, terms) VALUES (1, 'secret-alpha terms'), (2, 'booked "
    "terms'), (3, 'typed-gamma terms')",
    "INSERT INTO moz_places_metadata (id, place_id, referrer_place_id, search_query_id) VALUES (5001, 1001, NULL, 1), "
    "(5002, 1002, 1001, 2), (5003, 1003, NULL, 3)",
    "INSERT INTO moz_newtab_shortcuts_interaction (id, place_id, event_type, timestamp_s, pinned, tile_position) "
    "VALUES (6001, 1001, 0, 1, 0, 1), (6002, 1002, 0, 1, 1, 2)",
};
// Pages as places.sqlite's (hash and address), and one whose hash is a kept place's but whose address is not.
constexpr std::initializer_list<const char*> kCurrentIcons = {
    "INSERT INTO moz_pages_w_icons (id, page_url, page_url_hash) VALUES (1, 'https://secret-alpha.example/page', "
    "11), (2, 'https://booked.example/', 12), (3, 'https://typed-gamma.example/', 13), (4, "
    "'https://secret-collision.example/', 12)",
    "INSERT INTO moz_icons (id, icon_url, fixed_icon_url_hash, root) VALUES (1, "
    "'https://secret-alpha.example/a.png', 1, 0), (2, 'https://booked.example/favicon.ico', 2, 1), (3, "
    "'https://secret-alpha.example/favicon.ico', 3, 1), (4, 'https://www.booked.example/favicon.ico', 4, 1), (5, "
    "'https://booked.example/b.png', 5, 0), (6, 'https://typed-gamma.example/t.png', 6, 0), (7, "
    "'https://secret-unused.example/u.png', 7, 0), (8, 'https://secret-collision.example/c.png', 8, 0)",
    "INSERT INTO moz_icons_to_pages (page_id, icon_id) VALUES (1, 1), (2, 5), (3, 6), (4, 8), (9, 5)",
};

TEST_F(FirefoxPurge, CurrentProfileLosesEveryOrphanOfItsHistoryAndKeepsTheBookmarkWhole) {
  const std::string places = Places(), favicons = profile + "\\favicons.sqlite",
                    forms = profile + "\\formhistory.sqlite";
  test::BuildDatabase(places, test::kCurrentPlacesSchema);
  test::BuildDatabase(places, kCurrentHistory);
  test::BuildDatabase(favicons, test::kCurrentFaviconsSchema);
  test::BuildDatabase(favicons, kCurrentIcons);
  test::BuildDatabase(forms, test::kCurrentFormHistorySchema);
  test::BuildDatabase(forms, {"INSERT INTO moz_formhistory (id, fieldname, value) VALUES (1, 'q', 'secret-delta "
                              "form'), (2, 'email', 'secret-delta@example.net')",
                              "INSERT INTO moz_sources (id, source) VALUES (1, 'secret-delta.example/form')",
                              "INSERT INTO moz_history_to_sources VALUES (1, 1), (2, 1)"});
  Locate();
  auto bytes = [&] {
    std::string all;
    for (const std::string& file : {places, favicons, forms})
      for (const char* suffix : {"", "-wal", "-journal"}) all += f.files.ReadFile(file + suffix).value_or("") + "|";
    return all;
  };
  auto state = [&] {
    return Ids("moz_places", "id || ':' || visit_count || ':' || ifnull(last_visit_date, '-')") + " " +
           Ids("moz_origins") + " " + Ids("moz_historyvisits") + " " + Ids("moz_historyvisits_extra", "visit_id") +
           " " + Ids("moz_places_extra", "place_id") + " " +
           Ids("moz_places_metadata", "id || ':' || ifnull(referrer_place_id, '-')") + " " +
           Ids("moz_places_metadata_search_queries") + " " + Ids("moz_newtab_shortcuts_interaction") + " | " +
           Ids("moz_pages_w_icons", "id", favicons) + " " + Ids("moz_icons", "id", favicons) + " " +
           Ids("moz_icons_to_pages", "page_id || ':' || icon_id", favicons);
  };
  const std::string before = bytes();
  f.state.previewMode = true;
  for (auto body : {FirefoxTypedUrlsPurge, FirefoxHistoryPurge, FirefoxFormHistoryPurge})
    EXPECT_EQ(f.Run(body), (Lines{"  No Deletes are done for a \"Preview Purge\"."}));
  EXPECT_EQ(bytes(), before) << "a Preview changes no byte";
  f.state.previewMode = false;
  f.state.flags.secureErase = true;
  const Lines journals = {"       deleted - " + f.firefox.PlacesFile + "-wal",
                          "       deleted - " + f.firefox.FaviconsFile + "-wal"};
  EXPECT_EQ(f.Run(FirefoxHistoryPurge), (Lines{journals[0], journals[1], kHistoryDone}));
  EXPECT_EQ(state(), "1002:0:-,1003:2:9 2,3 2003 2003 1002 5002:-,5003:- 2,3 6002 | 2,3 2,4,5,6 2:5,3:6")
      << "the bookmark keeps its place (without its visits), origin, metadata (without the gone referrer) and icons, "
         "root ones too; the typed visit stays";
  EXPECT_EQ(f.Run(FirefoxTypedUrlsPurge), (Lines{journals[0], journals[1], kTypedDone}));
  EXPECT_EQ(state(), "1002:0:- 2   1002 5002:- 2 6002 | 2 2,4,5 2:5");
  EXPECT_EQ(f.Run(FirefoxFormHistoryPurge),
            (Lines{"       deleted - " + f.firefox.FormHistorySqliteFile + "-wal",
                   "  Deleted entries from FireFox Form History file - FormHistory.SQLite"}));
  EXPECT_EQ(Ids("moz_formhistory", "id", forms) + Ids("moz_sources", "id", forms) +
                Ids("moz_history_to_sources", "history_id", forms),
            "");
  const std::string after = bytes();
  for (const char* removed : {"secret-", "typed-gamma"}) EXPECT_EQ(after.find(removed), std::string::npos) << removed;
}

// SQLite's own file system with its deletions watched: the files it deleted while they still held the needle.
class DeletionWatch {
 public:
  explicit DeletionWatch(std::string needle) : needle_(std::move(needle)), base_(sqlite3_vfs_find(nullptr)) {
    watched_ = *base_;
    watched_.zName = "deletion-watch";
    watched_.xDelete = [](sqlite3_vfs*, const char* name, int syncDir) {
      if (platform::RealFileSystem().ReadFile(name).value_or("").find(active_->needle_) != std::string::npos)
        active_->dropped.push_back(name);
      return active_->base_->xDelete(active_->base_, name, syncDir);
    };
    active_ = this;
    sqlite3_vfs_register(&watched_, 1);
  }
  ~DeletionWatch() { sqlite3_vfs_unregister(&watched_); }
  Lines dropped;

 private:
  static inline DeletionWatch* active_ = nullptr;
  std::string needle_;
  sqlite3_vfs* base_;
  sqlite3_vfs watched_;
};

// A visited place the history purge deletes (its input history last), and writers that stop as a crashing Firefox does,
// leaving it in the journal: one whose log was never copied into the database, one stopped in a transaction that
// changed its page.
const std::string kSecretHost = "secret-journal-7731.test";
constexpr std::initializer_list<const char*> kSecretPlace = {
    "INSERT INTO moz_places (id, url) VALUES (1007, 'http://secret-journal-7731.test/')",
    "INSERT INTO moz_historyvisits (id, place_id, visit_type) VALUES (2007, 1007, 1)",
    "INSERT INTO moz_inputhistory (place_id, input) VALUES (1007, 'secret-journal-7731.test')"};

void StopMidTransaction(const std::string& path) {
  test::BuildDatabase(path, kSecretPlace);
  platform::FileSystem& files = platform::RealFileSystem();
  std::optional<std::string> journal;
  {
    TSQLiteDatabase writer(path);
    writer.Execute("PRAGMA cache_size = 2");
    writer.Execute("BEGIN");
    writer.Execute("UPDATE moz_places SET title = 'stopped' WHERE id = 1007");
    // More pages than the cache holds: the journal is made valid and the database written before the commit.
    writer.Execute("CREATE TABLE spilled (b BLOB)");
    writer.Execute("INSERT INTO spilled VALUES (zeroblob(1000000))");
    journal = files.ReadFile(path + "-journal");
    writer.Execute("ROLLBACK");
  }
  ASSERT_TRUE(journal && (*journal)[0] != 0 && journal->find(kSecretHost) != std::string::npos);
  files.WriteFile(path + "-journal", *journal);
}

TEST_F(FirefoxPurge, SecureEraseLeavesNoDeletedRowInTheJournalsAStoppedWriterLeftOrThePurgeWrote) {
  // The journal mode, how a writer stopped, the journal shredded after the purge.
  const std::tuple<std::string, void (*)(const std::string&), std::string> cases[] = {
      {"wal", [](const std::string& path) { test::WriteWithoutCheckpoint(path, kSecretPlace); }, "-wal"},
      {"delete", StopMidTransaction, "-journal"},
  };
  f.state.flags.secureErase = f.state.flags.compact = true;
  for (const auto& [mode, stopWriter, journal] : cases) {
    const std::string places = Places(), modeStatement = "PRAGMA journal_mode = " + mode;
    test::BuildDatabase(places, test::kCurrentPlacesSchema);
    test::BuildDatabase(places, {modeStatement.c_str()});
    test::BuildDatabase(places, kPlaces);
    stopWriter(places);
    Locate();
    {
      DeletionWatch watch(kSecretHost);
      EXPECT_EQ(f.Run(FirefoxHistoryPurge),
                (Lines{kCompacted, "       deleted - " + f.firefox.PlacesFile + journal, kHistoryDone}));
      EXPECT_EQ(watch.dropped, Lines{}) << "deleted by SQLite without being overwritten";
    }
    for (const char* file : {"", "-wal", "-journal", "-shm"})
      EXPECT_EQ(f.files.ReadFile(places + file).value_or("").find(kSecretHost), std::string::npos) << mode << file;
    EXPECT_EQ(test::QueryText(places, "PRAGMA journal_mode"), mode);
    EXPECT_EQ(Ids("moz_places"), "1001,1003,1004,1005,1006") << "the unvisited link goes; bookmark and query stay";
    EXPECT_EQ(Ids("moz_historyvisits") + " " + Ids("moz_inputhistory", "place_id") + " " + Ids("moz_annos"),
              "2001,2005,2006 1001 4002")
        << "typed visits stay, others and orphans go; a never-expiring annotation stays";
    f.Run(FirefoxTypedUrlsPurge);
    EXPECT_EQ(Ids("moz_places"), "1003,1004,1005") << "a bookmarked typed place stays";
    for (const char* file : {"", "-shm"}) f.files.RemoveFile(places + file);
  }
}

}  // namespace
}  // namespace tidemark::firefox
