#include "app/startup.h"

#include <algorithm>

#include "platform/text.h"

namespace tidemark::app {

const char* RunModeName(RunMode mode) {
  switch (mode) {
    case RunMode::Auto: return "Auto";
    case RunMode::Boot: return "Boot";
    case RunMode::Shut: return "Shut";
    case RunMode::Stnd: break;
  }
  return "Stnd";
}

bool IsUnattended(RunMode mode) { return mode != RunMode::Stnd; }

StartupOptions ReadStartupOptions(const CommandLine& commandLine) {
  auto has = [&](const char* word) { return commandLine.ParamPresent(word); };
  StartupOptions options;
  if (has("AUTO"))
    options.mode = RunMode::Auto;
  else if (has("BOOT"))
    options.mode = RunMode::Boot;
  else if (has("SHUT"))
    options.mode = RunMode::Shut;
  options.reset = has("RESET");
  options.mult = has("MULT");
  options.init = has("INIT");
  options.uninst = has("UNINST");
  options.protect = has("PROTECT");
  options.cdExec = has("CDEXEC");
  options.ffdatExe = has("FFdatExe");
  options.keepFiles = has("KeepFiles");
  options.anyTemp = has("ANYTEMP");
  options.noVer = has("NOVER");
  options.anyPos = has("ANYPOS");
  options.tisVista = has("TISVISTA");
  options.tisWin7 = has("TISWIN7");
  options.ie7 = has("IE7");
  options.allHist = has("AllHist");
  options.allLeaks = has("ALLLEAKS");
  options.abortC1 = has("AbortC1");
  options.abortC9 = has("AbortC9");
  options.abortX = has("AbortX");
  options.abortAV = has("AbortAV");
  options.debug = has("/debug") || has("-debug");
  for (int level : {1, 2, 3, 4, 5, 6, 7, 9}) {
    if (has(("LEVEL" + std::to_string(level)).c_str())) {
      options.levelThreshold = level;
      break;
    }
  }
  for (int level : {1, 5, 9}) {
    if (has(("ERROR" + std::to_string(level)).c_str())) {
      options.driverSwitches.presetErrorLevel = level;
      break;
    }
  }
  options.driverSwitches.errorSummary = has("errors");
  options.driverSwitches.totals = has("totals");
  options.pauseSeconds = std::max(0, ParseIntOr(commandLine.ParamValue("Pause"), 0));
  options.dataName = commandLine.ParamValue("data");
  options.reportPath = commandLine.ParamValue("Report");
  return options;
}

AppPaths ResolvePaths(const StartupOptions& options, const std::string& programFile, const std::string& appData,
                      platform::FileSystem& files) {
  AppPaths paths;
  paths.programFile = programFile;
  paths.programFolder = ParentFolder(programFile);
  paths.programDrive = files.DriveTypeOf(paths.programFolder.substr(0, 2) + "\\");
  paths.cdExec = options.cdExec || paths.programDrive == platform::DriveType::CdRom;

  if (paths.programDrive == platform::DriveType::Removable) {
    paths.dataFolder = paths.programFolder;
  } else if (paths.programDrive == platform::DriveType::CdRom) {
    paths.dataFolder = JoinPath(paths.programFolder, "Tidemark");
  } else if (!appData.empty()) {
    paths.dataFolder = JoinPath(appData, options.dataName.empty() ? "Tidemark" : options.dataName);
    paths.ownDataFolder = true;
  }

  // Without a data folder there are no data files.
  paths.settingsFile = FileInFolder(paths.dataFolder, "Tidemark.ini");
  paths.cookieProtectFile = FileInFolder(options.ffdatExe ? paths.programFolder : paths.dataFolder, "Tidemark.Dat");
  paths.ieCookieProtectFile = FileInFolder(paths.dataFolder, "IEcookie.dat");
  return paths;
}

WindowsVersion ApplyRegistryVersion(WindowsVersion reported, platform::Registry& registry) {
  if (reported.platformId != 2) return reported;
  const std::string key = "Software\\Microsoft\\Windows NT\\CurrentVersion";
  auto current = registry.ReadString(platform::RegistryRoot::LocalMachine, key, "CurrentVersion");
  if (!current) return reported;
  size_t dot = current->find('.');
  // No dot, or one right at the start: keep what the system reported.
  if (dot == std::string::npos || dot == 0) return reported;
  reported.major = ParseIntOr(current->substr(0, dot), reported.major);
  reported.minor = ParseIntOr(current->substr(dot + 1), reported.minor);
  auto build = registry.ReadString(platform::RegistryRoot::LocalMachine, key, "CurrentBuildNumber");
  reported.build = build ? ParseIntOr(*build, 0) : 0;
  return reported;
}

SystemFlags ComputeSystemFlags(const WindowsVersion& version, const StartupOptions& options) {
  SystemFlags flags;
  bool vistaByVersion = (version.platformId == 2 && version.major >= 6) || version.platformId > 2;
  flags.tisVista = vistaByVersion || options.tisVista;
  flags.tisWin7 = (vistaByVersion && version.minor >= 1) || options.tisWin7;
  flags.ie7 = options.ie7;
  return flags;
}

bool ShowMainAfterRun(int mainWinOpt, bool errorSeen, int errorLevel, int levelThreshold) {
  if (mainWinOpt == 0) return true;
  // A "LEVELn" switch can show the window even when it is set to "Disable".
  if (errorSeen && levelThreshold > 0 && levelThreshold <= errorLevel) return true;
  if (mainWinOpt == 2) return errorSeen && errorLevel >= 9;
  if (mainWinOpt == 1) return errorSeen && errorLevel >= 1;
  return false;
}

}  // namespace tidemark::app
