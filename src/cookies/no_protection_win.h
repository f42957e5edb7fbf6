// TNoProtection: the modal warning before a cookie purge with an empty
// protect list. "Bypass" (the default and Escape button) answers false,
// "Continue" true; when "do not show this message again" is ticked,
// showOption becomes "Y" for the caller to save with the settings.
#pragma once
#include <windows.h>

#include <string>

#include "cookies/no_protection.h"

namespace tidemark::cookies {

inline constexpr const char* kNoProtectionWindowClass = "TNoProtection";

bool ConfirmNoProtection(CookieBrowser browser, std::string& showOption, HWND owner, int pixelsPerInch);

}  // namespace tidemark::cookies
