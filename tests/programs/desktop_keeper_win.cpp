// Keeps Wine's desktop process running while the Wine tests run. Started with
// no pipes attached before ctest, it starts that process itself; otherwise the
// first test that opens a window starts it, and the desktop process keeps that
// test's output pipe, and so one of ctest's slots, until the whole run ends.
// Ended with the wineserver.
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  // A message-only window: no test that lists the top-level windows sees it.
  CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) DispatchMessageA(&message);
  return 0;
}
