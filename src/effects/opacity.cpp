#include "effects/opacity.h"

#include <algorithm>

#include "model/foreign_windows.h"
#include "model/task_rows.h"
#include "ui/twips.h"

namespace vitrolux::effects {

using platform::WindowHandle;

WindowHandle Opacity::target() const {
  const WindowHandle selected = model::selectedTaskWindow(controls_);
  // A launch that awaits its capture counts as hosted: the frame is busy
  // with that program, and the selected row is not what the user means.
  if (selected.isNull() || state_.hosting()) return frame_.frameWindow();
  return selected;
}

void Opacity::setOpacity(double level, bool save) {
  const WindowHandle window = target();
  // The selected window of a program that does not answer (or a window
  // gone since it was listed) is left as it is, and nothing is saved.
  if (window != frame_.frameWindow() && !model::answers(desktop_, window)) return;
  const auto style =
      static_cast<std::uint32_t>(desktop_.getWindowLong(window, platform::kGwlExStyle));
  const auto alpha = static_cast<std::uint8_t>(std::clamp(platform::roundHalfEven(level), 0, 255));
  // The style is written only when it changes: on another program's window
  // each write waits for that program. A window becoming layered gets its
  // alpha in the same call, so that it is never left layered without one.
  if ((style & platform::kWsExLayered) == 0) {
    desktop_.setExStyleThenAlpha(window, style | platform::kWsExLayered, alpha);
  } else {
    desktop_.setLayeredWindowAttributes(window, 0, alpha, platform::kLwaAlpha);
  }
  if (window == frame_.frameWindow()) frameAlpha_ = alpha;
  if (window != frame_.frameWindow() && !fadedByUs(window)) {
    // A handle that names no window any more may come to name another one.
    std::erase_if(faded_, [&](WindowHandle w) { return !model::exists(desktop_, w); });
    faded_.push_back(window);
  }
  if (save) {
    currentOpacity_ = static_cast<std::int16_t>(alpha);
    save_();
  }
}

bool Opacity::fadedByUs(WindowHandle window) const {
  return std::find(faded_.begin(), faded_.end(), window) != faded_.end();
}

void Opacity::applySavedLevel(double level) {
  setOpacity(level, false);
  currentOpacity_ = static_cast<std::int16_t>(platform::roundHalfEven(level));
}

}  // namespace vitrolux::effects
