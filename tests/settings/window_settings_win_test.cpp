#include "settings/window_settings.h"

#include <gtest/gtest.h>

#include "settings_fixture_win.h"

namespace tidemark::settings {
namespace {

using test::SettingsFile;

const ScreenArea k1024x768{0, 0, 1024, 768};
const RestoreContext kNormalStart{false, false, 96, k1024x768};

TEST(WindowSettings, MainWindowRoundTrip) {
  SettingsFile file;
  ShowOptions show{"Y", "N", "X"};
  FontSettings fonts{{"Lucida Console", 11, kFontBold | kFontItalic}, {"Tahoma", 8, kFontUnderline}};
  ASSERT_TRUE(SaveMainWindow(file.ini, {WindowState::Normal, 120, 80, 450, 620}, show, fonts));
  EXPECT_EQ(file.ini.ReadString("Positions", "FFoxForm", ""), "0 120 80 450 620");

  ShowOptions restoredShow;
  FontSettings restoredFonts;
  auto placement = RestoreMainWindow(file.ini, platform::RealFileSystem(), kNormalStart, restoredShow, restoredFonts);
  EXPECT_EQ(placement, (WindowPlacement{PlacementKind::Normal, 120, 80, 620, 450}));
  EXPECT_EQ(restoredShow, show);
  EXPECT_FALSE(restoredShow.ShowQuickStart());
  EXPECT_EQ(restoredFonts.results, fonts.results);
  // The cookie manager's font is the cookie manager's to restore.
  EXPECT_EQ(restoredFonts.cookieLists, FontSettings().cookieLists);

  ASSERT_TRUE(SaveMainWindow(file.ini, {WindowState::Maximised, 120, 80, 450, 620}, show, fonts));
  EXPECT_EQ(file.ini.ReadString("Positions", "FFoxForm", ""), "2");
  placement = RestoreMainWindow(file.ini, platform::RealFileSystem(), kNormalStart, restoredShow, restoredFonts);
  EXPECT_EQ(placement->kind, PlacementKind::Maximised);
}

TEST(WindowSettings, CookieWindowRoundTrip) {
  SettingsFile file;
  CookieListLayout saved{{110, 120, 130, 140}, {210, 220, 230}, 300};
  ASSERT_TRUE(SaveCookieWindow(file.ini, {WindowState::Normal, 30, 40, 500, 700}, saved));
  FontSettings fonts{{"Arial", 9, 0}, {"Verdana", 12, kFontStrikeOut}};
  ASSERT_TRUE(SaveMainWindow(file.ini, {}, ShowOptions{}, fonts));

  CookieListLayout layout{{1, 2, 3, 4}, {5, 6, 7}, 8};
  FontSettings restoredFonts;
  auto placement = RestoreCookieWindow(file.ini, kNormalStart, {700, 500}, restoredFonts, layout);
  EXPECT_EQ(placement, (WindowPlacement{PlacementKind::Normal, 30, 40, 700, 500}));
  EXPECT_EQ(layout, saved);
  EXPECT_EQ(restoredFonts.cookieLists, fonts.cookieLists);
}

TEST(WindowSettings, PluginWindowsRoundTrip) {
  SettingsFile file;
  ASSERT_TRUE(SaveWindow(file.ini, kPluginSelectWindowKey, {WindowState::Minimised, 5, 6, 300, 400}));
  ASSERT_TRUE(SaveWindow(file.ini, kPluginTestWindowKey, {WindowState::Maximised, 0, 0, 0, 0}));
  EXPECT_EQ(RestoreWindow(file.ini, kPluginSelectWindowKey, kNormalStart),
            (WindowPlacement{PlacementKind::Normal, 5, 6, 400, 300}));
  EXPECT_EQ(RestoreWindow(file.ini, kPluginTestWindowKey, kNormalStart)->kind, PlacementKind::Maximised);
}

TEST(WindowSettings, StoredValuesOfTheEdgeCases) {
  SettingsFile file;
  file.SetText("[Positions]\r\nFFoxForm=0 5000 10 500 700\r\nCookieForm=2\r\nPlugSelForm=garbage\r\n");
  ShowOptions show;
  FontSettings fonts;
  EXPECT_EQ(RestoreMainWindow(file.ini, platform::RealFileSystem(), kNormalStart, show, fonts),
            (WindowPlacement{PlacementKind::Normal, 0, 0, 700, 500}));
  CookieListLayout layout;
  EXPECT_EQ(RestoreCookieWindow(file.ini, kNormalStart, {}, fonts, layout)->kind, PlacementKind::Maximised);
  EXPECT_EQ(RestoreWindow(file.ini, kPluginSelectWindowKey, kNormalStart)->kind, PlacementKind::Designed);
  RestoreContext large = kNormalStart;
  large.pixelsPerInch = 120;
  EXPECT_EQ(RestoreWindow(file.ini, kPluginTestWindowKey, large),
            (WindowPlacement{PlacementKind::Designed, 0, 0, 775, 563}));
}

TEST(WindowSettings, ResetRestoresDefaultSizesAndKeepsTheDesignedLists) {
  SettingsFile file;
  file.SetText(
      "[Positions]\r\nFFoxForm=0 120 80 450 620\r\nCookieForm=2\r\nLv1C0=99\r\nLV2Ht=77\r\n"
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

  CookieListLayout layout{{1, 2, 3, 4}, {5, 6, 7}, 8};
  const CookieListLayout designed = layout;
  EXPECT_EQ(RestoreCookieWindow(file.ini, reset, {700, 500}, fonts, layout),
            (WindowPlacement{PlacementKind::Designed, 0, 0, 700, 500}));
  EXPECT_EQ(layout, designed);
  EXPECT_EQ(fonts.cookieLists, FontSettings().cookieLists);
}

TEST(WindowSettings, AnyPosReadsNothingAndKeepsTheBuiltInDefaults) {
  SettingsFile file;
  file.SetText(
      "[Positions]\r\nFFoxForm=0 120 80 450 620\r\nCookieForm=0 1 2 300 400\r\nLv1C0=99\r\n"
      "[Fonts]\r\nMain0Name=Arial\r\nMain0Size=14\r\nProt1Name=Verdana\r\nProt1Size=12\r\n"
      "[ShowOption]\r\nCookieMsgOpt=Y\r\nQuickStartOpt=N\r\n");
  SetFileAttributesA(file.path.c_str(), FILE_ATTRIBUTE_READONLY);
  RestoreContext anyPos = kNormalStart;
  anyPos.anyPos = true;
  ShowOptions show;
  FontSettings fonts;
  EXPECT_FALSE(RestoreMainWindow(file.ini, platform::RealFileSystem(), anyPos, show, fonts));
  EXPECT_EQ(show, ShowOptions{});
  EXPECT_EQ(fonts, FontSettings{});
  CookieListLayout layout{{1, 2, 3, 4}, {5, 6, 7}, 8};
  const CookieListLayout designed = layout;
  EXPECT_FALSE(RestoreCookieWindow(file.ini, anyPos, {}, fonts, layout));
  EXPECT_EQ(layout, designed);
  EXPECT_EQ(fonts, FontSettings{});
  EXPECT_FALSE(RestoreWindow(file.ini, kPluginSelectWindowKey, anyPos));
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
  DWORD attributes = GetFileAttributesA(file.path.c_str());
  EXPECT_FALSE(attributes & FILE_ATTRIBUTE_READONLY);
  EXPECT_TRUE(attributes & FILE_ATTRIBUTE_HIDDEN);
  EXPECT_TRUE(SaveMainWindow(file.ini, {WindowState::Normal, 1, 2, 300, 400}, show, fonts));
  EXPECT_EQ(file.ini.ReadString("Positions", "FFoxForm", ""), "0 1 2 300 400");
}

TEST(WindowSettings, StoredFontsApplyOnlyWithANameAndASize) {
  struct Case {
    const char* stored;
    FontSetting expected;
  };
  const FontSetting current{"Fixedsys", 10, kFontBold};
  for (Case c : {Case{"Main0Name=\r\nMain0Size=12\r\n", current}, Case{"Main0Name=Arial\r\nMain0Size=0\r\n", current},
                 Case{"Main0Name=Arial\r\nMain0Size=abc\r\nMain0Style=x\r\n", {"Arial", 9, 0}},
                 Case{"Main0Name=Arial\r\nMain0Size=14\r\nMain0Style=6\r\n", {"Arial", 14, 6}},
                 Case{"Main0Size=14\r\n", {"Courier New", 14, 0}}}) {
    SCOPED_TRACE(c.stored);
    SettingsFile file;
    file.SetText(std::string("[Fonts]\r\n") + c.stored);
    ShowOptions show;
    FontSettings fonts;
    fonts.results = current;
    RestoreMainWindow(file.ini, platform::RealFileSystem(), kNormalStart, show, fonts);
    EXPECT_EQ(fonts.results, c.expected);
  }
}

TEST(WindowSettings, ListSizesApplyOnlyWhenStoredAsNumbers) {
  SettingsFile file;
  file.SetText("[Positions]\r\nLv1C0=\r\nLv1C1=abc\r\nLv1C2=-5\r\nLv1C3=77\r\nLv2C1= 88 \r\nLV2Ht=12x\r\n");
  CookieListLayout layout{{1, 2, 3, 4}, {5, 6, 7}, 8};
  FontSettings fonts;
  RestoreCookieWindow(file.ini, kNormalStart, {}, fonts, layout);
  EXPECT_EQ(layout, (CookieListLayout{{1, 2, 3, 77}, {5, 88, 7}, 8}));
}

TEST(WindowSettings, AFailedSaveIsReportedAndLosesNothing) {
  SettingsFile file;
  file.SetText("[Positions]\r\nFFoxForm=0 1 2 300 400\r\n");
  test::FileLock lock(file.path);
  ASSERT_TRUE(lock.held());
  EXPECT_FALSE(SaveMainWindow(file.ini, {WindowState::Maximised}, ShowOptions{}, FontSettings{}));
  EXPECT_FALSE(SaveCookieWindow(file.ini, {WindowState::Maximised}, CookieListLayout{}));
  EXPECT_EQ(file.Text(), "[Positions]\r\nFFoxForm=0 1 2 300 400\r\n");
}

}  // namespace
}  // namespace tidemark::settings
