#include "settings/window_settings.h"

#include <gtest/gtest.h>

#include "settings_fixture_win.h"

namespace tidemark::settings {
namespace {

using test::SettingsFile;
using enum PlacementKind;

const RestoreContext kNormalStart{false, false, 96, {0, 0, 1024, 768}};
const CookieListLayout kDesignedLists{{1, 2, 3, 4}, {5, 6, 7}, 8};

struct Restored {
  std::optional<WindowPlacement> main, cookies, plugins;
  ShowOptions show;
  FontSettings fonts;
  CookieListLayout layout = kDesignedLists;
  Restored(SettingsFile& file, const RestoreContext& context) {
    main = RestoreMainWindow(file.ini, platform::RealFileSystem(), context, show, fonts);
    cookies = RestoreCookieWindow(file.ini, context, {700, 500}, fonts, layout);
    plugins = RestoreWindow(file.ini, kPluginSelectWindowKey, context);
  }
};

TEST(WindowSettings, TheWindowsRoundTripAndEveryWriteCounts) {
  SettingsFile file;
  const ShowOptions show{"Y", "N", "X"};
  const FontSettings fonts{{"Lucida Console", 11, kFontBold | kFontItalic}, {"Tahoma", 8, kFontUnderline}};
  const CookieListLayout lists{{110, 120, 130, 140}, {210, 220, 230}, 300};
  ASSERT_TRUE(SaveMainWindow(file.ini, {WindowState::Normal, 120, 80, 450, 620}, show, fonts));
  ASSERT_TRUE(SaveCookieWindow(file.ini, {WindowState::Maximised, 30, 40, 500, 700}, lists));
  ASSERT_TRUE(SaveWindow(file.ini, kPluginSelectWindowKey, {WindowState::Normal, 1, 2, 3, 4}));
  EXPECT_EQ(file.ini.ReadString("Positions", "FFoxForm", ""), "0 120 80 450 620");
  Restored restored(file, kNormalStart);
  EXPECT_EQ(restored.main, (WindowPlacement{Normal, 120, 80, 620, 450}));
  EXPECT_EQ(restored.cookies, (WindowPlacement{Maximised, 0, 0, 700, 500}));
  EXPECT_EQ(restored.plugins, (WindowPlacement{Normal, 1, 2, 4, 3}));
  EXPECT_EQ(std::tuple(restored.show, restored.fonts, restored.layout), std::tuple(show, fonts, lists));
  for (const char* key : {"FFoxForm", "QuickStartOpt", "Main0Style", "Prot1Name", "Prot1Style"}) {
    test::RecordingFile failing(file.path, key);
    EXPECT_FALSE(SaveMainWindow(failing, {}, ShowOptions{}, FontSettings{})) << key;
  }
  for (const char* key : {"CookieForm", "Lv1C3", "Lv2C0", "LV2Ht"}) {
    test::RecordingFile failing(file.path, key);
    EXPECT_FALSE(SaveCookieWindow(failing, {}, CookieListLayout{})) << key;
  }
}

TEST(WindowSettings, StoredValuesApplyOnlyWhenUsableResetKeepsTheFontAndAnyPosReadsNothing) {
  SettingsFile file;
  file.SetText(
      "[Positions]\r\nFFoxForm=0 120 80 450 620\r\nCookieForm=2\r\nPlugSelForm=garbage\r\n"
      "Lv1C0=\r\nLv1C1=abc\r\nLv1C2=-5\r\nLv1C3=77\r\nLv2C1= 88 \r\nLV2Ht=12x\r\n"
      "[Fonts]\r\nMain0Name=Arial\r\nMain0Size=14\r\nMain0Style=x\r\nProt1Name=Verdana\r\nProt1Size=12\r\n"
      "[ShowOption]\r\nQuickStartOpt=N\r\n");
  RestoreContext large = kNormalStart;
  large.pixelsPerInch = 120;
  Restored restored(file, large);
  EXPECT_EQ(restored.main, (WindowPlacement{Normal, 120, 80, 620, 450}));
  EXPECT_EQ(restored.cookies, (WindowPlacement{Maximised, 0, 0, 875, 625}));
  EXPECT_EQ(restored.plugins, (WindowPlacement{Designed, 0, 0, 775, 563}));
  EXPECT_EQ(restored.show, (ShowOptions{"N", "N", "N"}));
  // List sizes need a number that is not negative; a font a name and a size.
  EXPECT_EQ(restored.layout, (CookieListLayout{{1, 2, 3, 77}, {5, 88, 7}, 8}));
  EXPECT_EQ(restored.fonts, (FontSettings{{"Arial", 14, 0}, {"Verdana", 12, 0}}));
  // Only the positions are reset for the main window; the cookie manager keeps its designed lists and font.
  Restored afterReset(file, {false, true, 96, {0, 0, 1024, 768}});
  EXPECT_EQ(afterReset.main, (WindowPlacement{Designed, 0, 0, 620, 450}));
  EXPECT_EQ(afterReset.cookies, (WindowPlacement{Designed, 0, 0, 700, 500}));
  EXPECT_EQ(afterReset.fonts, (FontSettings{{"Arial", 14, 0}, FontSettings().cookieLists}));
  EXPECT_EQ(std::tuple(afterReset.show.quickStartOpt, afterReset.layout), std::tuple(std::string("N"), kDesignedLists));

  ASSERT_TRUE(SetFileAttributesA(file.path.c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN));
  Restored untouched(file, {true, false, 96, {0, 0, 1024, 768}});
  EXPECT_FALSE(untouched.main || untouched.cookies || untouched.plugins);
  EXPECT_EQ(std::tuple(untouched.show, untouched.fonts, untouched.layout),
            std::tuple(ShowOptions{}, FontSettings{}, kDesignedLists));
  EXPECT_TRUE(GetFileAttributesA(file.path.c_str()) & FILE_ATTRIBUTE_READONLY) << "skipped entirely";
  // Restoring the main window makes the file writable again, hidden as it was.
  Restored{file, kNormalStart};
  EXPECT_EQ(GetFileAttributesA(file.path.c_str()) & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN),
            DWORD(FILE_ATTRIBUTE_HIDDEN));
  EXPECT_TRUE(SaveWindow(file.ini, kMainWindowKey, {WindowState::Maximised, 1, 2, 3, 4}));
  EXPECT_EQ(file.ini.ReadString("Positions", "FFoxForm", ""), "2");
  const FontSetting current{"Fixedsys", 10, kFontBold};
  for (const char* stored : {"Main0Name=\r\nMain0Size=12\r\n", "Main0Name=Arial\r\nMain0Size=0\r\n"}) {
    file.SetText(std::string("[Fonts]\r\n") + stored);
    ShowOptions show;
    FontSettings fonts{current, current};
    RestoreMainWindow(file.ini, platform::RealFileSystem(), kNormalStart, show, fonts);
    EXPECT_EQ(fonts.results, current) << stored;
  }
}

}  // namespace
}  // namespace tidemark::settings
