// Moving and resizing the borderless frame with the mouse, the refit of the
// hosted window on a double click, and the frame's resize event.
#pragma once

namespace vitrolux::app {

class Main;

void onFrameMouseDown(Main& main, int button, int shift, float x, float y);
void onFrameMouseMove(Main& main, int button, int shift, float x, float y);
void onFrameMouseUp(Main& main, int button, int shift, float x, float y);
void onFrameDoubleClick(Main& main);
void onFrameResize(Main& main);

}  // namespace vitrolux::app
