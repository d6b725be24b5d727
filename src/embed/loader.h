// Launching a program and capturing its top-level window into the frame.
#pragma once

#include <string>

#include "app/layout.h"

namespace vitrolux::app {
class Main;
}

namespace vitrolux::embed {

// Shows the entry in the option panel, launches its program and arranges the
// capture of its window. False when the program could not be started.
bool loadApp(app::Main& main, const std::string& entry);

// Captures the first top-level window whose caption is the title: places it
// at (1, 22) with the frame's size and makes the frame its parent.
void embed(app::Main& main, const std::string& title);

// One capture attempt of Timer1, Timer2 or Timer3, which then stops.
void onCaptureTimer(app::Main& main, app::ControlId timer);

}  // namespace vitrolux::embed
