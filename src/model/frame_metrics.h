// The frame's place and size in twips, the unit of the stored layout,
// measured through the display's actual DPI.
#pragma once

#include "platform/controls.h"
#include "platform/frame_port.h"

namespace vitrolux::model {

platform::TwipsRect frameTwips(const platform::FramePort& frame);

}  // namespace vitrolux::model
