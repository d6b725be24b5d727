// Keys pressed in one of the frame's controls, as the message loop takes
// them out of the queue, before they are translated into characters.
#pragma once

#include <windows.h>

namespace vitrolux::platform::win32 {

class ControlWindows;

// True when the key was taken here: the message loop then neither
// translates nor dispatches it. A key is offered to the frame's commands
// first, so a command key never reaches the control (no type-ahead in the
// task list); Tab and Shift+Tab move between the boxes of a panel.
bool takeControlKey(ControlWindows& controls, const MSG& message);

}  // namespace vitrolux::platform::win32
