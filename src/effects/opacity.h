// Opacity of the frame or of a selected window, and the saved UI settings.
#pragma once

#include "platform/controls.h"

namespace vitrolux::effects {

class Opacity {
 public:
  explicit Opacity(platform::ControlSet& controls) : controls_(controls) {}

  // The first tick after start-up applies the saved settings once.
  void onCfgTimer();

 private:
  platform::ControlSet& controls_;
};

}  // namespace vitrolux::effects
