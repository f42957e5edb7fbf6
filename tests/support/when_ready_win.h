// Acting on a window that a modal loop is about to show: the action is retried from a thread timer, inside whatever
// message loop runs, until it answers that it is done.
#pragma once
#include <windows.h>

#include <functional>

namespace tidemark::test {

inline std::function<bool()>& PendingAction() {
  static std::function<bool()> action;
  return action;
}

inline void CALLBACK RetryPendingAction(HWND, UINT, UINT_PTR timer, DWORD) {
  auto action = PendingAction();  // a copy: the action may replace itself
  if (action && action()) {
    KillTimer(nullptr, timer);
    PendingAction() = nullptr;
  }
}

inline void WhenReady(std::function<bool()> action) {
  PendingAction() = std::move(action);
  SetTimer(nullptr, 0, 50, RetryPendingAction);
}

}  // namespace tidemark::test
