// The permission stores and the SQLite layer under them, over real files.
#include "firefox/site_permissions.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>

#include "firefox/firefox_databases.h"
#include "support/memory_files.h"

namespace tidemark::firefox {
namespace {

namespace fs = std::filesystem;
using cookies::PermissionChange;

// permissions.sqlite as Firefox 42 on writes it (moz_perms, Firefox 41's moz_hosts left behind).
constexpr std::initializer_list<const char*> kMozPermsSchema = {
    "PRAGMA user_version = 12",
    "CREATE TABLE moz_hosts ( id INTEGER PRIMARY KEY,host TEXT,type TEXT,permission INTEGER,expireType "
    "INTEGER,expireTime INTEGER,modificationTime INTEGER,appId INTEGER,isInBrowserElement INTEGER)",
    "CREATE TABLE moz_perms ( id INTEGER PRIMARY KEY,origin TEXT,type TEXT,permission INTEGER,expireType "
    "INTEGER,expireTime INTEGER,modificationTime INTEGER)",
    "INSERT INTO moz_perms(origin, type, permission, expireType, expireTime, modificationTime) VALUES"
    "('https://a_b.test', 'cookie', 2, 0, 0, 1), ('http://axb.test', 'cookie', 1, 0, 0, 1), "
    "('https://site.test', 'popup', 1, 0, 0, 1), ('https://port.test:8080', 'cookie', 2, 0, 0, 1)",
    "INSERT INTO moz_hosts(host, type, permission) VALUES('stale.test', 'cookie', 2)"};
constexpr const char* kHostpermRecords =
    "host\tcookie\t2\ta_b.test\nhost\tcookie\t1\taxb.test\nhost\tpopup\t1\tsite.test\n";

const std::string kHeader = "# Permission File\n#\n\n";  // with a comment line and a blank one

const std::optional<std::string> kAllow = "Allow", kBlock = "Block";

struct Recording : cookies::UserMessages {
  void Show(const std::string& caption, const std::string& text) override { shown.push_back(caption + "|" + text); }
  std::vector<std::string> shown;
};

// hostperm.1 in memory; the databases on disk.
struct DiskFiles : test::MemoryFileSystem {
  bool FileExists(const std::string& path) override { return fs::is_regular_file(path); }
};

class SitePermissions : public ::testing::Test {
 protected:
  SitePermissions() {
    fs::create_directories(folder_);
    firefox_.FirefoxProfileFolder = folder_.string();
    firefox_.PermissionsFile = (folder_ / "permissions.sqlite").string();
    firefox_.HostpermFile = "C:\\Profile\\hostperm.1";
  }
  ~SitePermissions() override {
    permissions_.Close();
    fs::remove_all(folder_);
  }

  // permissions.sqlite, or else hostperm.1.
  void Build(bool sqlite) {
    firefox_.FirefoxSqliteFormat = firefox_.PermissionsSqlitePresent = sqlite;
    if (sqlite)
      test::BuildDatabase(firefox_.PermissionsFile, kMozPermsSchema);
    else
      files_.AddFile(firefox_.HostpermFile, kHeader + kHostpermRecords);
    permissions_.Load(files_, firefox_, messages_);
  }
  int64_t Rows(const std::string& where) {
    return test::QueryCount(firefox_.PermissionsFile, "SELECT * FROM moz_perms WHERE " + where);
  }
  void Reload() {
    ASSERT_TRUE(permissions_.Close());
    permissions_.Load(files_, firefox_, messages_);
  }

