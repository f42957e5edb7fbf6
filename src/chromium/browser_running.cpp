#include <algorithm>

#include "chromium/chromium_purges.h"
#include "platform/text.h"

namespace tidemark::chromium {

bool ChromiumBrowserActive(platform::FileSystem& files, const std::vector<std::string>& runningPrograms,
                           const locations::ChromiumBrowser& browser) {
  const std::string lockfile = browser.userData + "\\lockfile";
  constexpr uint32_t kSharingViolation = 32;
  if (files.FileExists(lockfile) && !files.OpenExclusive(lockfile) && files.LastError() == kSharingViolation)
    return true;
  return std::any_of(runningPrograms.begin(), runningPrograms.end(),
                     [&](const std::string& name) { return SameText(name, browser.program); });
}

bool BrowserMayBeProcessed(engine::PurgeEnvironment& env, const locations::ChromiumBrowser& browser) {
  if (!ChromiumBrowserActive(env.platform.files, env.platform.processes.RunningProgramNames(), browser)) return true;
  env.Line(" -Error- not Processed as " + browser.name + " browser is active.");
  if (!env.Preview()) env.RaiseError(7);
  return false;
}

}  // namespace tidemark::chromium
