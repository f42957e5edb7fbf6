#include "app/browser_activity.h"

#include <gtest/gtest.h>

#include <map>

namespace tidemark::app {
namespace {

using platform::TopLevelWindow;
using platform::WindowHandle;
using Lines = std::vector<std::string>;

// One window of a desktop; no class: one that went away while the list was walked.
struct Window {
  const char* className;
  const char* title = "";
  bool visible = true;
  Lines children = {};
};

// A desktop whose windows the test lays out; counts the windows it showed.
class FakeWindowList : public platform::WindowList {
 public:
  FakeWindowList(std::initializer_list<Window> windows) {
    for (const Window& window : windows) {
      WindowHandle handle = windows_.size() + 1;
      windows_.push_back({handle, window.className != nullptr, window.className && window.visible,
                          window.className ? window.className : "IEFrame", window.title});
      children_[handle] = window.children;
    }
  }
  void ForEachTopLevel(const std::function<bool(const TopLevelWindow&)>& visit) override {
    for (const TopLevelWindow& window : windows_) {
      ++visited;
      if (!visit(window)) return;
    }
  }
  Lines DescendantTitles(WindowHandle window) override { return children_[window]; }

  int visited = 0;

 private:
  std::vector<TopLevelWindow> windows_;
  std::map<WindowHandle, Lines> children_;
};

TEST(FirefoxActive, AVisibleWindowOfAFirefoxClassBeginningOrEndingWithItsName) {
  const struct {
    Window window;
    bool counts;
  } cases[] = {{{"MozillaWindowClass", "Example Page - Mozilla Firefox"}, true},
               {{"MozillaWindowClass", "Mozilla Firefox Start Page"}, true},
               {{"mozillauiwindowclass", "Downloads - MOZILLA FIREFOX"}, true},
               {{"MozillaWindowClass", "Mozilla Firefo"}, false},
               {{"MozillaWindowClass", "About Mozilla Firefox Help"}, false},
               {{"MozillaWindowClass", "Example Page - Mozilla Firefox", false}, false},
               {{"Notepad", "Example Page - Mozilla Firefox"}, false}};
  for (const auto& c : cases) {
    FakeWindowList windows{c.window};
    EXPECT_EQ(TisFireFoxActive(windows), c.counts) << c.window.className << " " << c.window.title;
  }
  // The walk skips vanished windows and stops at the first match.
  FakeWindowList windows{
      {nullptr}, {"MozillaWindowClass", "A - Mozilla Firefox"}, {"MozillaWindowClass", "B - Mozilla Firefox"}};
  EXPECT_TRUE(TisFireFoxActive(windows));
  EXPECT_EQ(windows.visited, 2);
}

TEST(IEActive, IEFrameAlwaysExplorerWindowsWithAnIETitleMSNWithABrowserChildInKindOrder) {
  const struct {
    const char* customTitle;
    std::initializer_list<Window> windows;
    int32_t kind;
  } cases[] = {
      {"", {{"IEFRAME", "Untitled"}}, kIEVisible},
      {"", {{"CabinetWClass", "News - Microsoft Internet Explorer"}}, kIEVisible},
      {"", {{"cabinetwclass", "news - windows internet explorer"}}, kIEVisible},
      {"", {{"CabinetWClass", "Internet Explorer"}}, kNoIEBrowser},
      {"", {{"CabinetWClass", "Windows Internet Explorer - Help"}}, kNoIEBrowser},
      {"", {{"ExploreWClass", "News - Windows Internet Explorer"}}, kNoIEBrowser},
      {"MY BROWSER", {{"CabinetWClass", "News - My Browser"}}, kIEVisible},
      {"", {{"CabinetWClass", "News - My Browser"}}, kNoIEBrowser},
      {"MY BROWSER", {{"CabinetWClass", "My Browser - News"}}, kNoIEBrowser},
      {"", {{nullptr}, {"MSN6 Window", "MSN", true, {"", "Browser"}}, {"IEFrame", "Start", false}}, kIEHidden},
      {"", {{"IEFrame", "", false}, {"IEFrame"}}, kIEVisible},
      {"", {{"MSN9 Window", "", false, {"browser"}}}, kMSNHidden},
      {"", {{"MSN9 Window", "", false, {"browser"}}, {"msn9 window", "", true, {"Toolbar", "BROWSER"}}}, kMSNVisible},
      {"", {{"MozillaWindowClass", "A - Mozilla Firefox"}, {"CabinetWClass", "C:\\"}}, kNoIEBrowser},
      {"",
       {{"MSN6 Window", "Browser", true, {"Browser Bar", " Browser", "Navigator"}},
        {"MSN8 Window", "", true, {"Browser"}}},
       kNoIEBrowser},
  };
  for (const auto& c : cases) {
    FakeWindowList windows(c.windows);
    BrowserActivity state;
    state.IEBrowserKind = kMSNHidden;
    state.customIETitle = c.customTitle;
    EXPECT_EQ(TisIEorMSNactive(state, windows), c.kind != kNoIEBrowser) << c.windows.begin()->title;
    EXPECT_EQ(state.IEBrowserKind, c.kind) << c.windows.begin()->title;
  }
}

TEST(HiddenBrowserListing, ListsEveryHiddenBrowserWithItsTitleAndCounts) {
  BrowserActivity state;
  state.customIETitle = "MY BROWSER";
  FakeWindowList windows{{"CabinetWClass", "News - My Browser", false},
                         {"MozillaWindowClass", "Shown - Mozilla Firefox"},
                         {"MozillaWindowClass", "Hidden Page - Mozilla Firefox", false},
                         {"CabinetWClass", "My Documents", false},
                         {nullptr},
                         {"MSN9 Window", "MSN Explorer", false, {"Browser"}},
                         {"IEFrame", "", false}};
  EXPECT_EQ(ListHiddenBrowserWindows(state, windows),
            (Lines{"Display Hidden Browser Windows ", " ", "Hidden I.E. Window - Title = News - My Browser", " ",
                   "Hidden FireFox Window - Title = Hidden Page - Mozilla Firefox", " ",
                   "HiddenMSN Window - Title = MSN Explorer", " ", "Hidden I.E. Window - Title = ", " ",
                   "   4 - Browser Windows Found"}));

  FakeWindowList none{{"IEFrame", "Visible"}, {"Notepad", "Mozilla Firefox", false}};
  EXPECT_EQ(ListHiddenBrowserWindows(state, none),
            (Lines{"Display Hidden Browser Windows ", " ", "   0 - Browser Windows Found"}));
  FakeWindowList one{{"MozillaUIWindowClass", "Mozilla Firefox", false}};
  Lines lines = ListHiddenBrowserWindows(state, one);
  EXPECT_EQ(lines.size(), 5u);
  EXPECT_EQ(lines.back(), "1 - Browser Window Found");
}

}  // namespace
}  // namespace tidemark::app
