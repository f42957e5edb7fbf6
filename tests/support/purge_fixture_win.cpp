#include "support/purge_fixture_win.h"

namespace tidemark::test {

engine::IEPurgeKeys IEKeysBelow(const std::string& root) {
  return {root + "\\Internet Explorer\\Typedurls", root + "\\MSN\\Typedurls", root + "\\MSN6\\Users",
          root + "\\Internet Explorer\\Search\\SearchProperties"};
}

PurgeFixture::PurgeFixture(PurgePlatformChoice choice)
    : now(FileTimeNow()),
      files(choice.files ? *choice.files : platform::RealFileSystem()),
      shell(choice.shell ? *choice.shell : platform::RealShell()),
      clipboard(choice.clipboard ? *choice.clipboard : platform::RealClipboard()),
      registry(choice.registry ? *choice.registry : platform::RealRegistry()),
      processes(choice.processes ? *choice.processes : platform::RealProcesses()),
      memory(choice.memory ? *choice.memory : platform::RealSharedMemory()) {
  firefoxProtectFile = scratch / "Tidemark.Dat";
  ieProtectFile = scratch / "IEcookie.dat";
  ieKeys = IEKeysBelow("Software\\TidemarkTests\\Unused");
}

engine::PurgeResources PurgeFixture::Resources() {
  engine::CookiePurgeResources cookiePurge;
  cookiePurge.firefoxProtectFile = firefoxProtectFile;
  cookiePurge.firefoxShowOption = &ffCookieMsgOpt;
  cookiePurge.ieProtectFile = ieProtectFile;
  cookiePurge.ieShowOption = &ieCookieMsgOpt;
  cookiePurge.confirmNoProtection = [this](cookies::CookieBrowser, std::string&) {
    ++noProtectionWarnings;
    return continueWithoutProtection;
  };
  engine::IEPurgeResources iePurge{ieKeys, [this](const std::string& caption, const std::string& text) {
                                      messages.push_back(caption + "|" + text);
                                    }};
  return {{files, registry, shell, platform::RealWindowList(), clipboard, platform::ShellPathMatcher(), processes,
           memory},
          Located(),
          settings,
          protect,
          shred,
          now,
          std::move(cookiePurge),
          plugins,
          std::move(iePurge)};
}

engine::PurgeEnvironment& PurgeFixture::Environment() {
  return Fresh(Resources());
}

}  // namespace tidemark::test
