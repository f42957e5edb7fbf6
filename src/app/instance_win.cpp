#include "app/instance_win.h"

#include "platform/gui_win.h"

namespace tidemark::app {

SingleInstance::SingleInstance(const std::string& title) {
  mutex_ = CreateMutexA(nullptr, TRUE, ("PREVINST:" + title).c_str());
  first_ = mutex_ != nullptr && GetLastError() == 0;
}

SingleInstance::~SingleInstance() {
  if (!mutex_) return;
  if (first_) ReleaseMutex(mutex_);
  CloseHandle(mutex_);
}

bool ActivatePreviousInstance(HWND ownWindow) {
  char className[256] = {};
  GetClassNameA(ownWindow, className, sizeof className);
  std::string title = gui::WindowText(ownWindow);
  DWORD ownProcess = GetCurrentProcessId();
  HWND found = nullptr;
  while ((found = FindWindowExA(nullptr, found, className, title.c_str())) != nullptr) {
    DWORD process = 0;
    GetWindowThreadProcessId(found, &process);
    if (process != ownProcess) break;
  }
  if (!found) return false;
  HWND popup = GetLastActivePopup(found);
  HWND target = (popup != found && IsWindowVisible(popup) && IsWindowEnabled(popup)) ? popup : found;
  // The application window itself stays hidden; its main window is what the user minimised.
  if (IsIconic(found) || IsIconic(target)) ShowWindow(target, SW_RESTORE);
  SetForegroundWindow(target);
  BringWindowToTop(target);
  return true;
}

}  // namespace tidemark::app
