#include <algorithm>

#include "chromium/chromium_purges.h"
#include "platform/text.h"

namespace tidemark::chromium {

bool ChromiumBrowserActive(platform::FileSystem& files, platform::Processes& processes,
                           const locations::ChromiumBrowser& browser) {
  const std::string lockfile = browser.userData + "\\lockfile";
  constexpr uint32_t kSharingViolation = 32;
  if (files.FileExists(lockfile) && !files.OpenExclusive(lockfile) && files.LastError() == kSharingViolation)
    return true;
  const std::vector<std::string> running = processes.RunningProgramNames();
  return std::any_of(running.begin(), running.end(),
                     [&](const std::string& name) { return SameText(name, browser.program); });
}

bool BrowserMayBeProcessed(engine::PurgeEnvironment& env, const locations::ChromiumBrowser& browser) {
  if (!ChromiumBrowserActive(env.platform.files, env.platform.processes, browser)) return true;
  env.Line(" -Error- not Processed as " + browser.name + " browser is active.");
  if (!env.Preview()) env.RaiseError(7);
  return false;
}

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

}  // namespace tidemark::chromium
