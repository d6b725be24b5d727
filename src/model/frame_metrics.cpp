#include "model/frame_metrics.h"

#include "platform/twips.h"

namespace vitrolux::model {

platform::TwipsRect frameTwips(const platform::FramePort& frame) {
  const platform::Rect bounds = frame.frameBounds();
  const int dpi = frame.dpi();
  return platform::TwipsRect{
      platform::pixelsToTwips(bounds.left, dpi), platform::pixelsToTwips(bounds.top, dpi),
      platform::pixelsToTwips(bounds.width(), dpi), platform::pixelsToTwips(bounds.height(), dpi)};
}

}  // namespace vitrolux::model
