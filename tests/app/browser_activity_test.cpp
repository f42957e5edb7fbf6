#include "app/browser_activity.h"

#include <gtest/gtest.h>

#include <map>

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
  void AddVanished() { windows_.push_back({windows_.size() + 1, false, false, "", ""}); }
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

bool FirefoxTitleCounts(const std::string& title) {
  FakeWindowList windows;
  windows.Add("MozillaWindowClass", title);
  return TisFireFoxActive(windows);
}

int IEKindFor(const std::string& className, const std::string& title, const std::string& customTitle = "") {
  FakeWindowList windows;
  windows.Add(className, title);
  BrowserActivity state;
  state.customIETitle = customTitle;
  TisIEorMSNactive(state, windows);
  return state.IEBrowserKind;
}

TEST(FirefoxActive, TitleMustBeginOrEndWithMozillaFirefox) {
  EXPECT_TRUE(FirefoxTitleCounts("Example Page - Mozilla Firefox"));
  EXPECT_TRUE(FirefoxTitleCounts("Mozilla Firefox Start Page"));
  EXPECT_TRUE(FirefoxTitleCounts("mozilla firefox"));
  EXPECT_TRUE(FirefoxTitleCounts("News - MOZILLA FIREFOX"));
  EXPECT_FALSE(FirefoxTitleCounts("Mozilla Firefo"));
  EXPECT_FALSE(FirefoxTitleCounts("About Mozilla Firefox Help"));
  EXPECT_FALSE(FirefoxTitleCounts("Inbox - Mozilla Thunderbird"));
  EXPECT_FALSE(FirefoxTitleCounts(""));
}

TEST(FirefoxActive, OnlyVisibleWindowsOfFirefoxClassesCount) {
  FakeWindowList hidden;
  hidden.AddHidden("MozillaWindowClass", "Example Page - Mozilla Firefox");
  EXPECT_FALSE(TisFireFoxActive(hidden));

  FakeWindowList otherClass;
  otherClass.Add("Notepad", "Example Page - Mozilla Firefox");
  otherClass.Add("IEFrame", "Mozilla Firefox");
  EXPECT_FALSE(TisFireFoxActive(otherClass));

  FakeWindowList uiClass;
  uiClass.Add("mozillauiwindowclass", "Downloads - Mozilla Firefox");
  EXPECT_TRUE(TisFireFoxActive(uiClass));
}

TEST(FirefoxActive, FirstMatchEndsTheEnumeration) {
  FakeWindowList windows;
  windows.Add("Shell_TrayWnd", "");
  windows.Add("MozillaWindowClass", "A - Mozilla Firefox");
  windows.Add("MozillaWindowClass", "B - Mozilla Firefox");
  windows.Add("Notepad", "Untitled - Notepad");
  EXPECT_TRUE(TisFireFoxActive(windows));
  EXPECT_EQ(windows.visited, 2);
}

TEST(FirefoxActive, VanishedWindowDoesNotHideALaterBrowser) {
  FakeWindowList windows;
  windows.AddVanished();
  windows.Add("MozillaWindowClass", "A - Mozilla Firefox");
  EXPECT_TRUE(TisFireFoxActive(windows));

  BrowserActivity state;
  FakeWindowList ie;
  ie.AddVanished();
  ie.AddHidden("IEFrame", "");
  EXPECT_TRUE(TisIEorMSNactive(state, ie));
  EXPECT_EQ(state.IEBrowserKind, kIEHidden);
}

TEST(IEActive, IEFrameCountsWhateverItsTitle) {
  EXPECT_EQ(IEKindFor("IEFrame", ""), kIEVisible);
  EXPECT_EQ(IEKindFor("IEFRAME", "Untitled"), kIEVisible);
}

TEST(IEActive, ExplorerWindowNeedsAnIETitleEnding) {
  EXPECT_EQ(IEKindFor("CabinetWClass", "My Documents"), kNoIEBrowser);
  EXPECT_EQ(IEKindFor("CabinetWClass", "News - Microsoft Internet Explorer"), kIEVisible);
  EXPECT_EQ(IEKindFor("cabinetwclass", "news - windows internet explorer"), kIEVisible);
  EXPECT_EQ(IEKindFor("CabinetWClass", "Windows Internet Explorer"), kIEVisible);
  EXPECT_EQ(IEKindFor("CabinetWClass", "Internet Explorer"), kNoIEBrowser);
  EXPECT_EQ(IEKindFor("CabinetWClass", "Windows Internet Explorer - Help"), kNoIEBrowser);
  EXPECT_EQ(IEKindFor("ExploreWClass", "News - Windows Internet Explorer"), kNoIEBrowser);
}

TEST(IEActive, CustomTitleCountsOnlyWhenSetAndAtTheEnd) {
  EXPECT_EQ(IEKindFor("CabinetWClass", "News - My Browser", "MY BROWSER"), kIEVisible);
  EXPECT_EQ(IEKindFor("CabinetWClass", "News - My Browser", ""), kNoIEBrowser);
  EXPECT_EQ(IEKindFor("CabinetWClass", "My Browser - News", "MY BROWSER"), kNoIEBrowser);
  EXPECT_EQ(IEKindFor("CabinetWClass", "Browser", "MY BROWSER"), kNoIEBrowser);
  EXPECT_EQ(IEKindFor("CabinetWClass", "", "MY BROWSER"), kNoIEBrowser);
}

TEST(IEActive, KindsAreTriedInOrder) {
  BrowserActivity state;
  FakeWindowList hiddenIEAndMSN;
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

TEST(IEActive, NoBrowserResetsTheKind) {
  BrowserActivity state;
  FakeWindowList before;
  before.Add("IEFrame", "");
  EXPECT_TRUE(TisIEorMSNactive(state, before));
  FakeWindowList after;
  after.Add("MozillaWindowClass", "A - Mozilla Firefox");
  after.Add("CabinetWClass", "C:\\");
  EXPECT_FALSE(TisIEorMSNactive(state, after));
  EXPECT_EQ(state.IEBrowserKind, kNoIEBrowser);
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
