// The font window: the fonts of the results list and of the cookie
// manager's lists, each chosen in the system font dialog. Only the fonts in
// memory change; the main window stores them when it closes.
#pragma once
#include <functional>

#include "platform/gui_win.h"
#include "settings/font_setting_win.h"

// Needs the window headers before it.
#include <commdlg.h>

namespace tidemark::help {

class TFontForm : public gui::Window {
 public:
  // Shows the system font dialog; true when the user pressed OK.
  using FontDialog = std::function<bool(CHOOSEFONTA&)>;
  TFontForm(settings::FontSettings& fonts, int ppi, FontDialog dialog = nullptr);

  void ShowModal(HWND owner);
  // ShowModal's steps, for tests: the window (hidden), and the buttons.
  void Create(HWND owner);
  void SetMainFontClick();
  void SetCookiesFontClick();
  void Close();

  HWND mainFontButton() const { return mainFont_; }
  HWND cookiesFontButton() const { return cookiesFont_; }
  HWND okButton() const { return ok_; }

 protected:
  LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  // Opens the dialog on the font; a cancelled dialog changes nothing.
  void Choose(settings::FontSetting& font, bool fixedPitchOnly);

  settings::FontSettings& fonts_;
  int ppi_;
  FontDialog dialog_;
  HWND owner_ = nullptr;
  bool closed_ = false;
  HWND mainFont_ = nullptr, cookiesFont_ = nullptr, ok_ = nullptr;
};

}  // namespace tidemark::help
