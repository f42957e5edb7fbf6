// The themes switch against real manifest files in a scratch folder.
#include "app/themes.h"

#include <gtest/gtest.h>

#include "platform/files_win.h"
#include "support/sandbox_win.h"

namespace tidemark::app {
namespace {

class ThemesTest : public ::testing::Test {
 protected:
  std::string Read(const char* suffix) { return files.ReadFile(program + suffix).value_or("<none>"); }

  test::TempFolder folder;
  std::string program = folder / "Tidemark.exe";
  platform::Win32FileSystem files;
};

TEST_F(ThemesTest, StateFollowsTheManifestFilesOnNTOnly) {
  EXPECT_EQ(ReadThemeState(files, program, true), kThemesUnavailable);
  folder.Write("Tidemark.exe.ManifesX", "parked");
  EXPECT_EQ(ReadThemeState(files, program, true), kThemesOff);
  folder.Write("Tidemark.exe.ManifesT", "themed");
  EXPECT_EQ(ReadThemeState(files, program, true), kThemesOn);  // ".ManifesT" wins
  EXPECT_EQ(ReadThemeState(files, program, false), kThemesUnavailable);
  // A folder of that name is no manifest.
  EXPECT_EQ(ReadThemeState(files, folder / "Other.exe", true), kThemesUnavailable);
  ASSERT_TRUE(files.CreateFolders(folder / "Other.exe.ManifesT"));
  EXPECT_EQ(ReadThemeState(files, folder / "Other.exe", true), kThemesUnavailable);
}

TEST_F(ThemesTest, SwitchingRenamesTheManifestBothWaysOverAStaleCopy) {
  folder.Write("Tidemark.exe.ManifesT", "manifest");
  folder.Write("Tidemark.exe.ManifesX", "stale");
  ASSERT_TRUE(ApplyThemeState(files, program, kThemesOn, kThemesOff));
  EXPECT_FALSE(files.FileExists(program + ".ManifesT"));
  EXPECT_EQ(Read(".ManifesX"), "manifest");
  EXPECT_EQ(ReadThemeState(files, program, true), kThemesOff);

  ASSERT_TRUE(ApplyThemeState(files, program, kThemesOff, kThemesOn));
  EXPECT_FALSE(files.FileExists(program + ".ManifesX"));
  EXPECT_EQ(Read(".ManifesT"), "manifest");
}

TEST_F(ThemesTest, UnchangedOrUnavailableStateRenamesNothing) {
  folder.Write("Tidemark.exe.ManifesT", "themed");
  folder.Write("Tidemark.exe.ManifesX", "parked");
  for (auto [current, wanted] : {std::pair{kThemesOn, kThemesOn}, {kThemesOff, kThemesOff},
                                 {kThemesUnavailable, kThemesUnavailable}, {kThemesUnavailable, kThemesOn},
                                 {kThemesOn, kThemesUnavailable}}) {
    EXPECT_TRUE(ApplyThemeState(files, program, current, wanted));
    EXPECT_EQ(Read(".ManifesT"), "themed");
    EXPECT_EQ(Read(".ManifesX"), "parked");
  }
}

TEST_F(ThemesTest, MissingManifestFailsAndCreatesNothing) {
  EXPECT_FALSE(ApplyThemeState(files, program, kThemesOff, kThemesOn));
  EXPECT_FALSE(files.FileExists(program + ".ManifesT"));
  EXPECT_FALSE(files.FileExists(program + ".ManifesX"));
}

// A manifest held open without delete sharing cannot be renamed: the
// manifest stays where it was.
TEST_F(ThemesTest, LockedManifestStaysInPlace) {
  std::string themed = folder.Write("Tidemark.exe.ManifesT", "manifest");
  HANDLE lock = CreateFileA(themed.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(lock, INVALID_HANDLE_VALUE);
  EXPECT_FALSE(ApplyThemeState(files, program, kThemesOn, kThemesOff));
  CloseHandle(lock);
  EXPECT_EQ(Read(".ManifesT"), "manifest");
  EXPECT_FALSE(files.FileExists(program + ".ManifesX"));
}

}  // namespace
}  // namespace tidemark::app
