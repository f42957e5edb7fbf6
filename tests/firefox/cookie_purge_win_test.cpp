#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <map>
#include <optional>

#include "firefox/firefox_cookies.h"
#include "firefox/firefox_purges.h"
#include "firefox_databases.h"
#include "platform/files_win.h"
#include "profile_fixture_win.h"

namespace tidemark::firefox {
namespace {

using Lines = std::vector<std::string>;

const std::string kCompleted = "  Purge \"FireFox Cookies\" Function Completed.";

struct Cookie {
  std::string host, name, value;
};

// The real file system with the removal or the writing of one file failing.
class FailingFiles : public platform::Win32FileSystem {
 public:
  bool RemoveFile(const std::string& path) override {
    return Hits(path, failRemove) ? Fail(ERROR_ACCESS_DENIED) : Win32FileSystem::RemoveFile(path);
  }
  bool WriteFile(const std::string& path, const std::string& content) override {
    return Hits(path, failWrite) ? Fail(ERROR_DISK_FULL) : Win32FileSystem::WriteFile(path, content);
  }
  std::string failRemove, failWrite;

 private:
  static bool Hits(const std::string& path, const std::string& name) {
    return !name.empty() && EndsWithNoCase(path, name);
  }
};

struct WithFailingFiles {  // built before the fixture that uses it
  FailingFiles files;
};

class CookiePurge : protected WithFailingFiles, public test::FirefoxProfileTest {
 protected:
  CookiePurge() : test::FirefoxProfileTest({&files}) {}

  std::string Database() const { return profile + "\\cookies.sqlite"; }

  // A current cookies.sqlite holding the cookies, and the protect list.
  void Make(const std::vector<Cookie>& cookies, const std::string& protect) {
    f.files.RemoveFile(Database());
    test::BuildDatabase(Database(), test::kCurrentCookiesSchema);
    TSQLiteDatabase database(Database());
    TSQLiteStatement insert(database,
                            "INSERT INTO moz_cookies (host, name, value, path, expiry, isSecure, isHttpOnly) "
                            "VALUES (?1, ?2, ?3, '/', 2000000000, 0, 1)");
    for (const Cookie& c : cookies) insert.Execute({c.host, c.name, c.value});
    f.files.WriteFile(f.firefoxProtectFile, protect);
    Locate();
  }

