// The splash window of the unattended runs.
#pragma once
#include "platform/gui_win.h"

namespace tidemark::app {

// Width and height of the splash for the screen's pixels per inch.
SIZE SplashSize(int pixelsPerInch);

class SplashForm : public gui::Window {
 public:
  void Create(int pixelsPerInch);
  void ShowNow();
  void Hide();
};

}  // namespace tidemark::app
