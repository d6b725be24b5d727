// The task list: the desktop's program windows, rebuilt on demand and every
// 1.5 seconds.
#pragma once

namespace vitrolux::app {
class Main;
}

namespace vitrolux::tasks {

void FindAllApps(app::Main& main);
void onProcessTimer(app::Main& main);

}  // namespace vitrolux::tasks
