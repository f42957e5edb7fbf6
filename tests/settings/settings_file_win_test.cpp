// The settings file: seeding it at start, and reading and writing it through
// the system's private-profile functions.
#include "settings/settings_file.h"

#include <gtest/gtest.h>

#include "platform/files_win.h"
#include "settings_fixture_win.h"

namespace tidemark::settings {
namespace {

TEST(IniFile, MissingValuesFallBackLongOnesReadWholeAndUnsafeWritesAreRefused) {
  test::SettingsFile file;
  auto& ini = file.ini;
  EXPECT_EQ(ini.ReadString("ShowOption", "CookieMsgOpt", "N"), "N");
  EXPECT_FALSE(platform::RealFileSystem().FileExists(file.path)) << "a read creates nothing";
  file.SetText("[ShowOption]\r\nCookieMsgOpt=Y\r\nQuickStartOpt=\r\n");
  EXPECT_EQ(ini.ReadString("ShowOption", "CookieMsgOpt", "N") + ini.ReadString("ShowOption", "FFcookieMsgOpt", "N") +
                ini.ReadString("ShowOption", "QuickStartOpt", "S"),
            "YN");
  const std::string longValue = std::string(5000, 'x') + "end";
  ASSERT_TRUE(ini.WriteString("Positions", "Long", longValue));
  EXPECT_EQ(ini.ReadString("Positions", "Long", ""), longValue);
  EXPECT_FALSE(ini.WriteString("Fonts", "Main0Name", "Arial\r\n[StndOptions]\r\nCacheOption=1"));
  EXPECT_NE(ini.LastError(), 0u);
  EXPECT_EQ(ini.ReadString("Fonts", "Main0Name", "none") + ini.ReadString("StndOptions", "CacheOption", "0"), "none0");
  // No data folder: the system must not fall back to a file of its own.
  platform::PrivateProfileFile none("");
  EXPECT_FALSE(none.WriteString("PnowOptions", "MainWinOpt", "3"));
  EXPECT_NE(none.LastError(), 0u);
  EXPECT_EQ(none.ReadString("PnowOptions", "MainWinOpt", "0"), "0");
}

// The copy from the program folder stops half way; the program folder's file can be unreadable too.
struct CopyStopsHalfWay : platform::Win32FileSystem {
  bool CopyFileTo(const std::string&, const std::string& to, bool) override { return WriteFile(to, "[Stnd") && false; }
  std::optional<std::string> ReadFile(const std::string& path) override {
    return readable ? Win32FileSystem::ReadFile(path) : std::nullopt;
  }
  bool readable = true;
};

TEST(EnsureSettingsFile, SeedsOnlyAFolderWithoutTheFileAndAFailureLeavesNoFileBehind) {
  const char* const seedText = "[StndOptions]\r\nCacheOption=1\r\n";
  test::TempFolder root;
  platform::FileSystem& files = platform::RealFileSystem();
  const std::string program = root / "Program", data = root / "Data", target = data + "\\Tidemark.ini";
  const std::string seed = root.Write("Program\\Tidemark.ini", seedText);
  files.CreateFolders(data);
  auto ensure = [&](const std::string& folder, bool cdExec = false) {
    return EnsureSettingsFile(files, program, folder, cdExec);
  };
  auto error = [&](platform::FileSystem& system, const std::string& folder) -> std::string {
    try {
      EnsureSettingsFile(system, program, folder, false);
    } catch (const ESettingsFileError& e) {
      return e.what();
    }
    return "no error";
  };
  CopyStopsHalfWay failing;
  EXPECT_EQ(error(failing, data), "Cannot create file " + target);
  failing.readable = false;
  EXPECT_EQ(error(failing, data), "Cannot open file " + seed);
  EXPECT_EQ(error(files, root / "Missing"), "Cannot create file " + root / "Missing\\Tidemark.ini");
  EXPECT_FALSE(files.FileExists(target)) << "no half copy is left";
  EXPECT_EQ(ensure(data, true), EnsureResult::Skipped);
  EXPECT_EQ(ensure(""), EnsureResult::Skipped);
  EXPECT_FALSE(files.FileExists(target));
  EXPECT_EQ(ensure(data), EnsureResult::Copied);
  EXPECT_EQ(files.ReadFile(target), seedText);
  files.WriteFile(target, "[ShredOption]\r\n");
  EXPECT_EQ(ensure(data), EnsureResult::Existing);
  EXPECT_EQ(files.ReadFile(target), "[ShredOption]\r\n");
  // The data folder is the program folder on a removable drive.
  EXPECT_EQ(ensure(program), EnsureResult::Existing);
  EXPECT_EQ(files.ReadFile(seed), seedText);
  files.RemoveFile(seed);
  files.RemoveFile(target);
  EXPECT_EQ(ensure(data), EnsureResult::CreatedEmpty);
  EXPECT_EQ(files.ReadFile(target), "");
  EXPECT_EQ(ensure(data), EnsureResult::Existing);
  EXPECT_EQ(ensure(root / "Missing"), EnsureResult::CreateFailed);
}

}  // namespace
}  // namespace tidemark::settings
