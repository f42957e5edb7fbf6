// The Chromium purges over browsers located by hand in scratch folders: real SQLite files made with Chromium's own
// schemas.
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <windows.h>

#include <string>
#include <tuple>
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

// A second connection holding the database as Chromium does while it runs: locked exclusively from its first write.
class ChromiumConnection {
 public:
  explicit ChromiumConnection(const std::string& path) {
    sqlite3_open(path.c_str(), &database_);
    for (const char* statement : {"PRAGMA locking_mode = EXCLUSIVE", "BEGIN EXCLUSIVE", "COMMIT"})
      EXPECT_EQ(sqlite3_exec(database_, statement, nullptr, nullptr, nullptr), SQLITE_OK) << statement;
  }
  ~ChromiumConnection() { sqlite3_close(database_); }

 private:
  sqlite3* database_ = nullptr;
};

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

TEST_F(ChromiumPurge, CookiesOfUnprotectedHostsGoInEverySchemaWhileProtectedAndRandomHostsStay) {
  Locate({"Default", "Profile 1"});
  // Today's profile keeps its cookies under Network, an older one in the profile folder; both have extensions' own.
  const std::string current = In("Default", "Network\\Cookies"), extensions = In("Default", "Extension Cookies"),
                    older = In("Profile 1", "Cookies");
  const std::tuple<std::string, std::initializer_list<const char*>> databases[] = {
      {current, test::kCookiesSchemaV24}, {extensions, test::kCookiesSchemaV20}, {older, test::kCookiesSchemaV18}};
  const std::string values = "(?1, 'n' || ?2, '', '', ?3, '/', 1, 1, 1, 1, 1, 1, 1, 1, -1, 2, 443, 1";
  for (const auto& [path, schema] : databases) {
    test::BuildDatabase(path, schema);
    firefox::TSQLiteDatabase database(path);
    bool current = database.HasTable("cookies", "source_type");
    firefox::TSQLiteStatement insert(
        database, "INSERT INTO cookies (host_key, name, top_frame_site_key, value, encrypted_value, path, creation_utc, "
                  "expires_utc, is_secure, is_httponly, last_access_utc, has_expires, is_persistent, priority, "
                  "samesite, source_scheme, source_port, last_update_utc, " +
                      std::string(current ? "source_type, has_cross_site_ancestor" : "is_same_party") + ") VALUES " +
                      values + (current ? ", 0, 0)" : ", 0)"));
    int64_t n = 0;
    for (const char* host : {"gone.test", ".keep.test", ".random.test", "gone.test", ".gone.test", "keep.test.evil"})
      insert.Execute({host, ++n, "v10SECRET-" + std::string(host) + "-" + std::to_string(n)});
  }
  f.files.WriteFile(f.firefoxProtectFile, "p=.keep.test\r\nr=.Random.test\r\n");
  auto stored = [&](const std::string& path) { return Rows(path, "SELECT host_key FROM cookies ORDER BY 1"); };
  const std::string random = "     Protected - .random.test - Random: Chromium's cookie values are encrypted and not "
                             "scrambled";
  const Lines hosts = {"     to delete - .gone.test", "     to delete - gone.test", "     to delete - keep.test.evil"};
  const std::string before = Bytes({current, extensions, older});
  f.state.previewMode = true;
  Lines preview;
  for (int database = 0; database < 3; ++database) {
    preview.insert(preview.end(), hosts.begin(), hosts.end());
    preview.insert(preview.end() - 2, random);
  }
  preview.push_back(kCookiesDone + "   9 Entries Processed.");
  EXPECT_EQ(f.Run(ChromiumCookiesPurge), preview);
  EXPECT_EQ(Bytes({current, extensions, older}), before) << "a Preview changes no byte";
  EXPECT_EQ(f.noProtectionWarnings, 0);

  // Chromium holds today's database: it stays as it is, the others are purged.
  f.state.previewMode = false;
  f.state.flags.secureErase = true;
  {
    ChromiumConnection chromium(current);
    const Lines lines = f.Run(ChromiumCookiesPurge);
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.front(), "*** Error - Delete entries from Chromium Cookies failed - " + current +
                                 " - database is locked");
    EXPECT_EQ(lines.back(), kCookiesDone + "   6 Entries Processed.");
    EXPECT_EQ(f.r.report.ErrorLevel(), firefox::kDatabaseErrorLevel);
  }
  EXPECT_EQ(stored(current), ".gone.test,.keep.test,.random.test,gone.test,gone.test,keep.test.evil");
  EXPECT_EQ(Lines(f.Run(ChromiumCookiesPurge)),
            (Lines{"       deleted - .gone.test", random, "       deleted - gone.test",
                   "       deleted - keep.test.evil", "       deleted - " + current + "-journal", random, random,
                   kCookiesDone + "   3 Entries Processed."}));
  for (const std::string& path : {current, extensions, older}) {
    EXPECT_EQ(stored(path), ".keep.test,.random.test") << path;
    EXPECT_EQ(Rows(path, "SELECT encrypted_value FROM cookies WHERE host_key = '.random.test'"),
              "v10SECRET-.random.test-3")
        << "kept as it was";
  }
  const std::string after = Bytes({current, extensions, older});
  for (const char* removed : {"SECRET-gone", "SECRET-.gone", "SECRET-keep.test.evil"})
    EXPECT_EQ(after.find(removed), std::string::npos) << removed;
}

}  // namespace
}  // namespace tidemark::chromium
