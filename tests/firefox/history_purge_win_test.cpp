#include <gtest/gtest.h>

#include "firefox/firefox_purges.h"
#include "firefox_databases.h"
#include "profile_fixture_win.h"

namespace tidemark::firefox {
namespace {

using Lines = std::vector<std::string>;

constexpr const char* kNoDeletes = "  No Deletes are done for a \"Preview Purge\".";

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

class HistoryPurge : public test::FirefoxProfileTest {
 protected:
  std::string Places() const { return profile + "\\places.sqlite"; }
  std::string Ids(const std::string& sql) const {
    return test::QueryText(Places(), "SELECT group_concat(id) FROM (" + sql + ")");
  }
  std::string TestPlaces() const { return Ids("SELECT id FROM moz_places WHERE id > 1000 ORDER BY id"); }
  std::string Visits() const { return Ids("SELECT id FROM moz_historyvisits ORDER BY id"); }
  std::string Inputs() const { return Ids("SELECT place_id AS id FROM moz_inputhistory ORDER BY 1"); }
};

TEST_F(HistoryPurge, HistoryKeepsTypedVisitsBookmarksAndQueriesThenTypedUrlsRemoveTheTyped) {
  if (!CopySample("firefox3-places.sqlite", Places())) GTEST_SKIP() << "samples absent";
  test::BuildDatabase(Places(), kPlaces);
  Locate();
  f.state.flags.compact = true;

  EXPECT_EQ(Run(FirefoxHistoryPurge), (Lines{"  Compact History file completed",
                                             "  Deleted entries from  FireFox History file - Places.SQLite"}));
  EXPECT_EQ(TestPlaces(), "1001,1003,1004,1005,1006") << "the unvisited link goes; bookmark and query stay";
  EXPECT_EQ(Visits(), "1,2001,2005,2006") << "typed visits stay, others and orphans go";
  EXPECT_EQ(Inputs(), "1001");
  EXPECT_EQ(Ids("SELECT id FROM moz_annos"), "4002") << "expiration 4 stays";
  EXPECT_EQ(test::QueryText(Places(), "PRAGMA freelist_count"), "0");

  // Typed URLs never compacts.
  EXPECT_EQ(Run(FirefoxTypedUrlsPurge), (Lines{"  Deleted entries from  FireFox Typed URLs - Places.SQLite"}));
  EXPECT_EQ(TestPlaces(), "1003,1004,1005") << "a bookmarked typed place stays";
  EXPECT_EQ(Visits(), "");
  EXPECT_EQ(Inputs(), "");
  EXPECT_EQ(test::QueryCount(Places(), "SELECT id FROM moz_places WHERE id <= 92"), 91)
      << "the sample's typed place 92";
}

TEST_F(HistoryPurge, CurrentSchemaFailsAtTheFaviconsAndSaysSo) {
  test::BuildDatabase(Places(), test::kCurrentPlacesSchema);
  test::BuildDatabase(Places(), kPlaces);
  test::BuildDatabase(profile + "\\formhistory.sqlite", test::kCurrentFormHistorySchema);
  test::BuildDatabase(profile + "\\formhistory.sqlite",
                      {"INSERT INTO moz_formhistory (fieldname, value) VALUES ('q', 'secret search')",
                       "INSERT INTO moz_sources (source) VALUES ('https://site.test')"});
  Locate();
  f.state.flags.compact = true;

  EXPECT_EQ(Run(FirefoxTypedUrlsPurge),
            (Lines{"*** Error - Delete Typed URL entries failed - Places.SQLite - no such table: moz_FavIcons"}));
  EXPECT_EQ(Inputs(), "") << "the first statement stays done";
  EXPECT_EQ(TestPlaces(), "1001,1002,1003,1004,1005,1006");

  EXPECT_EQ(Run(FirefoxHistoryPurge),
            (Lines{"*** Error - Delete entries from History failed - Places.SQLite - no such table: moz_FavIcons"}));
  EXPECT_EQ(TestPlaces(), "1001,1003,1004,1005,1006");
  EXPECT_EQ(Visits(), "2001,2005,2006");
  EXPECT_EQ(f.r.report.ErrorLevel(), 3) << "a summary that tells of the failure";

  EXPECT_EQ(Run(FirefoxFormHistoryPurge),
            (Lines{"  Compact Form History file completed",
                   "  Deleted entries from FireFox Form History file - FormHistory.SQLite"}));
  EXPECT_EQ(test::QueryCount(profile + "\\formhistory.sqlite", "SELECT * FROM moz_formhistory"), 0);
}

TEST_F(HistoryPurge, PreviewOpensNoDatabaseAndOlderProfilesLoseTheirFiles) {
  test::BuildDatabase(Places(), test::kCurrentPlacesSchema);
  Locate();
  f.state.previewMode = true;
  auto before = f.files.ReadFile(Places());
  for (auto body : {FirefoxTypedUrlsPurge, FirefoxHistoryPurge, FirefoxFormHistoryPurge})
    EXPECT_EQ(Run(body), (Lines{kNoDeletes}));
  EXPECT_EQ(f.files.ReadFile(Places()), before);

  f.files.RemoveFile(Places());
  const std::string history = f.scratch.Write("Roaming\\Mozilla\\Firefox\\Profiles\\t3st.default\\History.dat", "h");
  const std::string forms = f.scratch.Write("Roaming\\Mozilla\\Firefox\\Profiles\\t3st.default\\FormHistory.dat", "f");
  Locate();
  EXPECT_EQ(Run(FirefoxHistoryPurge), (Lines{"     to delete - " + f.firefox.HistoryDatFile, kNoDeletes}));
  f.state.previewMode = false;
  f.state.flags.detailReport = false;  // the data file's line is written in Summary reports too
  EXPECT_EQ(Run(FirefoxHistoryPurge), (Lines{"       deleted - " + f.firefox.HistoryDatFile}));
  EXPECT_EQ(Run(FirefoxFormHistoryPurge), (Lines{"       deleted - " + f.firefox.FormHistoryDatFile}));
  EXPECT_EQ(Run(FirefoxTypedUrlsPurge), Lines{});
  EXPECT_FALSE(f.files.FileExists(history));
  EXPECT_FALSE(f.files.FileExists(forms));
}

TEST_F(HistoryPurge, MissingOrLockedDatabasesAreErrorsWithoutSuccessLines) {
  test::BuildDatabase(Places(), test::kCurrentPlacesSchema);
  Locate();
  EXPECT_EQ(Run(FirefoxFormHistoryPurge),
            (Lines{"*** Error - Unable to find FireFox Form History file - FormHistory.SQLite"}));

  {
    firefox::TSQLiteDatabase other(Places());
    other.Execute("BEGIN EXCLUSIVE");
    EXPECT_EQ(Run(FirefoxHistoryPurge),
              (Lines{"*** Error - Delete entries from History failed - Places.SQLite - database is locked"}));
  }

  // A database that went away since it was located is not made anew.
  f.files.RemoveFile(Places());
  EXPECT_EQ(Run(FirefoxHistoryPurge),
            (Lines{"*** Error - Delete entries from History failed - Places.SQLite - unable to open database file"}));
  EXPECT_FALSE(f.files.FileExists(Places()));
}

}  // namespace
}  // namespace tidemark::firefox
