// Before moving, re-parenting or restyling another program's window, which
// that program carries out, the frame asks whether it answers: one that has
// stopped reading its messages would hold the frame.
#pragma once

#include <optional>

#include "model/frame_state.h"
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

// Remembers how the window stood before the frame took it. Entries of
// windows gone, or back on the desktop, are dropped meanwhile.
void rememberTaken(FrameState& state, platform::DesktopPort& desktop, platform::WindowHandle window,
                   const platform::Placement& placement);
// How the window stood when it was taken; nothing for one never taken.
std::optional<platform::Placement> takenPlacement(const FrameState& state,
                                                  platform::WindowHandle window);
void forgetTaken(FrameState& state, platform::WindowHandle window);

// The placement a window taken maximised or minimised goes back with:
// maximised again, or at its own restored size where it stood. Nothing for
// a window taken as a normal one, which goes back where the caller puts it.
std::optional<platform::Placement> returnPlacement(const FrameState& state,
                                                   platform::WindowHandle window);

}  // namespace vitrolux::model
