#include <windows.h>

#include <gtest/gtest.h>

#include "locations/shell_folders.h"
#include "platform/files.h"
#include "platform/shell.h"
#include "platform/text.h"
#include "support/sandbox_win.h"

namespace tidemark {
namespace {

using platform::RealShell;
namespace csidl = platform::csidl;

TEST(ShellFolders, SpecialFoldersAreExistingFoldersAgreeingWithTheIdListRoute) {
  for (int id : {csidl::kRecent, csidl::kAppData, csidl::kLocalAppData, csidl::kInternetCache, csidl::kCookies,
                 csidl::kHistory}) {
    platform::SpecialFolder byPath = RealShell().GetSpecialFolder(id);
    platform::SpecialFolder byIdList = RealShell().SpecialFolderFromIdList(id);
    ASSERT_TRUE(byPath.found) << id << ": " << byPath.path;
    EXPECT_TRUE(platform::RealFileSystem().FolderExists(byPath.path)) << byPath.path;
    EXPECT_TRUE(byIdList.found) << id;
    EXPECT_TRUE(SameText(byPath.path, byIdList.path)) << byPath.path << " / " << byIdList.path;
  }
}

TEST(ShellFolders, UnknownFolderIdGivesTheFailureTexts) {
  platform::SpecialFolder folder = RealShell().GetSpecialFolder(0x7E);
  EXPECT_FALSE(folder.found);
  EXPECT_EQ(folder.path, "Failed - Path not Found");
  folder = RealShell().SpecialFolderFromIdList(0x7E);
  EXPECT_FALSE(folder.found);
  EXPECT_EQ(folder.path, "Failed - Folder not Found");
}

TEST(ShellFolders, ReadShellFolderPathsTakesTheShellAnswers) {
  locations::ShellFolderPaths paths = locations::ReadShellFolderPaths(RealShell());
  ASSERT_TRUE(paths.AppData && paths.LocalAppData && paths.History && paths.Recent);
  EXPECT_EQ(*paths.AppData, RealShell().GetSpecialFolder(csidl::kAppData).path);
  EXPECT_EQ(*paths.LocalAppData, RealShell().GetSpecialFolder(csidl::kLocalAppData).path);
  EXPECT_NE(*paths.AppData, *paths.LocalAppData);
}

TEST(ShellEnvironment, ReferencesExpandAndUnknownOnesStay) {
  ASSERT_TRUE(SetEnvironmentVariableA("TIDEMARK_TEST_ROOT", "C:\\Scratch Root"));
  EXPECT_EQ(RealShell().ExpandEnvVars("%TIDEMARK_TEST_ROOT%\\Cache"), "C:\\Scratch Root\\Cache");
  EXPECT_EQ(RealShell().ExpandEnvVars("%TIDEMARK_NO_SUCH_VARIABLE%\\x"), "%TIDEMARK_NO_SUCH_VARIABLE%\\x");
  EXPECT_EQ(RealShell().ExpandEnvVars(""), "");
}

TEST(FileVersion, TextsOfReadableUnreadableAndMissingFiles) {
  std::string version = RealShell().FileVersionOf("shdocvw.dll");
  EXPECT_NE(version.find('.'), std::string::npos) << version;
  EXPECT_NE(version, platform::kVersionUnreadable);
  EXPECT_NE(version, platform::kVersionStringMissing);
  EXPECT_EQ(RealShell().VersionString("shdocvw.dll", "NoSuchVersionString"), "00.00.00.01");
  test::TempFolder temp;
  EXPECT_EQ(RealShell().FileVersionOf(temp.Write("plain.txt", "no version resource here")), "00.00.00.00");
  EXPECT_EQ(RealShell().ProductVersionOf(temp / "missing.exe"), "00.00.00.00");
}

}  // namespace
}  // namespace tidemark
