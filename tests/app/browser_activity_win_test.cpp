// What the browser tests stand on, on the real system: the windows the
// window list reports, and the custom IE title as the registry holds it.
#include <windows.h>

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "app/browser_activity.h"
#include "platform/registry.h"
#include "support/private_desktop_win.h"
#include "support/sandbox_win.h"

namespace tidemark::app {
namespace {

using platform::RegistryRoot;
using platform::RegistryType;

using test::OnPrivateDesktop;

// Real top-level windows of the given classes, destroyed at the end.
class TestWindows {
 public:
  ~TestWindows() {
    for (auto it = windows_.rbegin(); it != windows_.rend(); ++it)
      if (IsWindow(*it)) DestroyWindow(*it);
  }

  HWND Open(const char* className, const char* title, bool visible = true) {
    Register(className);
    DWORD style = WS_OVERLAPPEDWINDOW | (visible ? WS_VISIBLE : 0);
    return Keep(CreateWindowExA(0, className, title, style, 10, 10, 300, 200, nullptr, nullptr, Instance(), nullptr));
  }

  HWND OpenChild(HWND parent, const char* title) {
    return Keep(CreateWindowExA(0, "Static", title, WS_CHILD | WS_VISIBLE, 0, 0, 50, 20, parent, nullptr, Instance(),
                                nullptr));
  }

 private:
  static HINSTANCE Instance() { return GetModuleHandleA(nullptr); }

  static void Register(const char* className) {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = Instance();
    windowClass.lpszClassName = className;
    if (!RegisterClassA(&windowClass)) {
      EXPECT_EQ(GetLastError(), DWORD(ERROR_CLASS_ALREADY_EXISTS)) << className;
    }
  }

  HWND Keep(HWND window) {
    EXPECT_NE(window, nullptr);
    windows_.push_back(window);
    return window;
  }

  std::vector<HWND> windows_;
};

platform::WindowList& Desktop() { return platform::RealWindowList(); }

TEST(RealWindowList, GivesClassTitleVisibilityAndDescendantsAndStopsWhenAsked) {
  OnPrivateDesktop([] {
    TestWindows windows;
    std::string longTitle(300, 'x');
    HWND shown = windows.Open("TidemarkProbe", longTitle.c_str());
    HWND hidden = windows.Open("TidemarkProbe", "Hidden one", false);
    HWND child = windows.OpenChild(shown, "First");
    windows.OpenChild(child, "Grandchild");
    windows.OpenChild(shown, "Second");

    std::map<HWND, platform::TopLevelWindow> seen;
    Desktop().ForEachTopLevel([&](const platform::TopLevelWindow& window) {
      if (window.className == "TidemarkProbe") seen[reinterpret_cast<HWND>(window.handle)] = window;
      return true;
    });
    ASSERT_EQ(seen.size(), 2u);
    const platform::TopLevelWindow& first = seen[shown];
    const platform::TopLevelWindow& second = seen[hidden];
    EXPECT_TRUE(first.isWindow);
    EXPECT_TRUE(first.visible);
    EXPECT_EQ(first.title, std::string(platform::kMaxWindowText, 'x'));
    EXPECT_TRUE(second.isWindow);
    EXPECT_FALSE(second.visible);
    EXPECT_EQ(second.title, "Hidden one");
    EXPECT_EQ(Desktop().DescendantTitles(first.handle), (std::vector<std::string>{"First", "Grandchild", "Second"}));
    EXPECT_TRUE(Desktop().DescendantTitles(second.handle).empty());

    int visited = 0;
    Desktop().ForEachTopLevel([&](const platform::TopLevelWindow&) { return ++visited < 1; });
    EXPECT_EQ(visited, 1);
  });
}

TEST(CustomIETitle, AStringOrExpandableStringUpperCasedElseNothing) {
  test::TempRegistryKey key;
  auto& registry = platform::RealRegistry();
  BrowserActivity state;
  ASSERT_TRUE(registry.WriteString(RegistryRoot::CurrentUser, key.path(), "Window Title", "My Browser"));
  LoadCustomIETitle(state, registry, key.path());
  EXPECT_EQ(state.customIETitle, "MY BROWSER");

  ASSERT_TRUE(registry.WriteValue(RegistryRoot::CurrentUser, key.path(), "Window Title",
                                  {RegistryType::ExpandString, "%Browser%"}));
  LoadCustomIETitle(state, registry, key.path());
  EXPECT_EQ(state.customIETitle, "%BROWSER%");

  LoadCustomIETitle(state, registry, key.path() + "\\Missing");
  EXPECT_EQ(state.customIETitle, "");

  state.customIETitle = "OLD";
  ASSERT_TRUE(registry.WriteDword(RegistryRoot::CurrentUser, key.path(), "Window Title", 7));
  LoadCustomIETitle(state, registry, key.path());
  EXPECT_EQ(state.customIETitle, "");
  EXPECT_EQ(registry.ReadDword(RegistryRoot::CurrentUser, key.path(), "Window Title"), 7u);
}

}  // namespace
}  // namespace tidemark::app
