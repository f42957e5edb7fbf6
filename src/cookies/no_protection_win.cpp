#include "cookies/no_protection_win.h"

namespace tidemark::cookies {
namespace {

constexpr int kCheckBoxId = 100;

// Layout at 96 pixels per inch, in client coordinates.
constexpr int kClientWidth = 480;
constexpr int kClientHeight = 232;
constexpr int kMargin = 16;
constexpr int kTextWidth = kClientWidth - 2 * kMargin;
constexpr int kLineTops[] = {14, 34, 62, 82, 110};
constexpr int kLineHeights[] = {18, 18, 18, 18, 34};
constexpr int kCheckBoxTop = 154;
constexpr int kCheckBoxWidth = 260;
constexpr int kCheckBoxHeight = 20;
constexpr int kButtonTop = 188;
constexpr int kButtonWidth = 92;
constexpr int kButtonHeight = 28;
constexpr int kButtonGap = 12;

struct WarningState {
  bool closed = false;
  bool proceed = false;
  bool dontShowAgain = false;
};

LRESULT CALLBACK WarningProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* state = reinterpret_cast<WarningState*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  switch (message) {
    case WM_NCCREATE:
      SetWindowLongPtrA(window, GWLP_USERDATA,
                        reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams));
      break;
    case DM_GETDEFID:
      return MAKELRESULT(IDCANCEL, DC_HASDEFID);
    case WM_CLOSE:
      PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
      return 0;
    case WM_COMMAND: {
      int id = LOWORD(wParam);
      if (state && (id == IDOK || id == IDCANCEL)) {
        state->proceed = id == IDOK;
        state->dontShowAgain = IsDlgButtonChecked(window, kCheckBoxId) == BST_CHECKED;
        state->closed = true;
        return 0;
      }
      break;
    }
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

void RegisterWarningClass(HINSTANCE instance) {
  WNDCLASSA windowClass = {};
  windowClass.lpfnWndProc = WarningProc;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = kNoProtectionWindowClass;
  RegisterClassA(&windowClass);  // fails harmlessly when already registered
}

HWND AddControl(HWND parent, const char* kind, const char* text, DWORD style, int left, int top, int width,
                int height, int id, int pixelsPerInch) {
  HWND control = CreateWindowExA(0, kind, text, WS_CHILD | WS_VISIBLE | style, ScaleForScreen(left, pixelsPerInch),
                                 ScaleForScreen(top, pixelsPerInch), ScaleForScreen(width, pixelsPerInch),
                                 ScaleForScreen(height, pixelsPerInch), parent,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                 reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(parent, GWLP_HINSTANCE)), nullptr);
  SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
  return control;
}

HWND CreateWarningWindow(CookieBrowser browser, HWND owner, int pixelsPerInch, WarningState& state) {
  HINSTANCE instance = GetModuleHandleA(nullptr);
  RegisterWarningClass(instance);
  const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU;
  const DWORD exStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;
  RECT frame = {0, 0, ScaleForScreen(kClientWidth, pixelsPerInch), ScaleForScreen(kClientHeight, pixelsPerInch)};
  AdjustWindowRectEx(&frame, style, FALSE, exStyle);
  int width = frame.right - frame.left;
  int height = frame.bottom - frame.top;
  HWND window = CreateWindowExA(exStyle, kNoProtectionWindowClass, NoProtectionCaption(browser).c_str(), style,
                                (GetSystemMetrics(SM_CXSCREEN) - width) / 2, (GetSystemMetrics(SM_CYSCREEN) - height) / 2,
                                width, height, owner, nullptr, instance, &state);
  if (!window) return nullptr;

  for (size_t i = 0; i < kNoProtectionLines.size(); ++i)
    AddControl(window, "STATIC", kNoProtectionLines[i], SS_LEFT, kMargin, kLineTops[i], kTextWidth, kLineHeights[i], 0,
               pixelsPerInch);
  AddControl(window, "BUTTON", kNoProtectionCheckBox, BS_AUTOCHECKBOX | WS_TABSTOP, kMargin, kCheckBoxTop, kCheckBoxWidth, kCheckBoxHeight,
             kCheckBoxId, pixelsPerInch);
  AddControl(window, "BUTTON", kNoProtectionContinue, BS_PUSHBUTTON | WS_TABSTOP,
             kClientWidth - kMargin - 2 * kButtonWidth - kButtonGap, kButtonTop, kButtonWidth, kButtonHeight, IDOK,
             pixelsPerInch);
  HWND bypass = AddControl(window, "BUTTON", kNoProtectionBypass, BS_DEFPUSHBUTTON | WS_TABSTOP,
                           kClientWidth - kMargin - kButtonWidth, kButtonTop, kButtonWidth, kButtonHeight, IDCANCEL,
                           pixelsPerInch);
  CheckDlgButton(window, kCheckBoxId, BST_UNCHECKED);
  ShowWindow(window, SW_SHOWNORMAL);
  SetFocus(bypass);
  return window;
}

}  // namespace

bool ConfirmNoProtection(CookieBrowser browser, std::string& showOption, HWND owner, int pixelsPerInch) {
  WarningState state;
  HWND window = CreateWarningWindow(browser, owner, pixelsPerInch, state);
  if (!window) return false;
  if (owner) EnableWindow(owner, FALSE);

  MSG message;
  while (!state.closed) {
    BOOL got = GetMessageA(&message, nullptr, 0, 0);
    if (got <= 0) {
      // The program is ending: hand the quit on and let nothing be deleted.
      if (got == 0) PostQuitMessage(static_cast<int>(message.wParam));
      break;
    }
    if (!IsDialogMessageA(window, &message)) {
      TranslateMessage(&message);
      DispatchMessageA(&message);
    }
  }

  if (owner) EnableWindow(owner, TRUE);
  DestroyWindow(window);
  if (state.dontShowAgain) showOption = kDontShowAgain;
  return state.closed && state.proceed;
}

}  // namespace tidemark::cookies
