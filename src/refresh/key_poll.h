// The global key poll: which key of the whole desktop is down, whichever
// window has the keyboard focus.
#pragma once

#include <string>

#include "platform/desktop_port.h"

namespace vitrolux::refresh {

// The codes scanned, both included: 17 is Ctrl; Shift (16), the mouse
// buttons, Backspace, Tab and Enter lie below and are never looked at.
inline constexpr int kFirstPolledKey = 17;
inline constexpr int kLastPolledKey = 128;

// The decimal code of the lowest key from 17 to 128 whose state is not 0
// (down now, or pressed since its last query), or the empty text. The scan
// stops at the first hit, so the keys above it keep their "pressed since"
// bit for a later call.
std::string firstPressedKey(platform::DesktopPort& desktop);

}  // namespace vitrolux::refresh
