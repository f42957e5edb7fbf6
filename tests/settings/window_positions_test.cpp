#include "settings/window_positions.h"

#include <gtest/gtest.h>

namespace tidemark::settings {
namespace {

const ScreenArea k1024x768{0, 0, 1024, 768};

TEST(WindowPositions, TheStoredValueAndThePlacementOfEachOne) {
  EXPECT_EQ(ParsePosition("  1  -4 7 300 400 "), (StoredPosition{WindowState::Minimised, -4, 7, 300, 400}));
  StoredPosition saved{WindowState::Normal, -30, 1900, 512, 777};
  EXPECT_EQ(ParsePosition(FormatPosition(saved)), saved);
  EXPECT_EQ(FormatPosition({WindowState::Maximised, 1, 2, 3, 4}), "2");
  for (const char* stored : {"Default", "", "abc", "0", "0 1 2 3", "0 1 2 3 4 5", "3 1 2 3 4", "01 1 2 3 4",
                             "0 a 2 3 4", "0 1 2 0 5", "0 1 2 5 -5", "0 1 2 3 99999999999"})
    EXPECT_FALSE(ParsePosition(stored)) << stored;
  using enum PlacementKind;
  const std::tuple<const char*, int, bool, ScreenArea, WindowPlacement> cases[] = {
      // The designed size grows from 120 pixels per inch on, rounded to nearest (769.5 -> 770).
      {"Default", 119, false, k1024x768, {Designed, 0, 0, 620, 513}},
      // Minimised comes back normal; maximised keeps the designed size to restore to.
      {"1 10 20 300 400", 96, false, k1024x768, {Normal, 10, 20, 400, 300}},
      {"2 10 20 300 400", 120, false, k1024x768, {Maximised, 0, 0, 775, 641}},
      {"2", 144, true, k1024x768, {Designed, 0, 0, 930, 770}},
      // Beyond 80 % of the virtual screen (614.4 x 819.2), above or left of it, the caption could be out of reach.
      {"0 614 819 500 700", 96, false, k1024x768, {Normal, 614, 819, 700, 500}},
      {"0 615 10 500 700", 96, false, k1024x768, {Normal, 0, 0, 700, 500}},
      {"0 10 820 500 700", 96, false, k1024x768, {Normal, 0, 0, 700, 500}},
      {"0 800 800 500 700", 96, false, {0, 0, 1000, 1000}, {Normal, 800, 800, 700, 500}},
      {"0 -40 100 500 700", 96, false, k1024x768, {Normal, 0, 0, 700, 500}},
      {"0 40 -900 500 700", 96, false, k1024x768, {Normal, 0, 0, 700, 500}},
      {"0 40 -900 500 700", 96, false, {-1280, 0, 2304, 768}, {Normal, 40, -900, 700, 500}},
  };
  for (const auto& [stored, ppi, reset, screen, expected] : cases)
    EXPECT_EQ(RestorePlacement(stored, reset, ppi, screen), expected) << stored << " at " << ppi;
  EXPECT_EQ(RestorePlacement("Default", false, 96, k1024x768, {700, 500}), (WindowPlacement{Designed, 0, 0, 700, 500}));
}

TEST(WindowPositions, AStoredPlaceStaysInWorkspaceCoordinatesAndOnItsMonitor) {
  const MonitorArea taskbarTop{{0, 0, 1024, 768}, {0, 40, 1024, 768}},
      taskbarLeft{{0, 0, 1024, 768}, {60, 0, 1024, 768}},
      secondMonitor{{1024, -100, 2304, 924}, {1024, -100, 2304, 894}};
  const std::tuple<MonitorArea, Rect, Rect> cases[] = {
      // As saved, whatever the taskbar: a window moved by its size would creep at every start.
      {taskbarTop, {40, 30, 680, 500}, {40, 30, 680, 500}},
      {taskbarTop, {40, 0, 680, 470}, {40, 0, 680, 470}},
      {taskbarLeft, {-500, 10, 140, 480}, {-500, 10, 140, 480}},
      {secondMonitor, {2000, -100, 2640, 370}, {2000, -100, 2640, 370}},
      // Off the work area, counted in screen coordinates: just inside it.
      {taskbarTop, {40, 728, 680, 1198}, {40, 258, 680, 728}},
      {taskbarTop, {40, -41, 680, 429}, {40, 0, 680, 470}},
      {taskbarLeft, {964, 10, 1604, 480}, {324, 10, 964, 480}},
      {taskbarLeft, {-700, 10, -60, 480}, {0, 10, 640, 480}},
      {secondMonitor, {2400, 900, 3040, 1370}, {1664, 424, 2304, 894}},
      // Larger than the work area: its top-left corner there.
      {taskbarTop, {-3000, 900, -1800, 1900}, {0, 0, 1200, 1000}},
  };
  for (const auto& [monitor, stored, restored] : cases)
    EXPECT_EQ(KeepOnMonitor(stored, monitor), restored) << stored.left << "," << stored.top;
}

}  // namespace
}  // namespace tidemark::settings
