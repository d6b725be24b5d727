// What a control tells the window it lies in (the frame, or a container): a
// command (clicked, typed into, a row chosen), a request for its colours, a
// question about its cursor. Each is taken to the control it is about.
#pragma once

#include <windows.h>

namespace vitrolux::platform::win32 {

class ControlWindows;

// WM_COMMAND, WM_CTLCOLOR* and WM_SETCURSOR from a child window. True when
// it was about one of the controls, with `result` the answer; otherwise the
// parent handles the message as it would.
bool routeChildMessage(ControlWindows& controls, UINT message, WPARAM wParam, LPARAM lParam,
                       LRESULT& result);

}  // namespace vitrolux::platform::win32
