// The Chromium-family purge functions: cache, cookies, typed URLs, history
// and form history of every located browser and profile. A browser that runs
// is skipped with its error line; the others are cleaned.
#pragma once
#include "engine/purge_environment.h"
#include "locations/chromium_locations.h"

namespace tidemark::chromium {

// True while the browser runs: its lockfile in User Data is held (the
// browser keeps it open with no sharing), or a process of its program runs
// (a closed Edge often keeps running in the background).
bool ChromiumBrowserActive(platform::FileSystem& files, platform::Processes& processes,
                           const locations::ChromiumBrowser& browser);

// False, after writing " -Error- not Processed as <name> browser is active."
// (severity 7 outside a Preview), when the browser runs.
bool BrowserMayBeProcessed(engine::PurgeEnvironment& env, const locations::ChromiumBrowser& browser);

// "Chromium Cache": per profile the disk, code, GPU and service worker
// caches, per browser the shader caches, emptied through the deletion engine.
void ChromiumCachePurge(engine::PurgeEnvironment& env);

}  // namespace tidemark::chromium
