// Start-up decisions that ask the real system (drive types, registry).
#include <gtest/gtest.h>

#include "app/startup.h"
#include "platform/files.h"
#include "platform/registry.h"

namespace tidemark::app {
namespace {

TEST(ResolvePaths, DataFolderBelowApplicationDataOnAFixedDrive) {
  StartupOptions options = ReadStartupOptions(CommandLine({"data=Other"}));
  AppPaths paths = ResolvePaths(options, "C:\\Program Files\\Tidemark\\tidemark.exe", "C:\\users\\u\\AppData\\Roaming",
                                platform::RealFileSystem());
  EXPECT_EQ(paths.programFolder, "C:\\Program Files\\Tidemark");
  EXPECT_EQ(paths.programDrive, platform::DriveType::Fixed);
  EXPECT_FALSE(paths.cdExec);
  EXPECT_TRUE(paths.ownDataFolder);
  EXPECT_EQ(paths.dataFolder, "C:\\users\\u\\AppData\\Roaming\\Other");
  EXPECT_EQ(paths.settingsFile, "C:\\users\\u\\AppData\\Roaming\\Other\\Tidemark.ini");
  EXPECT_EQ(paths.cookieProtectFile, "C:\\users\\u\\AppData\\Roaming\\Other\\Tidemark.Dat");
  EXPECT_EQ(paths.ieCookieProtectFile, "C:\\users\\u\\AppData\\Roaming\\Other\\IEcookie.dat");

  options = ReadStartupOptions(CommandLine({"FFdatExe", "CDEXEC"}));
  paths = ResolvePaths(options, "C:\\T\\tidemark.exe", "C:\\AppData", platform::RealFileSystem());
  EXPECT_EQ(paths.dataFolder, "C:\\AppData\\Tidemark");
  EXPECT_EQ(paths.cookieProtectFile, "C:\\T\\Tidemark.Dat");
  EXPECT_TRUE(paths.cdExec);
}

TEST(ResolvePaths, NoApplicationDataMeansNoDataFilesAtAll) {
  AppPaths paths = ResolvePaths(StartupOptions{}, "C:\\T\\tidemark.exe", "", platform::RealFileSystem());
  EXPECT_EQ(paths.dataFolder, "");
  // Never bare names, which would land in the current folder.
  EXPECT_EQ(paths.settingsFile, "");
  EXPECT_EQ(paths.cookieProtectFile, "");
  EXPECT_EQ(paths.ieCookieProtectFile, "");
}

TEST(WindowsVersion, TheRegistryReplacesTheReportedNumbers) {
  WindowsVersion reported{2, 5, 1, 2600};
  WindowsVersion version = ApplyRegistryVersion(reported, platform::RealRegistry());
  auto current = platform::RealRegistry().ReadString(platform::RegistryRoot::LocalMachine,
                                                     "Software\\Microsoft\\Windows NT\\CurrentVersion",
                                                     "CurrentVersion");
  ASSERT_TRUE(current.has_value());
  EXPECT_EQ(std::to_string(version.major) + "." + std::to_string(version.minor), *current);
  // Not the NT family: nothing is replaced.
  WindowsVersion old{1, 4, 10, 1998};
  EXPECT_EQ(ApplyRegistryVersion(old, platform::RealRegistry()).major, 4);
}

}  // namespace
}  // namespace tidemark::app
