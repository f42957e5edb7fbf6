// What a purge reads and writes besides the platform: an in-memory report, the purge state, the settings and the
// located data, as the purge fixtures hold them. Change any of them, then ask for a fresh Environment().
#pragma once
#include <memory>
#include <string>
#include <vector>

#include "engine/purge_environment.h"
#include "support/memory_report.h"

namespace tidemark::test {

class PurgeData {
 public:
  PurgeData() { state.flags.detailReport = true; }
  const std::vector<std::string>& Lines() const { return r.sink.lines; }

  MemoryReport r;
  engine::PurgeState state;
  engine::PurgeSettings settings;
  locations::ShellFolderPaths shellFolders;
  locations::IELocations ie;
  locations::FirefoxLocations firefox;
  locations::TempFolders tempFolders;
  cookies::TempProtectList protect;
  engine::ShredState shred;

 protected:
  engine::PurgeLocations Located() { return {shellFolders, ie, firefox, tempFolders}; }
  engine::PurgeEnvironment& Fresh(const engine::PurgeResources& resources) {
    environment_.reset();
    environment_ = std::make_unique<engine::PurgeEnvironment>(r.report, state, resources);
    return *environment_;
  }

 private:
  std::unique_ptr<engine::PurgeEnvironment> environment_;
};

}  // namespace tidemark::test
