#include "platform/gui_win.h"

#include <cstdio>
#include <exception>
#include <set>
#include <stdexcept>

namespace tidemark::gui {
namespace {

struct ProgramErrors {
  ErrorHandler handler;
  UINT faultExitCode = 0;
  LPTOP_LEVEL_EXCEPTION_FILTER filterBefore = nullptr;
};

ProgramErrors& Errors() {
  static ProgramErrors errors;
  return errors;
}

std::string FaultText(const EXCEPTION_RECORD& fault) {
  char text[96];
  if (fault.ExceptionCode == EXCEPTION_ACCESS_VIOLATION && fault.NumberParameters >= 2) {
    ULONG_PTR access = fault.ExceptionInformation[0];
    std::snprintf(text, sizeof text, "Access violation %s address %08llX",
                  access == 1   ? "writing"
                  : access == 8 ? "executing"
                                : "reading",
                  static_cast<unsigned long long>(fault.ExceptionInformation[1]));
  } else {
    std::snprintf(text, sizeof text, "Exception %08lX", static_cast<unsigned long>(fault.ExceptionCode));
  }
  return text;
}

LONG WINAPI ReportFault(EXCEPTION_POINTERS* fault) {
  const EXCEPTION_RECORD& record = *fault->ExceptionRecord;
  if (Errors().handler) Errors().handler(FaultText(record), reinterpret_cast<uintptr_t>(record.ExceptionAddress));
  // No exit handlers: they would run on the state the fault left.
  TerminateProcess(GetCurrentProcess(), Errors().faultExitCode);
  return EXCEPTION_EXECUTE_HANDLER;
}

}  // namespace

void SetProgramErrorHandler(ErrorHandler handler, UINT faultExitCode) {
  ProgramErrors& errors = Errors();
  if (handler && !errors.handler) errors.filterBefore = SetUnhandledExceptionFilter(ReportFault);
  if (!handler && errors.handler) SetUnhandledExceptionFilter(errors.filterBefore);
  errors.handler = std::move(handler);
  errors.faultExitCode = faultExitCode;
}

void ReportCurrentException() {
  std::string message = "Unknown exception";
  try {
    throw;
  } catch (const std::exception& error) {
    message = error.what();
  } catch (...) {
  }
  if (Errors().handler) Errors().handler(message, 0);
}

void InitCommonControls() {
  static bool done = false;
  if (done) return;
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES | ICC_TAB_CLASSES | ICC_BAR_CLASSES |
                                                     ICC_UPDOWN_CLASS | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);
  done = true;
}

int ScreenPixelsPerInch() {
  int ppi = GetDeviceCaps(WindowDC(), LOGPIXELSY);
  return ppi > 0 ? ppi : 96;
}

int Scale(int pixels96, int ppi) { return MulDiv(pixels96, ppi, 96); }

int ScreenColourDepth() {
  WindowDC screen;
  return GetDeviceCaps(screen, BITSPIXEL) * GetDeviceCaps(screen, PLANES);
}

HFONT MessageFont() {
  static HFONT font = [] {
    NONCLIENTMETRICSA metrics{};
    // The XP-sized structure, so the call also works there.
    metrics.cbSize = offsetof(NONCLIENTMETRICSA, lfMessageFont) + sizeof(LOGFONTA);
    if (SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0))
      return CreateFontIndirectA(&metrics.lfMessageFont);
    return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  }();
  return font;
}

bool PumpPendingMessages() {
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(message.wParam));
      return false;
    }
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  return true;
}

std::string WindowText(HWND window) {
  int length = GetWindowTextLengthA(window);
  std::string text(static_cast<size_t>(length) + 1, '\0');
  text.resize(static_cast<size_t>(GetWindowTextA(window, text.data(), length + 1)));
  return text;
}

void RunModal(HWND window, HWND owner, const bool& closed, const std::function<bool(MSG&)>& preTranslate) {
  if (owner) EnableWindow(owner, FALSE);
  MSG message;
  while (!closed) {
    BOOL got = GetMessageA(&message, nullptr, 0, 0);
    if (got <= 0) {
      if (got == 0) PostQuitMessage(static_cast<int>(message.wParam));
      break;
    }
    if (preTranslate && preTranslate(message)) continue;
    if (!IsWindow(window) || !IsDialogMessageA(window, &message)) {
      TranslateMessage(&message);
      DispatchMessageA(&message);
    }
  }
}

