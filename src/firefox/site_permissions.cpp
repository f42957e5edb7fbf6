#include "firefox/site_permissions.h"

#include <algorithm>
#include <chrono>

#include "platform/file_replace.h"
#include "platform/product.h"
#include "platform/text.h"
#include "platform/text_lines.h"

namespace tidemark::firefox {
namespace {

constexpr std::array<const char*, 2> kSchemes = {"https://", "http://"};

constexpr const char* kLoadFailed = "Load FireFox Permissions File failed... ";

std::string Caption() { return std::string(kProductName) + " -  Message"; }
std::string Continues(const char* what) { return std::string(what) + "\r\nExecution will continue..."; }

const char* CodeOf(cookies::PermissionChange change) {
  switch (change) {
    case cookies::PermissionChange::Allow: return "1";
    case cookies::PermissionChange::Block: return "2";
    default: return "8";
  }
}

// "Allow", "Block", "Session", or nothing for another code.
std::optional<std::string> CodeText(std::string_view code) {
  if (code == "1") return "Allow";
  if (code == "2") return "Block";
  if (code == "8") return "Session";
  return std::nullopt;
}

// The host of an origin that names a host alone ("https://site.test"); empty otherwise.
std::string OriginHost(std::string_view origin) {
  for (const char* scheme : kSchemes) {
    if (!StartsWith(origin, scheme)) continue;
    std::string_view host = origin.substr(std::string_view(scheme).size());
    return host.find_first_of(":/^") == std::string_view::npos ? std::string(host) : std::string();
  }
  return {};
}

int64_t NowMilliseconds() {
  return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::system_clock::now().time_since_epoch())
      .count();
}

bool IsHostpermHeaderLine(const std::string& line) { return line.empty() || line[0] == '#'; }

}  // namespace

std::string PermissionHost(std::string_view address) {
  std::string host = LowerCase(address);
  if (StartsWith(host, ".")) host.erase(0, 1);
  return host;
}

HostpermFile ParseHostperm(std::string_view text) {
  std::vector<std::string> lines = platform::SplitLines(text);
  size_t headerEnd = platform::HeaderBlockEnd(lines, IsHostpermHeaderLine);
  HostpermFile file;
  file.header.assign(lines.begin(), lines.begin() + static_cast<std::ptrdiff_t>(headerEnd));
  for (size_t i = headerEnd; i < lines.size(); ++i) {
    std::string line = LowerCase(lines[i]);
    HostpermFile::Record record;
    size_t start = 0;
    while (record.fieldCount < 4) {
      size_t tab = record.fieldCount < 3 ? line.find('\t', start) : std::string::npos;
      record.fields[static_cast<size_t>(record.fieldCount++)] = line.substr(start, tab - start);
      if (tab == std::string::npos) break;
      start = tab + 1;
    }
    file.records.push_back(std::move(record));
  }
  return file;
}

std::string FormatHostperm(const HostpermFile& file) {
  std::string text = file.header.empty() ? "# Permission File\n" : "";
  for (const std::string& line : file.header) text.append(line).push_back('\n');
  for (const HostpermFile::Record& record : file.records) {
    for (int i = 0; i < record.fieldCount; ++i) {
      if (i > 0) text.push_back('\t');
      text.append(record.fields[static_cast<size_t>(i)]);
    }
    text.push_back('\n');
  }
  return text;
}

namespace {

bool IsCookieRecord(const HostpermFile::Record& record, const std::string& host) {
  return record.fieldCount >= 4 && record.fields[0] == "host" && record.fields[1] == "cookie" &&
         record.fields[3] == host;
}

}  // namespace

void FirefoxSitePermissions::Load(platform::FileSystem& files, const locations::FirefoxLocations& firefox,
                                  cookies::UserMessages& messages) {
  files_ = &files;
  messages_ = &messages;
  sqlite_ = firefox.FirefoxSqliteFormat;
  entries_.clear();
  database_.reset();
  mozPerms_ = false;
  textChanged_ = false;
  text_ = {};
  hostpermPath_.clear();
  if (!sqlite_) {
    // Without a profile there is no file to read or write, and a file that
    // could not be read is never written over; a missing one is an empty list.
    const std::string& path = firefox.HostpermFile;
    if (firefox.FirefoxProfileFolder.empty() || locations::IsFileNotFoundText(path)) return;
    if (!platform::IsMissing(files, path)) {
      auto content = files.ReadFile(path);
      if (!content) return messages.Show(Caption(), Continues(kLoadFailed));
      text_ = ParseHostperm(*content);
    }
    hostpermPath_ = path;
    return;
  }
  const std::string& path = firefox.PermissionsFile;
  if (!firefox.PermissionsSqlitePresent || locations::IsFileNotFoundText(path) || !files.FileExists(path)) {
    messages.Show(cookies::kMessageCaption,
                  Continues("Unable to find FireFox Permissions file - Permissions.SQLite"));
    return;
  }
  try {
    database_.emplace(path);
    mozPerms_ = database_->HasTable("moz_perms");
    TSQLiteTable table = database_->Query(mozPerms_ ? "SELECT origin, type, permission FROM moz_perms"
                                                    : "SELECT host, type, permission FROM moz_hosts");
    for (; !table.AtEnd(); table.NextRow()) {
      if (table.Cell(1) != "cookie") continue;
      std::string key = LowerCase(table.Cell(0));
      std::string host = mozPerms_ ? OriginHost(key) : key;
      if (!host.empty()) entries_.push_back({std::move(host), table.Cell(2)});
    }
  } catch (const ESQLiteException&) {
    entries_.clear();
    database_.reset();
    messages.Show(Caption(), Continues(kLoadFailed));
  }
}

