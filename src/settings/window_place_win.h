// Putting a modal window where it was saved, and reading its place back
// when it closes; the modal loop those windows run.
#pragma once
#include <windows.h>

#include <functional>
#include <optional>

#include "settings/window_positions.h"

namespace tidemark::settings {

// Moves the window to the restored place, or for none (or a designed one)
// centres it at its designed size over the owner (or the screen). True when
// it is to be shown maximised.
bool ApplyPlacement(HWND window, HWND owner, const std::optional<WindowPlacement>& placement, DesignedSize designed,
                    int pixelsPerInch);
StoredPosition StoredPositionOf(HWND window);

// Runs messages until closed is set; the owner stays disabled meanwhile.
// preTranslate sees each message first and answers true when it consumed it.
void RunModal(HWND window, HWND owner, const bool& closed, const std::function<bool(MSG&)>& preTranslate = {});
// Gives the owner back its input before the modal window goes, so it is
// the owner that becomes active.
void EndModal(HWND window, HWND owner);

}  // namespace tidemark::settings
