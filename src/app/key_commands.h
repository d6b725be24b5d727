// Key commands of the frame: Esc and the opacity digits.
#pragma once

namespace vitrolux::app {

class Main;

void onFrameKeyDown(Main& main, int keyCode, int shift);

}  // namespace vitrolux::app
