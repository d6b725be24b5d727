// The window system as the logic sees it: one small interface per concern.
// The Win32 adapter implements them with the real calls, the simulated
// desktop in memory, and the contract suite holds both to the same
// behaviour. Each subsystem takes only the ports it uses.
#pragma once

#include "ports/desktop_port.h"
#include "ports/file_port.h"
#include "ports/frame_port.h"
#include "ports/process_port.h"
#include "ports/text_port.h"

namespace vitrolux::platform {

struct Ports {
  FramePort& frame;
  DesktopPort& desktop;
  ProcessPort& processes;
  FilePort& files;
  TextPort& text;
};

}  // namespace vitrolux::platform
