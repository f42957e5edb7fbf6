// Firefox's per-site cookie permissions, as the cookie manager shows and sets
// them: the "cookie" rows of permissions.sqlite (moz_perms by origin since
// Firefox 42, moz_hosts by host before), or an older profile's hostperm.1.
// Codes: 1 Allow, 2 Block, 8 Allow for the session. Rows and records of
// other types are never shown or changed, and a host is compared whole.
#pragma once
#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "cookies/site_permission.h"
#include "cookies/user_messages.h"
#include "firefox/sqlite_database.h"
#include "locations/firefox_locations.h"
#include "platform/files.h"

namespace tidemark::firefox {

// A cookie manager caption as Firefox keys it: lower case, one leading "." dropped.
std::string PermissionHost(std::string_view address);

// hostperm.1: a leading block of empty and "#" lines kept as it is, then one
// lower-cased record per line: "host", "cookie", code, host name.
struct HostpermFile {
  struct Record {
    int fieldCount = 0;
    std::array<std::string, 4> fields;
  };
  std::vector<std::string> header;
  std::vector<Record> records;
};
HostpermFile ParseHostperm(std::string_view text);
// Each line ended by LF; "# Permission File" first when there was no header.
std::string FormatHostperm(const HostpermFile& file);

class FirefoxSitePermissions {
 public:
  // LoadSitePermissions: the SQLite store of a SQLite profile (kept open
  // until Close), else hostperm.1. Problems are told through messages and
  // leave the store empty: it then refuses every change.
  void Load(platform::FileSystem& files, const locations::FirefoxLocations& firefox, cookies::UserMessages& messages);
  // FindSitePermission: nothing when the host has no cookie permission; else
  // "Allow", "Block", "Session", or for another code empty (SQLite) or "unknown" (hostperm.1).
  std::optional<std::string> Find(std::string_view address) const;
  // SetSitePermission: false, after telling the user, when the store refused.
  bool Set(std::string_view address, cookies::PermissionChange change);
  // CloseSitePermissions: replaces hostperm.1 whole when it changed; false,
  // after telling the user, when that failed.
  bool Close();

 private:
  struct Entry {
    std::string host;
    std::string code;
  };
  bool SetInDatabase(const std::string& host, cookies::PermissionChange change);
  bool SetInText(const std::string& host, cookies::PermissionChange change);
  // Tells the user that the store did not take the change; false.
  bool Refuse(cookies::PermissionChange change, bool known);
  std::vector<Entry>::iterator FindEntry(const std::string& host);

  platform::FileSystem* files_ = nullptr;
  cookies::UserMessages* messages_ = nullptr;
  bool sqlite_ = false;
  bool mozPerms_ = false;
  std::optional<TSQLiteDatabase> database_;
  std::vector<Entry> entries_;  // SQLite store, in row order
  std::string hostpermPath_;    // empty without a profile or after a failed read
  HostpermFile text_;
  bool textChanged_ = false;
};

}  // namespace tidemark::firefox
