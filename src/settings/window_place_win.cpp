#include "settings/window_place_win.h"

#include <algorithm>

namespace tidemark::settings {
namespace {

Rect RectOf(const RECT& rect) { return {rect.left, rect.top, rect.right, rect.bottom}; }

}  // namespace

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
  if (place.kind == PlacementKind::Normal)
    PlaceNormal(window, place);
  else
    MoveWindow(window, place.left, place.top, place.width, place.height, FALSE);
  return place.kind == PlacementKind::Maximised;
}

void PlaceNormal(HWND window, const WindowPlacement& place) {
  RECT stored{place.left, place.top, place.left + place.width, place.top + place.height};
  MONITORINFO monitor{sizeof monitor};
  GetMonitorInfoA(MonitorFromRect(&stored, MONITOR_DEFAULTTONEAREST), &monitor);
  Rect normal = KeepOnMonitor(RectOf(stored), {RectOf(monitor.rcMonitor), RectOf(monitor.rcWork)});
  WINDOWPLACEMENT placement{sizeof placement};
  GetWindowPlacement(window, &placement);
  placement.showCmd = SW_HIDE;  // shown later, normal or maximised
  placement.rcNormalPosition = {normal.left, normal.top, normal.right, normal.bottom};
  SetWindowPlacement(window, &placement);
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
