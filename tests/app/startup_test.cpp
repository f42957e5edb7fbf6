#include "app/startup.h"

#include <gtest/gtest.h>

#include "support/memory_files.h"

namespace tidemark::app {
namespace {

StartupOptions Read(std::vector<std::string> params) { return ReadStartupOptions(CommandLine(std::move(params))); }

TEST(CommandLine, SplitsLikeTheSystemStartUpCodeAndMatchesWholeParamsIgnoringCase) {
  EXPECT_EQ(SplitCommandLine("\"C:\\Program Files\\T\\tidemark.exe\"  auto  \"data=My Data\" x\"y z\""),
            (std::vector<std::string>{"C:\\Program Files\\T\\tidemark.exe", "auto", "data=My Data", "xy z"}));
  EXPECT_TRUE(SplitCommandLine("   ").empty());
  CommandLine full = CommandLine::FromFullText("tidemark.exe BOOT Pause=2");
  EXPECT_EQ(full.params(), (std::vector<std::string>{"BOOT", "Pause=2"}));
  EXPECT_EQ(full.fullText(), "tidemark.exe BOOT Pause=2");
  CommandLine line({"boot", "DATA=Other", "data=Second", "AUTOMATIC"});
  EXPECT_TRUE(line.ParamPresent("BOOT"));
  EXPECT_FALSE(line.ParamPresent("AUTO"));
  EXPECT_EQ(line.ParamValue("data"), "Other");
  EXPECT_EQ(line.ParamValue("Pause"), "");
}

TEST(StartupOptions, RunModeAndNumbersFromTheSwitches) {
  struct Case {
    std::vector<std::string> params;
    RunMode mode;
    int pause, level, presetError;
  };
  const Case cases[] = {
      {{}, RunMode::Stnd, 0, 0, 0},
      {{"BOOT", "AUTO"}, RunMode::Auto, 0, 0, 0},
      {{"shut", "boot"}, RunMode::Boot, 0, 0, 0},
      {{"Shut", "pause=2"}, RunMode::Shut, 2, 0, 0},
      // Only a positive pause is waited.
      {{"Pause=-3"}, RunMode::Stnd, 0, 0, 0},
      {{"Pause=x"}, RunMode::Stnd, 0, 0, 0},
      // Of the LEVELn and ERRORn switches the lowest level present wins.
      {{"LEVEL7", "LEVEL3", "ERROR9", "ERROR5"}, RunMode::Stnd, 0, 3, 5},
      {{"level9", "LEVEL8", "ERROR2"}, RunMode::Stnd, 0, 9, 0},
  };
  for (const Case& c : cases) {
    StartupOptions options = Read(c.params);
    std::string trace = testing::PrintToString(c.params);
    EXPECT_EQ(options.mode, c.mode) << trace;
    EXPECT_EQ(options.pauseSeconds, c.pause) << trace;
    EXPECT_EQ(options.levelThreshold, c.level) << trace;
    EXPECT_EQ(options.driverSwitches.presetErrorLevel, c.presetError) << trace;
  }
  StartupOptions options = Read({"errors", "TOTALS", "Report=C:\\r.txt", "NOVER", "ffdatexe"});
  EXPECT_TRUE(options.driverSwitches.errorSummary);
  EXPECT_TRUE(options.driverSwitches.totals);
  EXPECT_EQ(options.reportPath, "C:\\r.txt");
  EXPECT_TRUE(options.noVer);
  EXPECT_TRUE(options.ffdatExe);
}

TEST(ShowMainAfterRun, DisplayOptionsAndLevelThreshold) {
  struct Case {
    int mainWinOpt;
    bool errorSeen;
    int level, threshold;
    bool shown;
  };
  // Display options: 0 Enable, 1 on any error, 2 on a severe error, 3 Disable.
  const Case cases[] = {
      {0, false, 0, 0, true}, {3, true, 9, 0, false}, {1, false, 0, 0, false}, {1, true, 3, 0, true},
      {2, true, 7, 0, false}, {2, true, 9, 0, true},
      // A "LEVELn" switch shows the window from level n on, even when set to "Disable".
      {3, true, 3, 5, false}, {3, true, 5, 5, true}, {3, true, 9, 5, true}, {3, false, 9, 5, false},
      // A threshold that is not reached still lets the display option decide.
      {1, true, 3, 9, true},
  };
  for (const Case& c : cases)
    EXPECT_EQ(ShowMainAfterRun(c.mainWinOpt, c.errorSeen, c.level, c.threshold), c.shown)
        << c.mainWinOpt << " " << c.errorSeen << " " << c.level << " " << c.threshold;
}

TEST(SystemFlags, VersionAndSwitches) {
  // Windows XP (5.1) is no Windows 7 even though its minor version is 1.
  for (auto [version, vista, win7] : {std::tuple{WindowsVersion{2, 5, 1, 2600}, false, false},
                                      {WindowsVersion{2, 6, 0, 6002}, true, false},
                                      {WindowsVersion{2, 6, 1, 7601}, true, true}}) {
    SystemFlags flags = ComputeSystemFlags(version, {});
    EXPECT_EQ(flags.tisVista, vista) << version.major << "." << version.minor;
    EXPECT_EQ(flags.tisWin7, win7) << version.major << "." << version.minor;
  }
  SystemFlags flags = ComputeSystemFlags({2, 5, 1, 2600}, Read({"TISVISTA", "TISWIN7", "IE7"}));
  EXPECT_TRUE(flags.tisVista && flags.tisWin7 && flags.ie7);
}

TEST(ResolvePaths, TheDataFolderByDriveType) {
  using platform::DriveType;
  struct Case {
    DriveType drive;
    std::vector<std::string> params;
    const char* program;
    const char* appData;
    const char* dataFolder;
    const char* cookieProtectFile;
    bool cdExec, ownDataFolder;
  };
  const Case cases[] = {
      {DriveType::Fixed, {"data=Other"}, "C:\\Program Files\\Tidemark\\tidemark.exe", "C:\\AD", "C:\\AD\\Other",
       "C:\\AD\\Other\\Tidemark.Dat", false, true},
      {DriveType::Fixed, {"FFdatExe", "CDEXEC"}, "C:\\T\\tidemark.exe", "C:\\AD", "C:\\AD\\Tidemark",
       "C:\\T\\Tidemark.Dat", true, true},
      // Without application data there are no data files at all (never bare
      // names, which would land in the current folder).
      {DriveType::Fixed, {}, "C:\\T\\tidemark.exe", "", "", "", false, false},
      {DriveType::Removable, {"data=Other"}, "E:\\Tools\\tidemark.exe", "C:\\AD", "E:\\Tools",
       "E:\\Tools\\Tidemark.Dat", false, false},
      {DriveType::CdRom, {}, "D:\\Bin\\tidemark.exe", "C:\\AD", "D:\\Bin\\Tidemark", "D:\\Bin\\Tidemark\\Tidemark.Dat",
       true, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.program);
    test::MemoryFileSystem files;
    files.driveType = c.drive;
    AppPaths paths = ResolvePaths(Read(c.params), c.program, c.appData, files);
    EXPECT_EQ(files.drivesAsked, (std::vector<std::string>{std::string(c.program, 2) + "\\"}));
    EXPECT_EQ(paths.programDrive, c.drive);
    EXPECT_EQ(paths.dataFolder, c.dataFolder);
    std::string inData = *c.dataFolder ? std::string(c.dataFolder) + "\\" : "";
    EXPECT_EQ(paths.settingsFile, *c.dataFolder ? inData + "Tidemark.ini" : "");
    EXPECT_EQ(paths.ieCookieProtectFile, *c.dataFolder ? inData + "IEcookie.dat" : "");
    EXPECT_EQ(paths.cookieProtectFile, c.cookieProtectFile);
    EXPECT_EQ(paths.cdExec, c.cdExec);
    EXPECT_EQ(paths.ownDataFolder, c.ownDataFolder);
  }
}

}  // namespace
}  // namespace tidemark::app