  fs::path folder_ = fs::temp_directory_path() /
                     ("tm-ff-" + std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()));
  locations::FirefoxLocations firefox_;
  DiskFiles files_;
  Recording messages_;
  FirefoxSitePermissions permissions_;
};

TEST_F(SitePermissions, EachStoreChangesOnlyTheHostsCookiePermissionProblemsAreToldAndSQLiteFailuresHoldNothing) {
  for (bool sqlite : {true, false}) {
    SCOPED_TRACE(sqlite);
    Build(sqlite);
    EXPECT_EQ(std::pair(permissions_.Find("a_b.test"), permissions_.Find(".AXB.test")), std::pair(kBlock, kAllow));
    // Not a cookie permission; moz_hosts is history once moz_perms exists; not the host alone.
    for (const char* host : {"site.test", "stale.test", "port.test"}) EXPECT_EQ(permissions_.Find(host), std::nullopt);
    const std::pair<PermissionChange, std::optional<std::string>> steps[] = {
        {PermissionChange::Allow, "Allow"},       {PermissionChange::Block, "Block"},
        {PermissionChange::Session, "Session"},   {PermissionChange::Remove, std::nullopt},
        {PermissionChange::Remove, std::nullopt},
    };
    for (const auto& [change, shown] : steps) {
      EXPECT_TRUE(permissions_.Set(".Site.TEST", change));
      EXPECT_EQ(permissions_.Find("site.test"), shown);
      Reload();
      EXPECT_EQ(permissions_.Find("site.test"), shown);
      const char* both = "type = 'cookie' AND origin IN ('http://site.test', 'https://site.test')";
      EXPECT_EQ(sqlite && shown ? Rows(both) : 2, 2) << "moz_perms: one row per scheme";
    }
    // Hosts are bound values compared whole: "_", "%" or a column's name matches only itself.
    EXPECT_TRUE(permissions_.Set("a_b.test", PermissionChange::Remove) &&
                permissions_.Set("host", PermissionChange::Block) && permissions_.Set("%", PermissionChange::Remove));
    Reload();
    EXPECT_EQ(std::tuple(permissions_.Find("a_b.test"), permissions_.Find("axb.test"), permissions_.Find("host")),
              std::tuple(std::nullopt, kAllow, kBlock));
    if (sqlite) {
      EXPECT_EQ(std::pair(Rows("type <> 'cookie'"), Rows("type = 'cookie'")), std::pair(int64_t{1}, int64_t{4}));
    } else {
      EXPECT_EQ(files_.ReadFile(firefox_.HostpermFile),
                kHeader + "host\tcookie\t1\taxb.test\nhost\tpopup\t1\tsite.test\nhost\tcookie\t2\thost\n");
    }
    ASSERT_TRUE(permissions_.Close());
    fs::remove(firefox_.PermissionsFile);
  }

  // Problems are told and leave the permission as it was.
  firefox_.FirefoxSqliteFormat = firefox_.PermissionsSqlitePresent = true;
  std::ofstream(firefox_.PermissionsFile) << "Plain notes, long enough to be read as a database header and more text.";
  permissions_.Load(files_, firefox_, messages_);
  EXPECT_TRUE(fs::remove(firefox_.PermissionsFile)) << "the failed opens hold nothing";
  Build(true);
  test::BuildDatabase(firefox_.PermissionsFile, {"CREATE TRIGGER refuse BEFORE INSERT ON moz_perms WHEN NEW.origin "
                                                 "LIKE '%site.test' BEGIN SELECT RAISE(ABORT, 'no'); END"});
  permissions_.Load(files_, firefox_, messages_);
  EXPECT_FALSE(permissions_.Set("site.test", PermissionChange::Allow) || permissions_.Find("site.test"));
  EXPECT_TRUE(permissions_.Set("axb.test", PermissionChange::Block));
  const std::string go = "\r\nExecution will continue...", message = "Tidemark -  Message|";
  const std::string create = message + "Create Entry in FireFox Permissions file failed... " + go;
  const std::string load = message + "Load FireFox Permissions File failed... " + go;
  EXPECT_EQ(messages_.shown, (std::vector<std::string>{load, create}));

  // hostperm.1: one that cannot be read is never written over; a save that fails is told and leaves the file whole.
  messages_.shown.clear();
  firefox_.FirefoxSqliteFormat = false;
  files_.AddFile(firefox_.HostpermFile, kHostpermRecords);
  files_.unreadable = {firefox_.HostpermFile};
  permissions_.Load(files_, firefox_, messages_);
  EXPECT_FALSE(permissions_.Set("site.test", PermissionChange::Block));
  EXPECT_TRUE(permissions_.Close());
  files_.unreadable.clear();
  EXPECT_EQ(files_.ReadFile(firefox_.HostpermFile), kHostpermRecords);
  permissions_.Load(files_, firefox_, messages_);
  EXPECT_TRUE(permissions_.Set("site.test", PermissionChange::Block));
  files_.writesStopHalfWay = true;
  EXPECT_FALSE(permissions_.Close());
  files_.writesStopHalfWay = false;
  EXPECT_EQ(files_.ReadFile(firefox_.HostpermFile), kHostpermRecords);
  const std::string save = message + "Save FireFox Permissions File failed... " + go;
  EXPECT_EQ(messages_.shown, (std::vector<std::string>{load, create, save}));
  const std::string missing = (folder_ / "missing").string();
  EXPECT_THROW(TSQLiteDatabase database(missing), ESQLiteException);
  EXPECT_FALSE(fs::exists(missing)) << "an open never makes a database";
}

// Handed over as settled after a commit, in either journal mode: FirefoxPurge.SecureEraseLeavesNoDeletedRow....
TEST_F(SitePermissions, AConnectionKeepingItsJournalHandsItOverAsNeededWhenATransactionWasLeftOpen) {
  const std::string path = (folder_ / "kept.sqlite").string();
  test::BuildDatabase(path,
                      {"PRAGMA journal_mode = delete", "CREATE TABLE t (v TEXT)", "INSERT INTO t VALUES ('row')"});
  std::vector<std::string> kept;
  {
    TSQLiteDatabase database(path, OpenMode::Existing, [&](const std::string& journal, bool stillNeeded) {
      if (fs::remove(journal))
        kept.push_back(fs::path(journal).filename().string() + (stillNeeded ? " needed" : " settled"));
    });
    database.Execute("BEGIN");
    database.Execute("DELETE FROM t");
  }
  EXPECT_EQ(kept, std::vector<std::string>{"kept.sqlite-journal needed"});
  EXPECT_EQ(test::QueryCount(path, "SELECT * FROM t"), 1);
  EXPECT_EQ(test::QueryText(path, "PRAGMA journal_mode"), "delete");
}

}  // namespace
}  // namespace tidemark::firefox
