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
  TempFolderRow Validate(std::string path, bool anyTemp = false) {
    TempFolderRow row;
    ValidateTempFolder(path, row.status, row.state, files, platform::RealShell(), anyTemp);
    row.path = path;
    return row;
  }
  TempFolders Init(platform::FileSystem& system, std::array<bool, kTempRowCount> chosen, bool vista = false) {
    return InitTempFolders(system, platform::RealShell(), chosen, false, vista);
  }
  std::string Upper(const std::string& relative) const { return UpperCase(scratch / relative); }

  test::TempFolder scratch;
  platform::FileSystem& files = platform::RealFileSystem();
  test::EnvironmentVariables environment;
};

TEST_F(TempFoldersTest, ValidationJudgesEachCandidate) {
  for (const char* file : {"Temp\\x", "work\\x", "A Long Folder Name\\temp\\x"}) scratch.Write(file, "");
  environment.Set("TM_TEST_ROOT", scratch.path());
  std::string shortForm;
  files.ListFolder(scratch.path(), [&](const platform::DirEntry& entry) {
    if (entry.name == "A Long Folder Name") shortForm = entry.shortName;
    return true;
  });
  ASSERT_FALSE(shortForm.empty());
  const std::tuple<std::string, bool, std::string, std::string, State> cases[] = {
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
  for (const auto& [input, anyTemp, path, status, state] : cases) {
    TempFolderRow row = Validate(input, anyTemp);
    EXPECT_EQ(std::tuple(row.path, row.status, row.state), std::tuple(path, status, state)) << input;
  }
  // A path that is not a full drive path is never safe, "C:temp" (relative to the drive's current folder) included.
  ASSERT_TRUE(SetCurrentDirectoryA(scratch.path().c_str()));
  for (bool anyTemp : {false, true}) {
    EXPECT_EQ(Validate("temp", anyTemp).state, State::NotSafe) << anyTemp;
    EXPECT_NE(Validate(scratch.path().substr(0, 2) + "temp", anyTemp).state, State::Usable) << anyTemp;
  }
  SetCurrentDirectoryA("C:\\");
}

TEST_F(TempFoldersTest, RowsAreListedOnceTheSystemTempStandsInAndAnUnlistableWindowsTempNeedsElevation) {
  scratch.Write("temp\\x", "");
  scratch.Write("work\\x", "");
  environment.Set("tmp", scratch / "temp");
  environment.Set("temp", scratch / "TEMP");
  TempFolders both = Init(files, {true, false, true, false});
  EXPECT_EQ(both.rows[kOldTemp].path, Upper("temp"));
  ASSERT_EQ(both.selected.size(), 1u);
  EXPECT_EQ(both.selected[0].displayName, "System Temp");
  EXPECT_EQ(std::count_if(both.available.begin(), both.available.end(),
                          [&](const TempFolderEntry& entry) { return entry.path == Upper("temp"); }),
            1);
  // An unsafe "tmp" is never used; with nothing usable ticked, the temp folder Windows names stands in.
  environment.Set("tmp", scratch / "work");
  EXPECT_EQ(Init(files, {true, false, false, false}).rows[kSystemTemp].Label(), Upper("work") + "  [" + kNotSafe + "]");
  environment.Set("tmp", std::nullopt);
  TempFolders fallback = Init(files, {true, false, false, false});
  ASSERT_EQ(fallback.selected.size(), 1u);
  EXPECT_EQ(fallback.selected[0].displayName + "|" + fallback.selected[0].path, "System Temp|" + Upper("temp"));

  struct Unlistable : platform::Win32FileSystem {
    bool ListMatching(const std::string& folder, const std::string& mask,
                      const std::function<bool(const platform::DirEntry&)>& visit) override {
      return !EndsWith(UpperCase(folder), "WINDOWS\\TEMP") && Win32FileSystem::ListMatching(folder, mask, visit);
    }
  } unlistable;
  if (!files.FolderExists(platform::RealShell().WindowsFolder() + "\\temp")) GTEST_SKIP() << "no Windows temp folder";
  TempFolders vista = Init(unlistable, {false, true, false, false}, true);
  const TempFolderRow& row = vista.rows[kWindowsTemp];
  EXPECT_EQ(row.Label(), row.path + "  [Only available to Admin with Elevated UAC]");
  EXPECT_EQ(row.state, State::NotFound);
  EXPECT_TRUE(vista.windowsTempDisabled);
  EXPECT_TRUE(Init(unlistable, {false, true, false, false}).rows[kWindowsTemp].Usable());
}

}  // namespace
}  // namespace tidemark::locations
