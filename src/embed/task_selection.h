// Hosting a window picked in the task list, and giving windows back: the
// release of the hosted and the selected window, and the give-back of every
// window of another program that lives in the frame, which every exit path
// runs.
#pragma once

#include <vector>

#include "embed/loader.h"
#include "model/frame_state.h"
#include "ui/controls.h"
#include "ports/desktop_port.h"
#include "ports/frame_port.h"

namespace vitrolux::embed {

class TaskSelection {
 public:
  TaskSelection(platform::ControlSet& controls, model::FrameState& state,
                platform::FramePort& frame, platform::DesktopPort& desktop, Loader& loader)
      : controls_(controls), state_(state), frame_(frame), desktop_(desktop), loader_(loader) {}

  // "装载", and a double click on a row.
  void onLoadClick();
  // "释放". A window whose program does not answer is left as it is.
  void onReleaseClick();

  // Gives every window of another program that lives in the frame back to
  // the desktop where it stands on the screen, no longer top-most, so that
  // the frame going away never destroys another program's window. A window
  // whose program does not answer stays. True when none is left inside and
  // none is still on its way out.
  bool giveBackForeignWindows();

 private:
  platform::ControlSet& controls_;
  model::FrameState& state_;
  platform::FramePort& frame_;
  platform::DesktopPort& desktop_;
  Loader& loader_;
  // Windows whose give-back outlived its wait and is still being carried out.
  std::vector<platform::WindowHandle> handingBack_;
};

}  // namespace vitrolux::embed
