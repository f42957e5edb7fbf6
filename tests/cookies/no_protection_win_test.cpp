#include <windows.h>

#include <gtest/gtest.h>

#include <functional>

#include "cookies/no_protection_win.h"

namespace tidemark::cookies {
namespace {

constexpr int kCheckBoxId = 100;

// What the scripted user saw, and what they do once the window is up.
struct Seen {
  std::string caption;
  int defaultButton = 0, clientWidth = 0;
  bool ownerDisabled = false;
};
std::function<void(HWND)> act;
Seen seen;
HWND owner = nullptr;

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

void CALLBACK ActWhenShown(HWND, UINT, UINT_PTR timer, DWORD) {
  HWND window = FindWarning();
  if (!window || !IsWindowVisible(window)) return;
  KillTimer(nullptr, timer);
  char text[512] = "";
  GetWindowTextA(window, text, sizeof text);
  RECT client;
  GetClientRect(window, &client);
  seen = {text, LOWORD(SendMessageA(window, DM_GETDEFID, 0, 0)), int(client.right), !IsWindowEnabled(owner)};
  act(window);
}

void Click(HWND window, int id) { SendMessageA(GetDlgItem(window, id), BM_CLICK, 0, 0); }
// Keys go to a given control: focus is not ours to rely on while other
// programs show windows too.
void PressKey(HWND window, UINT key) {
  PostMessageA(GetDlgItem(window, kCheckBoxId), WM_KEYDOWN, key, 0);
  PostMessageA(GetDlgItem(window, kCheckBoxId), WM_KEYUP, key, 0xC0000000);
}

TEST(NoProtectionWindow, OnlyContinueProceedsAndOnlyTheCheckBoxSilences) {
  struct Case {
    const char* name;
    std::function<void(HWND)> act;
    CookieBrowser browser;
    int pixelsPerInch, clientWidth;
    bool proceed;
    const char* showOption;  // starting as "N"
  };
  const Case cases[] = {
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
  owner = CreateWindowExA(0, "STATIC", "owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 100, nullptr, nullptr,
                          GetModuleHandleA(nullptr), nullptr);
  ASSERT_NE(owner, nullptr);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    act = c.act;
    std::string showOption = "N";
    SetTimer(nullptr, 0, 20, ActWhenShown);
    EXPECT_EQ(ConfirmNoProtection(c.browser, showOption, owner, c.pixelsPerInch), c.proceed);
    EXPECT_EQ(seen.caption, c.browser == CookieBrowser::Firefox
                                ? "Tidemark - Warning - No FireFox Cookies are protected"
                                : "Tidemark - Warning - No I.E. Cookies are protected");
    EXPECT_EQ(seen.defaultButton, IDCANCEL);
    EXPECT_EQ(seen.clientWidth, c.clientWidth);
    EXPECT_TRUE(seen.ownerDisabled);
    EXPECT_TRUE(IsWindowEnabled(owner));
    EXPECT_EQ(showOption, c.showOption);
    EXPECT_EQ(FindWarning(), nullptr);
  }
  DestroyWindow(owner);
}

}  // namespace
}  // namespace tidemark::cookies
