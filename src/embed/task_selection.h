// Hosting a window picked in the task list, and the release of the hosted
// and the selected window.
#pragma once

#include "embed/loader.h"
#include "model/frame_state.h"
#include "ports/desktop_port.h"
#include "ui/controls.h"

namespace vitrolux::embed {

class TaskSelection {
 public:
  TaskSelection(platform::ControlSet& controls, model::FrameState& state,
                platform::DesktopPort& desktop, Loader& loader)
      : controls_(controls), state_(state), desktop_(desktop), loader_(loader) {}

  // "装载", and a double click on a row.
  void onLoadClick();
  // "释放". A window whose program does not answer is left as it is.
  void onReleaseClick();

 private:
  void giveBack(platform::WindowHandle window);

  platform::ControlSet& controls_;
  model::FrameState& state_;
  platform::DesktopPort& desktop_;
  Loader& loader_;
};

}  // namespace vitrolux::embed
