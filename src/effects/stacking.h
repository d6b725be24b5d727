// Pinning the frame, pinning a selected window, click-through.
#pragma once

#include "ui/controls.h"
#include "ports/desktop_port.h"
#include "ports/frame_port.h"

namespace vitrolux::effects {

class Stacking {
 public:
  Stacking(platform::ControlSet& controls, platform::FramePort& frame,
           platform::DesktopPort& desktop)
      : controls_(controls), frame_(frame), desktop_(desktop) {}

  // The pin: its tool tip holds the state, "置顶" while the frame is pinned.
  void onPinClick();
  // "前置": pins the selected task-list window above all others.
  void onBringToFrontClick();
  // "穿透" / "挡住": the caption says what the next click does.
  void onClickThroughClick();

 private:
  platform::ControlSet& controls_;
  platform::FramePort& frame_;
  platform::DesktopPort& desktop_;
};

// Makes a window transparent to the mouse (layered and WS_EX_TRANSPARENT),
// or takes exactly those two styles away again.
void setClickThrough(platform::DesktopPort& desktop, platform::WindowHandle window, bool enable);

}  // namespace vitrolux::effects
