// Pinning the frame, pinning a selected window, click-through.
#pragma once

namespace vitrolux::app {
class Main;
}

namespace vitrolux::effects {

void onPinClick(app::Main& main);
void onBringToFrontClick(app::Main& main);
void onClickThroughClick(app::Main& main);

}  // namespace vitrolux::effects
