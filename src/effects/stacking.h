// Pinning the frame, pinning a selected window, click-through.
#pragma once

#include "ports/desktop_port.h"
#include "ports/frame_port.h"
#include "ui/controls.h"

namespace vitrolux::effects {

// Whether pinning or unpinning the frame also activates it.
enum class Activation : bool { Keep, Take };

class Stacking {
 public:
  Stacking(platform::ControlSet& controls, platform::FramePort& frame,
           platform::DesktopPort& desktop)
      : controls_(controls), frame_(frame), desktop_(desktop) {}

  // Puts the frame into the top-most band or takes it out; the pin's tool
  // tip shows which: "置顶" while pinned, "取消置顶" while not.
  void pinFrame(bool pinned, Activation activation = Activation::Keep);

  // The pin: unpins a pinned frame, pins any other.
  void onPinClick();
  // "前置": pins the selected task-list window above all others.
  void onBringToFrontClick();
  // "穿透" / "挡住": turns click-through on or off for the selected window;
  // the caption offers what the next click does.
  void onClickThroughClick();

 private:
  platform::ControlSet& controls_;
  platform::FramePort& frame_;
  platform::DesktopPort& desktop_;
  bool framePinned_ = false;
  // What the last click of "穿透" did; one click undoes it.
  bool clickThrough_ = false;
};

// Makes a window transparent to the mouse (layered and WS_EX_TRANSPARENT),
// or takes exactly those two styles away again.
void setClickThrough(platform::DesktopPort& desktop, platform::WindowHandle window, bool enable);

}  // namespace vitrolux::effects
