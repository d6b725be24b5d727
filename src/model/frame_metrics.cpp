#include "model/frame_metrics.h"

#include <algorithm>

#include "ui/twips.h"

namespace vitrolux::model {
namespace {

// Far beyond any screen, and well inside an int: a number read from an
// edited file never overflows on its way to the window system.
constexpr double kPixelLimit = 1'000'000;

int toPixels(double twips, int dpi) {
  const double pixels = twips * dpi / platform::kTwipsPerInch;
  return platform::roundHalfEven(std::clamp(pixels, -kPixelLimit, kPixelLimit));
}

}  // namespace

platform::TwipsRect toTwips(const platform::Rect& bounds, int dpi) {
  return platform::TwipsRect{
      platform::pixelsToTwips(bounds.left, dpi), platform::pixelsToTwips(bounds.top, dpi),
      platform::pixelsToTwips(bounds.width(), dpi), platform::pixelsToTwips(bounds.height(), dpi)};
}

platform::TwipsRect frameTwips(const platform::FramePort& frame) {
  return toTwips(frame.frameBounds(), frame.dpi());
}

platform::TwipsRect frameNormalTwips(const platform::FramePort& frame) {
  return toTwips(frame.frameNormalBounds(), frame.dpi());
}

void setFrameTwips(const platform::FramePort& frame, platform::DesktopPort& desktop, FrameSide side,
                   double twips) {
  const platform::Rect now = frame.frameBounds();
  const int pixels = toPixels(twips, frame.dpi());
  int x = now.left;
  int y = now.top;
  int cx = now.width();
  int cy = now.height();
  unsigned keep = 0;
  switch (side) {
    case FrameSide::Width:
      cx = std::max(pixels, 0);
      keep = platform::kSwpNoMove;
      break;
    case FrameSide::Height:
      cy = std::max(pixels, 0);
      keep = platform::kSwpNoMove;
      break;
    case FrameSide::Left:
      x = pixels;
      keep = platform::kSwpNoSize;
      break;
    case FrameSide::Top:
      y = pixels;
      keep = platform::kSwpNoSize;
      break;
  }
  desktop.setWindowPos(frame.frameWindow(), platform::kHwndTop, x, y, cx, cy,
                       keep | platform::kSwpNoZOrder | platform::kSwpNoActivate);
}

}  // namespace vitrolux::model
