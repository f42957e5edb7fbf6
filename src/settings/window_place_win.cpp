#include "settings/window_place_win.h"

#include <algorithm>

namespace tidemark::settings {

bool ApplyPlacement(HWND window, HWND owner, const std::optional<WindowPlacement>& placement, DesignedSize designed,
                    int pixelsPerInch) {
  WindowPlacement place;
  if (placement) {
    place = *placement;
  } else {
    DesignedSize size = ScaledDesignedSize(designed, pixelsPerInch);
    place.width = size.width;
    place.height = size.height;
  }
  if (place.kind != PlacementKind::Normal) {
    RECT area{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    if (owner) GetWindowRect(owner, &area);
    place.left = std::max<int>(0, (area.left + area.right - place.width) / 2);
    place.top = std::max<int>(0, (area.top + area.bottom - place.height) / 2);
  }
  MoveWindow(window, place.left, place.top, place.width, place.height, FALSE);
  return place.kind == PlacementKind::Maximised;
}

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
