#include "tasks/task_list.h"

#include "app/main_frame.h"

namespace vitrolux::tasks {

// Not built yet: the list stays empty.
void FindAllApps(app::Main&) {}
void onProcessTimer(app::Main&) {}

}  // namespace vitrolux::tasks
