// What the desktop port reads of any program's window beyond its text and
// styles: its placement, class, owner, whether the compositor hides it, and
// whether its program runs with more rights than this one.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "ports/types.h"

namespace vitrolux::platform::win32 {

// GetWindowPlacement with the restored place in screen pixels (the system
// gives it in workspace coordinates for most windows).
std::optional<Placement> placementOf(HWND window);
// SetWindowPlacement from screen pixels; the window is not activated.
bool applyPlacement(HWND window, const Placement& placement);

std::wstring classNameOf(HWND window);
// DWMWA_CLOAKED, read through dwmapi loaded at the first question (it is
// not there before Windows 8, nor in every Wine prefix).
bool cloaked(HWND window);
// Whether the window's process runs at a higher integrity level than this
// one: User Interface Privilege Isolation then refuses our changes to its
// windows. False when it cannot be told; the change's own failure then
// tells.
bool ofHigherIntegrity(HWND window);

}  // namespace vitrolux::platform::win32
