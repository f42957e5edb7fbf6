#include "settings/window_positions.h"

#include <algorithm>
#include <cstdint>
#include <utility>
#include <vector>

#include "platform/text.h"

namespace tidemark::settings {
namespace {

constexpr int kScalingThresholdPpi = 120;
constexpr int kDesignPpi = 96;

std::optional<int> ParseField(std::string_view text) {
  auto value = ParseInteger(text);
  if (!value || *value < INT32_MIN || *value > INT32_MAX) return std::nullopt;
  return static_cast<int>(*value);
}

std::vector<std::string> Fields(std::string_view text) {
  std::vector<std::string> fields;
  for (std::string& piece : Split(Trim(text), ' '))
    if (!piece.empty()) fields.push_back(std::move(piece));
  return fields;
}

bool OutsideVisibleArea(const StoredPosition& position, const ScreenArea& screen) {
  return position.top * 10LL > screen.height * 8LL || position.left * 10LL > screen.width * 8LL ||
         position.top < screen.top || position.left < screen.left;
}

}  // namespace

std::optional<StoredPosition> ParsePosition(std::string_view text) {
  std::vector<std::string> fields = Fields(text);
  if (fields.empty() || fields[0].size() != 1) return std::nullopt;
  StoredPosition position;
  switch (fields[0][0]) {
    case '0': position.state = WindowState::Normal; break;
    case '1': position.state = WindowState::Minimised; break;
    case '2': position.state = WindowState::Maximised; return position;
    default: return std::nullopt;
  }
  if (fields.size() != 5) return std::nullopt;
  auto top = ParseField(fields[1]), left = ParseField(fields[2]);
  auto height = ParseField(fields[3]), width = ParseField(fields[4]);
  if (!top || !left || !height || !width || *height <= 0 || *width <= 0) return std::nullopt;
  position.top = *top;
  position.left = *left;
  position.height = *height;
  position.width = *width;
  return position;
}

std::string FormatPosition(const StoredPosition& position) {
  std::string state = std::to_string(static_cast<int>(position.state));
  if (position.state == WindowState::Maximised) return state;
  return state + " " + std::to_string(position.top) + " " + std::to_string(position.left) + " " +
         std::to_string(position.height) + " " + std::to_string(position.width);
}

DesignedSize ScaledDesignedSize(DesignedSize designed, int pixelsPerInch) {
  if (pixelsPerInch < kScalingThresholdPpi) return designed;
  auto scale = [&](int size) {
    return static_cast<int>((static_cast<long long>(size) * pixelsPerInch + kDesignPpi / 2) / kDesignPpi);
  };
  return {scale(designed.width), scale(designed.height)};
}

Rect KeepOnMonitor(const Rect& stored, const MonitorArea& monitor) {
  const Rect& work = monitor.work;
  int workspaceX = work.left - monitor.monitor.left, workspaceY = work.top - monitor.monitor.top;
  int left = stored.left + workspaceX, top = stored.top + workspaceY;
  int width = stored.right - stored.left, height = stored.bottom - stored.top;
  bool reachable = top >= work.top && top < work.bottom && left + width > work.left && left < work.right;
  if (!reachable) {
    left = std::max(work.left, std::min(left, work.right - width));
    top = std::max(work.top, std::min(top, work.bottom - height));
  }
  return {left - workspaceX, top - workspaceY, left - workspaceX + width, top - workspaceY + height};
}

WindowPlacement RestorePlacement(std::string_view stored, bool reset, int pixelsPerInch, const ScreenArea& virtualScreen,
                                 DesignedSize designed) {
  DesignedSize size = ScaledDesignedSize(designed, pixelsPerInch);
  WindowPlacement placement{PlacementKind::Designed, 0, 0, size.width, size.height};
  std::optional<StoredPosition> position = reset ? std::nullopt : ParsePosition(stored);
  if (!position) return placement;
  if (position->state == WindowState::Maximised) {
    placement.kind = PlacementKind::Maximised;
    return placement;
  }
  // A window saved minimised comes back as a normal one.
  if (OutsideVisibleArea(*position, virtualScreen)) position->top = position->left = 0;
  return {PlacementKind::Normal, position->top, position->left, position->width, position->height};
}

}  // namespace tidemark::settings
