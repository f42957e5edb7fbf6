#include <windows.h>

#include <gtest/gtest.h>

#include <functional>

#include "cookies/no_protection_win.h"
#include "support/when_ready_win.h"

namespace tidemark::cookies {
namespace {

constexpr int kCheckBoxId = 100;

// The warning window of this thread (other test processes may show theirs).
HWND FindWarning() {
  HWND found = nullptr;
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND window, LPARAM result) {
        char name[64] = "";
        GetClassNameA(window, name, sizeof name);
        if (std::string(name) != kNoProtectionWindowClass) return TRUE;
        *reinterpret_cast<HWND*>(result) = window;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&found));
  return found;
}

void Click(HWND window, int id) { SendMessageA(GetDlgItem(window, id), BM_CLICK, 0, 0); }
// Keys go to a given control: focus is not ours to rely on while other
// programs show windows too.
void PressKey(HWND window, UINT key) {
  PostMessageA(GetDlgItem(window, kCheckBoxId), WM_KEYDOWN, key, 0);
  PostMessageA(GetDlgItem(window, kCheckBoxId), WM_KEYUP, key, 0xC0000000);
}

TEST(NoProtectionWindow, OnlyContinueProceedsAndOnlyTheCheckBoxSilences) {
  const std::tuple<const char*, std::function<void(HWND)>, CookieBrowser, int, int, bool, const char*> cases[] = {
      {"Continue", [](HWND window) { Click(window, IDOK); }, CookieBrowser::Firefox, 96, 480, true, "N"},
      {"check box, then Escape",
       [](HWND window) {
         Click(window, kCheckBoxId);
         PressKey(window, VK_ESCAPE);
       },
       CookieBrowser::InternetExplorer, 192, 550, false, "Y"},
      // Enter presses the default button, Bypass.
      {"Enter", [](HWND window) { PressKey(window, VK_RETURN); }, CookieBrowser::Firefox, 96, 480, false, "N"},
      {"closed", [](HWND window) { PostMessageA(window, WM_CLOSE, 0, 0); }, CookieBrowser::Firefox, 96, 480, false,
       "N"},
  };
  HWND owner = CreateWindowExA(0, "STATIC", "owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 100, nullptr,
                               nullptr, GetModuleHandleA(nullptr), nullptr);
  ASSERT_NE(owner, nullptr);
  for (const auto& [name, act, browser, pixelsPerInch, clientWidth, proceed, showOption] : cases) {
    SCOPED_TRACE(name);
    char caption[512] = "";
    RECT client = {};
    bool ownerDisabled = false;
    test::WhenReady([&] {
      HWND window = FindWarning();
      if (!window || !IsWindowVisible(window)) return false;
      GetWindowTextA(window, caption, sizeof caption);
      GetClientRect(window, &client);
      EXPECT_EQ(LOWORD(SendMessageA(window, DM_GETDEFID, 0, 0)), IDCANCEL);
      ownerDisabled = !IsWindowEnabled(owner);
      act(window);
      return true;
    });
    std::string option = "N";
    EXPECT_EQ(ConfirmNoProtection(browser, option, owner, pixelsPerInch), proceed);
    EXPECT_EQ(std::string(caption), browser == CookieBrowser::Firefox
                                        ? "Tidemark - Warning - No FireFox Cookies are protected"
                                        : "Tidemark - Warning - No I.E. Cookies are protected");
    EXPECT_EQ(client.right, clientWidth);
    EXPECT_TRUE(ownerDisabled && IsWindowEnabled(owner));
    EXPECT_EQ(option, showOption);
    EXPECT_EQ(FindWarning(), nullptr);
  }
  DestroyWindow(owner);
}

}  // namespace
}  // namespace tidemark::cookies