void EndModal(HWND window, HWND owner) {
  if (owner) EnableWindow(owner, TRUE);
  if (IsWindow(window)) DestroyWindow(window);
}

Window::~Window() {
  if (hwnd_ && IsWindow(hwnd_)) {
    SetWindowLongPtrA(hwnd_, GWLP_USERDATA, 0);
    DestroyWindow(hwnd_);
  }
}

HWND Window::CreateWindowOf(const char* className, const char* title, DWORD style, DWORD exStyle, int x, int y,
                            int width, int height, HWND parent, HMENU menu, HBRUSH background) {
  static std::set<std::string> registered;
  HINSTANCE instance = GetModuleHandleA(nullptr);
  if (!registered.count(className)) {
    WNDCLASSEXA windowClass{sizeof windowClass};
    windowClass.lpfnWndProc = &Window::Procedure;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
    windowClass.hbrBackground = background ? background : GetSysColorBrush(COLOR_BTNFACE);
    windowClass.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(1));
    windowClass.lpszClassName = className;
    if (!RegisterClassExA(&windowClass) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
      throw std::runtime_error(std::string("Cannot register window class ") + className);
    registered.insert(className);
  }
  CreateWindowExA(exStyle, className, title, style, x, y, width, height, parent, menu, instance, this);
  if (!hwnd_) throw std::runtime_error(std::string("Cannot create window ") + className);
  return hwnd_;
}

HWND Window::AddControl(const char* className, const char* text, DWORD style, int x, int y, int width, int height,
                        DWORD exStyle, int id) {
  if (id == 0) id = nextId_++;
  HWND control = CreateWindowExA(exStyle, className, text, style | WS_CHILD | WS_CLIPSIBLINGS, x, y, width, height,
                                 hwnd_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleA(nullptr),
                                 nullptr);
  if (!control) throw std::runtime_error(std::string("Cannot create control ") + className);
  SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(MessageFont()), FALSE);
  return control;
}

HWND Window::AddButton(const char* text, int x, int y, int width, int height, std::function<void()> onClick,
                       DWORD style) {
  HWND button = AddControl("BUTTON", text, style | WS_VISIBLE | WS_TABSTOP, x, y, width, height);
  OnCommand(button, std::move(onClick));
  return button;
}

void Window::OnCommand(HWND control, std::function<void()> handler) {
  commands_[GetDlgCtrlID(control)] = std::move(handler);
}

void Window::OnNotify(HWND control, std::function<LRESULT(NMHDR*)> handler) { notifies_[control] = std::move(handler); }

void Window::OnDrawItem(HWND control, std::function<void(const DRAWITEMSTRUCT&)> handler) {
  drawers_[control] = std::move(handler);
}

void Window::StartTimer(UINT_PTR id, UINT milliseconds, std::function<void()> handler, bool oneShot) {
  timers_[id] = Timer{std::move(handler), oneShot};
  SetTimer(hwnd_, id, milliseconds, nullptr);
}

void Window::StopTimer(UINT_PTR id) {
  if (hwnd_) KillTimer(hwnd_, id);
}

void Window::SetControlColour(HWND control, COLORREF colour) {
  colours_.erase(control);
  if (colour != CLR_NONE) colours_.try_emplace(control, colour);
  InvalidateRect(control, nullptr, TRUE);
}

