// Saved window positions: the stored value ("Default", "2", or
// "state Top Left Height Width") and the rules that turn it into the
// placement of a window being created.
#pragma once
#include <optional>
#include <string>
#include <string_view>

namespace tidemark::settings {

enum class WindowState { Normal = 0, Minimised = 1, Maximised = 2 };

struct StoredPosition {
  WindowState state = WindowState::Normal;
  int top = 0;
  int left = 0;
  int height = 0;
  int width = 0;
  bool operator==(const StoredPosition&) const = default;
};

constexpr const char* kDefaultPosition = "Default";

// Nothing for "Default" and for any value that cannot be read (unknown
// state, missing or non-numeric fields, a size that is not positive). A
// maximised value needs no further fields.
std::optional<StoredPosition> ParsePosition(std::string_view text);
// "2" for a maximised window, else "state Top Left Height Width".
std::string FormatPosition(const StoredPosition& position);

// The virtual screen (all monitors) in screen coordinates.
struct ScreenArea {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
};

struct DesignedSize {
  int width = 620;
  int height = 513;
};

enum class PlacementKind {
  Designed,   // the window's own designed position; width and height apply
  Normal,     // at top/left with width and height
  Maximised,  // maximised; width and height are its restored size
};

struct WindowPlacement {
  PlacementKind kind = PlacementKind::Designed;
  int top = 0;
  int left = 0;
  int width = 0;
  int height = 0;
  bool operator==(const WindowPlacement&) const = default;
};

// The designed size, enlarged by pixelsPerInch / 96 on screens of 120 pixels
// per inch or more (rounded to nearest).
DesignedSize ScaledDesignedSize(DesignedSize designed, int pixelsPerInch);

// A rectangle, right and bottom exclusive.
struct Rect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  bool operator==(const Rect&) const = default;
};

// A monitor and its work area (less the taskbar and other desktop
// toolbars), in screen coordinates.
struct MonitorArea {
  Rect monitor;
  Rect work;
};

// A normal window's place as GetWindowPlacement gives it and
// SetWindowPlacement takes it is in workspace coordinates: screen
// coordinates less the offset of the work area on its monitor (a taskbar at
// the top or left). The place to restore from `stored` on `monitor` (the one
// nearest it), in workspace coordinates again: unchanged while its top edge
// lies within the work area's height and it overlaps the work area's width,
// else moved just far enough to lie inside the work area (its top-left
// corner first when it is larger).
Rect KeepOnMonitor(const Rect& stored, const MonitorArea& monitor);

// How to place a window whose stored value is `stored`. With `reset` the
// stored value is ignored. A normal position whose Top lies beyond 80 % of
// the virtual screen's height, or Left beyond 80 % of its width, or which
// starts above or left of the virtual screen, is moved to Top 0, Left 0 so
// the window's caption stays reachable.
WindowPlacement RestorePlacement(std::string_view stored, bool reset, int pixelsPerInch, const ScreenArea& virtualScreen,
                                 DesignedSize designed = {});

}  // namespace tidemark::settings
