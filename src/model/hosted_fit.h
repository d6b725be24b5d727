// Where a hosted window goes in the frame: below the title strip, as wide as
// the frame. Used by the capture and by the refit on a double click.
#pragma once

#include "ports/types.h"

namespace vitrolux::model {

// The hosted window's place in the frame's client area, in pixels, for a
// frame of this size on a display of this DPI. The offsets and the room left
// at the bottom are measured at 96 DPI and grow with the display's scale, so
// the window clears the title strip, which is laid out in twips, at any DPI;
// the size comes from the frame's own pixels.
platform::Rect hostedFit(platform::Size frame, int dpi);

}  // namespace vitrolux::model
