// The system's Open dialog for a program to run, and the command line that
// starts the choice.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace vitrolux::platform::win32 {

// Programs (.exe) and shortcuts (.lnk), starting in the Program Files
// folder; owned by `owner`, so it stays above it. The chosen program quoted,
// or a shortcut's target quoted with the shortcut's arguments; nothing on
// Cancel or when the dialog cannot be shown.
std::optional<std::wstring> chooseProgram(HWND owner, const std::wstring& title,
                                          const std::wstring& filterName);

}  // namespace vitrolux::platform::win32
