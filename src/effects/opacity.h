// Opacity of the frame or of a selected window, and the saved UI settings.
#pragma once

namespace vitrolux::app {
class Main;
}

namespace vitrolux::effects {

// The first tick after start-up applies the saved settings once.
void onCfgTimer(app::Main& main);

}  // namespace vitrolux::effects
