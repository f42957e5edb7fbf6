// A purge environment over a scratch folder, with no window: the real
// Windows operations (or a subclass that injects one fault) and an in-memory
// report. Change the state, settings or located folders, then ask for a
// fresh Environment().
#pragma once
#include <memory>
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
};

class PurgeFixture {
 public:
  explicit PurgeFixture(PurgePlatformChoice choice = {});

  engine::PurgeResources Resources();
  engine::PurgeEnvironment& Environment();
  const std::vector<std::string>& Lines() const { return r.sink.lines; }

  TempFolder scratch;
  MemoryReport r;
  engine::PurgeState state;
  engine::PurgeSettings settings;
  locations::ShellFolderPaths shellFolders;
  locations::IELocations ie;
  locations::FirefoxLocations firefox;
  locations::TempFolders tempFolders;
  cookies::TempProtectList protect;
  engine::ShredState shred;
  uint64_t now;
  platform::FileSystem& files;
  platform::Shell& shell;
  platform::Clipboard& clipboard;

 private:
  std::unique_ptr<engine::PurgeEnvironment> environment_;
};

}  // namespace tidemark::test
