#include "app/browser_activity.h"

#include <gtest/gtest.h>

#include <map>
#include <tuple>

namespace tidemark::app {
namespace {

using platform::TopLevelWindow;
using platform::WindowHandle;

// A desktop whose windows the test lays out; counts the windows it showed.
class FakeWindowList : public platform::WindowList {
 public:
  WindowHandle Add(const std::string& className, const std::string& title, bool visible = true) {
    WindowHandle handle = windows_.size() + 1;
    windows_.push_back({handle, true, visible, className, title});
    return handle;
  }
  WindowHandle AddHidden(const std::string& className, const std::string& title) {
    return Add(className, title, false);
  }
  // A browser window that went away while the list was walked.
  void AddVanished() { windows_.push_back({windows_.size() + 1, false, false, "IEFrame", "Gone"}); }
  void AddChildren(WindowHandle parent, std::vector<std::string> titles) { children_[parent] = std::move(titles); }

  void ForEachTopLevel(const std::function<bool(const TopLevelWindow&)>& visit) override {
    for (const TopLevelWindow& window : windows_) {
      ++visited;
      if (!visit(window)) return;
    }
  }
  std::vector<std::string> DescendantTitles(WindowHandle window) override { return children_[window]; }

  int visited = 0;

 private:
  std::vector<TopLevelWindow> windows_;
  std::map<WindowHandle, std::vector<std::string>> children_;
};

TEST(FirefoxActive, AVisibleWindowOfAFirefoxClassBeginningOrEndingWithItsName) {
  // Class, title, visible, counts.
  const std::tuple<const char*, const char*, bool, bool> cases[] = {
      {"MozillaWindowClass", "Example Page - Mozilla Firefox", true, true},
      {"MozillaWindowClass", "Mozilla Firefox Start Page", true, true},
      {"mozillauiwindowclass", "Downloads - MOZILLA FIREFOX", true, true},
      {"MozillaWindowClass", "Mozilla Firefo", true, false},
      {"MozillaWindowClass", "About Mozilla Firefox Help", true, false},
      {"MozillaWindowClass", "Inbox - Mozilla Thunderbird", true, false},
      {"MozillaWindowClass", "Example Page - Mozilla Firefox", false, false},
      {"Notepad", "Example Page - Mozilla Firefox", true, false},
      {"IEFrame", "Mozilla Firefox", true, false}};
  for (auto [className, title, visible, counts] : cases) {
    FakeWindowList windows;
    windows.Add(className, title, visible);
    EXPECT_EQ(TisFireFoxActive(windows), counts) << className << " " << title << " " << visible;
  }
}

TEST(FirefoxActive, TheWalkSkipsVanishedWindowsAndStopsAtTheFirstMatch) {
  FakeWindowList windows;
  windows.AddVanished();
  windows.Add("MozillaWindowClass", "A - Mozilla Firefox");
  windows.Add("MozillaWindowClass", "B - Mozilla Firefox");
  EXPECT_TRUE(TisFireFoxActive(windows));
  EXPECT_EQ(windows.visited, 2);
}

TEST(IEActive, IEFrameAlwaysExplorerWindowsOnlyWithAnIETitle) {
  // Class, title, the user's custom IE title, kind found.
  const std::tuple<const char*, const char*, const char*, int32_t> cases[] = {
      {"IEFrame", "", "", kIEVisible},
      {"IEFRAME", "Untitled", "", kIEVisible},
      {"CabinetWClass", "My Documents", "", kNoIEBrowser},
      {"CabinetWClass", "News - Microsoft Internet Explorer", "", kIEVisible},
      {"cabinetwclass", "news - windows internet explorer", "", kIEVisible},
      {"CabinetWClass", "Internet Explorer", "", kNoIEBrowser},
      {"CabinetWClass", "Windows Internet Explorer - Help", "", kNoIEBrowser},
      {"ExploreWClass", "News - Windows Internet Explorer", "", kNoIEBrowser},
      {"CabinetWClass", "News - My Browser", "MY BROWSER", kIEVisible},
      {"CabinetWClass", "News - My Browser", "", kNoIEBrowser},
      {"CabinetWClass", "My Browser - News", "MY BROWSER", kNoIEBrowser},
      {"CabinetWClass", "", "MY BROWSER", kNoIEBrowser}};
  for (auto [className, title, customTitle, kind] : cases) {
    FakeWindowList windows;
    windows.Add(className, title);
    BrowserActivity state;
    state.customIETitle = customTitle;
    EXPECT_EQ(TisIEorMSNactive(state, windows), kind != kNoIEBrowser) << className << " " << title;
    EXPECT_EQ(state.IEBrowserKind, kind) << className << " " << title;
  }
}

TEST(IEActive, KindsAreTriedInOrder) {
  BrowserActivity state;
  FakeWindowList vanished;
  vanished.AddVanished();
  EXPECT_FALSE(TisIEorMSNactive(state, vanished));
  FakeWindowList hiddenIEAndMSN;
  hiddenIEAndMSN.AddVanished();
  WindowHandle msn = hiddenIEAndMSN.Add("MSN6 Window", "MSN");
  hiddenIEAndMSN.AddChildren(msn, {"", "Browser"});
  hiddenIEAndMSN.AddHidden("IEFrame", "Start");
  EXPECT_TRUE(TisIEorMSNactive(state, hiddenIEAndMSN));
  EXPECT_EQ(state.IEBrowserKind, kIEHidden);

  FakeWindowList visibleAfterHidden;
  visibleAfterHidden.AddHidden("IEFrame", "");
  visibleAfterHidden.Add("IEFrame", "");
  EXPECT_TRUE(TisIEorMSNactive(state, visibleAfterHidden));
  EXPECT_EQ(state.IEBrowserKind, kIEVisible);

  FakeWindowList msnOnly;
  WindowHandle hiddenMSN = msnOnly.AddHidden("MSN9 Window", "");
  msnOnly.AddChildren(hiddenMSN, {"browser"});
  EXPECT_TRUE(TisIEorMSNactive(state, msnOnly));
  EXPECT_EQ(state.IEBrowserKind, kMSNHidden);
  WindowHandle visibleMSN = msnOnly.Add("msn9 window", "");
  msnOnly.AddChildren(visibleMSN, {"Toolbar", "BROWSER"});
  EXPECT_TRUE(TisIEorMSNactive(state, msnOnly));
  EXPECT_EQ(state.IEBrowserKind, kMSNVisible);

  FakeWindowList none;
  none.Add("MozillaWindowClass", "A - Mozilla Firefox");
  none.Add("CabinetWClass", "C:\\");
  EXPECT_FALSE(TisIEorMSNactive(state, none));
  EXPECT_EQ(state.IEBrowserKind, kNoIEBrowser);
}

TEST(IEActive, MSNWindowNeedsAChildTitledBrowser) {
  BrowserActivity state;
  FakeWindowList windows;
  WindowHandle msn = windows.Add("MSN6 Window", "Browser");
  windows.AddChildren(msn, {"Browser Bar", " Browser", "Navigator"});
  WindowHandle other = windows.Add("MSN8 Window", "");
  windows.AddChildren(other, {"Browser"});
  EXPECT_FALSE(TisIEorMSNactive(state, windows));
}

TEST(HiddenBrowserListing, ListsEveryHiddenBrowserWithItsTitle) {
  BrowserActivity state;
  state.customIETitle = "MY BROWSER";
  FakeWindowList windows;
  windows.AddHidden("CabinetWClass", "News - My Browser");
  windows.Add("MozillaWindowClass", "Shown - Mozilla Firefox");
  windows.AddHidden("MozillaWindowClass", "Hidden Page - Mozilla Firefox");
  windows.AddHidden("CabinetWClass", "My Documents");
  windows.AddVanished();
  WindowHandle msn = windows.AddHidden("MSN9 Window", "MSN Explorer");
  windows.AddChildren(msn, {"Browser"});
  windows.AddHidden("IEFrame", "");
  EXPECT_EQ(ListHiddenBrowserWindows(state, windows),
            (std::vector<std::string>{"Display Hidden Browser Windows ", " ",
                                      "Hidden I.E. Window - Title = News - My Browser", " ",
                                      "Hidden FireFox Window - Title = Hidden Page - Mozilla Firefox", " ",
                                      "HiddenMSN Window - Title = MSN Explorer", " ",
                                      "Hidden I.E. Window - Title = ", " ",
                                      "   4 - Browser Windows Found"}));
}

TEST(HiddenBrowserListing, CountLineForNoneAndOne) {
  BrowserActivity state;
  FakeWindowList none;
  none.Add("IEFrame", "Visible");
  none.AddHidden("Notepad", "Mozilla Firefox");
  EXPECT_EQ(ListHiddenBrowserWindows(state, none),
            (std::vector<std::string>{"Display Hidden Browser Windows ", " ", "   0 - Browser Windows Found"}));

  FakeWindowList one;
  one.AddHidden("MozillaUIWindowClass", "Mozilla Firefox");
  auto lines = ListHiddenBrowserWindows(state, one);
  EXPECT_EQ(lines.size(), 5u);
  EXPECT_EQ(lines.back(), "1 - Browser Window Found");
}

}  // namespace
}  // namespace tidemark::app
