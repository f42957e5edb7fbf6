// The real Windows clipboard, and a session of it. Tests derive from
// Win32Clipboard to inject a failure.
#pragma once
#include <windows.h>

#include <string>

#include "platform/clipboard.h"

namespace tidemark::platform {

// The clipboard held open for one exchange. Another program may hold it for
// a moment, so opening is tried a few times.
class ClipboardSession {
 public:
  explicit ClipboardSession(HWND owner = nullptr);
  ClipboardSession(const ClipboardSession&) = delete;
  ClipboardSession& operator=(const ClipboardSession&) = delete;
  ~ClipboardSession();

  bool IsOpen() const { return open_; }
  // Empties it of every format.
  bool Empty();
  // Empties it and leaves the text there alone (CF_TEXT).
  bool SetText(const std::string& text);
  // The Windows error of the last step that failed.
  DWORD LastError() const { return lastError_; }

 private:
  bool Failed();

  bool open_ = false;
  DWORD lastError_ = 0;
};

class Win32Clipboard : public Clipboard {
 public:
  bool Clear() override;
  uint32_t LastError() const override { return lastError_; }

 protected:
  DWORD lastError_ = 0;
};

}  // namespace tidemark::platform
