// The drawn title-bar buttons: minimise, full screen, close, with hover images.
#pragma once

#include "model/layout.h"

namespace vitrolux::app {

class TitleBar {
 public:
  void onMouseDown(model::ControlId button, int mouseButton, int shift, float x, float y);
  void onMouseMove(model::ControlId button, int mouseButton, int shift, float x, float y);
};

}  // namespace vitrolux::app