LRESULT Window::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      if (auto found = commands_.find(LOWORD(wParam)); found != commands_.end() && found->second) {
        auto handler = found->second;  // the handler may replace itself
        handler();
        return 0;
      }
      break;
    case WM_NOTIFY: {
      auto* header = reinterpret_cast<NMHDR*>(lParam);
      if (auto found = notifies_.find(header->hwndFrom); found != notifies_.end()) return found->second(header);
      break;
    }
    case WM_DRAWITEM: {
      const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
      if (auto found = drawers_.find(item.hwndItem); found != drawers_.end()) {
        found->second(item);
        return TRUE;
      }
      break;
    }
    case WM_TIMER:
      if (auto found = timers_.find(wParam); found != timers_.end()) {
        Timer timer = found->second;
        if (timer.oneShot) StopTimer(wParam);
        timer.handler();
        return 0;
      }
      break;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
      if (auto found = colours_.find(reinterpret_cast<HWND>(lParam)); found != colours_.end()) {
        SetBkColor(reinterpret_cast<HDC>(wParam), found->second.colour());
        return reinterpret_cast<LRESULT>(static_cast<HBRUSH>(found->second));
      }
      break;
  }
  return DefWindowProcA(hwnd_, message, wParam, lParam);
}

LRESULT CALLBACK Window::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* self = reinterpret_cast<Window*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  if (message == WM_NCCREATE) {
    self = static_cast<Window*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
    self->hwnd_ = window;
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  if (!self) return DefWindowProcA(window, message, wParam, lParam);
  try {
    LRESULT result = self->OnMessage(message, wParam, lParam);
    if (message == WM_NCDESTROY) {
      SetWindowLongPtrA(window, GWLP_USERDATA, 0);
      self->hwnd_ = nullptr;
    }
    return result;
  } catch (...) {
    ReportCurrentException();
    return 0;
  }
}

void ColourPanel::Create(HWND parent, int x, int y, int width, int height, COLORREF fill) {
  fill_ = fill;
  CreateWindowOf("TidemarkPanel", "", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 0, x, y, width, height, parent);
}

void ColourPanel::SetFill(COLORREF fill) {
  fill_ = fill;
  InvalidateRect(hwnd(), nullptr, TRUE);
}

void ColourPanel::SetText(const std::string& text) {
  text_ = text;
  InvalidateRect(hwnd(), nullptr, TRUE);
}

LRESULT ColourPanel::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = BeginPaint(hwnd(), &paint);
      RECT area;
      GetClientRect(hwnd(), &area);
      FillRect(dc, &area, SolidBrush(fill_));
      if (!text_.empty()) {
        SelectedObject font(dc, MessageFont());
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, RGB(0, 0, 0));
        RECT textArea = area;
        textArea.left += 4;
        DrawTextA(dc, text_.c_str(), static_cast<int>(text_.size()), &textArea,
                  DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
      }
      EndPaint(hwnd(), &paint);
      return 0;
    }
    case WM_NCHITTEST: return HTTRANSPARENT;
  }
  return Window::OnMessage(message, wParam, lParam);
}

void StatusHints::ShowToolTips(HWND window, int maxWidth) {
  window_ = window;
  toolTips_ = CreateWindowExA(0, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT, CW_USEDEFAULT,
                              CW_USEDEFAULT, CW_USEDEFAULT, window, nullptr, GetModuleHandleA(nullptr), nullptr);
  if (maxWidth > 0) SendMessageA(toolTips_, TTM_SETMAXTIPWIDTH, 0, maxWidth);  // the hints' line breaks count
}

void StatusHints::Set(HWND control, const std::string& hint) {
  std::string& text = hints_[control];
  text = hint.starts_with('|') ? hint.substr(1) : hint;
  if (control == shownFor_) shownFor_ = nullptr;
  if (!toolTips_ || hint.starts_with('|')) return;
  TOOLINFOA tool{};
  tool.cbSize = TTTOOLINFOA_V2_SIZE;
  tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  tool.hwnd = window_;
  tool.uId = reinterpret_cast<UINT_PTR>(control);
  tool.lpszText = text.data();
  SendMessageA(toolTips_, TTM_DELTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
  SendMessageA(toolTips_, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
}

const std::string& StatusHints::Of(HWND control) const {
  static const std::string none;
  auto found = hints_.find(control);
  return found == hints_.end() ? none : found->second;
}

void StatusHints::Track(const MSG& message) {
  if (message.message != WM_MOUSEMOVE || message.hwnd == shownFor_ || !statusBar_) return;
  shownFor_ = message.hwnd;
  SendMessageA(statusBar_, SB_SETTEXTA, static_cast<WPARAM>(part_), reinterpret_cast<LPARAM>(Of(message.hwnd).c_str()));
}

}  // namespace tidemark::gui
