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
#include "engine/purge_state.h"
#include "engine/report.h"
#include "locations/chromium_locations.h"
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
  const std::vector<locations::ChromiumBrowser>& chromium;
};

// The settings and run switches a purge reads, the deletion engine's among them.
struct PurgeSettings : DeletionSettings {
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
  std::string dataFolder;  // where the temp protect list lies
  ShredState& shred;       // lives for the whole process
  uint64_t now = 0;        // the purge's start, as a FILETIME (UTC)
  CookiePurgeResources cookies;
  PluginPurgeResources plugins;
  IEPurgeResources ie;
};

// Reads the temp/plugin protect list for a run; writes it back (when
// changed) and empties it as the run ends.
class TempProtectForRun {
 public:
  explicit TempProtectForRun(const PurgeResources& resources);
  ~TempProtectForRun();
  TempProtectForRun(const TempProtectForRun&) = delete;
  TempProtectForRun& operator=(const TempProtectForRun&) = delete;

 private:
  const PurgeResources& resources_;
};

// The closing lines of a purge function: "<function> Function Completed.",
// then, after gap, the count of what it processed with its noun. A function
// with a noneFound line, when it processed nothing, writes that line first
// and ends the completed line with noneTail instead of the count.
struct Completion {
  std::string_view function;  // "  Purge \"FireFox Cache\"", "  \"I.E. Cache\""
  std::string_view gap = "   ";
  std::string_view one;        // " Cache Data File Processed."
  std::string_view many = {};  // " Cache Data Files Processed."; empty: as one
  std::string_view noneFound = {};
  std::string_view noneTail = {};
};

// The two forms the browser purges share: entries, and cache data files.
inline Completion EntriesCompletion(std::string_view function) {
  return {.function = function,
          .one = " Entry Processed.",
          .many = " Entries Processed.",
          .noneFound = "    No Entries found to delete."};
}
inline Completion CacheFilesCompletion(std::string_view function) {
  return {.function = function,
          .one = " Cache Data File Processed.",
          .many = " Cache Data Files Processed.",
          .noneFound = "    No Cache Data Files found to delete."};
}

class PurgeEnvironment : public ItemSink {
 public:
  PurgeEnvironment(Report& report, PurgeState& state, const PurgeResources& resources);
  PurgeEnvironment(const PurgeEnvironment&) = delete;
  PurgeEnvironment& operator=(const PurgeEnvironment&) = delete;

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

  // False, with its error line (severity 7), when tidemark.pit is there but
  // could not be read: what it protects is unknown, so nothing may go.
  bool TempProtectReadable();
  void WriteCompletion(const Completion& completion, int32_t processed);
  // The completed line of a function that counts nothing.
  void WriteCompletion(std::string_view function);
};

}  // namespace tidemark::engine
