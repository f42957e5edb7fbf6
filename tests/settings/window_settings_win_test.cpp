#include "settings/window_settings.h"

#include <gtest/gtest.h>

#include "settings_fixture_win.h"

namespace tidemark::settings {
namespace {

using test::SettingsFile;

const RestoreContext kNormalStart{false, false, 96, {0, 0, 1024, 768}};
const CookieListLayout kDesignedLists{{1, 2, 3, 4}, {5, 6, 7}, 8};

TEST(WindowSettings, TheMainAndCookieWindowsRoundTrip) {
  SettingsFile file;
  const ShowOptions show{"Y", "N", "X"};
  const FontSettings fonts{{"Lucida Console", 11, kFontBold | kFontItalic}, {"Tahoma", 8, kFontUnderline}};
  const CookieListLayout lists{{110, 120, 130, 140}, {210, 220, 230}, 300};
  ASSERT_TRUE(SaveMainWindow(file.ini, {WindowState::Normal, 120, 80, 450, 620}, show, fonts));
  ASSERT_TRUE(SaveCookieWindow(file.ini, {WindowState::Normal, 30, 40, 500, 700}, lists));
  EXPECT_EQ(file.ini.ReadString("Positions", "FFoxForm", ""), "0 120 80 450 620");

  ShowOptions restoredShow;
  FontSettings restoredFonts;
  EXPECT_EQ(RestoreMainWindow(file.ini, platform::RealFileSystem(), kNormalStart, restoredShow, restoredFonts),
            (WindowPlacement{PlacementKind::Normal, 120, 80, 620, 450}));
  EXPECT_EQ(restoredShow, show);
  // The cookie manager's font is the cookie manager's to restore.
  EXPECT_EQ(restoredFonts, (FontSettings{fonts.results, FontSettings().cookieLists}));
  CookieListLayout layout = kDesignedLists;
  EXPECT_EQ(RestoreCookieWindow(file.ini, kNormalStart, {700, 500}, restoredFonts, layout),
            (WindowPlacement{PlacementKind::Normal, 30, 40, 700, 500}));
  EXPECT_EQ(layout, lists);
  EXPECT_EQ(restoredFonts, fonts);
}

TEST(WindowSettings, EachWindowReadsItsOwnPositionKey) {
  SettingsFile file;
  file.SetText(
      "[Positions]\r\nFFoxForm=0 5000 10 500 700\r\nCookieForm=2\r\nPlugSelForm=1 5 6 300 400\r\n"
      "PlugTstForm=garbage\r\n");
  RestoreContext large = kNormalStart;
  large.pixelsPerInch = 120;
  ShowOptions show;
  FontSettings fonts;
  CookieListLayout layout;
  EXPECT_EQ(RestoreMainWindow(file.ini, platform::RealFileSystem(), large, show, fonts),
            (WindowPlacement{PlacementKind::Normal, 0, 0, 700, 500}));
  EXPECT_EQ(RestoreCookieWindow(file.ini, large, {700, 500}, fonts, layout),
            (WindowPlacement{PlacementKind::Maximised, 0, 0, 875, 625}));
  EXPECT_EQ(RestoreWindow(file.ini, kPluginSelectWindowKey, large),
            (WindowPlacement{PlacementKind::Normal, 5, 6, 400, 300}));
  EXPECT_EQ(RestoreWindow(file.ini, kPluginTestWindowKey, large),
            (WindowPlacement{PlacementKind::Designed, 0, 0, 775, 563}));
  ASSERT_TRUE(SaveWindow(file.ini, kPluginTestWindowKey, {WindowState::Maximised, 1, 2, 3, 4}));
  EXPECT_EQ(file.ini.ReadString("Positions", "PlugTstForm", ""), "2");
}

TEST(WindowSettings, StoredValuesApplyOnlyWhenTheyCanBeUsed) {
  // A font needs a name and a size; what is missing comes from the built-in font.
  const FontSetting current{"Fixedsys", 10, kFontBold};
  const std::pair<const char*, FontSetting> fontCases[] = {
      {"", {"Courier New", 9, 0}},
      {"Main0Name=\r\nMain0Size=12\r\n", current},
      {"Main0Name=Arial\r\nMain0Size=0\r\n", current},
      {"Main0Name=Arial\r\nMain0Size=abc\r\nMain0Style=x\r\n", {"Arial", 9, 0}},
      {"Main0Name=Arial\r\nMain0Size=14\r\nMain0Style=6\r\n", {"Arial", 14, 6}}};
  for (auto [stored, expected] : fontCases) {
    SettingsFile file;
    file.SetText(std::string("[Fonts]\r\n") + stored);
    ShowOptions show{"x", "x", "x"};
    FontSettings fonts{current, current};
    RestoreMainWindow(file.ini, platform::RealFileSystem(), kNormalStart, show, fonts);
    EXPECT_EQ(fonts.results, expected) << stored;
    EXPECT_EQ(show, (ShowOptions{"N", "N", "S"}));
  }
  // List sizes need a number that is not negative.
  SettingsFile file;
  file.SetText("[Positions]\r\nLv1C0=\r\nLv1C1=abc\r\nLv1C2=-5\r\nLv1C3=77\r\nLv2C1= 88 \r\nLV2Ht=12x\r\n");
  CookieListLayout layout = kDesignedLists;
  FontSettings fonts{{}, {"Arial", 20, kFontItalic}};
  RestoreCookieWindow(file.ini, kNormalStart, {}, fonts, layout);
  EXPECT_EQ(layout, (CookieListLayout{{1, 2, 3, 77}, {5, 88, 7}, 8}));
  EXPECT_EQ(fonts.cookieLists, (FontSetting{"MS Sans Serif", 10, 0}));
}

TEST(WindowSettings, ResetRestoresDefaultSizesAndKeepsTheDesignedLists) {
  SettingsFile file;
  file.SetText(
      "[Positions]\r\nFFoxForm=0 120 80 450 620\r\nCookieForm=2\r\nLv1C0=99\r\n"
      "[Fonts]\r\nMain0Name=Arial\r\nMain0Size=14\r\nProt1Name=Verdana\r\nProt1Size=12\r\n"
      "[ShowOption]\r\nQuickStartOpt=N\r\n");
  RestoreContext reset = kNormalStart;
  reset.reset = true;
  ShowOptions show;
  FontSettings fonts;
  EXPECT_EQ(RestoreMainWindow(file.ini, platform::RealFileSystem(), reset, show, fonts),
            (WindowPlacement{PlacementKind::Designed, 0, 0, 620, 450}));
  // Only the positions are reset for the main window.
  EXPECT_EQ(fonts.results, (FontSetting{"Arial", 14, 0}));
  EXPECT_EQ(show.quickStartOpt, "N");
  CookieListLayout layout = kDesignedLists;
  EXPECT_EQ(RestoreCookieWindow(file.ini, reset, {700, 500}, fonts, layout),
            (WindowPlacement{PlacementKind::Designed, 0, 0, 700, 500}));
  EXPECT_EQ(layout, kDesignedLists);
  EXPECT_EQ(fonts.cookieLists, FontSettings().cookieLists);
}

TEST(WindowSettings, AnyPosReadsNothingAndKeepsTheBuiltInDefaults) {
  SettingsFile file;
  file.SetText(
      "[Positions]\r\nFFoxForm=0 120 80 450 620\r\nCookieForm=0 1 2 300 400\r\nPlugSelForm=2\r\nLv1C0=99\r\n"
      "[Fonts]\r\nMain0Name=Arial\r\nMain0Size=14\r\nProt1Name=Verdana\r\nProt1Size=12\r\n"
      "[ShowOption]\r\nQuickStartOpt=N\r\n");
  ASSERT_TRUE(SetFileAttributesA(file.path.c_str(), FILE_ATTRIBUTE_READONLY));
  RestoreContext anyPos = kNormalStart;
  anyPos.anyPos = true;
  ShowOptions show;
  FontSettings fonts;
  CookieListLayout layout = kDesignedLists;
  EXPECT_FALSE(RestoreMainWindow(file.ini, platform::RealFileSystem(), anyPos, show, fonts));
  EXPECT_FALSE(RestoreCookieWindow(file.ini, anyPos, {}, fonts, layout));
  EXPECT_FALSE(RestoreWindow(file.ini, kPluginSelectWindowKey, anyPos));
  EXPECT_EQ(show, ShowOptions{});
  EXPECT_EQ(fonts, FontSettings{});
  EXPECT_EQ(layout, kDesignedLists);
  // Skipped entirely: the read-only attribute stays too.
  EXPECT_TRUE(GetFileAttributesA(file.path.c_str()) & FILE_ATTRIBUTE_READONLY);
  SetFileAttributesA(file.path.c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST(WindowSettings, RestoringTheMainWindowMakesTheFileWritableAgain) {
  SettingsFile file;
  file.SetText("[Positions]\r\nFFoxForm=2\r\n");
  ASSERT_TRUE(SetFileAttributesA(file.path.c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN));
  ShowOptions show;
  FontSettings fonts;
  EXPECT_EQ(RestoreMainWindow(file.ini, platform::RealFileSystem(), kNormalStart, show, fonts)->kind,
            PlacementKind::Maximised);
  EXPECT_EQ(GetFileAttributesA(file.path.c_str()) & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN),
            DWORD(FILE_ATTRIBUTE_HIDDEN));
  EXPECT_TRUE(SaveMainWindow(file.ini, {WindowState::Normal, 1, 2, 300, 400}, show, fonts));
}

TEST(WindowSettings, AnyOneFailedWriteFailsTheSave) {
  SettingsFile file;
  for (const char* key : {"FFoxForm", "QuickStartOpt", "Main0Style", "Prot1Name", "Prot1Style"}) {
    test::FailingKeyFile ini(file.path, key);
    EXPECT_FALSE(SaveMainWindow(ini, {}, ShowOptions{}, FontSettings{})) << key;
  }
  for (const char* key : {"CookieForm", "Lv1C3", "Lv2C0", "LV2Ht"}) {
    test::FailingKeyFile ini(file.path, key);
    EXPECT_FALSE(SaveCookieWindow(ini, {}, CookieListLayout{})) << key;
  }
}

}  // namespace
}  // namespace tidemark::settings
