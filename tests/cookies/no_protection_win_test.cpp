#include <windows.h>

#include <gtest/gtest.h>

#include <functional>

#include "cookies/no_protection_win.h"

namespace tidemark::cookies {
namespace {

constexpr int kCheckBoxId = 100;

// What the scripted user saw, and what they do once the window is up.
struct Script {
  std::function<void(HWND)> act;
  std::string caption;
  int defaultButton = 0;
  SIZE size = {};
  bool ownerDisabled = false;
  HWND owner = nullptr;
};
Script* running = nullptr;

std::string TextOf(HWND window) {
  char text[512] = "";
  GetWindowTextA(window, text, sizeof text);
  return text;
}

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
  running->caption = TextOf(window);
  running->defaultButton = LOWORD(SendMessageA(window, DM_GETDEFID, 0, 0));
  RECT frame;
  GetWindowRect(window, &frame);
  running->size = {frame.right - frame.left, frame.bottom - frame.top};
  running->ownerDisabled = running->owner && !IsWindowEnabled(running->owner);
  running->act(window);
}

bool RunWarning(Script& script, CookieBrowser browser, std::string& showOption, int pixelsPerInch = 96) {
  running = &script;
  SetTimer(nullptr, 0, 20, ActWhenShown);
  bool proceed = ConfirmNoProtection(browser, showOption, script.owner, pixelsPerInch);
  running = nullptr;
  return proceed;
}

void Click(HWND window, int id) { SendMessageA(GetDlgItem(window, id), BM_CLICK, 0, 0); }
// Keys go to a given control: focus is not ours to rely on while other
// programs show windows too.
void PressKey(HWND control, UINT key) {
  PostMessageA(control, WM_KEYDOWN, key, 0);
  PostMessageA(control, WM_KEYUP, key, 0xC0000000);
}

TEST(NoProtectionWindow, OnlyContinueProceedsAndOnlyTheCheckBoxSilences) {
  const char* const kFirefoxCaption = "Tidemark - Warning - No FireFox Cookies are protected";
  const char* const kIECaption = "Tidemark - Warning - No I.E. Cookies are protected";
  struct Case {
    const char* name;
    std::function<void(HWND)> act;
    CookieBrowser browser;
    bool proceed;
    const char* showOption;  // starting as "N"
  };
  const Case cases[] = {
      {"Continue", [](HWND window) { Click(window, IDOK); }, CookieBrowser::Firefox, true, "N"},
      {"check box, then Escape",
       [](HWND window) {
         Click(window, kCheckBoxId);
         PressKey(GetDlgItem(window, kCheckBoxId), VK_ESCAPE);
       },
       CookieBrowser::InternetExplorer, false, "Y"},
      // Enter presses the default button, Bypass.
      {"Enter", [](HWND window) { PressKey(GetDlgItem(window, kCheckBoxId), VK_RETURN); }, CookieBrowser::Firefox,
       false, "N"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Script script;
    script.act = c.act;
    std::string showOption = "N";
    EXPECT_EQ(RunWarning(script, c.browser, showOption), c.proceed);
    EXPECT_EQ(script.caption, c.browser == CookieBrowser::Firefox ? kFirefoxCaption : kIECaption);
    EXPECT_EQ(script.defaultButton, IDCANCEL);
    EXPECT_EQ(showOption, c.showOption);
    EXPECT_EQ(FindWarning(), nullptr);
  }
}

TEST(NoProtectionWindow, ClosingTheWindowBypassesAndOwnerIsDisabledMeanwhile) {
  Script script;
  script.owner = CreateWindowExA(0, "STATIC", "owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 100, nullptr,
                                 nullptr, GetModuleHandleA(nullptr), nullptr);
  ASSERT_NE(script.owner, nullptr);
  script.act = [](HWND window) { PostMessageA(window, WM_CLOSE, 0, 0); };
  std::string showOption;
  EXPECT_FALSE(RunWarning(script, CookieBrowser::Firefox, showOption));
  EXPECT_TRUE(script.ownerDisabled);
  EXPECT_TRUE(IsWindowEnabled(script.owner));
  DestroyWindow(script.owner);
}

TEST(NoProtectionWindow, GrowsOnLargeFontScreens) {
  Script normal, large;
  normal.act = large.act = [](HWND window) { Click(window, IDCANCEL); };
  std::string showOption;
  RunWarning(normal, CookieBrowser::Firefox, showOption, 96);
  RunWarning(large, CookieBrowser::Firefox, showOption, 192);
  // The client area grows by 110/96 (480 to 550 wide); the frame around it stays.
  EXPECT_NEAR(large.size.cx - normal.size.cx, 550 - 480, 1);
  EXPECT_GT(large.size.cy, normal.size.cy);
}

}  // namespace
}  // namespace tidemark::cookies
