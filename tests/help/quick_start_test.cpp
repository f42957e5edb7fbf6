// The quick-start window's size, place, colour and missing-file notice.
#include "help/quick_start.h"

#include <gtest/gtest.h>

namespace tidemark::help {
namespace {

TEST(QuickStart, SizeGrowsOnlyFromTenPixelsPerInchAboveNinetySix) {
  struct Case {
    int ppi, width, height;
  };
  for (const Case& c : {Case{96, 420, 320}, Case{105, 420, 320}, Case{106, 424, 323}, Case{120, 433, 330},
                        Case{144, 450, 343}, Case{192, 481, 366}}) {
    SCOPED_TRACE(c.ppi);
    EXPECT_EQ(ScaledQuickStartSize(kQuickStartWidth, c.ppi), c.width);
    EXPECT_EQ(ScaledQuickStartSize(kQuickStartHeight, c.ppi), c.height);
  }
}

TEST(QuickStart, FirstPlaceIsTheWorkAreasCornerBesideTheMainWindow) {
  struct Case {
    const char* name;
    Box workArea, mainWindow;
    int width, height;
    Box place;
  };
  const Case cases[] = {
      {"main window's right edge at 700", {0, 0, 1024, 738}, {100, 100, 700, 500}, 420, 320, {604, 418, 1024, 738}},
      {"cut to half the work area", {0, 0, 1024, 738}, {0, 0, 1024, 738}, 600, 400, {512, 369, 1024, 738}},
      {"left held at the main window's edge", {0, 0, 1024, 738}, {0, 0, 500, 300}, 420, 320, {500, 300, 920, 620}},
      {"small screen keeps 360 x 240", {0, 0, 640, 400}, {0, 0, 640, 400}, 420, 320, {280, 160, 640, 400}},
      {"never negative", {0, 0, 300, 200}, {0, 0, 300, 200}, 420, 320, {0, 0, 360, 240}},
      {"main window off to the left", {0, 0, 1024, 738}, {-900, -50, -10, 300}, 420, 320, {0, 300, 420, 620}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(FirstQuickStartPlace(c.workArea, c.mainWindow, c.width, c.height), c.place);
  }
}

TEST(QuickStart, PanelsAreSilverOnlyOnScreensOfEightBitsOrLess) {
  EXPECT_EQ(QuickStartPanelColour(4), kSilver);
  EXPECT_EQ(QuickStartPanelColour(8), kSilver);
  EXPECT_EQ(QuickStartPanelColour(16), 0xA0C0C0u);
  EXPECT_EQ(QuickStartPanelColour(32), 0xA0C0C0u);
}

TEST(QuickStart, MissingFileNoticeNamesTheFile) {
  EXPECT_EQ(MissingQuickStartNotice("C:\\Tools\\Tmrkqst.rtf"),
            (std::vector<std::string>{"", "...Unable to locate the text file to display.", "",
                                      "...The file - C:\\Tools\\Tmrkqst.rtf must be in the Tidemark execution "
                                      "folder."}));
}

}  // namespace
}  // namespace tidemark::help
