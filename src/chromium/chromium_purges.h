// The Chromium-family purge functions: cache, cookies, typed URLs, history
// and form history of every located browser and profile. A browser that runs
// is skipped with its error line; the others are cleaned.
#pragma once
#include <span>
#include <string>
#include <vector>

#include "chromium/profile_database.h"
#include "engine/purge_environment.h"
#include "locations/chromium_locations.h"

namespace tidemark::chromium {

// True while the browser runs: its lockfile in User Data is held (the
// browser keeps it open with no sharing), or a process of its program is
// among the running ones (a closed Edge often keeps running in the
// background). Listing the processes costs: callers list them once.
bool ChromiumBrowserActive(platform::FileSystem& files, const std::vector<std::string>& runningPrograms,
                           const locations::ChromiumBrowser& browser);

// False, after writing " -Error- not Processed as <name> browser is active."
// (severity 7 outside a Preview), when the browser runs.
bool BrowserMayBeProcessed(engine::PurgeEnvironment& env, const locations::ChromiumBrowser& browser);

// A profile's cookie databases that exist: Network\Cookies (Chrome 96 and
// later) or else Cookies, and Extension Cookies.
std::vector<std::string> CookieDatabases(platform::FileSystem& files, const locations::ChromiumProfile& profile);

void ChromiumCookiesPurge(engine::PurgeEnvironment& env);
void ChromiumHistoryPurge(engine::PurgeEnvironment& env);
void ChromiumTypedUrlsPurge(engine::PurgeEnvironment& env);
void ChromiumFormsPurge(engine::PurgeEnvironment& env);

// What the History purge sends to a profile's History, in order, once the
// bookmarked addresses are in temp.kept_urls (KeepUrls); then to its
// Favicons, with History attached as "history" and the same kept addresses.
std::span<const PurgeStatement> HistoryPurgeStatements();
std::span<const PurgeStatement> FaviconPurgeStatements();

// "Chromium Cache": per profile the disk, code, GPU and service worker
// caches, per browser the shader caches, emptied through the deletion engine.
void ChromiumCachePurge(engine::PurgeEnvironment& env);

}  // namespace tidemark::chromium
