// Answers a message box that another thread or program shows: waits for the
// box with the caption, keeps its text and presses OK.
#pragma once
#include <windows.h>

#include <string>
#include <thread>

namespace tidemark::test {

class MessageBoxAnswer {
 public:
  explicit MessageBoxAnswer(std::string caption, DWORD limitMs = 60000)
      : caption_(std::move(caption)), thread_([this, limitMs] { Watch(limitMs); }) {}
  ~MessageBoxAnswer() { Wait(); }
  MessageBoxAnswer(const MessageBoxAnswer&) = delete;
  MessageBoxAnswer& operator=(const MessageBoxAnswer&) = delete;

  // Until the box was answered (or the time ran out); its text, empty when none came.
  const std::string& Wait() {
    if (thread_.joinable()) thread_.join();
    return text_;
  }

 private:
  void Watch(DWORD limitMs) {
    DWORD start = GetTickCount();
    while (GetTickCount() - start < limitMs) {
      if (HWND box = FindWindowA("#32770", caption_.c_str())) {
        EnumChildWindows(
            box,
            [](HWND child, LPARAM data) -> BOOL {
              char text[4096] = {};
              char className[32] = {};
              GetClassNameA(child, className, sizeof className);
              auto& kept = *reinterpret_cast<std::string*>(data);
              if (lstrcmpiA(className, "Static") == 0 && GetWindowTextA(child, text, sizeof text) > 0 &&
                  lstrlenA(text) > static_cast<int>(kept.size()))
                kept = text;
              return TRUE;
            },
            reinterpret_cast<LPARAM>(&text_));
        PostMessageA(box, WM_COMMAND, IDOK, 0);
        return;
      }
      Sleep(100);
    }
  }

  std::string caption_;
  std::string text_;
  std::thread thread_;
};

}  // namespace tidemark::test
