#include "app/startup.h"

#include <gtest/gtest.h>

namespace tidemark::app {
namespace {

StartupOptions Read(std::vector<std::string> params) { return ReadStartupOptions(CommandLine(std::move(params))); }

TEST(CommandLine, SplitsLikeTheSystemStartUpCode) {
  EXPECT_EQ(SplitCommandLine("\"C:\\Program Files\\T\\tidemark.exe\"  auto  \"data=My Data\" x\"y z\""),
            (std::vector<std::string>{"C:\\Program Files\\T\\tidemark.exe", "auto", "data=My Data", "xy z"}));
  EXPECT_TRUE(SplitCommandLine("   ").empty());
  CommandLine line = CommandLine::FromFullText("tidemark.exe BOOT Pause=2");
  EXPECT_EQ(line.params(), (std::vector<std::string>{"BOOT", "Pause=2"}));
  EXPECT_EQ(line.fullText(), "tidemark.exe BOOT Pause=2");
}

TEST(CommandLine, ParamsMatchWholeAndIgnoringCase) {
  CommandLine line({"boot", "DATA=Other", "data=Second", "AUTOMATIC"});
  EXPECT_TRUE(line.ParamPresent("BOOT"));
  EXPECT_FALSE(line.ParamPresent("AUTO"));
  EXPECT_EQ(line.ParamValue("data"), "Other");
  EXPECT_EQ(line.ParamValue("Pause"), "");
}

TEST(StartupOptions, RunModePrecedence) {
  EXPECT_EQ(Read({}).mode, RunMode::Stnd);
  EXPECT_EQ(Read({"BOOT", "AUTO"}).mode, RunMode::Auto);
  EXPECT_EQ(Read({"boot"}).mode, RunMode::Boot);
  EXPECT_EQ(Read({"shut", "boot"}).mode, RunMode::Boot);
  EXPECT_EQ(Read({"Shut"}).mode, RunMode::Shut);
  EXPECT_STREQ(RunModeName(Read({"shut"}).mode), "Shut");
}

TEST(StartupOptions, PauseIsWaitedOnlyWhenPositive) {
  EXPECT_EQ(Read({"Pause=0"}).pauseSeconds, 0);
  EXPECT_EQ(Read({"Pause=-3"}).pauseSeconds, 0);
  EXPECT_EQ(Read({"Pause=x"}).pauseSeconds, 0);
  EXPECT_EQ(Read({"pause=2"}).pauseSeconds, 2);
}

TEST(StartupOptions, LevelAndErrorSwitchesFirstPresentWins) {
  EXPECT_EQ(Read({"LEVEL7", "LEVEL3"}).levelThreshold, 3);
  EXPECT_EQ(Read({"LEVEL8"}).levelThreshold, 0);
  EXPECT_EQ(Read({"level9"}).levelThreshold, 9);
  EXPECT_EQ(Read({"ERROR9", "ERROR5"}).driverSwitches.presetErrorLevel, 5);
  StartupOptions options = Read({"errors", "TOTALS", "Report=C:\\r.txt", "NOVER", "ffdatexe"});
  EXPECT_TRUE(options.driverSwitches.errorSummary);
  EXPECT_TRUE(options.driverSwitches.totals);
  EXPECT_EQ(options.reportPath, "C:\\r.txt");
  EXPECT_TRUE(options.noVer);
  EXPECT_TRUE(options.ffdatExe);
}

TEST(ShowMainAfterRun, DisplayOptionsAndLevelThreshold) {
  EXPECT_TRUE(ShowMainAfterRun(0, false, 0, 0));
  EXPECT_FALSE(ShowMainAfterRun(3, true, 9, 0));
  // "Enable when any Error occurs"
  EXPECT_FALSE(ShowMainAfterRun(1, false, 0, 0));
  EXPECT_TRUE(ShowMainAfterRun(1, true, 3, 0));
  // "Enable only when a Severe Error occurs"
  EXPECT_FALSE(ShowMainAfterRun(2, true, 7, 0));
  EXPECT_TRUE(ShowMainAfterRun(2, true, 9, 0));
  // LEVEL5 with "Disable"
  EXPECT_FALSE(ShowMainAfterRun(3, true, 3, 5));
  EXPECT_TRUE(ShowMainAfterRun(3, true, 5, 5));
  EXPECT_TRUE(ShowMainAfterRun(3, true, 9, 5));
  // A threshold that is not reached still lets the display option decide.
  EXPECT_TRUE(ShowMainAfterRun(1, true, 3, 9));
}

TEST(SystemFlags, VersionAndSwitches) {
  StartupOptions none;
  EXPECT_FALSE(ComputeSystemFlags({2, 5, 1, 2600}, none).tisVista);
  SystemFlags vista = ComputeSystemFlags({2, 6, 0, 6002}, none);
  EXPECT_TRUE(vista.tisVista);
  EXPECT_FALSE(vista.tisWin7);
  EXPECT_TRUE(ComputeSystemFlags({2, 6, 1, 7601}, none).tisWin7);
  // Windows XP (5.1) is no Windows 7 even though its minor version is 1.
  EXPECT_FALSE(ComputeSystemFlags({2, 5, 1, 2600}, none).tisWin7);
  StartupOptions forced = Read({"TISVISTA", "TISWIN7", "IE7"});
  SystemFlags flags = ComputeSystemFlags({2, 5, 1, 2600}, forced);
  EXPECT_TRUE(flags.tisVista && flags.tisWin7 && flags.ie7);
}

}  // namespace
}  // namespace tidemark::app
