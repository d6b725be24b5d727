// The task list: the desktop's program windows, rebuilt on demand and every
// 1.5 seconds, with their small icons when asked for.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/frame_state.h"
#include "ports/desktop_port.h"
#include "ports/frame_port.h"
#include "tasks/icon_strip.h"
#include "ui/controls.h"

namespace vitrolux::tasks {

class TaskList {
 public:
  TaskList(platform::ControlSet& controls, const model::FrameState& state,
           platform::FramePort& frame, platform::DesktopPort& desktop)
      : controls_(controls),
        state_(state),
        frame_(frame),
        desktop_(desktop),
        icons_(controls, frame, desktop) {}

  // Rebuilds the list from the windows below the frame in the z-order; no
  // row is selected afterwards.
  void rebuild();
  // The periodic refresh: rebuilds, keeping the selected window selected.
  void onProcessTimer();
  // The user scrolled the list: the icons go with the rows now beside them.
  void onListScrolled();

 private:
  // A window is listed when its caption is not empty and it either carries
  // every bit of the task style or has a caption naming a tray program.
  bool hasTaskStyle(platform::WindowHandle window);
  static bool isTrayApp(std::string_view caption);
  std::vector<platform::ListRow> walk();
  void rebuildKeeping(std::optional<platform::WindowHandle> keep);
  void placeIcons();

  platform::ControlSet& controls_;
  const model::FrameState& state_;
  platform::FramePort& frame_;
  platform::DesktopPort& desktop_;
  IconStrip icons_;
  bool rebuilding_ = false;
};

}  // namespace vitrolux::tasks
