// The icon strip: the small icons of the windows whose task-list rows are
// shown, in a column left of the list. The images are made at run time and
// found again by their names alone.
#pragma once

#include <vector>

#include "ports/desktop_port.h"
#include "ports/frame_port.h"
#include "ui/controls.h"

namespace vitrolux::tasks {

// Icon images for the first rows shown; the list shows about this many.
inline constexpr int kIconRows = 7;

class IconStrip {
 public:
  IconStrip(platform::ControlSet& controls, platform::FramePort& frame,
            platform::DesktopPort& desktop)
      : controls_(controls), frame_(frame), desktop_(desktop) {}

  // Removes every icon image, however many rows the list had and whether or
  // not the box is ticked now, so that none outlives its row.
  void removePic();
  // Icon images for the windows of the rows shown, from the first shown
  // on: slot 1 for the first, up to slot 7.
  void placeFor(const std::vector<platform::WindowHandle>& windows);
  // Obtains the window's small icon and places the image of that slot.
  void addIcon(platform::WindowHandle window, int slot);

 private:
  platform::IconHandle smallIcon(platform::WindowHandle window);

  platform::ControlSet& controls_;
  platform::FramePort& frame_;
  platform::DesktopPort& desktop_;
};

}  // namespace vitrolux::tasks
