#include "settings/dialog_window_win.h"

#include <algorithm>

#include "settings/window_place_win.h"

namespace tidemark::gui {

void DialogWindow::Create(HWND owner) {
  owner_ = owner;
  closed_ = controlsMade_ = false;
  CreateWindowOf(design_.className, design_.caption.c_str(), design_.style, design_.exStyle, 0, 0, design_.size.width,
                 design_.size.height, owner);
  maximised_ = Place(KeptPlacement());
  OnCommandId(IDCANCEL, [this] { OnCloseRequest(); });
  CreateControls();
  controlsMade_ = true;
  Layout();
}

void DialogWindow::ShowModal(HWND owner) {
  Create(owner);
  ShowWindow(hwnd(), maximised_ ? SW_SHOWMAXIMIZED : SW_SHOW);
  UpdateWindow(hwnd());
  OnShown();
  RunModal(hwnd(), owner, closed_, [this](MSG& message) { return Translate(message); });
  Close();  // also when the loop ended for the program's end
}

void DialogWindow::ShowModeless(HWND owner) {
  modeless_ = true;
  if (!hwnd()) Create(owner);
  ShowWindow(hwnd(), SW_SHOW);
}

void DialogWindow::Close() {
  if (closed_) return;
  if (modeless_) {
    ShowWindow(hwnd(), SW_HIDE);
    return;
  }
  closed_ = true;
  OnClosing();
  StorePlace();
  EndModal(hwnd(), owner_);
}

bool DialogWindow::Place(const std::optional<settings::WindowPlacement>& kept) {
  return settings::ApplyPlacement(hwnd(), owner_, kept, design_.size, design_.pixelsPerInch);
}

void DialogWindow::CentreOnScreen(int clientWidth, int clientHeight) {
  RECT frame{0, 0, clientWidth, clientHeight};
  AdjustWindowRectEx(&frame, design_.style, FALSE, design_.exStyle);
  int width = frame.right - frame.left, height = frame.bottom - frame.top;
  MoveWindow(hwnd(), std::max(0, (GetSystemMetrics(SM_CXSCREEN) - width) / 2),
             std::max(0, (GetSystemMetrics(SM_CYSCREEN) - height) / 2), width, height, FALSE);
}

bool DialogWindow::Translate(MSG& message) {
  hints_.Track(message);
  if (help_ && message.message == WM_KEYDOWN && message.wParam == VK_F1) {
    help_();
    return true;
  }
  return PreTranslate(message);
}

std::optional<settings::WindowPlacement> DialogWindow::KeptPlacement() {
  if (!kept_.key || kept_.settingsFile.empty()) return std::nullopt;
  platform::PrivateProfileFile ini(kept_.settingsFile);
  return settings::RestoreWindow(ini, kept_.key, kept_.restore, design_.size);
}

void DialogWindow::StorePlace() {
  if (!kept_.key || kept_.settingsFile.empty() || kept_.readOnlyMedia || !IsWindow(hwnd())) return;
  platform::PrivateProfileFile ini(kept_.settingsFile);
  settings::SaveWindow(ini, kept_.key, settings::StoredPositionOf(hwnd()));
}

LRESULT DialogWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_SIZE:
      if (controlsMade_) Layout();
      return 0;
    case WM_CLOSE:
      OnCloseRequest();
      return 0;
  }
  return Window::OnMessage(message, wParam, lParam);
}

}  // namespace tidemark::gui
