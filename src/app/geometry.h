// Moving and resizing the borderless frame with the mouse, the refit of the
// hosted window on a double click, and the frame's resize event.
#pragma once

#include "model/frame_state.h"
#include "ports/desktop_port.h"
#include "ports/frame_port.h"
#include "ui/controls.h"

namespace vitrolux::app {

class FrameGeometry {
 public:
  FrameGeometry(platform::ControlSet& controls, const model::FrameState& state,
                platform::FramePort& frame, platform::DesktopPort& desktop)
      : controls_(controls), state_(state), frame_(frame), desktop_(desktop) {}

  // Positions in twips, relative to the frame's client area.
  void onMouseDown(int button, int shift, float x, float y);
  void onMouseMove(int button, int shift, float x, float y);
  void onMouseUp(int button, int shift, float x, float y);
  void onDoubleClick();
  void onCaptureLost();
  void onResize();

 private:
  platform::ControlSet& controls_;
  const model::FrameState& state_;
  platform::FramePort& frame_;
  platform::DesktopPort& desktop_;

  // A move by the background. Plain ints, not 16 bits: a frame on a second
  // monitor lies beyond 32767 twips and must still follow the pointer.
  bool dragging_ = false;
  int dragStartX_ = 0;
  int dragStartY_ = 0;
  int dragLeft_ = 0;
  int dragTop_ = 0;
};

}  // namespace vitrolux::app
