// Pinning the frame, pinning a selected window, click-through.
#pragma once

#include <vector>

#include "effects/opacity.h"
#include "ports/desktop_port.h"
#include "ports/frame_port.h"
#include "ui/controls.h"

namespace vitrolux::effects {

// Whether pinning or unpinning the frame also activates it.
enum class Activation : bool { Keep, Take };

class Stacking {
 public:
  // `opacity` tells which windows carry an alpha of ours.
  Stacking(platform::ControlSet& controls, platform::FramePort& frame,
           platform::DesktopPort& desktop, const Opacity& opacity)
      : controls_(controls), frame_(frame), desktop_(desktop), opacity_(opacity) {}

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
  // Makes a window transparent to the mouse (layered and WS_EX_TRANSPARENT),
  // or takes away what that added: WS_EX_TRANSPARENT, and the layered style
  // only where it was ours to add and no fade of ours needs it since.
  void setClickThrough(platform::WindowHandle window, bool enable);

  platform::ControlSet& controls_;
  platform::FramePort& frame_;
  platform::DesktopPort& desktop_;
  const Opacity& opacity_;
  bool framePinned_ = false;
  // What the last click of "穿透" did; one click undoes it.
  bool clickThrough_ = false;
  // Windows that "穿透" made layered, while they exist: a window layered
  // before (faded by us, or drawn by its own program through the layered
  // style) stays layered when it stops being click-through.
  std::vector<platform::WindowHandle> madeLayered_;
};

}  // namespace vitrolux::effects
