// A window's place as the settings store it.
#pragma once
#include <windows.h>

#include "settings/window_positions.h"

namespace tidemark::settings {

// The window's normal (restored) rectangle and whether it is maximised,
// minimised or neither.
StoredPosition StoredPositionOf(HWND window);

}  // namespace tidemark::settings
