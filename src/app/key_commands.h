// Key commands of the frame: Esc and the opacity digits.
#pragma once

namespace vitrolux::app {

class KeyCommands {
 public:
  void onKeyDown(int keyCode, int shift);
};

}  // namespace vitrolux::app
