#include "app/browser_activity.h"

#include <algorithm>
#include <functional>
#include <string_view>

#include "chromium/chromium_purges.h"
#include "platform/text.h"

namespace tidemark::app {
namespace {

using platform::TopLevelWindow;
using platform::WindowList;

constexpr std::string_view kFirefoxTitle = "MOZILLA FIREFOX";
constexpr std::string_view kIETitleEndings[] = {"MICROSOFT INTERNET EXPLORER", "WINDOWS INTERNET EXPLORER"};
constexpr std::string_view kMSNBrowserChild = "BROWSER";

enum class Visibility { Visible, Hidden };

bool IsFirefoxWindow(const TopLevelWindow& window) {
  std::string className = UpperCase(window.className);
  if (className != "MOZILLAWINDOWCLASS" && className != "MOZILLAUIWINDOWCLASS") return false;
  std::string title = UpperCase(window.title);
  return StartsWith(title, kFirefoxTitle) || EndsWith(title, kFirefoxTitle);
}

// Every IEFRAME window is Internet Explorer. An Explorer folder window
// (CABINETWCLASS) can show web pages too, so it counts only when its title
// carries an IE ending or the user's custom IE title.
bool IsIEWindow(const TopLevelWindow& window, const BrowserActivity& state) {
  std::string className = UpperCase(window.className);
  if (className == "IEFRAME") return true;
  if (className != "CABINETWCLASS") return false;
  std::string title = UpperCase(window.title);
  for (std::string_view ending : kIETitleEndings)
    if (EndsWith(title, ending)) return true;
  return !state.customIETitle.empty() && EndsWith(title, state.customIETitle);
}

bool IsMSNWindow(const TopLevelWindow& window, WindowList& windows) {
  std::string className = UpperCase(window.className);
  if (className != "MSN6 WINDOW" && className != "MSN9 WINDOW") return false;
  for (const std::string& title : windows.DescendantTitles(window.handle))
    if (UpperCase(title) == kMSNBrowserChild) return true;
  return false;
}

// Calls visit for each top-level window of the given visibility until visit
// answers false. A window that went away during the enumeration is skipped:
// it is no browser any more, but the windows after it may be.
void ForEachWindow(WindowList& windows, Visibility visibility, const std::function<bool(const TopLevelWindow&)>& visit) {
  windows.ForEachTopLevel([&](const TopLevelWindow& window) {
    if (!window.isWindow || window.visible != (visibility == Visibility::Visible)) return true;
    return visit(window);
  });
}

bool AnyWindow(WindowList& windows, Visibility visibility, const std::function<bool(const TopLevelWindow&)>& fits) {
  bool found = false;
  ForEachWindow(windows, visibility, [&](const TopLevelWindow& window) {
    found = fits(window);
    return !found;
  });
  return found;
}

}  // namespace

void LoadCustomIETitle(BrowserActivity& state, platform::Registry& registry, const std::string& key) {
  auto title = registry.ReadString(platform::RegistryRoot::CurrentUser, key, "Window Title");
  state.customIETitle = title ? UpperCase(*title) : std::string();
}

bool TisFireFoxActive(WindowList& windows) { return AnyWindow(windows, Visibility::Visible, IsFirefoxWindow); }

bool TisIEorMSNactive(BrowserActivity& state, WindowList& windows) {
  auto isIE = [&](const TopLevelWindow& window) { return IsIEWindow(window, state); };
  auto isMSN = [&](const TopLevelWindow& window) { return IsMSNWindow(window, windows); };
  if (AnyWindow(windows, Visibility::Visible, isIE))
    state.IEBrowserKind = kIEVisible;
  else if (AnyWindow(windows, Visibility::Hidden, isIE))
    state.IEBrowserKind = kIEHidden;
  else if (AnyWindow(windows, Visibility::Visible, isMSN))
    state.IEBrowserKind = kMSNVisible;
  else if (AnyWindow(windows, Visibility::Hidden, isMSN))
    state.IEBrowserKind = kMSNHidden;
  else
    state.IEBrowserKind = kNoIEBrowser;
  return state.IEBrowserKind > kNoIEBrowser;
}

const locations::ChromiumBrowser* ActiveChromiumBrowser(platform::FileSystem& files, platform::Processes& processes,
                                                        const std::vector<locations::ChromiumBrowser>& browsers) {
  if (browsers.empty()) return nullptr;
  const std::vector<std::string> running = processes.RunningProgramNames();
  auto active = std::find_if(browsers.begin(), browsers.end(), [&](const locations::ChromiumBrowser& browser) {
    return chromium::ChromiumBrowserActive(files, running, browser);
  });
  return active == browsers.end() ? nullptr : &*active;
}

std::vector<std::string> ListHiddenBrowserWindows(const BrowserActivity& state, WindowList& windows) {
  std::vector<std::string> lines = {"Display Hidden Browser Windows ", " "};
  int found = 0;
  ForEachWindow(windows, Visibility::Hidden, [&](const TopLevelWindow& window) {
    const char* kind = nullptr;
    if (IsIEWindow(window, state))
      kind = " I.E. Window - Title = ";
    else if (IsFirefoxWindow(window))
      kind = " FireFox Window - Title = ";
    else if (IsMSNWindow(window, windows))
      kind = "MSN Window - Title = ";
    if (kind) {
      lines.push_back("Hidden" + std::string(kind) + window.title);
      lines.push_back(" ");
      ++found;
    }
    return true;
  });
  lines.push_back(found == 1 ? "1 - Browser Window Found" : "   " + std::to_string(found) + " - Browser Windows Found");
  return lines;
}

}  // namespace tidemark::app
