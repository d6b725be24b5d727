// Twips (1/1440 inch) are the unit of the frame's stored layout; the window
// system works in pixels. Conversions go through the display's actual DPI,
// except where a caller deliberately uses the fixed 15 twips of 96 DPI.
#pragma once

#include <cmath>

namespace vitrolux::platform {

inline constexpr double kTwipsPerInch = 1440.0;
inline constexpr int kDefaultDpi = 96;

// Nearest integer, halves to the even neighbour, independent of the current
// floating-point rounding mode.
inline int roundHalfEven(double x) {
  const double floor = std::floor(x);
  const double diff = x - floor;
  if (diff > 0.5) return static_cast<int>(floor) + 1;
  if (diff < 0.5) return static_cast<int>(floor);
  const int f = static_cast<int>(floor);
  return (f % 2 == 0) ? f : f + 1;
}

inline int twipsToPixels(double twips, int dpi) {
  return roundHalfEven(twips * dpi / kTwipsPerInch);
}

inline double pixelsToTwips(int pixels, int dpi) {
  return pixels * kTwipsPerInch / dpi;
}

}  // namespace vitrolux::platform
