#include "tasks/task_list.h"

namespace vitrolux::tasks {

// Not built yet: the list stays empty.
void TaskList::FindAllApps() {}
void TaskList::onProcessTimer() {}

}  // namespace vitrolux::tasks
