#include "platform/ini_file.h"

#include <gtest/gtest.h>

#include "settings_fixture_win.h"

namespace tidemark::settings {
namespace {

TEST(IniFile, ReadsGiveTheFallbackOnlyForWhatIsMissingAndCreateNothing) {
  test::SettingsFile file;
  EXPECT_EQ(file.ini.ReadString("ShowOption", "CookieMsgOpt", "N"), "N");
  EXPECT_FALSE(platform::RealFileSystem().FileExists(file.path));
  file.SetText("[ShowOption]\r\nCookieMsgOpt=Y\r\nQuickStartOpt=\r\n");
  EXPECT_EQ(file.ini.ReadString("ShowOption", "CookieMsgOpt", "N"), "Y");
  EXPECT_EQ(file.ini.ReadString("ShowOption", "FFcookieMsgOpt", "N"), "N");
  EXPECT_EQ(file.ini.ReadString("Fonts", "CookieMsgOpt", "N"), "N");
  EXPECT_EQ(file.ini.ReadString("ShowOption", "QuickStartOpt", "S"), "");
}

TEST(IniFile, WritesCreateTheFileKeepOtherKeysAndAreRefusedWhole) {
  test::SettingsFile file;
  const std::string longValue = std::string(5000, 'x') + "end";
  ASSERT_TRUE(file.ini.WriteString("Positions", "Long", longValue));
  ASSERT_TRUE(file.ini.WriteString("Fonts", "Main0Name", "Courier New"));
  EXPECT_EQ(file.ini.ReadString("Positions", "Long", ""), longValue);
  // Another writer's change is seen at once: nothing is cached.
  file.SetText("[Fonts]\r\nMain0Name=Arial\r\n");
  EXPECT_EQ(file.ini.ReadString("Fonts", "Main0Name", ""), "Arial");
  EXPECT_FALSE(file.ini.WriteString("Fonts", "Main0Name", "Arial\r\n[StndOptions]\r\nCacheOption=1"));
  EXPECT_NE(file.ini.LastError(), 0u);
  {
    test::FileLock lock(file.path);
    ASSERT_TRUE(lock.held());
    EXPECT_FALSE(file.ini.WriteString("Fonts", "Main0Name", "Tahoma"));
  }
  EXPECT_EQ(file.Text(), "[Fonts]\r\nMain0Name=Arial\r\n");
  // No data folder: the system must not fall back to a file of its own.
  for (std::string path : {std::string(), file.folder / "missing\\Tidemark.ini"}) {
    platform::PrivateProfileFile ini(path);
    EXPECT_FALSE(ini.WriteString("PnowOptions", "MainWinOpt", "3")) << path;
    EXPECT_NE(ini.LastError(), 0u);
    EXPECT_EQ(ini.ReadString("PnowOptions", "MainWinOpt", "0"), "0");
  }
}

}  // namespace
}  // namespace tidemark::settings
