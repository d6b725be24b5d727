#include "model/hosted_fit.h"

#include <algorithm>

#include "ui/twips.h"

namespace vitrolux::model {
namespace {

// At 96 DPI: one pixel in from the left, 22 below the top (the title strip
// is 285 twips, 19 pixels, high), and 25 pixels less than the frame's height.
constexpr int kLeft = 1;
constexpr int kTop = 22;
constexpr int kHeightAllowance = 25;

int scaled(int pixelsAt96, int dpi) {
  return platform::roundHalfEven(static_cast<double>(pixelsAt96) * dpi / platform::kDefaultDpi);
}

}  // namespace

platform::Rect hostedFit(platform::Size frame, int dpi) {
  if (dpi <= 0) dpi = platform::kDefaultDpi;
  const int left = scaled(kLeft, dpi);
  const int top = scaled(kTop, dpi);
  // A frame shorter than the allowance gives a window of no height, never a
  // negative one.
  const int height = std::max(0, frame.cy - scaled(kHeightAllowance, dpi));
  return platform::Rect{left, top, left + std::max(0, frame.cx), top + height};
}

}  // namespace vitrolux::model
