// Pinning the frame, pinning a selected window, click-through.
#pragma once

namespace vitrolux::effects {

class Stacking {
 public:
  void onPinClick();
  void onBringToFrontClick();
  void onClickThroughClick();
};

}  // namespace vitrolux::effects
