#include "firefox/site_permissions.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "firefox/firefox_databases.h"
#include "support/memory_files.h"

namespace tidemark::firefox {
namespace {

namespace fs = std::filesystem;
using cookies::PermissionChange;

// permissions.sqlite as Firefox 41 (moz_hosts) and Firefox 42 and later
// (moz_perms, with the old table left behind) write it.
constexpr std::initializer_list<const char*> kMozHostsSchema = {
    "PRAGMA user_version = 4",
    "CREATE TABLE moz_hosts ( id INTEGER PRIMARY KEY,host TEXT,type TEXT,permission INTEGER,expireType "
    "INTEGER,expireTime INTEGER,modificationTime INTEGER,appId INTEGER,isInBrowserElement INTEGER)",
    "INSERT INTO moz_hosts(host, type, permission) VALUES('a_b.test', 'cookie', 2), ('axb.test', 'cookie', 1), "
    "('site.test', 'popup', 1)",
};
constexpr std::initializer_list<const char*> kMozPermsSchema = {
    "PRAGMA user_version = 12",
    "CREATE TABLE moz_perms ( id INTEGER PRIMARY KEY,origin TEXT,type TEXT,permission INTEGER,expireType "
    "INTEGER,expireTime INTEGER,modificationTime INTEGER)",
    "CREATE TABLE moz_hosts ( id INTEGER PRIMARY KEY,host TEXT,type TEXT,permission INTEGER,expireType "
    "INTEGER,expireTime INTEGER,modificationTime INTEGER,isInBrowserElement INTEGER)",
    "INSERT INTO moz_perms(origin, type, permission, expireType, expireTime, modificationTime) VALUES"
    "('https://a_b.test', 'cookie', 2, 0, 0, 1), ('http://axb.test', 'cookie', 1, 0, 0, 1), "
    "('https://site.test', 'popup', 1, 0, 0, 1), ('https://port.test:8080', 'cookie', 2, 0, 0, 1)",
    "INSERT INTO moz_hosts(host, type, permission) VALUES('stale.test', 'cookie', 2)",
};
constexpr const char* kHostpermRecords = "host\tcookie\t2\ta_b.test\nhost\tcookie\t1\taxb.test\nhost\tpopup\t1\tsite.test\n";

enum class Store { MozHosts, MozPerms, HostpermWithHeader, HostpermWithoutHeader };

struct Recording : cookies::UserMessages {
  void Show(const std::string& caption, const std::string& text) override { shown.push_back(caption + "|" + text); }
  std::vector<std::string> shown;
};

// The files the stores read, on disk, beside the real databases.
struct DiskFiles : test::MemoryFileSystem {
  bool FileExists(const std::string& path) override { return fs::is_regular_file(path); }
  std::optional<std::string> ReadFile(const std::string& path) override {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  bool WriteFile(const std::string& path, const std::string& content) override {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    return static_cast<bool>(out << content);
  }
};

class SitePermissions : public ::testing::Test {
 protected:
  SitePermissions()
      : folder_(fs::temp_directory_path() /
                ("tm-perms-" + std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()))) {
    fs::create_directories(folder_);
    firefox_.FirefoxProfileFolder = folder_.string();
    firefox_.PermissionsFile = (folder_ / "permissions.sqlite").string();
    firefox_.HostpermFile = (folder_ / "hostperm.1").string();
  }
  ~SitePermissions() override {
    permissions_.Close();
    fs::remove_all(folder_);
  }

  void Build(Store store) {
    bool sqlite = store == Store::MozHosts || store == Store::MozPerms;
    firefox_.FirefoxSqliteFormat = firefox_.PermissionsSqlitePresent = sqlite;
    if (sqlite) {
      test::BuildDatabase(firefox_.PermissionsFile, store == Store::MozHosts ? kMozHostsSchema : kMozPermsSchema);
    } else {
      files_.WriteFile(firefox_.HostpermFile, std::string(store == Store::HostpermWithHeader ? "# Permission File\n#\n\n" : "") +
                                                kHostpermRecords);
    }
  }
  int64_t Rows(const std::string& where) {
    std::string table = firefox_.FirefoxSqliteFormat && permissions_.ReadsMozPerms() ? "moz_perms" : "moz_hosts";
    return test::QueryCount(firefox_.PermissionsFile, "SELECT * FROM " + table + " WHERE " + where);
  }
  void Reload() {
    ASSERT_TRUE(permissions_.Close());
    permissions_.Load(files_, firefox_, messages_);
  }

