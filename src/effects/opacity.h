// Opacity of the frame or of a selected window, and the saved UI settings
// "ui.txt": the level last chosen and the frame's size and position,
// applied once shortly after every start.
#pragma once

#include <functional>
#include <string>

#include "model/frame_state.h"
#include "ui/controls.h"
#include "ports/desktop_port.h"
#include "ports/frame_port.h"

namespace vitrolux::effects {

// The settings file "ui.txt", read and written through the settings store.
struct UiFile {
  std::function<std::string()> read;
  std::function<void(const std::string& line)> write;
};

class Opacity {
 public:
  Opacity(platform::ControlSet& controls, model::FrameState& state, platform::FramePort& frame,
          platform::DesktopPort& desktop, UiFile file)
      : controls_(controls),
        state_(state),
        frame_(frame),
        desktop_(desktop),
        file_(std::move(file)) {}

  // Fades the selected task-list window when nothing is hosted, else the
  // frame; with `save`, the level also becomes the remembered one.
  void setOpacity(double level, bool save);
  // Applies what "ui.txt" holds, item by item in the order they stand.
  void loadUICfg();
  // Rewrites "ui.txt" from the remembered level and the frame's place.
  void writeUICfg();

  // The first tick after start-up applies the saved settings once.
  void onCfgTimer();

 private:
  platform::WindowHandle target() const;
  // A frame that no monitor shows comes onto the nearest one's work area.
  void keepOnScreen();

  platform::ControlSet& controls_;
  model::FrameState& state_;
  platform::FramePort& frame_;
  platform::DesktopPort& desktop_;
  UiFile file_;
};

}  // namespace vitrolux::effects
