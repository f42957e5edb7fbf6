#include "cookies/no_protection_win.h"

#include "settings/dialog_window_win.h"

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

// "Bypass" is the default button and answers Escape and the caption's close button.
class NoProtectionWarning : public gui::DialogWindow {
 public:
  NoProtectionWarning(CookieBrowser browser, int pixelsPerInch)
      : DialogWindow({kNoProtectionWindowClass,
                      NoProtectionCaption(browser),
                      {},
                      pixelsPerInch,
                      WS_POPUP | WS_CAPTION | WS_SYSMENU,
                      WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT}),
        pixelsPerInch_(pixelsPerInch) {}

  bool proceed = false, dontShowAgain = false;

 protected:
  void CreateControls() override {
    for (size_t i = 0; i < kNoProtectionLines.size(); ++i)
      Add("STATIC", kNoProtectionLines[i], SS_LEFT, kMargin, kLineTops[i], kTextWidth, kLineHeights[i], -1);
    Add("BUTTON", kNoProtectionCheckBox, BS_AUTOCHECKBOX | WS_TABSTOP, kMargin, kCheckBoxTop, kCheckBoxWidth,
        kCheckBoxHeight, kCheckBoxId);
    Add("BUTTON", kNoProtectionContinue, BS_PUSHBUTTON | WS_TABSTOP,
        kClientWidth - kMargin - 2 * kButtonWidth - kButtonGap, kButtonTop, kButtonWidth, kButtonHeight, IDOK);
    bypass_ = Add("BUTTON", kNoProtectionBypass, BS_DEFPUSHBUTTON | WS_TABSTOP, kClientWidth - kMargin - kButtonWidth,
                  kButtonTop, kButtonWidth, kButtonHeight, IDCANCEL);
    OnCommandId(IDOK, [this] { Answer(true); });
  }
  bool Place(const std::optional<settings::WindowPlacement>&) override {
    CentreOnScreen(Scaled(kClientWidth), Scaled(kClientHeight));
    return false;
  }
  void OnShown() override { SetFocus(bypass_); }
  void OnCloseRequest() override { Answer(false); }
  LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == DM_GETDEFID) return MAKELRESULT(IDCANCEL, DC_HASDEFID);
    return DialogWindow::OnMessage(message, wParam, lParam);
  }

 private:
  int Scaled(int size) const { return ScaleForScreen(size, pixelsPerInch_); }
  HWND Add(const char* kind, const char* text, DWORD style, int left, int top, int width, int height, int id) {
    HWND control =
        AddControl(kind, text, WS_VISIBLE | style, Scaled(left), Scaled(top), Scaled(width), Scaled(height), 0, id);
    SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    return control;
  }
  void Answer(bool proceedWithPurge) {
    proceed = proceedWithPurge;
    dontShowAgain = IsDlgButtonChecked(hwnd(), kCheckBoxId) == BST_CHECKED;
    Close();
  }

  int pixelsPerInch_;
  HWND bypass_ = nullptr;
};

}  // namespace

bool ConfirmNoProtection(CookieBrowser browser, std::string& showOption, HWND owner, int pixelsPerInch) {
  NoProtectionWarning warning(browser, pixelsPerInch);
  // A loop ended by the program's end answers nothing: nothing is deleted.
  warning.ShowModal(owner);
  if (warning.dontShowAgain) showOption = kDontShowAgain;
  return warning.proceed;
}

}  // namespace tidemark::cookies
