// Acting on a window that a modal loop is about to show: the action is retried from a thread timer, inside whatever
// message loop runs, until it answers that it is done.
#pragma once
#include <windows.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/gui_win.h"

namespace tidemark::test {

inline std::function<bool()>& PendingAction() {
  static std::function<bool()> action;
  return action;
}

inline void WhenReady(std::function<bool()> action) {
  PendingAction() = std::move(action);
  SetTimer(nullptr, 0, 50, [](HWND, UINT, UINT_PTR timer, DWORD) {
    auto pending = PendingAction();  // a copy: the action may replace itself
    if (pending && pending()) {
      KillTimer(nullptr, timer);
      PendingAction() = nullptr;
    }
  });
}

// This thread's visible top-level window of a class (and title): tests running in parallel show the same windows.
inline HWND ThreadWindow(const char* className, const char* title = nullptr) {
  HWND window = nullptr;
  while ((window = FindWindowExA(nullptr, window, className, title)) &&
         (GetWindowThreadProcessId(window, nullptr) != GetCurrentThreadId() || !IsWindowVisible(window))) {
  }
  return window;
}

// Every message box this thread shows, as "caption|text", answered with the button given for its caption (OK
// otherwise); `during` runs before the answer.
struct MessageBoxes {
  std::vector<std::string> shown;
  std::map<std::string, int> answers;
  std::function<void()> during;
  void Watch() {
    WhenReady([this] {
      HWND box = ThreadWindow("#32770");
      if (!box) return false;
      std::string caption = gui::WindowText(box);
      shown.push_back(caption + "|" + gui::WindowText(GetDlgItem(box, 0xFFFF)));
      if (during) during();
      PostMessageA(box, WM_COMMAND, answers.contains(caption) ? answers[caption] : IDOK, 0);
      ShowWindow(box, SW_HIDE);  // seen once
      return false;
    });
  }
};

}  // namespace tidemark::test
