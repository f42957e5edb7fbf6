#include "cookies/no_protection.h"

#include <gtest/gtest.h>

namespace tidemark::cookies {
namespace {

TEST(NoProtectionWarning, DueOnlyForAnEmptyListAndGrowsOnlyFromTenPixelsPerInchAboveNinetySix) {
  // The purges' tests ask with "N" and not with "Y" or in a Preview.
  EXPECT_TRUE(NoProtectionWarningNeeded(0, false, "") && !NoProtectionWarningNeeded(3, false, ""));
  // The inch grows by 15 % of the screen's excess: 106 -> 97, 120 -> 99, 192 -> 110.
  for (auto [ppi, size] : {std::pair{72, 480}, {96, 480}, {105, 480}, {106, 485}, {120, 495}, {192, 550}})
    EXPECT_EQ(ScaleForScreen(480, ppi), size) << ppi;
}

}  // namespace
}  // namespace tidemark::cookies