  // host -> "name=value ..." as the database holds them now.
  std::map<std::string, std::string> Stored() const {
    TSQLiteDatabase database(Database());
    TSQLiteTable table = database.Query("SELECT host, name, value FROM moz_cookies ORDER BY host, name");
    std::map<std::string, std::string> stored;
    for (; !table.AtEnd(); table.NextRow())
      stored[table.AsText(0)] += (stored[table.AsText(0)].empty() ? "" : " ") + table.AsText(1) + "=" + table.AsText(2);
    return stored;
  }
};

TEST_F(CookiePurge, DeletesUnprotectedKeepsProtectedScramblesRandomCountingHostRuns) {
  Make({{"keep.test", "sid", "K1"},
        {".random.test", "a", "ALPHAvalue12"},
        {".random.test", "b", "bravo-98765"},
        {"gone.test", "x", "1"},
        {"gone.test", "y", "2"},
        {"gone.test", "z", "3"},
        {".site.test", "s", "S"},
        {"site.test", "t", "T"},
        {"w1.site.test", "u", "U"}},
       "p=keep.test\r\nr=.random.test\r\np=.site.test\r\n");
  EXPECT_EQ(Run(FirefoxCookiesPurge), (Lines{"    Randomized - .random.test", "       deleted - gone.test",
                                             "       deleted - site.test", "       deleted - w1.site.test",
                                             "    1 Cookie Randomized.", kCompleted + "   4 Entries Processed."}));
  auto stored = Stored();
  EXPECT_EQ(stored.size(), 3u);
  EXPECT_EQ(stored["keep.test"], "sid=K1");
  EXPECT_EQ(stored[".site.test"], "s=S");
  const std::string& random = stored[".random.test"];
  EXPECT_EQ(random.size(), std::string("a=ALPHAvalue12 b=bravo-98765").size());
  EXPECT_EQ(random.find("ALPHAvalue12"), std::string::npos);
  EXPECT_EQ(random.find("bravo-98765"), std::string::npos);
  EXPECT_EQ(f.noProtectionWarnings, 0);
}

TEST_F(CookiePurge, HostsAndNamesAreComparedExactlyNotAsPatterns) {
  Make({{"a_b.test", "n", "1"},
        {"axb.test", "n", "kept"},
        {"100%.test", "n", "2"},
        {"100percent.test", "n", "kept"},
        {"host", "host", "3"},
        {"q\"uote.test", "n", "4"},
        {".r.test", "_ga", "GA1.2.333"},
        {".r.test", "xga", "XGAvalue-different"},
        {".r.test", "name", "nm"}},
       "p=axb.test\r\np=100percent.test\r\nr=.r.test\r\n");
  f.state.flags.detailReport = false;
  EXPECT_EQ(Run(FirefoxCookiesPurge), (Lines{"    1 Cookie Randomized.", kCompleted + "   5 Entries Processed."}));
  auto stored = Stored();
  EXPECT_EQ(stored.size(), 3u);
  EXPECT_EQ(stored["axb.test"], "n=kept");
  EXPECT_EQ(stored["100percent.test"], "n=kept");
  EXPECT_EQ(stored[".r.test"].size(), std::string("_ga=GA1.2.333 name=nm xga=XGAvalue-different").size())
      << "each cookie keeps the length of its own value";
}

TEST_F(CookiePurge, PreviewChangesNothingButTheCompaction) {
  Make({{"keep.test", "k", "1"},
        {"a.test", "a", "1"},
        {"b.test", "b", "1"},
        {"c.test", "c", "1"},
        {"r.test", "r", "value"}},
       "p=keep.test\r\nr=r.test\r\n");
  test::BuildDatabase(
      Database(), {"CREATE TABLE filler (x)", "INSERT INTO filler VALUES (randomblob(20000))", "DROP TABLE filler"});
  ASSERT_NE(test::QueryText(Database(), "PRAGMA freelist_count"), "0");
  auto before = Stored();
  f.state.previewMode = true;
  f.state.flags.compact = true;
  EXPECT_EQ(
      Run(FirefoxCookiesPurge),
      (Lines{"     to delete - a.test", "     to delete - b.test", "     to delete - c.test", "  to Randomize - r.test",
             "  Compact Cookie file completed", "    1 Cookie to Randomize.", kCompleted + "   4 Entries Processed."}));
  EXPECT_EQ(Stored(), before);
  EXPECT_EQ(test::QueryText(Database(), "PRAGMA freelist_count"), "0");
}

TEST_F(CookiePurge, NoProtectionWarningRules) {
  struct Case {
    const char* protect;
    bool preview;
    const char* showOption;
    bool proceed;
    int warnings;
    size_t left;
  } cases[] = {
      {"", false, "N", false, 1, 2},  // Bypass
      {"", false, "N", true, 1, 0},   // Continue
      {"", false, "Y", false, 0, 0},  // silenced
      {"", true, "N", false, 0, 2},   // a Preview never asks
      {"p=other.test", false, "N", false, 0, 1},
  };
  for (const Case& c : cases) {
    Make({{"a.test", "a", "1"}, {"other.test", "o", "1"}}, c.protect);
    f.state.previewMode = c.preview;
    f.ffCookieMsgOpt = c.showOption;
    f.continueWithoutProtection = c.proceed;
    f.noProtectionWarnings = 0;
    const Lines& lines = Run(FirefoxCookiesPurge);
    EXPECT_EQ(f.noProtectionWarnings, c.warnings) << c.showOption << c.preview;
    EXPECT_EQ(Stored().size(), c.left);
    EXPECT_EQ(lines.front() == "  Purge \"FireFox Cookies\" Function Bypassed.", c.warnings && !c.proceed);
  }
}

TEST_F(CookiePurge, UnreadableProtectFileBypassesThePurge) {
  Make({{"a.test", "a", "1"}}, "p=a.test\r\n");
  HANDLE locked = CreateFileA(f.firefoxProtectFile.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  EXPECT_EQ(Run(FirefoxCookiesPurge),
            (Lines{"*** Error - Bypassed Cookie procesing as existing Protect file could not be opened"}));
  CloseHandle(locked);
  EXPECT_EQ(f.r.report.ErrorLevel(), 7);
  EXPECT_EQ(Stored().size(), 1u);
}

TEST_F(CookiePurge, FailuresClaimNoChanges) {
  const char* abort =
      "CREATE TRIGGER t BEFORE DELETE ON moz_cookies WHEN OLD.host = 'stuck.test' BEGIN "
      "SELECT RAISE(ABORT, 'refused'); END";
  const char* rollback =
      "CREATE TRIGGER t BEFORE DELETE ON moz_cookies WHEN OLD.host = 'stuck.test' BEGIN "
      "SELECT RAISE(ROLLBACK, 'refused'); END";
  const std::string refused = "*** Error - Delete Entry from FireFox Cookies file failed - Cookies.SQLite - refused";
  struct Case {
    const char* trigger;  // on deleting stuck.test's cookie; nullptr: another writer holds the database
    Lines lines;
    size_t left;
  } cases[] = {
      // The failing statement alone is undone; the rest is saved.
      {abort,
       {"       deleted - a.test", refused, "       deleted - z.test", kCompleted + "   2 Entries Processed."},
       2},
      // The transaction is lost: nothing is saved, nothing claimed.
      {rollback,
       {refused,
        "*** Error - Save changes to FireFox Cookies file failed - Cookies.SQLite - the changes were rolled back"},
       4},
      {nullptr, {"*** Error - Open FireFox Cookies file failed - Cookies.SQLite - database is locked"}, 4},
  };
  for (const Case& c : cases) {
    Make({{"a.test", "a", "1"}, {"keep.test", "k", "1"}, {"stuck.test", "s", "1"}, {"z.test", "z", "1"}},
         "p=keep.test\r\n");
    std::optional<TSQLiteDatabase> writer;
    if (c.trigger) {
      test::BuildDatabase(Database(), {c.trigger});
    } else {
      writer.emplace(Database());
      writer->Execute("BEGIN IMMEDIATE");
    }
    EXPECT_EQ(Run(FirefoxCookiesPurge), c.lines);
    writer.reset();
    EXPECT_EQ(Stored().size(), c.left);
  }
}

TEST_F(CookiePurge, UnreadableCookieTableIsAnErrorNotACookieOfNoticeLines) {
  test::BuildDatabase(Database(), {"CREATE TABLE moz_perms (id INTEGER PRIMARY KEY)"});
  f.files.WriteFile(f.firefoxProtectFile, "p=keep.test\r\n");
  Locate();
  EXPECT_EQ(Run(FirefoxCookiesPurge),
            (Lines{"*** Error - Load FireFox Cookies File failed - Cookies.SQLite - no such table: moz_cookies"}));

  // The cookie manager shows the notices as its items.
  CookieList list;
  EXPECT_EQ(LoadFirefoxCookies(f.files, Database(), true, list).outcome, CookieLoad::Unreadable);
  ASSERT_EQ(list.size(), 3u);
  EXPECT_EQ(list[1].line, "  ---FireFox must be closed to access its Cookie file---");
  EXPECT_TRUE(list[0].notice && list[1].notice && list[2].notice);
}

TEST_F(CookiePurge, SecureEraseLeavesNoDeletedValueInTheFile) {
  const std::string secret = "SECRET-COOKIE-VALUE-7731";
  for (bool secureErase : {false, true}) {
    Make({{"keep.test", "k", "kept-value"}, {"tracker.test", "id", secret}}, "p=keep.test\r\n");
    f.state.flags.secureErase = secureErase;
    Run(FirefoxCookiesPurge);
    ASSERT_EQ(Stored().size(), 1u);
    bool found = f.files.ReadFile(Database()).value_or("").find(secret) != std::string::npos;
    EXPECT_EQ(found, !secureErase) << "Secure Erase " << secureErase;
  }
}

TEST_F(CookiePurge, OlderCookieDatabaseOfARealProfile) {
  if (!CopySample("firefox-legacy-cookies.sqlite", Database())) GTEST_SKIP() << "samples absent";
  Locate();
  const std::string hosts = "SELECT DISTINCT lower(host) FROM moz_cookies ORDER BY 1";
  int64_t total = test::QueryCount(Database(), hosts);
  std::string first = test::QueryText(Database(), hosts), second = test::QueryText(Database(), hosts + " LIMIT 1, 1");
  f.files.WriteFile(f.firefoxProtectFile, "p=" + first + "\r\nr=" + second + "\r\n");
  f.state.flags.detailReport = false;
  EXPECT_EQ(Run(FirefoxCookiesPurge).back(), kCompleted + "   " + std::to_string(total - 1) + " Entries Processed.");
  EXPECT_EQ(test::QueryCount(Database(), hosts), 2);
}

TEST_F(CookiePurge, CookiesTxtIsRewrittenThroughItsTwoScratchNames) {
  const std::string txt = profile + "\\Cookies.txt", pg2 = profile + "\\Cookies.pg2";
  const std::string header = "# HTTP Cookie File\n# This is a generated file!  Do not edit.\n\n";
  const std::string keep = "keep.test\tFALSE\t/\tFALSE\t2000000000\tk\tv\n";
  const std::string old = header + "gone.test\tFALSE\t/\tFALSE\t2000000000\tg\tv\n" +
                          "#HttpOnly_.gone.test\tTRUE\t/\tFALSE\t2000000000\th\tv\n" + keep;
  auto make = [&] {
    f.files.RemoveFile(pg2);
    f.files.WriteFile(txt, old);
    f.files.WriteFile(f.firefoxProtectFile, "p=keep.test\r\n");
    Locate();
  };
  make();
  EXPECT_EQ(Run(FirefoxCookiesPurge), (Lines{"       deleted - .gone.test", "       deleted - gone.test",
                                             kCompleted + "   2 Entries Processed."}));
  EXPECT_EQ(f.files.ReadFile(txt), header + keep);
  EXPECT_FALSE(f.files.FileExists(profile + "\\Cookies.pg1"));
  EXPECT_FALSE(f.files.FileExists(pg2));

  // The old file cannot be deleted: the new one is in place all the same.
  make();
  files.failRemove = "Cookies.pg2";
  EXPECT_EQ(Run(FirefoxCookiesPurge).at(2), "        Locked - " + pg2);
  EXPECT_EQ(f.files.ReadFile(txt), header + keep);
  files.failRemove.clear();

  // The new file cannot be written: the old one stays, and no line claims a deletion.
  make();
  files.failWrite = "Cookies.pg1";
  EXPECT_EQ(Run(FirefoxCookiesPurge), (Lines{"*** Error - Write FireFox Cookies file failed - Cookies.txt"}));
  EXPECT_EQ(f.files.ReadFile(txt), old);
}

}  // namespace
}  // namespace tidemark::firefox