  fs::path folder_;
  locations::FirefoxLocations firefox_;
  DiskFiles files_;
  Recording messages_;
  FirefoxSitePermissions permissions_;
};

TEST_F(SitePermissions, EachStoreSetsAndRemovesOnlyTheHostsCookiePermission) {
  for (Store store : {Store::MozHosts, Store::MozPerms, Store::HostpermWithHeader, Store::HostpermWithoutHeader}) {
    SCOPED_TRACE(static_cast<int>(store));
    Build(store);
    permissions_.Load(files_, firefox_, messages_);
    EXPECT_EQ(permissions_.ReadsMozPerms(), store == Store::MozPerms);
    EXPECT_EQ(permissions_.Find("a_b.test"), "Block");
    EXPECT_EQ(permissions_.Find(".AXB.test"), "Allow");
    EXPECT_EQ(permissions_.Find("site.test"), std::nullopt);  // a popup permission is no cookie permission
    EXPECT_EQ(permissions_.Find("stale.test"), std::nullopt);  // moz_hosts is history once moz_perms exists
    EXPECT_EQ(permissions_.Find("port.test"), std::nullopt);
    const std::pair<PermissionChange, std::optional<std::string>> steps[] = {
        {PermissionChange::Allow, "Allow"},
        {PermissionChange::Block, "Block"},
        {PermissionChange::Session, "Session"},
        {PermissionChange::Remove, std::nullopt},
        {PermissionChange::Remove, std::nullopt},
    };
    for (const auto& [change, shown] : steps) {
      EXPECT_TRUE(permissions_.Set(".Site.TEST", change));
      EXPECT_EQ(permissions_.Find("site.test"), shown);
      Reload();
      EXPECT_EQ(permissions_.Find("site.test"), shown);
      if (store == Store::MozPerms && shown) {
        EXPECT_EQ(Rows("type = 'cookie' AND origin IN ('http://site.test', 'https://site.test')"), 2);
      }
    }
    // "_" is a character like any other: the similar host keeps its permission.
    EXPECT_TRUE(permissions_.Set("a_b.test", PermissionChange::Remove));
    Reload();
    EXPECT_EQ(permissions_.Find("a_b.test"), std::nullopt);
    EXPECT_EQ(permissions_.Find("axb.test"), "Allow");
    if (store == Store::MozHosts || store == Store::MozPerms) {
      EXPECT_EQ(Rows("type <> 'cookie'"), 1);
      EXPECT_EQ(Rows("type = 'cookie'"), store == Store::MozPerms ? 2 : 1);
    } else {
      EXPECT_EQ(files_.ReadFile(firefox_.HostpermFile),
                std::string(store == Store::HostpermWithHeader ? "# Permission File\n#\n\n" : "# Permission File\n") +
                    "host\tcookie\t1\taxb.test\nhost\tpopup\t1\tsite.test\n");
    }
    ASSERT_TRUE(permissions_.Close());
    fs::remove(firefox_.PermissionsFile);
  }
  EXPECT_EQ(messages_.shown, std::vector<std::string>{});
}

TEST_F(SitePermissions, AHostNamedLikeAColumnMatchesOnlyItself) {
  Build(Store::MozHosts);
  permissions_.Load(files_, firefox_, messages_);
  EXPECT_TRUE(permissions_.Set("host", PermissionChange::Block));
  EXPECT_TRUE(permissions_.Set("%", PermissionChange::Remove));
  Reload();
  EXPECT_EQ(permissions_.Find("host"), "Block");
  EXPECT_EQ(permissions_.Find("axb.test"), "Allow");
  EXPECT_EQ(Rows("type = 'cookie'"), 3);
}

TEST_F(SitePermissions, ProblemsAreToldAndLeaveTheShownPermissionAsItWas) {
  firefox_.FirefoxSqliteFormat = true;  // a SQLite profile without permissions.sqlite
  permissions_.Load(files_, firefox_, messages_);
  EXPECT_FALSE(permissions_.Set("site.test", PermissionChange::Allow));

  firefox_.PermissionsSqlitePresent = true;
  { std::ofstream(firefox_.PermissionsFile) << "not a database, not at all, no tables in here"; }
  permissions_.Load(files_, firefox_, messages_);

  fs::remove(firefox_.PermissionsFile);
  Build(Store::MozHosts);
  test::BuildDatabase(firefox_.PermissionsFile,
                      {"CREATE TRIGGER refuse BEFORE INSERT ON moz_hosts BEGIN SELECT RAISE(ABORT, 'no'); END"});
  permissions_.Load(files_, firefox_, messages_);
  EXPECT_FALSE(permissions_.Set("site.test", PermissionChange::Allow));
  EXPECT_EQ(permissions_.Find("site.test"), std::nullopt);
  EXPECT_TRUE(permissions_.Set("axb.test", PermissionChange::Block));
  EXPECT_EQ(messages_.shown,
            (std::vector<std::string>{
                "Tidemark  -  Message|Unable to find FireFox Permissions file - Permissions.SQLite\r\nExecution will "
                "continue...",
                "Tidemark -  Message|Create Entry in FireFox Permissions file failed... \r\nExecution will continue...",
                "Tidemark -  Message|Load FireFox Permissions File failed... \r\nExecution will continue...",
                "Tidemark -  Message|Create Entry in FireFox Permissions file failed... \r\nExecution will continue...",
            }));
}

}  // namespace
}  // namespace tidemark::firefox
