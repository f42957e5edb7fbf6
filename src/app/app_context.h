// The state of one program run, owned by the application object and shared
// with its windows: what start-up decided, the settings in memory, the purge
// state and the browser state.
#pragma once
#include <string>

#include "app/browser_activity.h"
#include "app/command_line.h"
#include "app/startup.h"
#include "cookies/cookie_manager.h"
#include "cookies/temp_protect.h"
#include "engine/driver.h"
#include "locations/chromium_locations.h"
#include "locations/firefox_locations.h"
#include "locations/ie_locations.h"
#include "locations/shell_folders.h"
#include "engine/deletion.h"
#include "locations/temp_folders.h"
#include "platform/clipboard.h"
#include "platform/files.h"
#include "platform/process.h"
#include "platform/registry.h"
#include "platform/session.h"
#include "platform/shell.h"
#include "platform/window_list.h"
#include "settings/settings_state.h"

namespace tidemark::app {

// The Windows operations the program runs against.
struct Platform {
  platform::FileSystem& files;
  platform::Registry& registry;
  platform::WindowList& windows;
  platform::Shell& shell;
  platform::Clipboard& clipboard = platform::RealClipboard();
  platform::Processes& processes = platform::RealProcesses();
  platform::Session& session = platform::RealSession();
};

struct AppContext {
  explicit AppContext(Platform system) : platform(system) {}

  Platform platform;
  CommandLine commandLine;
  StartupOptions options;
  AppPaths paths;
  WindowsVersion version;
  SystemFlags system;
  int pixelsPerInch = 96;
  bool largeFonts = false;
  int themeState = 0;  // 0 no manifest, 1 ".ManifesX", 2 ".ManifesT"
  bool protectStart = false;
  settings::SettingsState settings;
  locations::ShellFolderPaths shellFolders;
  locations::IEVersion ieVersion;
  locations::IELocations ie;
  locations::FirefoxLocations firefox;
  locations::TempFolders tempFolders;
  std::vector<locations::ChromiumBrowser> chromium;
  cookies::TempProtectList tempProtect;  // loaded for each purge
  engine::ShredState shred;
  engine::PurgeState purge;
  BrowserActivity browser;
  cookies::CookieConfirmations cookieConfirmations;  // "Yes To All" holds for the run
};

}  // namespace tidemark::app
