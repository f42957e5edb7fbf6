#include "help/font_form_win.h"

namespace tidemark::help {

TFontForm::TFontForm(settings::FontSettings& fonts, int ppi, FontDialog dialog)
    : DialogWindow({"TFontForm", "Tidemark - Configure Display Fonts", {}, ppi, WS_POPUP | WS_CAPTION | WS_SYSMENU,
                    WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT}),
      fonts_(fonts),
      ppi_(ppi),
      dialog_(std::move(dialog)) {
  if (!dialog_) dialog_ = [](CHOOSEFONTA& choose) { return ChooseFontA(&choose) != FALSE; };
}

void TFontForm::CreateControls() {
  AddControl("STATIC", "Configure Font for Main Window \"Results\" Display:", WS_VISIBLE | SS_LEFT | SS_NOPREFIX,
             S(12), S(20), S(300), S(16));
  AddControl("STATIC", "Configure Font for Cookies Window Display:", WS_VISIBLE | SS_LEFT | SS_NOPREFIX, S(12), S(60),
             S(300), S(16));
  mainFont_ = AddButton("Set Main Font", S(320), S(16), S(108), S(25), [this] { SetMainFontClick(); });
  cookiesFont_ = AddButton("Set Cookies Font", S(320), S(56), S(108), S(25), [this] { SetCookiesFontClick(); });
  ok_ = AddButton("O.K.", S(180), S(108), S(80), S(25), [this] { Close(); }, BS_DEFPUSHBUTTON);
}

bool TFontForm::Place(const std::optional<settings::WindowPlacement>&) {
  CentreOnScreen(S(440), S(150));
  return false;
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

}  // namespace tidemark::help
