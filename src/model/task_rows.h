// The task list's rows as the subsystems that act on a listed window read
// them: each row's number is that window's handle.
#pragma once

#include "ports/types.h"
#include "ui/controls.h"

namespace vitrolux::model {

// The handle attached to the selected row of the task list, or null when no
// row is selected.
platform::WindowHandle selectedTaskWindow(const platform::ControlSet& controls);

}  // namespace vitrolux::model
