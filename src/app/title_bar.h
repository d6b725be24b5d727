// The drawn title-bar buttons: minimise, full screen, close, with hover images.
#pragma once

#include <functional>
#include <optional>

#include "app/ui_settings_file.h"
#include "effects/stacking.h"
#include "model/layout.h"
#include "ports/desktop_port.h"
#include "ports/frame_port.h"
#include "ui/controls.h"

namespace vitrolux::app {

// Whether a pointer at (x, y) twips lies on a button of this size; all four
// edges count as inside.
bool pointerOnButton(double x, double y, double width, double height);

// The frame's place in full screen on a monitor: all of its width, and 580
// twips less than its height (room for the task bar), at its top left.
platform::TwipsRect fullScreenTwips(const platform::Rect& monitor, int dpi);

class TitleBar {
 public:
  TitleBar(platform::ControlSet& controls, platform::FramePort& frame,
           platform::DesktopPort& desktop, effects::Stacking& stacking, UiSettingsFile& uiSettings,
           std::function<void()> endProgram)
      : controls_(controls),
        frame_(frame),
        desktop_(desktop),
        stacking_(stacking),
        uiSettings_(uiSettings),
        endProgram_(std::move(endProgram)) {}

  // Every mouse button acts, on the press.
  void onMouseDown(model::ControlId button, int mouseButton, int shift, float x, float y);
  // The hover image while the pointer is on the button, the normal one
  // once it has left. The window system reports the leave: the button
  // never holds the mouse for it.
  void onMouseMove(model::ControlId button, int mouseButton, int shift, float x, float y);
  void onMouseLeave(model::ControlId button);

 private:
  void toggleFullScreen();

  platform::ControlSet& controls_;
  platform::FramePort& frame_;
  platform::DesktopPort& desktop_;
  // Full screen takes the frame out of the top-most band, and coming back
  // puts it in again, as the pin shows.
  effects::Stacking& stacking_;
  // Keeps the place to come back to from full screen, and the frame's
  // place at a close.
  UiSettingsFile& uiSettings_;
  std::function<void()> endProgram_;
  // Where the frame stood before the button made it full screen.
  std::optional<platform::Rect> beforeFullScreen_;
};

}  // namespace vitrolux::app