std::optional<std::string> FirefoxSitePermissions::Find(std::string_view address) const {
  std::string host = PermissionHost(address);
  if (sqlite_) {
    auto found = std::find_if(entries_.begin(), entries_.end(), [&](const Entry& e) { return e.host == host; });
    if (found == entries_.end()) return std::nullopt;
    return CodeText(found->code).value_or("");
  }
  for (const HostpermFile::Record& record : text_.records)
    if (IsCookieRecord(record, host)) return CodeText(record.fields[2]).value_or("unknown");
  return std::nullopt;
}

bool FirefoxSitePermissions::Set(std::string_view address, cookies::PermissionChange change) {
  std::string host = PermissionHost(address);
  return sqlite_ ? SetInDatabase(host, change) : SetInText(host, change);
}

bool FirefoxSitePermissions::Refuse(cookies::PermissionChange change, bool known) {
  messages_->Show(Caption(), Continues(change == cookies::PermissionChange::Remove
                                           ? "Remove Entry from FireFox Permissions file failed... "
                                       : known ? "Replace Entry in FireFox Permissions file failed... "
                                               : "Create Entry in FireFox Permissions file failed... "));
  return false;
}

std::vector<FirefoxSitePermissions::Entry>::iterator FirefoxSitePermissions::FindEntry(const std::string& host) {
  return std::find_if(entries_.begin(), entries_.end(), [&](const Entry& e) { return e.host == host; });
}

// Values are bound, never spliced into the SQL, and hosts compared whole:
// "_" and "%" in a host are plain characters. The memory follows only what
// the database took.
bool FirefoxSitePermissions::SetInDatabase(const std::string& host, cookies::PermissionChange change) {
  const bool remove = change == cookies::PermissionChange::Remove;
  const bool known = FindEntry(host) != entries_.end();
  if (!database_) return Refuse(change, known);
  const int64_t code = CodeOf(change)[0] - '0';
  try {
    database_->Execute("BEGIN");
    try {
      if (!mozPerms_) {
        if (remove)
          TSQLiteStatement(*database_, "DELETE FROM moz_hosts WHERE host = ?1 COLLATE NOCASE AND type = 'cookie'")
              .Execute({host});
        else if (known)
          TSQLiteStatement(*database_,
                           "UPDATE moz_hosts SET permission = ?1 WHERE host = ?2 COLLATE NOCASE AND type = 'cookie'")
              .Execute({code, host});
        else
          TSQLiteStatement(*database_, "INSERT INTO moz_hosts(host, type, permission) VALUES(?1, 'cookie', ?2)")
              .Execute({host, code});
      } else if (remove) {
        TSQLiteStatement(*database_, "DELETE FROM moz_perms WHERE origin IN (?1, ?2) AND type = 'cookie'")
            .Execute({std::string(kSchemes[0]) + host, std::string(kSchemes[1]) + host});
      } else {
        // Both schemes of the host, each row changed where there is one.
        for (const char* scheme : kSchemes) {
          std::string origin = scheme + host;
          TSQLiteStatement(*database_,
                           "UPDATE moz_perms SET permission = ?1, modificationTime = ?2 WHERE origin = ?3 AND "
                           "type = 'cookie'")
              .Execute({code, NowMilliseconds(), origin});
          TSQLiteStatement(*database_,
                           "INSERT INTO moz_perms(origin, type, permission, expireType, expireTime, "
                           "modificationTime) SELECT ?1, 'cookie', ?2, 0, 0, ?3 WHERE NOT EXISTS (SELECT 1 FROM "
                           "moz_perms WHERE origin = ?1 AND type = 'cookie')")
              .Execute({origin, code, NowMilliseconds()});
        }
      }
      database_->Execute("COMMIT");
    } catch (const ESQLiteException&) {
      if (database_->InTransaction()) database_->Execute("ROLLBACK");
      throw;
    }
  } catch (const ESQLiteException&) {
    return Refuse(change, known);
  }
  if (remove) {
    std::erase_if(entries_, [&](const Entry& e) { return e.host == host; });
  } else {
    bool replaced = false;
    for (Entry& entry : entries_)
      if (entry.host == host) entry.code = CodeOf(change), replaced = true;
    if (!replaced) entries_.push_back({host, CodeOf(change)});
  }
  return true;
}

bool FirefoxSitePermissions::SetInText(const std::string& host, cookies::PermissionChange change) {
  auto found = std::find_if(text_.records.begin(), text_.records.end(),
                            [&](const HostpermFile::Record& record) { return IsCookieRecord(record, host); });
  if (hostpermPath_.empty()) return Refuse(change, found != text_.records.end());
  if (change == cookies::PermissionChange::Remove) {
    if (found == text_.records.end()) return true;
    text_.records.erase(found);
  } else if (found != text_.records.end()) {
    found->fields[2] = CodeOf(change);
  } else {
    text_.records.push_back({4, {"host", "cookie", CodeOf(change), host}});
  }
  textChanged_ = true;
  return true;
}

bool FirefoxSitePermissions::Close() {
  bool written = !textChanged_ || platform::ReplaceFileWhole(*files_, hostpermPath_, FormatHostperm(text_));
  if (!written) messages_->Show(Caption(), Continues("Save FireFox Permissions File failed... "));
  textChanged_ = false;
  database_.reset();
  entries_.clear();
  text_ = {};
  return written;
}

}  // namespace tidemark::firefox
