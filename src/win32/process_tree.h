// Which processes a process started, from the system's record of who
// started whom (a snapshot of the running processes).
#pragma once

#include <windows.h>

#include <vector>

namespace vitrolux::platform::win32 {

// The running processes among `root` and those it started, or that a
// process it started started. A starter that has ended still counts: the
// processes it started keep its id.
std::vector<DWORD> processTree(DWORD root);

}  // namespace vitrolux::platform::win32
