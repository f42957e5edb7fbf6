// Is a browser running? Several purges cannot work while Firefox holds its
// SQLite files or Internet Explorer maps its index files, so the main window
// polls these tests, which look at the desktop's top-level windows by class
// and title; a Chromium browser is known by its lockfile or its process.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "locations/chromium_locations.h"
#include "platform/files.h"
#include "platform/process.h"
#include "platform/registry.h"
#include "platform/window_list.h"

namespace tidemark::app {

// Values of IEBrowserKind.
inline constexpr int32_t kNoIEBrowser = 0;
inline constexpr int32_t kIEVisible = 1;
inline constexpr int32_t kIEHidden = 2;
inline constexpr int32_t kMSNVisible = 3;
inline constexpr int32_t kMSNHidden = 4;

// Where Internet Explorer keeps a user-chosen window title (below HKCU).
inline constexpr const char* kIEMainKey = "Software\\Microsoft\\Internet Explorer\\Main";

struct BrowserActivity {
  // Internet Explorer's custom window title, upper-cased; empty when none.
  std::string customIETitle;
  // Which IE/MSN window TisIEorMSNactive found last (kNoIEBrowser .. kMSNHidden).
  int32_t IEBrowserKind = kNoIEBrowser;
};

// Reads the custom IE title (value "Window Title", a string or expandable
// string) once at start; a missing key or value leaves it empty. Reads only.
void LoadCustomIETitle(BrowserActivity& state, platform::Registry& registry, const std::string& key = kIEMainKey);

// True when a visible Firefox window is open.
bool TisFireFoxActive(platform::WindowList& windows);

// Looks for IE visible, IE hidden, MSN visible, MSN hidden windows in this
// order, sets IEBrowserKind to the first kind found (kNoIEBrowser when none)
// and answers whether one was found.
bool TisIEorMSNactive(BrowserActivity& state, platform::WindowList& windows);

// The first of the located Chromium browsers that runs; null when none does.
// It lists the running processes once, which costs more than the window
// tests: the tick asks only while a Chromium function is checked.
const locations::ChromiumBrowser* ActiveChromiumBrowser(platform::FileSystem& files, platform::Processes& processes,
                                                        const std::vector<locations::ChromiumBrowser>& browsers);

// The diagnostic listing of all hidden IE, Firefox and MSN windows, ending
// with the count line; the caller writes the lines into the results list.
std::vector<std::string> ListHiddenBrowserWindows(const BrowserActivity& state, platform::WindowList& windows);

}  // namespace tidemark::app
