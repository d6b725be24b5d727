#include "app/ui_settings_file.h"

#include <algorithm>

#include "app/ui_settings.h"
#include "model/frame_metrics.h"
#include "model/layout.h"
#include "model/text.h"
#include "ui/guard.h"

namespace vitrolux::app {

void UiSettingsFile::writeUICfg() {
  // The place the frame comes back to: a minimised frame's own bounds are
  // the system's parking place, which would lose it at the next start.
  store_.writeCfg(store_.settingsPath(model::text::kUiFile),
                  formatUiSettings(opacity_.currentOpacity(), model::frameNormalTwips(frame_)));
}

void UiSettingsFile::loadUICfg() {
  bool placed = false;
  const std::string line = store_.readCfg(store_.settingsPath(model::text::kUiFile));
  for (const UiItem& item : readUiSettings(line)) {
    switch (item.key) {
      case UiKey::Opacity:
        opacity_.applySavedLevel(item.value);
        break;
      case UiKey::Width:
        model::setFrameTwips(frame_, desktop_, model::FrameSide::Width, item.value);
        placed = true;
        break;
      case UiKey::Height:
        model::setFrameTwips(frame_, desktop_, model::FrameSide::Height, item.value);
        placed = true;
        break;
      case UiKey::Left:
        model::setFrameTwips(frame_, desktop_, model::FrameSide::Left, item.value);
        placed = true;
        break;
      case UiKey::Top:
        model::setFrameTwips(frame_, desktop_, model::FrameSide::Top, item.value);
        placed = true;
        break;
    }
  }
  if (placed) keepOnScreen();
}

void UiSettingsFile::keepOnScreen() {
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

void UiSettingsFile::onCfgTimer() {
  // Stopped first, so that it never ticks again, whatever applying the
  // settings does.
  controls_.setInterval(model::index(model::ControlId::cfg_timer), 0);
  platform::guarded([&] { loadUICfg(); });
}

}  // namespace vitrolux::app
