// The frame's place and size in twips, the unit of the stored layout,
// measured through the display's actual DPI, and set one number at a time
// as the layout's own Width, Height, Left and Top are.
#pragma once

#include "ports/desktop_port.h"
#include "ports/frame_port.h"
#include "ui/controls.h"

namespace vitrolux::model {

// A rectangle of pixels in twips at the given DPI.
platform::TwipsRect toTwips(const platform::Rect& bounds, int dpi);

platform::TwipsRect frameTwips(const platform::FramePort& frame);

// The frame where it stands when not minimised, in twips.
platform::TwipsRect frameNormalTwips(const platform::FramePort& frame);

enum class FrameSide { Width, Height, Left, Top };

// Sets the frame's width, height, left or top edge to a number of twips,
// leaving the other three as they are. A new width or height raises the
// frame's resize event at once, as any change of its size does.
void setFrameTwips(const platform::FramePort& frame, platform::DesktopPort& desktop, FrameSide side,
                   double twips);

}  // namespace vitrolux::model
