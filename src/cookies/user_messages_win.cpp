#include "cookies/user_messages_win.h"

namespace tidemark::cookies {
namespace {

HHOOK renameHook = nullptr;

// Renames the buttons of the message box about to be activated, once.
LRESULT CALLBACK RenameButtons(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_ACTIVATE) {
    HWND box = reinterpret_cast<HWND>(wParam);
    SetDlgItemTextA(box, kConfirmYes, "&Yes");
    SetDlgItemTextA(box, kConfirmNo, "&No");
    SetDlgItemTextA(box, kConfirmYesToAll, "Yes To &All");
    HHOOK hook = renameHook;
    renameHook = nullptr;
    UnhookWindowsHookEx(hook);
    return 0;
  }
  return CallNextHookEx(renameHook, code, wParam, lParam);
}

}  // namespace

void MessageBoxMessages::Show(const std::string& caption, const std::string& text) {
  MessageBoxA(owner_, text.c_str(), caption.c_str(), MB_OK);
}

ConfirmAnswer ConfirmYesNoYesToAll(HWND owner, const std::string& caption, const std::string& text) {
  renameHook = SetWindowsHookExA(WH_CBT, RenameButtons, nullptr, GetCurrentThreadId());
  int answer = MessageBoxA(owner, text.c_str(), caption.c_str(), MB_ABORTRETRYIGNORE | MB_ICONQUESTION | MB_DEFBUTTON1);
  if (renameHook) {
    UnhookWindowsHookEx(renameHook);
    renameHook = nullptr;
  }
  return answer == kConfirmYesToAll ? kConfirmYesToAll : answer == kConfirmYes ? kConfirmYes : kConfirmNo;
}

}  // namespace tidemark::cookies
