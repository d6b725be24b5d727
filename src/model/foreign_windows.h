// Before moving, re-parenting or restyling another program's window, which
// that program carries out, the frame asks whether it answers: one that has
// stopped reading its messages would hold the frame.
#pragma once

#include "ports/desktop_port.h"
#include "ports/types.h"

namespace vitrolux::model {

// How long a program gets to show that it answers. Under the time a user
// notices, and far over what a program reading its messages takes.
inline constexpr unsigned kAnswerTimeoutMs = 100;

inline bool answers(platform::DesktopPort& desktop, platform::WindowHandle window) {
  return !window.isNull() && desktop.windowAnswers(window, kAnswerTimeoutMs);
}

// Whether the window still exists; asks the window system, not its program.
inline bool exists(platform::DesktopPort& desktop, platform::WindowHandle window) {
  return !window.isNull() && desktop.windowRect(window).has_value();
}

}  // namespace vitrolux::model
