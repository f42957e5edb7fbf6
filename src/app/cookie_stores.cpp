#include "app/cookie_stores.h"

#include <algorithm>
#include <iterator>

#include "chromium/chromium_purges.h"
#include "engine/deletion.h"
#include "firefox/firefox_purges.h"
#include "ie/ie_cookie_file.h"
#include "ie/index_file.h"
#include "ie/purge_index.h"
#include "platform/product.h"
#include "platform/text.h"

namespace tidemark::app {
namespace {

using cookies::DeleteAnswer;
using cookies::DeleteResult;

// The purge environment a deletion runs in: the purge's deletion engine and
// shred settings with its Secure Erase; no report.
class Deletion {
 public:
  explicit Deletion(const CookieDeletions& deletions)
      : state_{.flags = deletions.purge.flags}, env(silent_.report, state_, deletions.resources()) {}

 private:
  engine::SilentReport silent_;
  engine::PurgeState state_;

 public:
  engine::PurgeEnvironment env;
};

// Never asked for: listing an index removes nothing.
class NoRemover : public ie::CachedFileRemover {
 public:
  bool Remove(const std::string&) override { return false; }
  uint32_t LastError() const override { return 0; }
  uint32_t ClusterSize(const std::string&) override { return 0; }
};

std::string FieldOf(const std::vector<std::string>& fields, size_t index) {
  return index < fields.size() ? fields[index] : "";
}

// The site of a cookie host as the browsers keep it: ".site.test" is site.test's.
std::string HostSite(const std::string& host) { return StartsWith(host, ".") ? host.substr(1) : host; }

}  // namespace

std::vector<cookies::StoredAddress> FirefoxCookieStore::Load() {
  cookiesTxt_ = {};
  if (firefox_.FirefoxSqliteFormat) {
    firefox::CookieLoadResult load = firefox::LoadFirefoxCookies(files_, firefox_.CookiesSqliteFile, InUse(), cookies_);
    firefox::ShowCookieLoadProblem(load.outcome, messages_);
  } else {
    if (!locations::IsFileNotFoundText(firefox_.CookiesTxtFile) && !firefox_.FirefoxProfileFolder.empty())
      if (auto text = files_.ReadFile(firefox_.CookiesTxtFile)) cookiesTxt_ = firefox::ParseCookiesTxt(*text);
    cookies_ = cookiesTxt_.cookies;
    firefox::SortCookies(cookies_);
  }
  shown_.clear();
  std::vector<cookies::StoredAddress> addresses;
  for (const firefox::FirefoxCookie& cookie : cookies_) {
    // Comments and empty lines are no cookies; HttpOnly ones are, of their host.
    std::string host = cookie.notice ? cookie.line : firefox::CookieHost(cookie.line);
    if (host.empty()) continue;
    if (addresses.empty() || addresses.back().address != host) addresses.push_back({host});
    if (cookie.notice) continue;
    std::vector<std::string> fields = Split(cookie.line, '\t');
    shown_[host].push_back({host, FieldOf(fields, 5), FieldOf(fields, 6)});
  }
  return addresses;
}

std::vector<cookies::StoredCookie> FirefoxCookieStore::CookiesOf(const std::string& address) {
  auto found = shown_.find(address);
  return found == shown_.end() ? std::vector<cookies::StoredCookie>{} : found->second;
}

DeleteAnswer FirefoxCookieStore::Delete(const std::string& host) {
  if (InUse()) return {DeleteResult::FirefoxActive};
  auto ofHost = [&](const firefox::FirefoxCookie& cookie) {
    return !cookie.notice && firefox::CookieHost(cookie.line) == host;
  };
  firefox::CookieList run;
  std::copy_if(cookies_.begin(), cookies_.end(), std::back_inserter(run), ofHost);
  if (run.empty()) return {DeleteResult::NoCookieFile};
  Deletion deletion(deletions_);
  if (firefox_.FirefoxSqliteFormat) {
    try {
      firefox::TSQLiteDatabase database = firefox::OpenProfileDatabase(deletion.env, firefox_.CookiesSqliteFile);
      firefox::DeleteCookieRows(database, run);
    } catch (const firefox::ESQLiteException&) {
      messages_.Show(std::string(kProductName) + " -  Message",
                     "Delete Entry from Cookies file failed... \r\nExecution will continue...");
      return {DeleteResult::FileNotChanged};
    }
  } else {
    std::erase_if(cookiesTxt_.cookies, ofHost);
    if (firefox::ReplaceCookiesTxt(deletion.env, cookiesTxt_) == firefox::CookiesTxtReplace::Failed) {
      cookiesTxt_.cookies.insert(cookiesTxt_.cookies.end(), run.begin(), run.end());
      return {DeleteResult::FileNotChanged};
    }
  }
  std::erase_if(cookies_, ofHost);
  shown_.erase(host);
  return {DeleteResult::Deleted};
}

std::string FirefoxCookieStore::Permission(const std::string& address) {
  return permissions_.Find(address).value_or("");
}

bool FirefoxCookieStore::SetPermission(const std::string& address, cookies::PermissionChange change) {
  return permissions_.Set(SiteOf(address), change);
}

std::string FirefoxCookieStore::SiteOf(const std::string& address) { return HostSite(address); }

std::vector<cookies::StoredAddress> IECookieStore::Load() {
  NoRemover remover;
  ie::IndexFile index(memory_, ie::IndexFoldersOf(ie_), remover, messages_, {});
  cookieFiles_.clear();
  std::vector<cookies::StoredAddress> addresses;
  if (!Folder().empty() && index.OpenIndexFile(Folder(), Kind()) && index.LockIndex()) {
    while (index.NextUrlRecord()) {
      const ie::UrlRecordInfo& record = index.Record();
      if (!StartsWithNoCase(record.Url, "COOKIE:")) continue;
      addresses.push_back({record.Url, FileNameOf(record.CachedFilePath)});
      cookieFiles_[record.Url] = record.CachedFilePath;
    }
    index.UnlockIndex();
  }
  index.CloseIndexFile();
  return addresses;
}

std::vector<cookies::StoredCookie> IECookieStore::CookiesOf(const std::string& address) {
  std::vector<cookies::StoredCookie> shown;
  auto file = cookieFiles_.find(address);
  if (file != cookieFiles_.end())
    if (auto text = files_.ReadFile(file->second))
      for (ie::IECookieRecord& cookie : ie::ParseIECookieFile(*text))
        shown.push_back({std::move(cookie.host), std::move(cookie.name), std::move(cookie.value)});
  return shown;
}

DeleteAnswer IECookieStore::Delete(const std::string& address) {
  Deletion deletion(deletions_);
  ie::EngineFileRemover remover(deletion.env);
  ie::IndexFile index(memory_, ie::IndexFoldersOf(ie_), remover, messages_, {});
  uint32_t code = 0;
  bool deleted = false;
  if (index.OpenIndexFile(Folder(), Kind()) && index.LockIndex()) {
    deleted = index.DeleteRecordByUrl(address);
    code = index.LastDeleteError();
    index.UnlockIndex();
  }
  index.CloseIndexFile();
  if (deleted) return {DeleteResult::Deleted};
  namespace error = engine::error_code;
  if (code == 0 || code == error::kFileNotFound) return {DeleteResult::ErrorInUrl};
  if (code == error::kAccessDenied || code == error::kSharingViolation || code == error::kLockViolation ||
      code == error::kUserMappedFile)
    return {DeleteResult::Locked};
  return {DeleteResult::SystemError, code};
}

bool IECookieStore::SetPermission(const std::string& address, cookies::PermissionChange change) {
  std::optional<std::string> domain = ie::IEPermissionDomain(address);
  return domain && change != cookies::PermissionChange::Session && permissions_.Set(*domain, change);
}

std::string IECookieStore::SiteOf(const std::string& address) {
  std::string site = address;
  if (size_t at = site.find('@'); at != std::string::npos) site.erase(0, at + 1);
  return site.substr(0, site.find('/'));
}

std::vector<cookies::StoredAddress> ChromiumCookieStore::Load() {
  databases_.clear();
  holders_.clear();
  shown_.clear();
  const engine::PurgeResources resources = deletions_.resources();
  for (const locations::ChromiumBrowser& browser : resources.located.chromium)
    for (const locations::ChromiumProfile& profile : browser.profiles)
      for (const std::string& path : chromium::CookieDatabases(files_, profile)) {
        try {
          firefox::TSQLiteDatabase database(path, firefox::OpenMode::ReadOnly);  // listing changes nothing
          firefox::TSQLiteTable table = database.Query("SELECT host_key, name FROM cookies");
          const size_t index = databases_.size();
          databases_.push_back({path, browser, browser.name + " - " + FileNameOf(profile.folder)});
          for (; !table.AtEnd(); table.NextRow()) {
            std::string host = LowerCase(table.AsText(0));
            std::vector<size_t>& holders = holders_[host];
            if (holders.empty() || holders.back() != index) holders.push_back(index);
            shown_[host].push_back({host, table.AsText(1), "(encrypted)"});
          }
        } catch (const firefox::ESQLiteException&) {
          // Held by its running browser, or no cookie database.
        }
      }
  std::vector<cookies::StoredAddress> addresses;
  for (const auto& [host, holders] : holders_) {
    // A profile's cookie databases (its own and the extensions') name it once.
    std::vector<std::string> named;
    std::string note;
    for (size_t index : holders) {
      const std::string& holder = databases_[index].holder;
      if (std::find(named.begin(), named.end(), holder) != named.end()) continue;
      note += (named.empty() ? "" : ", ") + holder;
      named.push_back(holder);
    }
    addresses.push_back({host, note});
  }
  return addresses;
}

std::vector<cookies::StoredCookie> ChromiumCookieStore::CookiesOf(const std::string& address) {
  auto found = shown_.find(address);
  return found == shown_.end() ? std::vector<cookies::StoredCookie>{} : found->second;
}

DeleteAnswer ChromiumCookieStore::Delete(const std::string& host) {
  auto holders = holders_.find(host);
  if (holders == holders_.end()) return {DeleteResult::NoCookieFile};
  Deletion deletion(deletions_);
  const std::vector<std::string> running = deletion.env.platform.processes.RunningProgramNames();
  for (size_t index : holders->second)
    if (chromium::ChromiumBrowserActive(deletion.env.platform.files, running, databases_[index].browser))
      return {DeleteResult::Locked};
  for (size_t index : holders->second) {
    try {
      firefox::TSQLiteDatabase database = firefox::OpenProfileDatabase(deletion.env, databases_[index].path);
      database.Execute("BEGIN IMMEDIATE");
      firefox::TSQLiteStatement(database, "DELETE FROM cookies WHERE host_key = ?1 COLLATE NOCASE").Execute({host});
      database.Execute("COMMIT");
    } catch (const firefox::ESQLiteException&) {
      return {DeleteResult::FileNotChanged};
    }
  }
  holders_.erase(holders);
  shown_.erase(host);
  return {DeleteResult::Deleted};
}

std::string ChromiumCookieStore::SiteOf(const std::string& address) { return HostSite(address); }

}  // namespace tidemark::app
