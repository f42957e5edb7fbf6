// TCHform: the cookie manager's help window, TmrkCook.rtf from the program's
// folder (or a notice where it is missing), modal.
#pragma once
#include <string>

#include "platform/controls_win.h"
#include "platform/files.h"
#include "settings/dialog_window_win.h"

namespace tidemark::help {

class TCHform : public gui::DialogWindow {
 public:
  TCHform(platform::FileSystem& files, std::string programFolder, int pixelsPerInch);
  // The text shown (plain text of the rich text).
  std::string Text() const { return text_.Text(); }

 protected:
  void CreateControls() override;
  void Layout() override;

 private:
  platform::FileSystem& files_;
  std::string folder_;
  gui::RichTextView text_;
};

}  // namespace tidemark::help
