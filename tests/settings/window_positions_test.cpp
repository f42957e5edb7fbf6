#include "settings/window_positions.h"

#include <gtest/gtest.h>

#include "settings/configuration.h"

namespace tidemark::settings {
namespace {

const ScreenArea k1024x768{0, 0, 1024, 768};

WindowPlacement Restore(std::string_view stored, int ppi = 96, bool reset = false, ScreenArea screen = k1024x768) {
  return RestorePlacement(stored, reset, ppi, screen);
}

TEST(WindowPositions, ParsesAndFormatsTheStoredValue) {
  EXPECT_EQ(ParsePosition("0 120 80 450 620"), (StoredPosition{WindowState::Normal, 120, 80, 450, 620}));
  EXPECT_EQ(ParsePosition("  1  -4 7 300 400 "), (StoredPosition{WindowState::Minimised, -4, 7, 300, 400}));
  EXPECT_EQ(ParsePosition("2"), (StoredPosition{WindowState::Maximised, 0, 0, 0, 0}));

  EXPECT_EQ(FormatPosition({WindowState::Normal, 120, 80, 450, 620}), "0 120 80 450 620");
  EXPECT_EQ(FormatPosition({WindowState::Minimised, 1, 2, 3, 4}), "1 1 2 3 4");
  EXPECT_EQ(FormatPosition({WindowState::Maximised, 120, 80, 450, 620}), "2");

  StoredPosition saved{WindowState::Normal, -30, 1900, 512, 777};
  EXPECT_EQ(ParsePosition(FormatPosition(saved)), saved);
}

TEST(WindowPositions, UnreadableValuesAreIgnored) {
  for (const char* stored : {"Default", "", "abc", "0", "0 1 2 3", "0 1 2 3 4 5", "3 1 2 3 4", "01 1 2 3 4",
                             "0 a 2 3 4", "0 1 2 0 5", "0 1 2 5 -5", "0 1 2 3 99999999999"}) {
    SCOPED_TRACE(stored);
    EXPECT_FALSE(ParsePosition(stored));
    EXPECT_EQ(Restore(stored), (WindowPlacement{PlacementKind::Designed, 0, 0, 620, 450}));
  }
}

TEST(WindowPositions, DefaultIsTheDesignedSizeScaledFrom120PixelsPerInch) {
  EXPECT_EQ(Restore("Default", 96), (WindowPlacement{PlacementKind::Designed, 0, 0, 620, 450}));
  EXPECT_EQ(Restore("Default", 119), (WindowPlacement{PlacementKind::Designed, 0, 0, 620, 450}));
  // 450 x 120 / 96 = 562.5 rounds to 563.
  EXPECT_EQ(Restore("Default", 120), (WindowPlacement{PlacementKind::Designed, 0, 0, 775, 563}));
  EXPECT_EQ(Restore("Default", 144), (WindowPlacement{PlacementKind::Designed, 0, 0, 930, 675}));

  DesignedSize cookieWindow{700, 500};
  EXPECT_EQ(RestorePlacement("Default", false, 96, k1024x768, cookieWindow),
            (WindowPlacement{PlacementKind::Designed, 0, 0, 700, 500}));
}

TEST(WindowPositions, StoredStates) {
  EXPECT_EQ(Restore("0 120 80 450 620"), (WindowPlacement{PlacementKind::Normal, 120, 80, 620, 450}));
  // Minimised comes back normal.
  EXPECT_EQ(Restore("1 10 20 300 400"), (WindowPlacement{PlacementKind::Normal, 10, 20, 400, 300}));
  // Maximised: designed position, and the designed size to restore to.
  EXPECT_EQ(Restore("2"), (WindowPlacement{PlacementKind::Maximised, 0, 0, 620, 450}));
  EXPECT_EQ(Restore("2", 120), (WindowPlacement{PlacementKind::Maximised, 0, 0, 775, 563}));
  EXPECT_EQ(Restore("2 10 20 300 400").kind, PlacementKind::Maximised);
}

TEST(WindowPositions, ResetIgnoresTheStoredValue) {
  EXPECT_EQ(Restore("0 120 80 450 620", 96, true), (WindowPlacement{PlacementKind::Designed, 0, 0, 620, 450}));
  EXPECT_EQ(Restore("2", 144, true), (WindowPlacement{PlacementKind::Designed, 0, 0, 930, 675}));
}

TEST(WindowPositions, PositionsBeyond80PercentOfTheVirtualScreenMoveToTheCorner) {
  EXPECT_EQ(Restore("0 5000 10 500 700"), (WindowPlacement{PlacementKind::Normal, 0, 0, 700, 500}));
  EXPECT_EQ(Restore("0 10 5000 500 700"), (WindowPlacement{PlacementKind::Normal, 0, 0, 700, 500}));
  // 80 % of 768 is 614.4 and of 1024 is 819.2.
  EXPECT_EQ(Restore("0 614 819 500 700"), (WindowPlacement{PlacementKind::Normal, 614, 819, 700, 500}));
  EXPECT_EQ(Restore("0 615 10 500 700"), (WindowPlacement{PlacementKind::Normal, 0, 0, 700, 500}));
  EXPECT_EQ(Restore("0 10 820 500 700"), (WindowPlacement{PlacementKind::Normal, 0, 0, 700, 500}));
  // A second monitor to the right widens the virtual screen.
  EXPECT_EQ(Restore("0 10 1500 500 700", 96, false, {0, 0, 2048, 768}),
            (WindowPlacement{PlacementKind::Normal, 10, 1500, 700, 500}));
}

TEST(WindowPositions, PositionsAboveOrLeftOfTheVirtualScreenMoveToTheCorner) {
  // The caption would be out of reach.
  EXPECT_EQ(Restore("0 -40 100 500 700"), (WindowPlacement{PlacementKind::Normal, 0, 0, 700, 500}));
  EXPECT_EQ(Restore("0 40 -900 500 700"), (WindowPlacement{PlacementKind::Normal, 0, 0, 700, 500}));
  // A monitor left of the primary one makes negative positions visible.
  EXPECT_EQ(Restore("0 40 -900 500 700", 96, false, {-1280, 0, 2304, 768}),
            (WindowPlacement{PlacementKind::Normal, 40, -900, 700, 500}));
}

TEST(ConfigurationRules, RepeatsAndShredKinds) {
  EXPECT_EQ(ClampRepeats(0), 1);
  EXPECT_EQ(ClampRepeats(-7), 1);
  EXPECT_EQ(ClampRepeats(1), 1);
  EXPECT_EQ(ClampRepeats(99), 99);
  EXPECT_EQ(ClampRepeats(150), 99);
  EXPECT_EQ(ClampRepeats(99999999999LL), 99);

  EXPECT_EQ(ShredButtonOf(kQuickShred), 0);
  EXPECT_EQ(ShredButtonOf(kThoroughShred), 1);
  EXPECT_EQ(ShredButtonOf(kBothShreds), 2);
  EXPECT_FALSE(ShredButtonOf('3'));
  EXPECT_FALSE(ShredButtonOf('x'));
}

TEST(ConfigurationRules, AgeHoursText) {
  struct Case {
    const char* text;
    const char* shown;
    int hours;
  };
  for (Case c : {Case{"8", "8", 8}, Case{" 24 ", "24", 24}, Case{"0", "0", 0}, Case{"abc", "0", 0},
                 Case{"-3", "0", 0}, Case{"12h", "0", 0}, Case{"", "0", 0}, Case{"99999999999", "0", 0}}) {
    SCOPED_TRACE(c.text);
    TempFolderSettings temp;
    temp.windowsTemp = true;
    temp.ageFilterOn = false;
    NormalizeAgeHours(temp, c.text);
    EXPECT_EQ(temp.ageHoursText, c.shown);
    EXPECT_EQ(temp.ageHours, c.hours);
    // Nothing else changes.
    EXPECT_TRUE(temp.windowsTemp);
    EXPECT_FALSE(temp.ageFilterOn);
  }
}

}  // namespace
}  // namespace tidemark::settings
