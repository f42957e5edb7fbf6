// The font window: the fonts of the results list and of the cookie
// manager's lists, each chosen in the system font dialog. Only the fonts in
// memory change; the main window stores them when it closes.
#pragma once
#include <functional>

#include "settings/dialog_window_win.h"
#include "settings/font_setting_win.h"

// Needs the window headers before it.
#include <commdlg.h>

namespace tidemark::help {

class TFontForm : public gui::DialogWindow {
 public:
  // Shows the system font dialog; true when the user pressed OK.
  using FontDialog = std::function<bool(CHOOSEFONTA&)>;
  TFontForm(settings::FontSettings& fonts, int ppi, FontDialog dialog = nullptr);

  void SetMainFontClick();
  void SetCookiesFontClick();

  HWND mainFontButton() const { return mainFont_; }
  HWND cookiesFontButton() const { return cookiesFont_; }
  HWND okButton() const { return ok_; }

 protected:
  void CreateControls() override;
  bool Place(const std::optional<settings::WindowPlacement>& kept) override;
  void OnShown() override { SetFocus(ok_); }

 private:
  // Opens the dialog on the font; a cancelled dialog changes nothing.
  void Choose(settings::FontSetting& font, bool fixedPitchOnly);

  settings::FontSettings& fonts_;
  int ppi_;
  FontDialog dialog_;
  HWND mainFont_ = nullptr, cookiesFont_ = nullptr, ok_ = nullptr;
};

}  // namespace tidemark::help
