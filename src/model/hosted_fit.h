// Where a hosted window goes in the frame: below the title strip, as wide as
// the frame. Used by the capture and by the refit on a double click.
#pragma once

#include "ports/types.h"

namespace vitrolux::model {

// The hosted window's place in the frame's client area, in pixels. The
// offsets grow with the display's scale, so that the window clears the
// title strip (laid out in twips) at any DPI.
platform::Rect hostedFit(platform::Size frame, int dpi);

}  // namespace vitrolux::model
