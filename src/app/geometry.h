// Moving and resizing the borderless frame with the mouse, the refit of the
// hosted window on a double click, and the frame's resize event.
#pragma once

namespace vitrolux::app {

class FrameGeometry {
 public:
  void onMouseDown(int button, int shift, float x, float y);
  void onMouseMove(int button, int shift, float x, float y);
  void onMouseUp(int button, int shift, float x, float y);
  void onDoubleClick();
  void onResize();
};

}  // namespace vitrolux::app
