#include "settings/settings_file.h"

#include <gtest/gtest.h>

#include "platform/files_win.h"
#include "settings_fixture_win.h"

namespace tidemark::settings {
namespace {

const char* const kSeedText = "[StndOptions]\r\nCacheOption=1\r\n";

struct Folders {
  test::TempFolder root;
  std::string program = root / "Program", data = root / "Data";
  std::string seed = program + "\\Tidemark.ini", target = data + "\\Tidemark.ini";
  platform::FileSystem& files = platform::RealFileSystem();
  explicit Folders(bool seeded) {
    files.CreateFolders(program);
    files.CreateFolders(data);
    if (seeded) files.WriteFile(seed, kSeedText);
  }
  std::string Content(const std::string& path) { return files.ReadFile(path).value_or("<none>"); }
  EnsureResult Ensure(const std::string& dataFolder, bool cdExec = false) {
    return EnsureSettingsFile(files, program, dataFolder, cdExec);
  }
  std::string Error(const std::string& dataFolder) {
    try {
      Ensure(dataFolder);
    } catch (const ESettingsFileError& error) {
      return error.what();
    }
    return "no error";
  }
};

TEST(EnsureSettingsFile, SeedsTheDataFolderOnlyWhenItHoldsNoFile) {
  Folders seeded(true), empty(false);
  EXPECT_EQ(seeded.Ensure(seeded.data, true), EnsureResult::Skipped);
  EXPECT_EQ(seeded.Ensure(""), EnsureResult::Skipped);
  EXPECT_FALSE(seeded.files.FileExists(seeded.target));
  EXPECT_EQ(seeded.Ensure(seeded.data), EnsureResult::Copied);
  EXPECT_EQ(seeded.Content(seeded.target), kSeedText);
  seeded.files.WriteFile(seeded.target, "[ShredOption]\r\nRepeats=4\r\n");
  EXPECT_EQ(seeded.Ensure(seeded.data), EnsureResult::Existing);
  EXPECT_EQ(seeded.Content(seeded.target), "[ShredOption]\r\nRepeats=4\r\n");
  // The data folder is the program folder on a removable drive.
  EXPECT_EQ(seeded.Ensure(seeded.program), EnsureResult::Existing);
  EXPECT_EQ(seeded.Content(seeded.seed), kSeedText);
  EXPECT_EQ(empty.Ensure(empty.data), EnsureResult::CreatedEmpty);
  EXPECT_EQ(empty.Content(empty.target), "");
  empty.files.WriteFile(empty.target, "[ShredOption]\r\n");
  EXPECT_EQ(empty.Ensure(empty.data), EnsureResult::Existing);
  EXPECT_EQ(empty.Content(empty.target), "[ShredOption]\r\n");
  EXPECT_EQ(empty.Ensure(empty.root / "Missing"), EnsureResult::CreateFailed);
}

TEST(EnsureSettingsFile, FailuresAreReportedAndLeaveNoFileBehind) {
  Folders folders(true);
  const std::string missing = folders.root / "Missing";
  EXPECT_EQ(folders.Error(missing), "Cannot create file " + missing + "\\Tidemark.ini");
  {
    test::FileLock lock(folders.seed, 0);
    ASSERT_TRUE(lock.held());
    EXPECT_EQ(folders.Error(folders.data), "Cannot open file " + folders.seed);
  }
  EXPECT_FALSE(folders.files.FileExists(folders.target));
  // A copy that stops half way leaves nothing behind.
  struct CopyStopsHalfWay : platform::Win32FileSystem {
    bool CopyFileTo(const std::string&, const std::string& to, bool) override { return WriteFile(to, "[Stnd") && false; }
  } failing;
  EXPECT_THROW(EnsureSettingsFile(failing, folders.program, folders.data, false), ESettingsFileError);
  EXPECT_FALSE(folders.files.FileExists(folders.target));
  EXPECT_EQ(folders.Ensure(folders.data), EnsureResult::Copied) << "the next start seeds it";
}

}  // namespace
}  // namespace tidemark::settings
