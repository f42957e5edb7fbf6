// A purge environment over a scratch folder, with no window: the real Windows operations (or a subclass that injects
// one fault) and an in-memory report. Change the state, settings or located folders, then ask for a fresh
// Environment().
#pragma once
#include <string>
#include <vector>

#include "engine/purge_environment.h"
#include "support/memory_report.h"
#include "support/sandbox_win.h"

namespace tidemark::test {

struct PurgePlatformChoice {
  platform::FileSystem* files = nullptr;  // null: the real one
  platform::Shell* shell = nullptr;
  platform::Clipboard* clipboard = nullptr;
  platform::Registry* registry = nullptr;
  platform::Processes* processes = nullptr;
  platform::SharedMemory* memory = nullptr;
};

// The IE purges' registry keys below root, a key of the test's own.
inline engine::IEPurgeKeys IEKeysBelow(const std::string& root) {
  return {root + "\\Internet Explorer\\Typedurls", root + "\\MSN\\Typedurls", root + "\\MSN6\\Users",
          root + "\\Internet Explorer\\Search\\SearchProperties"};
}

class PurgeFixture : public PurgeData {
 public:
  explicit PurgeFixture(PurgePlatformChoice choice = {})
      : files(choice.files ? *choice.files : platform::RealFileSystem()),
        shell(choice.shell ? *choice.shell : platform::RealShell()),
        clipboard(choice.clipboard ? *choice.clipboard : platform::RealClipboard()),
        registry(choice.registry ? *choice.registry : platform::RealRegistry()),
        processes(choice.processes ? *choice.processes : platform::RealProcesses()),
        memory(choice.memory ? *choice.memory : platform::RealSharedMemory()) {}

  engine::PurgeResources Resources() {
    return {
        {files, registry, shell, platform::RealWindowList(), clipboard, platform::ShellPathMatcher(), processes,
         memory},
        Located(), settings, protect, scratch.path(), shred, now,
        {firefoxProtectFile, &ffCookieMsgOpt, ieProtectFile, &ieCookieMsgOpt,
         [this](cookies::CookieBrowser, std::string&) { return ++noProtectionWarnings, continueWithoutProtection; }},
        plugins,
        {ieKeys,
         [this](const std::string& caption, const std::string& text) { messages.push_back(caption + "|" + text); }}};
  }
  engine::PurgeEnvironment& Environment() { return Fresh(Resources()); }
  // Runs one purge body on a fresh report; the lines it wrote.
  const std::vector<std::string>& Run(void (*body)(engine::PurgeEnvironment&)) {
    r.sink.lines.clear();
    body(Environment());
    return Lines();
  }

  TempFolder scratch;
  uint64_t now = FileTimeNow();
  platform::FileSystem& files;
  platform::Shell& shell;
  platform::Clipboard& clipboard;
  platform::Registry& registry;
  platform::Processes& processes;
  platform::SharedMemory& memory;
  // The cookie purges: their protect file, the no-protection warning's show option, and the warning's answer (it is
  // counted, never shown).
  std::string firefoxProtectFile = scratch / "Tidemark.Dat";
  std::string ffCookieMsgOpt = "N";
  bool continueWithoutProtection = true;
  int noProtectionWarnings = 0;
  std::string ieProtectFile = scratch / "IEcookie.dat";
  std::string ieCookieMsgOpt = "N";
  // The IE purges: their registry keys (below a key nobody writes unless a test points them at its own) and the
  // messages they show, as caption + "|" + text.
  engine::IEPurgeKeys ieKeys = IEKeysBelow("Software\\TidemarkTests\\Unused");
  std::vector<std::string> messages;
  engine::PluginPurgeResources plugins;
};

}  // namespace tidemark::test
