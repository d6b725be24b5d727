#include "app/geometry.h"

#include "app/main_frame.h"

namespace vitrolux::app {

// Not built yet: the frame neither moves nor resizes by the mouse.
void onFrameMouseDown(Main&, int, int, float, float) {}
void onFrameMouseMove(Main&, int, int, float, float) {}
void onFrameMouseUp(Main&, int, int, float, float) {}
void onFrameDoubleClick(Main&) {}
void onFrameResize(Main&) {}

}  // namespace vitrolux::app
