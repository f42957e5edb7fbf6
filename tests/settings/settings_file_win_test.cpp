#include "settings/settings_file.h"

#include <gtest/gtest.h>

#include "settings_fixture_win.h"

namespace tidemark::settings {
namespace {

const char* const kSeedText = "[StndOptions]\r\nCacheOption=1\r\n";

struct Folders {
  test::TempFolder root;
  std::string program = root / "Program", data = root / "Data";
  std::string seed = program + "\\Tidemark.ini", target = data + "\\Tidemark.ini";
  platform::FileSystem& files = platform::RealFileSystem();
  Folders() {
    files.CreateFolders(program);
    files.CreateFolders(data);
  }
  std::string Content(const std::string& path) { return files.ReadFile(path).value_or("<none>"); }
  EnsureResult Ensure(const std::string& dataFolder, bool cdExec = false) {
    return EnsureSettingsFile(files, program, dataFolder, cdExec);
  }
};

TEST(EnsureSettingsFile, SeedsTheDataFolderOnlyWhenItHoldsNoFile) {
  Folders copied;
  copied.files.WriteFile(copied.seed, kSeedText);
  EXPECT_EQ(copied.Ensure(copied.data), EnsureResult::Copied);
  EXPECT_EQ(copied.Content(copied.target), kSeedText);
  EXPECT_EQ(copied.Content(copied.seed), kSeedText);

  Folders existing;
  existing.files.WriteFile(existing.seed, kSeedText);
  existing.files.WriteFile(existing.target, "[ShredOption]\r\nRepeats=4\r\n");
  EXPECT_EQ(existing.Ensure(existing.data), EnsureResult::Existing);
  EXPECT_EQ(existing.Content(existing.target), "[ShredOption]\r\nRepeats=4\r\n");
  // The data folder is the program folder on a removable drive.
  EXPECT_EQ(existing.Ensure(existing.program), EnsureResult::Existing);
  EXPECT_EQ(existing.Content(existing.seed), kSeedText);

  Folders empty;
  EXPECT_EQ(empty.Ensure(empty.data), EnsureResult::CreatedEmpty);
  EXPECT_EQ(empty.Content(empty.target), "");

  Folders cdExec;
  cdExec.files.WriteFile(cdExec.seed, kSeedText);
  EXPECT_EQ(cdExec.Ensure(cdExec.data, true), EnsureResult::Skipped);
  EXPECT_EQ(cdExec.Ensure("", false), EnsureResult::Skipped);
  EXPECT_FALSE(cdExec.files.FileExists(cdExec.target));
}

TEST(EnsureSettingsFile, FailuresAreReportedAndLeaveNoFileBehind) {
  Folders folders;
  const std::string missing = folders.root / "Missing";
  EXPECT_EQ(folders.Ensure(missing), EnsureResult::CreateFailed);
  folders.files.WriteFile(folders.seed, kSeedText);
  try {
    folders.Ensure(missing);
    ADD_FAILURE() << "no error";
  } catch (const ESettingsFileError& error) {
    EXPECT_EQ(std::string(error.what()), "Cannot create file " + missing + "\\Tidemark.ini");
  }
  EXPECT_FALSE(folders.files.FileExists(missing + "\\Tidemark.ini"));

  {
    test::FileLock lock(folders.seed, 0);
    ASSERT_TRUE(lock.held());
    try {
      folders.Ensure(folders.data);
      ADD_FAILURE() << "no error";
    } catch (const ESettingsFileError& error) {
      EXPECT_EQ(std::string(error.what()), "Cannot open file " + folders.seed);
    }
  }
  EXPECT_FALSE(folders.files.FileExists(folders.target));
  // The next start seeds it.
  EXPECT_EQ(folders.Ensure(folders.data), EnsureResult::Copied);
  EXPECT_EQ(folders.Content(folders.target), kSeedText);
}

}  // namespace
}  // namespace tidemark::settings
