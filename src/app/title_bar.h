// The drawn title-bar buttons: minimise, full screen, close, with hover images.
#pragma once

#include "app/layout.h"

namespace vitrolux::app {

class Main;

void onTitleButtonMouseDown(Main& main, ControlId button, int mouseButton, int shift, float x,
                            float y);
void onTitleButtonMouseMove(Main& main, ControlId button, int mouseButton, int shift, float x,
                            float y);

}  // namespace vitrolux::app
