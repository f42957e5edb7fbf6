#include "platform/ini_file.h"

#include <gtest/gtest.h>

#include "settings/ini_values.h"
#include "settings_fixture_win.h"

namespace tidemark::settings {
namespace {

using test::SettingsFile;

TEST(IniFile, MissingFileSectionOrKeyGivesTheFallbackAndCreatesNothing) {
  SettingsFile file;
  EXPECT_EQ(file.ini.ReadString("ShowOption", "CookieMsgOpt", "N"), "N");
  EXPECT_FALSE(platform::RealFileSystem().FileExists(file.path));

  file.SetText("[ShowOption]\r\nCookieMsgOpt=Y\r\nQuickStartOpt=\r\n");
  EXPECT_EQ(file.ini.ReadString("ShowOption", "CookieMsgOpt", "N"), "Y");
  EXPECT_EQ(file.ini.ReadString("ShowOption", "FFcookieMsgOpt", "N"), "N");
  EXPECT_EQ(file.ini.ReadString("Fonts", "CookieMsgOpt", "N"), "N");
  // Present but empty is not missing.
  EXPECT_EQ(file.ini.ReadString("ShowOption", "QuickStartOpt", "S"), "");
}

TEST(IniFile, WithoutAPathNothingIsReadOrWrittenAnywhere) {
  // No data folder: the system must not fall back to a file of its own.
  platform::PrivateProfileFile ini("");
  EXPECT_EQ(ini.ReadString("PnowOptions", "MainWinOpt", "0"), "0");
  EXPECT_FALSE(ini.WriteString("PnowOptions", "MainWinOpt", "3"));
  EXPECT_NE(ini.LastError(), 0u);
  EXPECT_EQ(ini.ReadString("PnowOptions", "MainWinOpt", "0"), "0");
}

TEST(IniFile, WritesCreateTheFileAndKeepOtherKeys) {
  SettingsFile file;
  ASSERT_TRUE(file.ini.WriteString("Fonts", "Main0Name", "Lucida Console"));
  ASSERT_TRUE(file.ini.WriteString("Fonts", "Main0Size", "11"));
  ASSERT_TRUE(file.ini.WriteString("Positions", "FFoxForm", "0 120 80 450 620"));
  ASSERT_TRUE(file.ini.WriteString("Fonts", "Main0Name", "Courier New"));
  EXPECT_EQ(file.ini.ReadString("Fonts", "Main0Name", ""), "Courier New");
  EXPECT_EQ(file.ini.ReadString("Fonts", "Main0Size", ""), "11");
  EXPECT_EQ(file.ini.ReadString("Positions", "FFoxForm", ""), "0 120 80 450 620");
  // Another writer's change is seen at once: nothing is cached.
  file.SetText("[Fonts]\r\nMain0Name=Arial\r\n");
  EXPECT_EQ(file.ini.ReadString("Fonts", "Main0Name", ""), "Arial");
}

TEST(IniFile, LongValuesRoundTrip) {
  SettingsFile file;
  std::string value(5000, 'x');
  value += "end";
  ASSERT_TRUE(file.ini.WriteString("Positions", "Long", value));
  EXPECT_EQ(file.ini.ReadString("Positions", "Long", ""), value);
}

TEST(IniFile, LineBreaksInValuesAreRefused) {
  SettingsFile file;
  ASSERT_TRUE(file.ini.WriteString("Fonts", "Main0Name", "Arial"));
  std::string before = file.Text();
  EXPECT_FALSE(file.ini.WriteString("Fonts", "Main0Name", "Arial\r\n[StndOptions]\r\nCacheOption=1"));
  EXPECT_NE(file.ini.LastError(), 0u);
  EXPECT_EQ(file.Text(), before);
  EXPECT_EQ(file.ini.ReadString("StndOptions", "CacheOption", "none"), "none");
}

TEST(IniFile, WriteToALockedOrUnreachableFileFailsAndKeepsTheFile) {
  SettingsFile file;
  file.SetText("[ShredOption]\r\nRepeats=3\r\n");
  {
    test::FileLock lock(file.path);
    ASSERT_TRUE(lock.held());
    EXPECT_FALSE(file.ini.WriteString("ShredOption", "Repeats", "5"));
    EXPECT_NE(file.ini.LastError(), 0u);
  }
  EXPECT_EQ(file.Text(), "[ShredOption]\r\nRepeats=3\r\n");

  platform::PrivateProfileFile unreachable(file.folder / "missing\\Tidemark.ini");
  EXPECT_FALSE(unreachable.WriteString("ShredOption", "Repeats", "5"));
  EXPECT_NE(unreachable.LastError(), 0u);
}

TEST(IniValues, BooleansAndIntegers) {
  SettingsFile file;
  file.SetText(
      "[S]\r\nOne=1\r\nZero=0\r\nTwo=2\r\nMinus=-1\r\nWord=abc\r\nTail=12abc\r\nEmpty=\r\nPadded=  42  \r\n");
  EXPECT_TRUE(ReadBool(file.ini, "S", "One", false));
  EXPECT_FALSE(ReadBool(file.ini, "S", "Zero", true));
  EXPECT_TRUE(ReadBool(file.ini, "S", "Two", false));
  EXPECT_TRUE(ReadBool(file.ini, "S", "Minus", false));
  EXPECT_TRUE(ReadBool(file.ini, "S", "Word", true));
  EXPECT_FALSE(ReadBool(file.ini, "S", "Word", false));
  EXPECT_TRUE(ReadBool(file.ini, "S", "Missing", true));

  EXPECT_EQ(ReadInteger(file.ini, "S", "Two", 7), 2);
  EXPECT_EQ(ReadInteger(file.ini, "S", "Minus", 7), -1);
  EXPECT_EQ(ReadInteger(file.ini, "S", "Word", 7), 7);
  EXPECT_EQ(ReadInteger(file.ini, "S", "Tail", 7), 7);
  EXPECT_EQ(ReadInteger(file.ini, "S", "Empty", 7), 7);
  EXPECT_EQ(ReadInteger(file.ini, "S", "Padded", 7), 42);
  EXPECT_EQ(ReadInteger(file.ini, "S", "Missing", 7), 7);

  EXPECT_EQ(ReadChoice(file.ini, "S", "Two", 3), 2);
  EXPECT_EQ(ReadChoice(file.ini, "S", "Two", 1), 0);
  EXPECT_EQ(ReadChoice(file.ini, "S", "Minus", 3), 0);

  SettingsFile written;
  ASSERT_TRUE(WriteBool(written.ini, "S", "On", true));
  ASSERT_TRUE(WriteBool(written.ini, "S", "Off", false));
  ASSERT_TRUE(WriteInteger(written.ini, "S", "Number", -12));
  EXPECT_EQ(written.ini.ReadString("S", "On", ""), "1");
  EXPECT_EQ(written.ini.ReadString("S", "Off", ""), "0");
  EXPECT_EQ(written.ini.ReadString("S", "Number", ""), "-12");
}

}  // namespace
}  // namespace tidemark::settings
