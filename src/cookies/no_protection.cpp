#include "cookies/no_protection.h"

#include "cookies/user_messages.h"

namespace tidemark::cookies {
namespace {

constexpr int kDesignPixelsPerInch = 96;
constexpr int kLargeFontStep = 10;
constexpr int kGrowthPercent = 15;

}  // namespace

const std::array<const char*, 5> kNoProtectionLines = {
    "You have chosen to purge \"Unprotected Cookies\".",
    "No Cookies are marked as Protected.",
    "If you choose \"Continue\", all Cookies will be deleted.",
    "If you choose \"Bypass\", no Cookies will be deleted.",
    "You can use the \"Protect\" button to access the \"Protect\" window and then choose \"Cookies\" to list and "
    "protect the current Cookies.",
};

bool NoProtectionWarningNeeded(int protectEntries, bool previewPurge, const std::string& showOption) {
  return protectEntries == 0 && !previewPurge && showOption != kDontShowAgain;
}

std::string NoProtectionCaption(CookieBrowser browser) {
  return std::string(kProductName) + (browser == CookieBrowser::Firefox
                                           ? " - Warning - No FireFox Cookies are protected"
                                           : " - Warning - No I.E. Cookies are protected");
}

int ScaleForScreen(int size, int pixelsPerInch) {
  if (pixelsPerInch - kDesignPixelsPerInch < kLargeFontStep) return size;
  int scaledInch = kDesignPixelsPerInch + (pixelsPerInch - kDesignPixelsPerInch) * kGrowthPercent / 100;
  return size * scaledInch / kDesignPixelsPerInch;
}

}  // namespace tidemark::cookies
