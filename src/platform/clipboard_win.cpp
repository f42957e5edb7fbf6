#include "platform/clipboard_win.h"

#include <cstring>

namespace tidemark::platform {

ClipboardSession::ClipboardSession(HWND owner) {
  for (int attempt = 0; attempt < 5 && !(open_ = OpenClipboard(owner)); ++attempt) Sleep(20);
  if (!open_) lastError_ = GetLastError();
}

ClipboardSession::~ClipboardSession() {
  if (open_) CloseClipboard();
}

bool ClipboardSession::Failed() {
  lastError_ = GetLastError();
  return false;
}

bool ClipboardSession::Empty() { return open_ && (EmptyClipboard() || Failed()); }

bool ClipboardSession::SetText(const std::string& text) {
  if (!Empty()) return false;
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
  if (!memory) return Failed();
  if (void* target = GlobalLock(memory)) {
    memcpy(target, text.c_str(), text.size() + 1);
    GlobalUnlock(memory);
    if (SetClipboardData(CF_TEXT, memory)) return true;  // the clipboard owns it now
  }
  Failed();
  GlobalFree(memory);
  return false;
}

bool Win32Clipboard::Clear() {
  ClipboardSession clipboard;
  bool emptied = clipboard.Empty();
  if (!emptied) lastError_ = clipboard.LastError();
  return emptied;
}

Clipboard& RealClipboard() {
  static Win32Clipboard clipboard;
  return clipboard;
}

}  // namespace tidemark::platform
