#include <windows.h>

#include <gtest/gtest.h>

#include "platform/files.h"
#include "platform/shell.h"
#include "platform/text.h"
#include "support/sandbox_win.h"

namespace tidemark {
namespace {

using platform::RealShell;

TEST(Shell, SpecialFoldersExistAndBothRoutesAgreeOrGiveTheFailureTexts) {
  namespace csidl = platform::csidl;
  for (int id : {csidl::kRecent, csidl::kAppData, csidl::kLocalAppData, csidl::kInternetCache, csidl::kCookies}) {
    platform::SpecialFolder byPath = RealShell().GetSpecialFolder(id), byIdList = RealShell().SpecialFolderFromIdList(id);
    ASSERT_TRUE(byPath.found && byIdList.found) << id << ": " << byPath.path;
    EXPECT_TRUE(platform::RealFileSystem().FolderExists(byPath.path)) << byPath.path;
    EXPECT_TRUE(SameText(byPath.path, byIdList.path)) << byPath.path << " / " << byIdList.path;
  }
  EXPECT_EQ(RealShell().GetSpecialFolder(0x7E).path, "Failed - Path not Found");
  EXPECT_EQ(RealShell().SpecialFolderFromIdList(0x7E).path, "Failed - Folder not Found");
}

TEST(Shell, EnvironmentReferencesAndVersionTexts) {
  ASSERT_TRUE(SetEnvironmentVariableA("TIDEMARK_TEST_ROOT", "C:\\Scratch Root"));
  EXPECT_EQ(RealShell().ExpandEnvVars("%TIDEMARK_TEST_ROOT%\\%TIDEMARK_NO_SUCH%"), "C:\\Scratch Root\\%TIDEMARK_NO_SUCH%");
  EXPECT_NE(RealShell().FileVersionOf("shdocvw.dll").substr(0, 9), "00.00.00.");
  EXPECT_EQ(RealShell().VersionString("shdocvw.dll", "NoSuchVersionString"), "00.00.00.01");
  test::TempFolder temp;
  EXPECT_EQ(RealShell().FileVersionOf(temp.Write("plain.txt", "no version resource here")), "00.00.00.00");
  EXPECT_EQ(RealShell().ProductVersionOf(temp / "missing.exe"), "00.00.00.00");
}

}  // namespace
}  // namespace tidemark
