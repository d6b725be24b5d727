// Hosting a window picked in the task list, and giving windows back.
#pragma once

#include "platform/types.h"

namespace vitrolux::app {
class Main;
}

namespace vitrolux::embed {

void onLoadClick(app::Main& main);
void onReleaseClick(app::Main& main);
// The handle attached to the selected task-list row, or null.
platform::WindowHandle selectedTaskWindow(const app::Main& main);

}  // namespace vitrolux::embed
