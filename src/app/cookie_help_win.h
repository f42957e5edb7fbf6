// TCHform: the cookie manager's help window, TmrkCook.rtf from the program's folder.
#pragma once
#include <windows.h>

#include <string>

#include "platform/gui_win.h"

namespace tidemark::app {

class TCHform : public gui::Window {
 public:
  TCHform(std::string programFolder, int pixelsPerInch) : folder_(std::move(programFolder)), ppi_(pixelsPerInch) {}
  void ShowModal(HWND owner);
  void Create(HWND owner);
  // The text shown (plain text of the rich text).
  std::string Text() const;
  bool closed() const { return closed_; }

 protected:
  LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void Close();
  std::string folder_;
  int ppi_;
  HWND owner_ = nullptr, text_ = nullptr;
  bool closed_ = false;
};

}  // namespace tidemark::app
