#include "help/font_form_win.h"

namespace tidemark::help {

TFontForm::TFontForm(settings::FontSettings& fonts, int ppi, FontDialog dialog)
    : fonts_(fonts), ppi_(ppi), dialog_(std::move(dialog)) {
  if (!dialog_) dialog_ = [](CHOOSEFONTA& choose) { return ChooseFontA(&choose) != FALSE; };
}

void TFontForm::Create(HWND owner) {
  owner_ = owner;
  closed_ = false;
  auto s = [this](int v) { return gui::Scale(v, ppi_); };
  RECT area{0, 0, s(440), s(150)};
  const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU;
  AdjustWindowRectEx(&area, style, FALSE, WS_EX_DLGMODALFRAME);
  int width = area.right - area.left, height = area.bottom - area.top;
  CreateWindowOf("TFontForm", "Tidemark - Configure Display Fonts", style, WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT,
                 std::max(0, (GetSystemMetrics(SM_CXSCREEN) - width) / 2),
                 std::max(0, (GetSystemMetrics(SM_CYSCREEN) - height) / 2), width, height, owner,
                 nullptr, GetSysColorBrush(COLOR_BTNFACE));
  HWND labels[] = {
      AddControl("STATIC", "Configure Font for Main Window \"Results\" Display:", WS_VISIBLE | SS_LEFT | SS_NOPREFIX,
                 s(12), s(20), s(300), s(16)),
      AddControl("STATIC", "Configure Font for Cookies Window Display:", WS_VISIBLE | SS_LEFT | SS_NOPREFIX, s(12),
                 s(60), s(300), s(16))};
  mainFont_ = AddButton("Set Main Font", s(320), s(16), s(108), s(25), [this] { SetMainFontClick(); },
                        BS_PUSHBUTTON | WS_VISIBLE | WS_TABSTOP);
  cookiesFont_ = AddButton("Set Cookies Font", s(320), s(56), s(108), s(25), [this] { SetCookiesFontClick(); },
                           BS_PUSHBUTTON | WS_VISIBLE | WS_TABSTOP);
  ok_ = AddButton("O.K.", s(180), s(108), s(80), s(25), [this] { Close(); },
                  BS_DEFPUSHBUTTON | WS_VISIBLE | WS_TABSTOP);
  for (HWND control : {labels[0], labels[1], mainFont_, cookiesFont_, ok_})
    SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(gui::MessageFont()), FALSE);
}

void TFontForm::ShowModal(HWND owner) {
  Create(owner);
  ShowWindow(hwnd(), SW_SHOW);
  SetFocus(ok_);
  gui::RunModal(hwnd(), owner, closed_);
}

void TFontForm::Close() {
  closed_ = true;
  gui::EndModal(hwnd(), owner_);
}

void TFontForm::SetMainFontClick() { Choose(fonts_.results, true); }

void TFontForm::SetCookiesFontClick() { Choose(fonts_.cookieLists, false); }

void TFontForm::Choose(settings::FontSetting& font, bool fixedPitchOnly) {
  LOGFONTA log = settings::LogFontOf(font, ppi_);
  CHOOSEFONTA choose{};
  choose.lStructSize = sizeof choose;
  choose.hwndOwner = hwnd();
  choose.lpLogFont = &log;
  choose.iPointSize = font.size * 10;
  choose.Flags = CF_SCREENFONTS | CF_INITTOLOGFONTSTRUCT | CF_LIMITSIZE | (fixedPitchOnly ? CF_FIXEDPITCHONLY : 0);
  choose.nSizeMin = 6;
  choose.nSizeMax = 16;
  if (dialog_(choose)) font = settings::FontSettingOf(log, choose.iPointSize / 10);
}

LRESULT TFontForm::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_CLOSE) {
    Close();
    return 0;
  }
  return Window::OnMessage(message, wParam, lParam);
}

}  // namespace tidemark::help
