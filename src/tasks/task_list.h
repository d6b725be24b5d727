// The task list: the desktop's program windows, rebuilt on demand and every
// 1.5 seconds, with their small icons when asked for.
#pragma once

#include "model/frame_state.h"
#include "platform/controls.h"
#include "platform/desktop_port.h"
#include "platform/frame_port.h"

namespace vitrolux::tasks {

class TaskList {
 public:
  TaskList(platform::ControlSet& controls, const model::FrameState& state,
           platform::FramePort& frame, platform::DesktopPort& desktop)
      : controls_(controls), state_(state), frame_(frame), desktop_(desktop) {}

  // Rebuilds the list from the windows below the frame in the z-order.
  void FindAllApps();
  // The periodic refresh: rebuilds, keeping the selected window selected.
  void onProcessTimer();

 private:
  platform::ControlSet& controls_;
  const model::FrameState& state_;
  platform::FramePort& frame_;
  platform::DesktopPort& desktop_;
};

}  // namespace vitrolux::tasks
