// The Chromium cookie purge: in each profile's cookie databases, every
// cookie whose host the protect list (Tidemark.Dat, the Firefox purge's)
// does not name is deleted, decided host by host as the Firefox purge
// decides. Chromium encrypts the values, so a Random host's cookies are
// kept as they are, and the report says so.
//
// Each database is one transaction: rows are deleted by their rowid, and the
// lines that claim deletions are written once they are saved.
#include <optional>

#include "chromium/chromium_purges.h"
#include "chromium/profile_database.h"
#include "engine/labels.h"
#include "firefox/firefox_cookies.h"
#include "firefox/firefox_purges.h"

namespace tidemark::chromium {
namespace {

constexpr std::string_view kFunction = "  Purge \"Chromium Cookies\"";

// Deletes the cookies of the hosts the list does not protect: one entry per host.
WorkDone PurgeCookies(engine::PurgeEnvironment& env, TSQLiteDatabase& database,
                      const firefox::CookieProtectLookup& protect) {
  WorkDone done;
  firefox::TSQLiteTable rows = database.Query("SELECT rowid, host_key FROM cookies ORDER BY host_key, rowid");
  std::optional<firefox::TSQLiteStatement> remove;
  while (!rows.AtEnd()) {
    const std::string host = rows.AsText(1);
    std::vector<int64_t> cookies;
    for (; !rows.AtEnd() && rows.AsText(1) == host; rows.NextRow()) cookies.push_back(rows.AsInteger(0));
    cookies::ProtectMatch match = protect.Find(host);
    if (match.found) {
      if (match.kind == 'R')
        done.lines.push_back(std::string(engine::kProtected) + host +
                             " - Random: Chromium's cookie values are encrypted and not scrambled");
      continue;
    }
    if (!env.Preview()) {
      if (!remove) remove.emplace(database, "DELETE FROM cookies WHERE rowid = ?1");
      for (int64_t rowid : cookies) remove->Execute({rowid});
    }
    if (env.Detail()) done.lines.push_back(std::string(env.Preview() ? engine::kToDelete : engine::kDeleted) + host);
    ++done.entries;
    env.UpdateProgress(10);
  }
  return done;
}

}  // namespace

std::vector<std::string> CookieDatabases(platform::FileSystem& files, const locations::ChromiumProfile& profile) {
  std::vector<std::string> found;
  const std::string current = profile.folder + "\\Network\\Cookies", older = profile.folder + "\\Cookies",
                    extensions = profile.folder + "\\Extension Cookies";
  if (files.FileExists(current))
    found.push_back(current);
  else if (files.FileExists(older))
    found.push_back(older);
  if (files.FileExists(extensions)) found.push_back(extensions);
  return found;
}

void ChromiumCookiesPurge(engine::PurgeEnvironment& env) {
  int64_t processed = 0;
  std::optional<cookies::ProtectList> protect;
  if (!env.located.chromium.empty()) {
    // Asked before any database is opened, so that no lock is held while the warning waits.
    protect = firefox::CookieProtectionForPurge(env, kFunction);
    if (!protect) return;
  }
  const firefox::CookieProtectLookup lookup(protect.value_or(cookies::ProtectList{}));
  for (const locations::ChromiumBrowser& browser : env.located.chromium) {
    if (!BrowserMayBeProcessed(env, browser)) continue;
    for (const locations::ChromiumProfile& profile : browser.profiles)
      for (const std::string& path : CookieDatabases(env.platform.files, profile))
        processed += RunDatabaseWork(env, path, "*** Error - Delete entries from Chromium Cookies failed - ",
                                     [&](TSQLiteDatabase& database) { return PurgeCookies(env, database, lookup); })
                         .value_or(0);
  }
  env.WriteCompletion(engine::EntriesCompletion(kFunction), static_cast<int32_t>(processed));
}

}  // namespace tidemark::chromium
