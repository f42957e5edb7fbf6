#include "settings/window_position_win.h"

namespace tidemark::settings {

StoredPosition StoredPositionOf(HWND window) {
  WINDOWPLACEMENT placement{sizeof placement};
  GetWindowPlacement(window, &placement);
  StoredPosition position;
  const RECT& r = placement.rcNormalPosition;
  position.state = placement.showCmd == SW_SHOWMAXIMIZED   ? WindowState::Maximised
                   : placement.showCmd == SW_SHOWMINIMIZED ? WindowState::Minimised
                                                           : WindowState::Normal;
  position.top = r.top;
  position.left = r.left;
  position.height = r.bottom - r.top;
  position.width = r.right - r.left;
  return position;
}

}  // namespace tidemark::settings
