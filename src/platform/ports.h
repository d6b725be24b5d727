// The window system as the logic sees it: one small interface per concern.
// The Win32 adapter implements them with the real calls, the simulated
// desktop in memory, and the contract suite holds both to the same
// behaviour. Each subsystem takes only the ports it uses.
#pragma once

#include "platform/desktop_port.h"
#include "platform/file_port.h"
#include "platform/frame_port.h"
#include "platform/process_port.h"
#include "platform/text_port.h"

namespace vitrolux::platform {

struct Ports {
  FramePort& frame;
  DesktopPort& desktop;
  ProcessPort& processes;
  FilePort& files;
  TextPort& text;
};

}  // namespace vitrolux::platform
