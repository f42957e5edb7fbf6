#include "app/purge_bodies.h"

#include "chromium/chromium_purges.h"
#include "firefox/firefox_purges.h"
#include "ie/ie_purges.h"
#include "plugins/plugin_interpreter.h"
#include "windows/windows_purges.h"

namespace tidemark::app {
namespace {

using enum engine::PurgeFunctionId;

struct Registration {
  engine::PurgeFunctionId function;
  void (*body)(engine::PurgeEnvironment&);
};

constexpr Registration kRegistrations[] = {
    {FirefoxCache, firefox::FirefoxCachePurge},
    {FirefoxCookies, firefox::FirefoxCookiesPurge},
    {FirefoxTypedUrls, firefox::FirefoxTypedUrlsPurge},
    {FirefoxHistory, firefox::FirefoxHistoryPurge},
    {FirefoxForms, firefox::FirefoxFormHistoryPurge},
    {ChromiumCache, chromium::ChromiumCachePurge},
    {ChromiumCookies, chromium::ChromiumCookiesPurge},
    {ChromiumTypedUrls, chromium::ChromiumTypedUrlsPurge},
    {ChromiumHistory, chromium::ChromiumHistoryPurge},
    {ChromiumForms, chromium::ChromiumFormsPurge},
    {TempFolders, windows::TempFoldersPurge},
    {IEVisited, ie::IEVisitedUrlsPurge},
    {IECache, ie::IECachePurge},
    {IECookies, ie::IECookiesPurge},
    {IEHistory, ie::IEHistoryFoldersPurge},
    {IEUserData, ie::IEUserDataPurge},
    {IEDomStore, ie::IEDomStorePurge},
    {IESearches, ie::IESearchesPurge},
    {IETypedUrls, ie::IETypedUrlsPurge},
    {IEStrays, ie::IEStraysPurge},
    {RecentLinks, windows::RecentLinksBody},
    {RecycleBin, windows::RecycleBinPurge},
    {Clipboard, windows::ClipboardPurge},
    {Plugins, plugins::PluginsRun},
};

}  // namespace

const PurgeBodies& RegisteredPurgeBodies() {
  static const PurgeBodies bodies = [] {
    PurgeBodies table;
    for (const Registration& registration : kRegistrations) table[engine::Index(registration.function)] = registration.body;
    return table;
  }();
  return bodies;
}

}  // namespace tidemark::app
