#include "platform/clipboard_win.h"

namespace tidemark::platform {

bool Win32Clipboard::Clear() {
  // Another program may hold the clipboard for a moment.
  bool opened = false;
  for (int attempt = 0; attempt < 5 && !(opened = OpenClipboard(nullptr)); ++attempt) Sleep(20);
  if (!opened) {
    lastError_ = GetLastError();
    return false;
  }
  bool emptied = EmptyClipboard();
  if (!emptied) lastError_ = GetLastError();
  CloseClipboard();
  return emptied;
}

Clipboard& RealClipboard() {
  static Win32Clipboard clipboard;
  return clipboard;
}

}  // namespace tidemark::platform
