// The quick-start window's size, first place and panel colour.
#include "help/quick_start.h"

#include <gtest/gtest.h>

namespace tidemark::help {
namespace {

TEST(QuickStart, SizePlaceAndColour) {
  // The size grows only from ten pixels per inch above 96.
  for (auto [ppi, width, height] : {std::tuple{96, 420, 320}, {105, 420, 320}, {106, 424, 323}, {192, 481, 366}}) {
    EXPECT_EQ(ScaledQuickStartSize(kQuickStartWidth, ppi), width) << ppi;
    EXPECT_EQ(ScaledQuickStartSize(kQuickStartHeight, ppi), height) << ppi;
  }
  const Box screen{0, 0, 1024, 738};
  const std::tuple<const char*, Box, Box, int, int, Box> places[] = {
      {"main window's right edge at 700", screen, {100, 100, 700, 500}, 420, 320, {604, 418, 1024, 738}},
      {"cut to half the work area", screen, screen, 600, 400, {512, 369, 1024, 738}},
      {"left held at the main window's edge", screen, {0, 0, 500, 300}, 420, 320, {500, 300, 920, 620}},
      {"small screen keeps 360 x 240", {0, 0, 640, 400}, {0, 0, 640, 400}, 420, 320, {280, 160, 640, 400}},
      {"never negative", {0, 0, 300, 200}, {0, 0, 300, 200}, 420, 320, {0, 0, 360, 240}},
      {"main window off to the left", screen, {-900, -50, -10, 300}, 420, 320, {0, 300, 420, 620}},
  };
  for (const auto& [name, workArea, mainWindow, width, height, place] : places)
    EXPECT_EQ(FirstQuickStartPlace(workArea, mainWindow, width, height), place) << name;
  // Silver panels only on screens of eight bits or less.
  for (auto [depth, colour] : {std::pair{8, kSilver}, {16, 0xA0C0C0u}}) EXPECT_EQ(QuickStartPanelColour(depth), colour);
}

}  // namespace
}  // namespace tidemark::help
