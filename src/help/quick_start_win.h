// The quick-start window: a read-only rich-text introduction framed by
// coloured panels, with "Do not show this window at startup" (QuickStartOpt)
// and "Close this Window". Created on first use, shown non-modally; its
// place and text are fixed at the first showing.
#pragma once
#include <string>

#include "platform/files.h"
#include "platform/gui_win.h"

namespace tidemark::help {

class TQuickStartForm : public gui::Window {
 public:
  // quickStartOpt is the [ShowOption] value in memory, which the check box
  // changes; file is the rich-text file beside the program.
  TQuickStartForm(platform::FileSystem& files, std::string& quickStartOpt, std::string file, int ppi);
  ~TQuickStartForm() override;

  // Creates the window on the first call (owned by, and placed beside, the
  // main window) and shows it.
  void Show(HWND mainWindow);
  void Hide() { ShowWindow(hwnd(), SW_HIDE); }

  HWND textBox() const { return text_; }
  HWND checkBox() const { return check_; }
  HWND closeButton() const { return close_; }
  unsigned panelColour() const { return panelColour_; }
  const std::string& HintOf(HWND control) const;

 protected:
  LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void Create(HWND mainWindow);
  void FirstActivation(HWND mainWindow);
  void LoadText();
  void Layout();
  void AddHint(HWND control, const char* hint);

  platform::FileSystem& files_;
  std::string& quickStartOpt_;
  std::string file_;
  int ppi_;
  bool activated_ = false;
  unsigned panelColour_ = 0;
  gui::ColourPanel top_, left_, right_, bottom_;
  HWND text_ = nullptr, check_ = nullptr, close_ = nullptr, tips_ = nullptr;
  HFONT font_ = nullptr;
  std::string hints_[2];
};

}  // namespace tidemark::help
