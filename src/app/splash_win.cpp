#include "app/splash_win.h"

namespace tidemark::app {
namespace {

constexpr int kWidth = 420, kHeight = 140;

}  // namespace

SIZE SplashSize(int ppi) {
  if (ppi < 106) return {kWidth, kHeight};
  return {kWidth * (96 + (ppi - 96) * 25 / 100) / 96, kHeight * ppi / 96};
}

void SplashForm::Create(int ppi) {
  SIZE size = SplashSize(ppi);
  int x = (GetSystemMetrics(SM_CXSCREEN) - size.cx) / 2;
  int y = (GetSystemMetrics(SM_CYSCREEN) - size.cy) / 2;
  CreateWindowOf("TidemarkSplash", "Tidemark - \"Purge Now\"", WS_POPUP | WS_CAPTION | WS_BORDER, WS_EX_TOOLWINDOW, x,
                 y, size.cx, size.cy, nullptr);
  RECT client;
  GetClientRect(hwnd(), &client);
  int lineHeight = gui::Scale(20, ppi);
  int top = (client.bottom - 2 * lineHeight) / 2;
  AddControl("STATIC", "\"Tidemark\" is Executing with the \"Purge Now\" Options.", SS_CENTER | WS_VISIBLE, 0, top,
             client.right, lineHeight);
  AddControl("STATIC", "  Execute via Primary \"Tidemark\" Shortcut to Change Options.", SS_CENTER | WS_VISIBLE, 0,
             top + lineHeight, client.right, lineHeight);
}

void SplashForm::ShowNow() {
  ShowWindow(hwnd(), SW_SHOWNOACTIVATE);
  UpdateWindow(hwnd());
  gui::PumpPendingMessages();
}

void SplashForm::Hide() { ShowWindow(hwnd(), SW_HIDE); }

}  // namespace tidemark::app
