// What the command line and the machine decide at start-up: run mode, test
// switches, the data folder and the Windows version.
#pragma once
#include <optional>
#include <string>

#include "app/command_line.h"
#include "engine/driver.h"
#include "platform/product.h"
#include "platform/files.h"
#include "platform/registry.h"

namespace tidemark::app {


enum class RunMode { Stnd, Auto, Boot, Shut };
const char* RunModeName(RunMode mode);
bool IsUnattended(RunMode mode);

struct StartupOptions {
  RunMode mode = RunMode::Stnd;
  bool reset = false;
  bool mult = false;
  bool init = false;
  bool uninst = false;
  bool protect = false;
  bool cdExec = false;  // "CDEXEC" given (the CD-ROM test comes later)
  bool ffdatExe = false;
  bool keepFiles = false;
  bool anyTemp = false;  // temp folders need not be named "temp"
  bool noVer = false;
  bool anyPos = false;
  bool tisVista = false;
  bool tisWin7 = false;
  bool ie7 = false;
  bool allHist = false;   // "AllHist": the IE history purge lists each folder
  bool allLeaks = false;  // "ALLLEAKS": the IE leak sweep also takes records of unknown kinds
  bool abortC1 = false;
  bool abortC9 = false;
  bool abortX = false;
  bool abortAV = false;  // an access violation in place of AbortX's exception
  bool debug = false;
  int levelThreshold = 0;  // 0: no "LEVELn" switch
  int pauseSeconds = 0;
  std::string dataName;    // "data="
  std::string reportPath;  // "Report=": where each purge's results list is written
  engine::DriverSwitches driverSwitches;
};
StartupOptions ReadStartupOptions(const CommandLine& commandLine);

struct AppPaths {
  std::string programFile;
  std::string programFolder;
  std::string dataFolder;
  std::string settingsFile;
  std::string cookieProtectFile;    // Tidemark.Dat
  std::string ieCookieProtectFile;  // IEcookie.dat
  platform::DriveType programDrive = platform::DriveType::Unknown;
  bool cdExec = false;
  bool ownDataFolder = false;  // below application data: created when missing
};

// Fixes the data folder: below the application-data folder (appData, empty
// when the shell has none) on a fixed drive, beside the program on a
// removable drive, in its "Tidemark" folder on a CD-ROM.
AppPaths ResolvePaths(const StartupOptions& options, const std::string& programFile, const std::string& appData,
                      platform::FileSystem& files);

struct WindowsVersion {
  int platformId = 2;  // VER_PLATFORM_WIN32_NT
  int major = 0;
  int minor = 0;
  int build = 0;
};
// Replaces the numbers with the registry's "CurrentVersion" and
// "CurrentBuildNumber" on the NT family.
WindowsVersion ApplyRegistryVersion(WindowsVersion reported, platform::Registry& registry);

struct SystemFlags {
  bool tisVista = false;
  bool tisWin7 = false;
  bool ie7 = false;
};
SystemFlags ComputeSystemFlags(const WindowsVersion& version, const StartupOptions& options);

// Whether an unattended run shows the main window afterwards.
bool ShowMainAfterRun(int mainWinOpt, bool errorSeen, int errorLevel, int levelThreshold);

}  // namespace tidemark::app
