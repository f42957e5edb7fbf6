// The environment every purge body runs in: the report and purge state, the
// Windows operations, the located folders and files, the settings a purge
// reads, the temp/plugin protect list and the deletion engine. The
// application builds one for each purge; a test builds one over scratch
// folders, with no window.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

#include "cookies/temp_protect.h"
#include "engine/deletion.h"
#include "engine/driver.h"
#include "engine/report.h"
#include "locations/firefox_locations.h"
#include "locations/ie_locations.h"
#include "locations/shell_folders.h"
#include "locations/temp_folders.h"
#include "platform/clipboard.h"
#include "platform/files.h"
#include "platform/path_match.h"
#include "platform/registry.h"
#include "platform/shell.h"
#include "platform/window_list.h"

namespace tidemark::engine {

struct PurgePlatform {
  platform::FileSystem& files;
  platform::Registry& registry;
  platform::Shell& shell;
  platform::WindowList& windows;
  platform::Clipboard& clipboard;
  // PathMatchSpecA, or null where the system lacks it.
  const platform::PathMatcher* matcher;
};

// Where this user's data lies, as located at start-up.
struct PurgeLocations {
  const locations::ShellFolderPaths& shellFolders;
  locations::IELocations& ie;
  locations::FirefoxLocations& firefox;
  const locations::TempFolders& tempFolders;
};

// The settings and run switches a purge reads.
struct PurgeSettings {
  char shredMode = '0';  // '0' quick, '1' thorough, '2' both
  int repeats = 1;       // thorough passes
  bool ageFilterOn = false;
  int ageHours = 0;
  bool keepFiles = false;  // "KeepFiles": deletions touch nothing
};

// What the host hands to each purge besides the report and purge state.
struct PurgeResources {
  PurgePlatform platform;
  PurgeLocations located;
  PurgeSettings settings;
  cookies::TempProtectList& tempProtect;
  ShredState& shred;  // lives for the whole process
  uint64_t now = 0;   // the purge's start, as a FILETIME (UTC)
};

// Whether an item line reports a success (written in Detail reports only)
// or a failure (always written).
enum class ItemOutcome { Success, Failure };

class PurgeEnvironment {
 public:
  PurgeEnvironment(Report& report, PurgeState& state, const PurgeResources& resources);
  PurgeEnvironment(const PurgeEnvironment&) = delete;
  PurgeEnvironment& operator=(const PurgeEnvironment&) = delete;

  Report& report;
  PurgeState& state;
  const PurgeFlags& flags;
  PurgePlatform platform;
  PurgeLocations located;
  PurgeSettings settings;
  cookies::TempProtectList& tempProtect;
  ShredState& shred;
  uint64_t now;
  DeletionEngine deletion;

  bool Preview() const { return state.previewMode; }
  bool Detail() const { return flags.detailReport; }
  bool Cancelled() const { return state.cancelRequested; }

  void Line(std::string_view text) { report.Line(text); }
  // label + item, honouring Detail and Summary reports.
  void Item(ItemOutcome outcome, std::string_view label, std::string_view item);
  // Raises the error level and marks that an error was seen.
  void RaiseError(int level) { report.RaiseError(level); }
  void UpdateProgress(int period) { report.UpdateProgress(period); }
  void Pump() { report.pump().Pump(); }
  // "*** Cancelled by operator." when Cancel was pressed; true then.
  bool CancelNoted();
};

}  // namespace tidemark::engine
