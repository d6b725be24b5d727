// The common controls (comctl32) and the theme library (uxtheme), loaded the
// first time a control needs them rather than with the program: the frame is
// on the screen before either is needed. The manifest picks version 6 of the
// common controls.
#pragma once

#include <windows.h>
// <windows.h> first: the other system headers build on it.
#include <commctrl.h>

namespace vitrolux::platform::win32 {

// Registers the common control classes: the tool tips, and the version 6
// list box, text box and check box. False when the library is missing.
bool initCommonControls();

// comctl32's window subclassing; each fails when the library is missing.
bool setWindowSubclass(HWND window, SUBCLASSPROC procedure, UINT_PTR id, DWORD_PTR data);
bool removeWindowSubclass(HWND window, SUBCLASSPROC procedure, UINT_PTR id);
LRESULT defSubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// uxtheme's SetWindowTheme; nothing when the library is missing.
void setWindowTheme(HWND window, const wchar_t* app, const wchar_t* idList);

}  // namespace vitrolux::platform::win32
