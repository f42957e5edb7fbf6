#include "settings/window_positions.h"

#include <gtest/gtest.h>

namespace tidemark::settings {
namespace {

const ScreenArea k1024x768{0, 0, 1024, 768};

TEST(WindowPositions, TheStoredValueAndThePlacementOfEachOne) {
  EXPECT_EQ(ParsePosition("  1  -4 7 300 400 "), (StoredPosition{WindowState::Minimised, -4, 7, 300, 400}));
  StoredPosition saved{WindowState::Normal, -30, 1900, 512, 777};
  EXPECT_EQ(ParsePosition(FormatPosition(saved)), saved);
  for (const char* stored : {"Default", "", "abc", "0", "0 1 2 3", "0 1 2 3 4 5", "3 1 2 3 4", "01 1 2 3 4",
                             "0 a 2 3 4", "0 1 2 0 5", "0 1 2 5 -5", "0 1 2 3 99999999999"})
    EXPECT_FALSE(ParsePosition(stored)) << stored;
  struct Case {
    const char* stored;
    int ppi;
    bool reset;
    ScreenArea screen;
    WindowPlacement expected;
  };
  using enum PlacementKind;
  const Case cases[] = {
      // The designed size grows from 120 pixels per inch on, rounded to nearest (562.5 -> 563).
      {"Default", 119, false, k1024x768, {Designed, 0, 0, 620, 450}},
      {"garbage", 96, false, k1024x768, {Designed, 0, 0, 620, 450}},
      // Minimised comes back normal; maximised keeps the designed size to restore to.
      {"1 10 20 300 400", 96, false, k1024x768, {Normal, 10, 20, 400, 300}},
      {"2 10 20 300 400", 120, false, k1024x768, {Maximised, 0, 0, 775, 563}},
      {"2", 144, true, k1024x768, {Designed, 0, 0, 930, 675}},
      // Beyond 80 % of the virtual screen (614.4 x 819.2), above or left of it, the caption could be out of reach.
      {"0 614 819 500 700", 96, false, k1024x768, {Normal, 614, 819, 700, 500}},
      {"0 615 10 500 700", 96, false, k1024x768, {Normal, 0, 0, 700, 500}},
      {"0 10 820 500 700", 96, false, k1024x768, {Normal, 0, 0, 700, 500}},
      {"0 800 800 500 700", 96, false, {0, 0, 1000, 1000}, {Normal, 800, 800, 700, 500}},
      {"0 -40 100 500 700", 96, false, k1024x768, {Normal, 0, 0, 700, 500}},
      {"0 40 -900 500 700", 96, false, k1024x768, {Normal, 0, 0, 700, 500}},
      {"0 40 -900 500 700", 96, false, {-1280, 0, 2304, 768}, {Normal, 40, -900, 700, 500}},
  };
  for (const Case& c : cases)
    EXPECT_EQ(RestorePlacement(c.stored, c.reset, c.ppi, c.screen), c.expected) << c.stored << " at " << c.ppi;
  EXPECT_EQ(RestorePlacement("Default", false, 96, k1024x768, {700, 500}), (WindowPlacement{Designed, 0, 0, 700, 500}));
}

}  // namespace
}  // namespace tidemark::settings
