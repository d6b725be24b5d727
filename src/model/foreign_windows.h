// Calls on windows of other programs that could keep the frame waiting.
// Moving, re-parenting or restyling another program's window is carried out
// by that program: one that has stopped reading its messages would hold the
// frame. Before such a call the frame asks whether the program answers, and
// leaves its window alone when it does not; a program that stops answering
// in the middle of the call only costs the frame a bounded wait
// (platform::kForeignCallWaitMs).
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
