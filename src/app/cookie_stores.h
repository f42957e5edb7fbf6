// The cookie manager's stores: Firefox's cookies (cookies.sqlite, or an older
// profile's Cookies.txt) with its site permissions, one Internet Explorer
// cookie index (normal or Protected Mode) with IE's per-domain decisions, and
// the cookies of every Chromium-family browser and profile.
// Deletions go through the purge's deletion engine: they shred (and the
// databases overwrite what they delete) when its Secure Erase is on.
#pragma once
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "cookies/cookie_manager.h"
#include "engine/purge_environment.h"
#include "firefox/firefox_cookies.h"
#include "firefox/site_permissions.h"
#include "ie/ie_permissions.h"
#include "locations/chromium_locations.h"
#include "locations/firefox_locations.h"
#include "locations/ie_locations.h"
#include "platform/files.h"
#include "platform/shared_memory.h"

namespace tidemark::app {

// The purge whose deletion engine and shred settings the stores' deletions use.
struct CookieDeletions {
  const engine::PurgeState& purge;
  std::function<engine::PurgeResources()> resources;
};

class FirefoxCookieStore : public cookies::CookieStore {
 public:
  // running: whether Firefox runs now.
  FirefoxCookieStore(platform::FileSystem& files, const locations::FirefoxLocations& firefox,
                     firefox::FirefoxSitePermissions& permissions, CookieDeletions deletions,
                     std::function<bool()> running, cookies::UserMessages& messages)
      : files_(files), firefox_(firefox), permissions_(permissions), deletions_(std::move(deletions)),
        running_(std::move(running)), messages_(messages) {}

  // A host's cookies (HttpOnly ones of Cookies.txt too) by host; a "could
  // not load" notice is an address without cookies.
  std::vector<cookies::StoredAddress> Load() override;
  std::vector<cookies::StoredCookie> CookiesOf(const std::string& address) override;
  // The host's lines leave the list only once the store has let them go.
  // Firefox rewrites its cookies while it runs, so none goes then.
  cookies::DeleteAnswer Delete(const std::string& address) override;
  bool InUse() override { return running_ && running_(); }
  std::string Permission(const std::string& address) override;
  bool SetPermission(const std::string& address, cookies::PermissionChange change) override;
  std::string SiteOf(const std::string& address) override;

 private:
  platform::FileSystem& files_;
  const locations::FirefoxLocations& firefox_;
  firefox::FirefoxSitePermissions& permissions_;
  CookieDeletions deletions_;
  std::function<bool()> running_;
  cookies::UserMessages& messages_;
  firefox::CookieList cookies_;
  firefox::CookiesTxt cookiesTxt_;  // a text profile's file
  std::map<std::string, std::vector<cookies::StoredCookie>> shown_;  // by host
};

class IECookieStore : public cookies::CookieStore {
 public:
  IECookieStore(platform::FileSystem& files, platform::SharedMemory& memory, const locations::IELocations& ie,
                bool protectedMode, ie::IEPermissions& permissions, CookieDeletions deletions,
                cookies::UserMessages& messages)
      : files_(files), memory_(memory), ie_(ie), protectedMode_(protectedMode), permissions_(permissions),
        deletions_(std::move(deletions)), messages_(messages) {}

  // Every "Cookie:" record of the index, noted with its cookie file's name.
  std::vector<cookies::StoredAddress> Load() override;
  std::vector<cookies::StoredCookie> CookiesOf(const std::string& address) override;
  // The record with its cookie file.
  cookies::DeleteAnswer Delete(const std::string& address) override;
  bool InUse() override { return false; }
  std::string Permission(const std::string& address) override { return permissions_.Find(address); }
  // By the address's domain; IE keeps no session decision.
  bool SetPermission(const std::string& address, cookies::PermissionChange change) override;
  std::string SiteOf(const std::string& address) override;

 private:
  std::string Folder() const { return protectedMode_ ? ie_.LowCookiesFolder : ie_.IECookiesFolder; }
  char Kind() const { return protectedMode_ ? 'c' : 'C'; }

  platform::FileSystem& files_;
  platform::SharedMemory& memory_;
  const locations::IELocations& ie_;
  bool protectedMode_;
  ie::IEPermissions& permissions_;
  CookieDeletions deletions_;
  cookies::UserMessages& messages_;
  std::map<std::string, std::string> cookieFiles_;  // by address
};

// A host's cookies in every located Chromium-family browser and profile, the
// browsers and profiles holding them noted. The values are encrypted and shown
// so; Chromium's site settings are its own.
class ChromiumCookieStore : public cookies::CookieStore {
 public:
  ChromiumCookieStore(platform::FileSystem& files, CookieDeletions deletions)
      : files_(files), deletions_(std::move(deletions)) {}

  // A database its running browser holds is passed over.
  std::vector<cookies::StoredAddress> Load() override;
  std::vector<cookies::StoredCookie> CookiesOf(const std::string& address) override;
  // From every database holding the host, each in one transaction; none
  // while a browser holding it runs.
  cookies::DeleteAnswer Delete(const std::string& address) override;
  bool InUse() override { return false; }
  std::string Permission(const std::string&) override { return ""; }
  bool SetPermission(const std::string&, cookies::PermissionChange) override { return false; }
  std::string SiteOf(const std::string& address) override;

 private:
  struct Database {
    std::string path;
    locations::ChromiumBrowser browser;
    std::string holder;  // "Google Chrome - Profile 1"
  };

  platform::FileSystem& files_;
  CookieDeletions deletions_;
  std::vector<Database> databases_;                                  // as last loaded
  std::map<std::string, std::vector<size_t>> holders_;               // by host: databases_ indexes
  std::map<std::string, std::vector<cookies::StoredCookie>> shown_;  // by host
};

}  // namespace tidemark::app
