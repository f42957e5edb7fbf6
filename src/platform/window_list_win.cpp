#include <windows.h>

#include "platform/window_list.h"

namespace tidemark::platform {
namespace {

HWND ToHwnd(WindowHandle handle) { return reinterpret_cast<HWND>(handle); }

std::string TitleOf(HWND window) {
  char text[kMaxWindowText + 1];
  int length = GetWindowTextA(window, text, sizeof text);
  return length > 0 ? std::string(text, length) : std::string();
}

std::string ClassNameOf(HWND window) {
  char name[kMaxWindowText + 1];
  int length = GetClassNameA(window, name, sizeof name);
  return length > 0 ? std::string(name, length) : std::string();
}

class Win32WindowList : public WindowList {
 public:
  void ForEachTopLevel(const std::function<bool(const TopLevelWindow&)>& visit) override {
    EnumWindows(VisitTopLevel, reinterpret_cast<LPARAM>(&visit));
  }

  std::vector<std::string> DescendantTitles(WindowHandle window) override {
    std::vector<std::string> titles;
    EnumChildWindows(ToHwnd(window), CollectTitle, reinterpret_cast<LPARAM>(&titles));
    return titles;
  }

 private:
  static BOOL CALLBACK VisitTopLevel(HWND window, LPARAM context) {
    TopLevelWindow found;
    found.handle = reinterpret_cast<WindowHandle>(window);
    found.isWindow = IsWindow(window) != FALSE;
    if (found.isWindow) {
      found.visible = IsWindowVisible(window) != FALSE;
      found.className = ClassNameOf(window);
      found.title = TitleOf(window);
    }
    auto& visit = *reinterpret_cast<const std::function<bool(const TopLevelWindow&)>*>(context);
    return visit(found) ? TRUE : FALSE;
  }

  static BOOL CALLBACK CollectTitle(HWND window, LPARAM context) {
    reinterpret_cast<std::vector<std::string>*>(context)->push_back(TitleOf(window));
    return TRUE;
  }
};

}  // namespace

WindowList& RealWindowList() {
  static Win32WindowList windows;
  return windows;
}

}  // namespace tidemark::platform
