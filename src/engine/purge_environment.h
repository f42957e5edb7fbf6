// The environment every purge body runs in: the report and purge state, the
// Windows operations, the located folders and files, the settings a purge
// reads, the temp/plugin protect list and the deletion engine. The
// application builds one for each purge; a test builds one over scratch
// folders, with no window.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "cookies/no_protection.h"
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
#include "platform/process.h"
#include "platform/registry.h"
#include "platform/shared_memory.h"
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
  platform::Processes& processes = platform::RealProcesses();
  // The mappings and mutexes shared with a running Internet Explorer.
  platform::SharedMemory& memory = platform::RealSharedMemory();
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
  // Internet Explorer: the installed major version, IE 7 or later (or the
  // "IE7" switch), and the switches "AllHist" and "ALLLEAKS".
  int ieVersionMajor = 0;
  bool ie7 = false;
  bool allHist = false;
  bool allLeaks = false;
};

// What the cookie purges need besides the located files.
struct CookiePurgeResources {
  std::string firefoxProtectFile;  // Tidemark.Dat
  // "FFcookieMsgOpt": "Y" silences the no-protection warning; the settings
  // save it with the others. Null: not silenced.
  std::string* firefoxShowOption = nullptr;
  std::string ieProtectFile;            // IEcookie.dat
  std::string* ieShowOption = nullptr;  // "CookieMsgOpt", as firefoxShowOption
  // The no-protection warning: true to go on, false to bypass the purge;
  // its check box may set the show option to "Y".
  std::function<bool(cookies::CookieBrowser, std::string& showOption)> confirmNoProtection;
};

// What the plugin purge needs besides the located plugins folder.
struct PluginPurgeResources {
  std::vector<std::string> selected;  // PLUGINS.DAT, sorted
  bool debug = false;                 // "debug": the interpreter's debug lines
  bool vista = false;                 // Vista or later, or "TisVista"
};

// Registry keys (below HKEY_CURRENT_USER) of the Internet Explorer purges;
// tests point them at keys of their own.
struct IEPurgeKeys {
  std::string typedUrls = "Software\\Microsoft\\Internet Explorer\\Typedurls";
  std::string msnTypedUrls = "Software\\Microsoft\\MSN\\Typedurls";
  std::string msnUsers = "Software\\Microsoft\\MSN6\\Users";
  std::string searchProperties = "Software\\Microsoft\\Internet Explorer\\Search\\SearchProperties";
};

// What the Internet Explorer purges need besides the located folders.
struct IEPurgeResources {
  IEPurgeKeys keys;
  // A message box over the main window (tests collect them); empty: no one is told.
  std::function<void(const std::string& caption, const std::string& text)> showMessage;
};

// What the host hands to each purge besides the report and purge state.
struct PurgeResources {
  PurgePlatform platform;
  PurgeLocations located;
  PurgeSettings settings;
  cookies::TempProtectList& tempProtect;
  ShredState& shred;  // lives for the whole process
  uint64_t now = 0;   // the purge's start, as a FILETIME (UTC)
  CookiePurgeResources cookies;
  PluginPurgeResources plugins;
  IEPurgeResources ie;
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
  CookiePurgeResources cookies;
  PluginPurgeResources plugins;
  IEPurgeResources ie;
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
  // False, with its error line (severity 7), when tidemark.pit is there but
  // could not be read: what it protects is unknown, so nothing may go.
  bool TempProtectReadable();
};

}  // namespace tidemark::engine
