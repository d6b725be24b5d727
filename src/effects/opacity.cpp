#include "effects/opacity.h"

#include <algorithm>

#include "effects/ui_settings.h"
#include "model/foreign_windows.h"
#include "model/frame_metrics.h"
#include "model/layout.h"
#include "model/task_rows.h"
#include "ui/guard.h"
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
  if (save) {
    state_.currentOpacity = static_cast<std::int16_t>(alpha);
    writeUICfg();
  }
}

void Opacity::writeUICfg() {
  // The place the frame comes back to: a minimised frame's own bounds are
  // the system's parking place, which would lose it at the next start.
  file_.write(formatUiSettings(state_.currentOpacity, model::frameNormalTwips(frame_)));
}

void Opacity::loadUICfg() {
  bool placed = false;
  for (const UiItem& item : readUiSettings(file_.read())) {
    switch (item.key) {
      case UiKey::opacity:
        setOpacity(item.value, false);
        state_.currentOpacity = static_cast<std::int16_t>(platform::roundHalfEven(item.value));
        break;
      case UiKey::width:
        model::setFrameTwips(frame_, desktop_, model::FrameSide::width, item.value);
        placed = true;
        break;
      case UiKey::height:
        model::setFrameTwips(frame_, desktop_, model::FrameSide::height, item.value);
        placed = true;
        break;
      case UiKey::left:
        model::setFrameTwips(frame_, desktop_, model::FrameSide::left, item.value);
        placed = true;
        break;
      case UiKey::top:
        model::setFrameTwips(frame_, desktop_, model::FrameSide::top, item.value);
        placed = true;
        break;
    }
  }
  if (placed) keepOnScreen();
}

void Opacity::keepOnScreen() {
  if (frame_.frameState() != platform::WindowState::Normal) return;
  const platform::Rect now = frame_.frameBounds();
  if (desktop_.monitorFromRect(now, platform::kMonitorDefaultToNull)) return;
  // Saved on a monitor since unplugged, or edited by hand.
  const std::optional<platform::Monitor> nearest =
      desktop_.monitorFromRect(now, platform::kMonitorDefaultToNearest);
  if (!nearest) return;
  const platform::Rect& work = nearest->workArea;
  const int width = std::min(now.width(), work.width());
  const int height = std::min(now.height(), work.height());
  const int left = std::clamp(now.left, work.left, work.right - width);
  const int top = std::clamp(now.top, work.top, work.bottom - height);
  desktop_.setWindowPos(frame_.frameWindow(), platform::kHwndTop, left, top, width, height,
                        platform::kSwpNoZOrder | platform::kSwpNoActivate);
}

void Opacity::onCfgTimer() {
  // Stopped first, so that it never ticks again, whatever applying the
  // settings does.
  controls_.setInterval(model::index(model::ControlId::cfg_timer), 0);
  platform::guarded([&] { loadUICfg(); });
}

}  // namespace vitrolux::effects
