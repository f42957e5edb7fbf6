#include "locations/temp_folders.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>

#include "platform/files_win.h"
#include "platform/shell_win.h"
#include "platform/text.h"
#include "support/sandbox_win.h"

namespace tidemark::locations {
namespace {

using State = TempFolderState;

const char* const kNotSafe = "... not safe to use - Folder name not \"temp\" ...";

class TempFoldersTest : public ::testing::Test {
 protected:
  struct Result {
    std::string path, status;
    State state;
  };
  Result Validate(std::string path, bool anyTemp = false) {
    Result result;
    ValidateTempFolder(path, result.status, result.state, files, platform::RealShell(), anyTemp);
    result.path = path;
    return result;
  }
  std::string Upper(const std::string& relative) const { return UpperCase(scratch / relative); }

  test::TempFolder scratch;
  platform::FileSystem& files = platform::RealFileSystem();
  test::EnvironmentVariables environment;
};

TEST_F(TempFoldersTest, ValidationJudgesEachCandidate) {
  scratch.Write("Temp\\x", "");
  scratch.Write("work\\x", "");
  scratch.Write("A Long Folder Name\\temp\\x", "");
  environment.Set("TM_TEST_ROOT", scratch.path());
  std::string shortForm;
  files.ListFolder(scratch.path(), [&](const platform::DirEntry& entry) {
    if (entry.name == "A Long Folder Name") shortForm = entry.shortName;
    return true;
  });
  ASSERT_FALSE(shortForm.empty());

  struct Case {
    std::string input;
    bool anyTemp;
    std::string path, status;
    State state;
  };
  const Case cases[] = {
      {scratch / "temp\\", false, Upper("Temp"), "", State::Usable},
      {"%TM_TEST_ROOT%\\Temp", false, Upper("Temp"), "", State::Usable},
      {scratch / (shortForm + "\\temp"), false, Upper("A Long Folder Name\\temp"), "", State::Usable},
      {scratch / "work\\..\\Temp\\.", false, Upper("Temp"), "", State::Usable},
      {scratch / "work", false, Upper("work"), kNotSafe, State::NotSafe},
      {scratch / "work", true, Upper("work"), "", State::Usable},
      {scratch / "missing\\temp", false, Upper("missing\\temp"), "... Folder Not Found ...", State::NotFound},
      {"", false, "... Not Found ...", "... No Path Specified ...", State::NotFound},
      {":odd", false, ":odd", "", State::NotFound},
  };
  for (const Case& c : cases) {
    Result result = Validate(c.input, c.anyTemp);
    EXPECT_EQ(result.path, c.path) << c.input;
    EXPECT_EQ(result.status, c.status) << c.input;
    EXPECT_EQ(result.state, c.state) << c.input;
  }
}

TEST_F(TempFoldersTest, APathThatIsNotFullIsNeverSafe) {
  scratch.Write("temp\\x", "");
  ASSERT_TRUE(SetCurrentDirectoryA(scratch.path().c_str()));
  for (bool anyTemp : {false, true}) {
    Result relative = Validate("temp", anyTemp);
    EXPECT_EQ(relative.state, State::NotSafe) << anyTemp;
    // "C:..\x\temp" is relative to the drive's current folder.
    Result driveRelative = Validate(scratch.path().substr(0, 2) + "temp", anyTemp);
    EXPECT_NE(driveRelative.state, State::Usable) << anyTemp;
  }
  SetCurrentDirectoryA("C:\\");
}

TEST_F(TempFoldersTest, RowsAreListedOnceAndTheSystemTempStandsIn) {
  scratch.Write("temp\\x", "");
  scratch.Write("work\\x", "");
  environment.Set("tmp", scratch / "temp");
  environment.Set("temp", scratch / "TEMP");
  TempFolders both = InitTempFolders(files, platform::RealShell(), {true, false, true, false}, false, false);
  EXPECT_EQ(both.rows[kSystemTemp].path, Upper("temp"));
  EXPECT_EQ(both.rows[kOldTemp].path, Upper("temp"));
  ASSERT_EQ(both.selected.size(), 1u);
  EXPECT_EQ(both.selected[0].displayName, "System Temp");
  EXPECT_EQ(std::count_if(both.available.begin(), both.available.end(),
                          [&](const TempFolderEntry& entry) { return entry.path == Upper("temp"); }),
            1);

  // An unsafe "tmp" is never used.
  environment.Set("tmp", scratch / "work");
  TempFolders unsafe = InitTempFolders(files, platform::RealShell(), {true, false, false, false}, false, false);
  EXPECT_EQ(unsafe.rows[kSystemTemp].Label(), Upper("work") + "  [" + kNotSafe + "]");
  EXPECT_TRUE(std::none_of(unsafe.selected.begin(), unsafe.selected.end(),
                           [&](const TempFolderEntry& entry) { return entry.path == Upper("work"); }));

  // With nothing usable ticked, the temp folder Windows names stands in.
  environment.Set("tmp", std::nullopt);
  TempFolders fallback = InitTempFolders(files, platform::RealShell(), {true, false, false, false}, false, false);
  EXPECT_EQ(fallback.rows[kSystemTemp].Label(), "... Not Found ...  [... No Path Specified ...]");
  EXPECT_EQ(fallback.systemTempPath.path, Upper("temp"));
  ASSERT_EQ(fallback.selected.size(), 1u);
  EXPECT_EQ(fallback.selected[0].displayName, "System Temp");
  EXPECT_EQ(fallback.selected[0].path, Upper("temp"));
}

TEST_F(TempFoldersTest, AWindowsTempThatCannotBeListedNeedsElevation) {
  struct Unlistable : platform::Win32FileSystem {
    bool ListMatching(const std::string& folder, const std::string& mask,
                      const std::function<bool(const platform::DirEntry&)>& visit) override {
      if (EndsWith(UpperCase(folder), "WINDOWS\\TEMP")) return false;
      return Win32FileSystem::ListMatching(folder, mask, visit);
    }
  } unlistable;
  platform::Shell& shell = platform::RealShell();
  if (!files.FolderExists(shell.WindowsFolder() + "\\temp")) GTEST_SKIP() << "no Windows temp folder";
  TempFolders vista = InitTempFolders(unlistable, shell, {false, true, false, false}, false, true);
  EXPECT_EQ(vista.rows[kWindowsTemp].status, "Only available to Admin with Elevated UAC");
  EXPECT_EQ(vista.rows[kWindowsTemp].state, State::NotFound);
  EXPECT_TRUE(vista.windowsTempDisabled);
  TempFolders xp = InitTempFolders(unlistable, shell, {false, true, false, false}, false, false);
  EXPECT_TRUE(xp.rows[kWindowsTemp].Usable());
  EXPECT_FALSE(xp.windowsTempDisabled);
}

}  // namespace
}  // namespace tidemark::locations
