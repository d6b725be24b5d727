// The program's run, shared by every executable built from the logic: the
// process set up, the frame built and shown, the message loop, and the frame
// taken down. The entry point chooses what runs in the frame.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>

#include "ui/application.h"

namespace vitrolux::platform::win32 {

using ApplicationMaker = std::function<std::unique_ptr<Application>(const Ports&)>;

// Before anything else: the program search order and the fatal-exit hooks.
void prepareProcess();

// Builds the application with `make`, runs its frame until the message loop
// ends and returns the exit code.
int runProgram(HINSTANCE instance, const ApplicationMaker& make);

}  // namespace vitrolux::platform::win32
