// The warning shown before a cookie purge that would delete every cookie
// because the browser's protect list is empty: texts, when it is due, and its
// size on large-font screens. The window itself is in no_protection_win.h.
#pragma once
#include <array>
#include <string>

namespace tidemark::cookies {

enum class CookieBrowser { Firefox, InternetExplorer };

// The settings value that silences the warning for good.
inline constexpr const char* kDontShowAgain = "Y";

// Due when the list is empty, the purge really deletes and the user has not
// silenced it (showOption is FFcookieMsgOpt or CookieMsgOpt).
bool NoProtectionWarningNeeded(int protectEntries, bool previewPurge, const std::string& showOption);

std::string NoProtectionCaption(CookieBrowser browser);
extern const std::array<const char*, 5> kNoProtectionLines;
inline constexpr const char* kNoProtectionCheckBox = "do not show this message again";
inline constexpr const char* kNoProtectionContinue = "Continue";
inline constexpr const char* kNoProtectionBypass = "Bypass";

// A size laid out for 96 pixels per inch, grown on screens of 106 ppi or more.
int ScaleForScreen(int size, int pixelsPerInch);

}  // namespace tidemark::cookies
