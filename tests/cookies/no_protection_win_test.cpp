#include <windows.h>

#include <gtest/gtest.h>

#include <functional>

#include "cookies/no_protection_win.h"
#include "platform/gui_win.h"
#include "support/when_ready_win.h"

namespace tidemark::cookies {
namespace {

constexpr int kCheckBoxId = 100;

void Click(HWND window, int id) { SendMessageA(GetDlgItem(window, id), BM_CLICK, 0, 0); }
// Keys go to a given control: focus is not ours to rely on while other
// programs show windows too.
void PressKey(HWND window, UINT key) {
  PostMessageA(GetDlgItem(window, kCheckBoxId), WM_KEYDOWN, key, 0);
  PostMessageA(GetDlgItem(window, kCheckBoxId), WM_KEYUP, key, 0xC0000000);
}

TEST(NoProtectionWindow, OnlyContinueProceedsAndOnlyTheCheckBoxSilences) {
  using Act = std::function<void(HWND)>;
  const std::tuple<Act, CookieBrowser, int, int, bool, const char*> cases[] = {
      {[](HWND window) { Click(window, IDOK); }, CookieBrowser::Firefox, 96, 480, true, "N"},
      {[](HWND window) { Click(window, kCheckBoxId), PressKey(window, VK_ESCAPE); }, CookieBrowser::InternetExplorer,
       192, 550, false, "Y"},
      {[](HWND window) { PressKey(window, VK_RETURN); }, CookieBrowser::Firefox, 96, 480, false, "N"},  // Bypass
      {[](HWND window) { PostMessageA(window, WM_CLOSE, 0, 0); }, CookieBrowser::Firefox, 96, 480, false, "N"},
  };
  HWND owner = CreateWindowExA(0, "STATIC", "owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 100, nullptr,
                               nullptr, GetModuleHandleA(nullptr), nullptr);
  for (const auto& [act, browser, pixelsPerInch, clientWidth, proceed, showOption] : cases) {
    std::string caption;
    RECT client = {};
    bool ownerDisabled = false;
    test::WhenReady([&] {
      HWND window = FindWindowA(kNoProtectionWindowClass, nullptr);
      if (!window || GetWindowThreadProcessId(window, nullptr) != GetCurrentThreadId()) return false;
      caption = gui::WindowText(window);
      GetClientRect(window, &client);
      EXPECT_EQ(LOWORD(SendMessageA(window, DM_GETDEFID, 0, 0)), IDCANCEL);
      ownerDisabled = !IsWindowEnabled(owner);
      act(window);
      return true;
    });
    std::string option = "N";
    EXPECT_EQ(ConfirmNoProtection(browser, option, owner, pixelsPerInch), proceed) << showOption;
    EXPECT_EQ(caption, browser == CookieBrowser::Firefox ? "Tidemark - Warning - No FireFox Cookies are protected"
                                                         : "Tidemark - Warning - No I.E. Cookies are protected");
    EXPECT_EQ(client.right, clientWidth);
    EXPECT_TRUE(ownerDisabled && IsWindowEnabled(owner));
    EXPECT_EQ(option, showOption);
    EXPECT_EQ(FindWindowA(kNoProtectionWindowClass, nullptr), nullptr);
  }
  DestroyWindow(owner);
}

}  // namespace
}  // namespace tidemark::cookies
