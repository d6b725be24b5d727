// The display's DPI for a window: per monitor where the system knows it
// (Windows 10 1607 and later), else the system-wide value.
#pragma once

#include <windows.h>

namespace vitrolux::platform::win32 {

// GetDpiForWindow when the system has it, else the screen's LOGPIXELSX.
int dpiForWindow(HWND window);
// The DPI a new window on the primary monitor gets.
int systemDpi();

}  // namespace vitrolux::platform::win32
