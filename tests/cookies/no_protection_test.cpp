#include "cookies/no_protection.h"

#include <gtest/gtest.h>

namespace tidemark::cookies {
namespace {

TEST(NoProtectionWarning, DueOnlyForAnEmptyListInARealPurgeNotSilenced) {
  EXPECT_TRUE(NoProtectionWarningNeeded(0, false, ""));
  EXPECT_TRUE(NoProtectionWarningNeeded(0, false, "N"));
  EXPECT_FALSE(NoProtectionWarningNeeded(0, false, "Y"));
  EXPECT_FALSE(NoProtectionWarningNeeded(0, true, ""));
  EXPECT_FALSE(NoProtectionWarningNeeded(3, false, ""));
}

TEST(NoProtectionWarning, CaptionNamesTheBrowser) {
  EXPECT_EQ(NoProtectionCaption(CookieBrowser::Firefox), "Tidemark - Warning - No FireFox Cookies are protected");
  EXPECT_EQ(NoProtectionCaption(CookieBrowser::InternetExplorer), "Tidemark - Warning - No I.E. Cookies are protected");
}

TEST(NoProtectionWarning, GrowsOnlyFromTenPixelsPerInchAboveNinetySix) {
  EXPECT_EQ(ScaleForScreen(480, 96), 480);
  EXPECT_EQ(ScaleForScreen(480, 105), 480);
  EXPECT_EQ(ScaleForScreen(480, 72), 480);
  EXPECT_EQ(ScaleForScreen(480, 106), 480 * 97 / 96);   // 96 + 10 * 15 / 100 = 97
  EXPECT_EQ(ScaleForScreen(480, 120), 480 * 99 / 96);   // 96 + 24 * 15 / 100 = 99
  EXPECT_EQ(ScaleForScreen(480, 192), 480 * 110 / 96);  // 96 + 96 * 15 / 100 = 110
}

}  // namespace
}  // namespace tidemark::cookies
