// The last chance when the process dies of a fault: an unhandled structured
// exception, std::terminate or abort. The frame then gives back the windows
// of other programs it hosts, so that they do not die with it.
#pragma once

#include "ports/frame_events.h"

namespace vitrolux::platform::win32 {

// Installs the hooks; they do nothing until a target is set.
void installFatalExitHooks();
// The frame whose onEmergencyExit runs at a fault; null to clear it before
// the frame goes away.
void setFatalExitTarget(FrameEvents* events);
// Runs the target's onEmergencyExit, at most once per process.
void runFatalExit() noexcept;

}  // namespace vitrolux::platform::win32
