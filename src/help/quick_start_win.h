// The quick-start window: a read-only rich-text introduction framed by
// coloured panels, with "Do not show this window at startup" (QuickStartOpt)
// and "Close this Window". Modeless: created on first use beside the main
// window, with its text, and hidden when closed.
#pragma once
#include <string>

#include "platform/controls_win.h"
#include "platform/files.h"
#include "settings/dialog_window_win.h"

namespace tidemark::help {

class TQuickStartForm : public gui::DialogWindow {
 public:
  // quickStartOpt is the [ShowOption] value in memory, which the check box
  // changes; file is the rich-text file beside the program.
  TQuickStartForm(platform::FileSystem& files, std::string& quickStartOpt, std::string file, int ppi);
  ~TQuickStartForm() override;

  // Creates the window on the first call (owned by, and placed beside, the
  // main window) and shows it.
  void Show(HWND mainWindow) { ShowModeless(mainWindow); }

  HWND textBox() const { return text_.hwnd(); }
  HWND checkBox() const { return check_; }
  HWND closeButton() const { return close_; }
  unsigned panelColour() const { return panelColour_; }

 protected:
  void CreateControls() override;
  void Layout() override;
  bool Place(const std::optional<settings::WindowPlacement>& kept) override;

 private:
  platform::FileSystem& files_;
  std::string& quickStartOpt_;
  std::string file_;
  int ppi_;
  unsigned panelColour_ = 0;
  gui::ColourPanel top_, left_, right_, bottom_;
  gui::RichTextView text_;
  HWND check_ = nullptr, close_ = nullptr;
  HFONT font_ = nullptr;
};

}  // namespace tidemark::help
