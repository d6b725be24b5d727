// Which processes a process started, from the system's record of who
// started whom (a snapshot of the running processes).
#pragma once

#include <windows.h>

namespace vitrolux::platform::win32 {

// Whether `process` is `root`, or was started by it or by a process it
// started. A starter that has ended still counts: its children keep its id.
bool startedFrom(DWORD process, DWORD root);
// Whether `root`, or a process started from it, still runs.
bool treeRunning(DWORD root);

}  // namespace vitrolux::platform::win32
