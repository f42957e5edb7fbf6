// A purge environment over a scratch folder, with no window: the real
// Windows operations (or a subclass that injects one fault) and an in-memory
// report. Change the state, settings or located folders, then ask for a
// fresh Environment().
#pragma once
#include <memory>
#include <string>
#include <vector>

#include "engine/purge_environment.h"
#include "support/purge_data.h"
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
engine::IEPurgeKeys IEKeysBelow(const std::string& root);

class PurgeFixture : public PurgeData {
 public:
  explicit PurgeFixture(PurgePlatformChoice choice = {});

  engine::PurgeResources Resources();
  engine::PurgeEnvironment& Environment();

  TempFolder scratch;
  uint64_t now;
  platform::FileSystem& files;
  platform::Shell& shell;
  platform::Clipboard& clipboard;
  platform::Registry& registry;
  platform::Processes& processes;
  platform::SharedMemory& memory;
  // The cookie purges: their protect file, the no-protection warning's show
  // option, and the warning's answer (it is counted, never shown).
  std::string firefoxProtectFile;
  std::string ffCookieMsgOpt = "N";
  bool continueWithoutProtection = true;
  int noProtectionWarnings = 0;
  std::string ieProtectFile;  // IEcookie.dat in the scratch folder
  std::string ieCookieMsgOpt = "N";
  // The IE purges: their registry keys (below a key nobody writes unless a
  // test points them at its own) and the messages they show, as caption +
  // "|" + text.
  engine::IEPurgeKeys ieKeys;
  std::vector<std::string> messages;
  // The plugin purge: the selected plugins and the run switches.
  engine::PluginPurgeResources plugins;
};

}  // namespace tidemark::test
