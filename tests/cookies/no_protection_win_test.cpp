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

TEST(NoProtectionWindow, ContinueProceedsAndOptionStaysWithoutTheCheckBox) {
  Script script;
  script.act = [](HWND window) { Click(window, IDOK); };
  std::string showOption = "N";
  EXPECT_TRUE(RunWarning(script, CookieBrowser::Firefox, showOption));
  EXPECT_EQ(script.caption, "Tidemark - Warning - No FireFox Cookies are protected");
  EXPECT_EQ(script.defaultButton, IDCANCEL);
  EXPECT_EQ(showOption, "N");
  EXPECT_EQ(FindWarning(), nullptr);
}

TEST(NoProtectionWindow, EscapeBypassesAndTheCheckBoxSilencesTheWarning) {
  Script script;
  script.act = [](HWND window) {
    Click(window, kCheckBoxId);
    PressKey(GetDlgItem(window, kCheckBoxId), VK_ESCAPE);
  };
  std::string showOption;
  EXPECT_FALSE(RunWarning(script, CookieBrowser::InternetExplorer, showOption));
  EXPECT_EQ(script.caption, "Tidemark - Warning - No I.E. Cookies are protected");
  EXPECT_EQ(showOption, "Y");
}

TEST(NoProtectionWindow, EnterPressesTheDefaultBypass) {
  Script script;
  script.act = [](HWND window) {
    PressKey(GetDlgItem(window, kCheckBoxId), VK_RETURN);
  };
  std::string showOption;
  EXPECT_FALSE(RunWarning(script, CookieBrowser::Firefox, showOption));
  EXPECT_EQ(showOption, "");
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
  Script normal, large, almost;
  normal.act = large.act = almost.act = [](HWND window) { Click(window, IDCANCEL); };
  std::string showOption;
  RunWarning(normal, CookieBrowser::Firefox, showOption, 96);
  RunWarning(almost, CookieBrowser::Firefox, showOption, 105);
  RunWarning(large, CookieBrowser::Firefox, showOption, 192);
  EXPECT_EQ(almost.size.cx, normal.size.cx);
  EXPECT_EQ(almost.size.cy, normal.size.cy);
  // The client area grows by 110/96; the frame around it stays.
  EXPECT_GT(large.size.cx, normal.size.cx);
  EXPECT_GT(large.size.cy, normal.size.cy);
  EXPECT_NEAR(large.size.cx - normal.size.cx, ScaleForScreen(480, 192) - 480, 1);
}

}  // namespace
}  // namespace tidemark::cookies
