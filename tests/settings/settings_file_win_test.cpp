#include "settings/settings_file.h"

#include <gtest/gtest.h>

#include "settings_fixture_win.h"

namespace tidemark::settings {
namespace {

using test::TempFolder;

struct Folders {
  TempFolder root;
  std::string program = root / "Program";
  std::string data = root / "Data";
  std::string seed = SettingsFilePath(program);
  std::string target = SettingsFilePath(data);
  platform::FileSystem& files = platform::RealFileSystem();
  Folders() {
    files.CreateFolders(program);
    files.CreateFolders(data);
  }
  std::string Content(const std::string& path) { return files.ReadFile(path).value_or("<none>"); }
};

const char* const kSeedText = "[StndOptions]\r\nCacheOption=1\r\n";

TEST(EnsureSettingsFile, FileNameInTheDataFolder) {
  EXPECT_EQ(SettingsFilePath("C:\\Users\\a\\AppData\\Roaming\\Tidemark"),
            "C:\\Users\\a\\AppData\\Roaming\\Tidemark\\Tidemark.ini");
}

TEST(EnsureSettingsFile, CopiesTheProgramFoldersFileWhenOnlyThatExists) {
  Folders folders;
  ASSERT_TRUE(folders.files.WriteFile(folders.seed, kSeedText));
  EXPECT_EQ(EnsureSettingsFile(folders.files, folders.program, folders.data, false), EnsureResult::Copied);
  EXPECT_EQ(folders.Content(folders.target), kSeedText);
  EXPECT_EQ(folders.Content(folders.seed), kSeedText);
}

TEST(EnsureSettingsFile, NeverReplacesAnExistingFile) {
  Folders folders;
  ASSERT_TRUE(folders.files.WriteFile(folders.seed, kSeedText));
  ASSERT_TRUE(folders.files.WriteFile(folders.target, "[ShredOption]\r\nRepeats=4\r\n"));
  EXPECT_EQ(EnsureSettingsFile(folders.files, folders.program, folders.data, false), EnsureResult::Existing);
  EXPECT_EQ(folders.Content(folders.target), "[ShredOption]\r\nRepeats=4\r\n");

  // Also when the data folder is the program folder (a removable drive).
  EXPECT_EQ(EnsureSettingsFile(folders.files, folders.program, folders.program, false), EnsureResult::Existing);
  EXPECT_EQ(folders.Content(folders.seed), kSeedText);
}

TEST(EnsureSettingsFile, CreatesAnEmptyFileWhenThereIsNoneToCopy) {
  Folders folders;
  EXPECT_EQ(EnsureSettingsFile(folders.files, folders.program, folders.data, false), EnsureResult::CreatedEmpty);
  EXPECT_EQ(folders.Content(folders.target), "");
  EXPECT_FALSE(folders.files.FileExists(folders.seed));
}

TEST(EnsureSettingsFile, NothingIsCreatedOrCopiedUnderCdExec) {
  Folders folders;
  EXPECT_EQ(EnsureSettingsFile(folders.files, folders.program, folders.data, true), EnsureResult::Skipped);
  EXPECT_FALSE(folders.files.FileExists(folders.target));
  ASSERT_TRUE(folders.files.WriteFile(folders.seed, kSeedText));
  EXPECT_EQ(EnsureSettingsFile(folders.files, folders.program, folders.data, true), EnsureResult::Skipped);
  EXPECT_FALSE(folders.files.FileExists(folders.target));
}

TEST(EnsureSettingsFile, AnUnreachableDataFolderIsReported) {
  Folders folders;
  const std::string missing = folders.root / "Missing";
  EXPECT_EQ(EnsureSettingsFile(folders.files, folders.program, missing, false), EnsureResult::CreateFailed);

  ASSERT_TRUE(folders.files.WriteFile(folders.seed, kSeedText));
  try {
    EnsureSettingsFile(folders.files, folders.program, missing, false);
    ADD_FAILURE() << "no error";
  } catch (const ESettingsFileError& error) {
    EXPECT_EQ(std::string(error.what()), "Cannot create file " + SettingsFilePath(missing));
  }
  EXPECT_FALSE(folders.files.FileExists(SettingsFilePath(missing)));
  EXPECT_EQ(folders.Content(folders.seed), kSeedText);
}

TEST(EnsureSettingsFile, AnUnreadableProgramFolderFileIsReported) {
  Folders folders;
  ASSERT_TRUE(folders.files.WriteFile(folders.seed, kSeedText));
  {
    test::FileLock lock(folders.seed, 0);
    ASSERT_TRUE(lock.held());
    try {
      EnsureSettingsFile(folders.files, folders.program, folders.data, false);
      ADD_FAILURE() << "no error";
    } catch (const ESettingsFileError& error) {
      EXPECT_EQ(std::string(error.what()), "Cannot open file " + folders.seed);
    }
  }
  EXPECT_FALSE(folders.files.FileExists(folders.target));
  // The next start seeds it.
  EXPECT_EQ(EnsureSettingsFile(folders.files, folders.program, folders.data, false), EnsureResult::Copied);
  EXPECT_EQ(folders.Content(folders.target), kSeedText);
}

}  // namespace
}  // namespace tidemark::settings
