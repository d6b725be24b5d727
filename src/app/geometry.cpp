#include "app/geometry.h"

namespace vitrolux::app {

// Not built yet: the frame neither moves nor resizes by the mouse.
void FrameGeometry::onMouseDown(int, int, float, float) {}
void FrameGeometry::onMouseMove(int, int, float, float) {}
void FrameGeometry::onMouseUp(int, int, float, float) {}
void FrameGeometry::onDoubleClick() {}
void FrameGeometry::onResize() {}

}  // namespace vitrolux::app
