// The desktop's windows as the browser test sees them: top-level windows in
// the order EnumWindows gives, with class name and title (each at most 255
// characters; empty when the system cannot tell them).
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace tidemark::platform {

using WindowHandle = std::uintptr_t;

constexpr size_t kMaxWindowText = 255;

struct TopLevelWindow {
  WindowHandle handle = 0;
  bool isWindow = false;  // false once the window has gone away meanwhile
  bool visible = false;
  std::string className;
  std::string title;
};

class WindowList {
 public:
  virtual ~WindowList() = default;
  // Calls visit for each top-level window; visit returns false to stop.
  virtual void ForEachTopLevel(const std::function<bool(const TopLevelWindow&)>& visit) = 0;
  // Titles of all descendants of a window, in the order EnumChildWindows visits them.
  virtual std::vector<std::string> DescendantTitles(WindowHandle window) = 0;
};

// The windows of the calling thread's desktop.
WindowList& RealWindowList();

}  // namespace tidemark::platform
