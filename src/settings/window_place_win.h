// Putting a modal window where it was saved, and reading its place back
// when it closes.
#pragma once
#include <windows.h>

#include <optional>

#include "settings/window_positions.h"

namespace tidemark::settings {

// Moves the window to the restored place, or for none (or a designed one)
// centres it at its designed size over the owner (or the screen). True when
// it is to be shown maximised.
bool ApplyPlacement(HWND window, HWND owner, const std::optional<WindowPlacement>& placement, DesignedSize designed,
                    int pixelsPerInch);
// A normal place as StoredPositionOf read it (workspace coordinates), kept
// on the monitor nearest it; the window stays hidden.
void PlaceNormal(HWND window, const WindowPlacement& place);
StoredPosition StoredPositionOf(HWND window);

}  // namespace tidemark::settings
