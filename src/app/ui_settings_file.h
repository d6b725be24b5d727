// "ui.txt": the opacity level last chosen and the frame's size and place,
// applied once shortly after every start.
#pragma once

#include "config/store.h"
#include "effects/opacity.h"
#include "ports/desktop_port.h"
#include "ports/frame_port.h"
#include "ui/controls.h"

namespace vitrolux::app {

class UiSettingsFile {
 public:
  UiSettingsFile(platform::ControlSet& controls, platform::FramePort& frame,
                 platform::DesktopPort& desktop, config::SettingsStore& store,
                 effects::Opacity& opacity)
      : controls_(controls), frame_(frame), desktop_(desktop), store_(store), opacity_(opacity) {}

  // Applies what "ui.txt" holds, item by item in the order they stand.
  void loadUICfg();
  // Rewrites "ui.txt" from the current level and the frame's place.
  void writeUICfg();

  // The first tick of cfg_timer after start-up applies the file once.
  void onCfgTimer();

 private:
  // A frame that no monitor shows comes onto the nearest one's work area.
  void keepOnScreen();

  platform::ControlSet& controls_;
  platform::FramePort& frame_;
  platform::DesktopPort& desktop_;
  config::SettingsStore& store_;
  effects::Opacity& opacity_;
};

}  // namespace vitrolux::app
