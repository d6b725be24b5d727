#include "effects/stacking.h"

#include "model/layout.h"
#include "model/strings.h"
#include "model/task_rows.h"

namespace vitrolux::effects {
namespace {

namespace text = model::text;
using model::ControlId;
using model::index;
using platform::WindowHandle;

constexpr unsigned kKeepPlace = platform::kSwpNoSize | platform::kSwpNoMove;
constexpr std::uint32_t kClickThroughStyles = platform::kWsExLayered | platform::kWsExTransparent;

}  // namespace

void Stacking::onPinClick() {
  const int pin = index(ControlId::setTopMostBtn);
  if (controls_[pin].toolTip == text::kTipPin) {
    desktop_.setWindowPos(frame_.frameWindow(), platform::kHwndNoTopMost, 0, 0, 0, 0, kKeepPlace);
    controls_.setToolTip(pin, std::string(text::kTipUnpin));
  } else {
    desktop_.setWindowPos(frame_.frameWindow(), platform::kHwndTopMost, 0, 0, 0, 0, kKeepPlace);
    controls_.setToolTip(pin, std::string(text::kTipPin));
  }
}

void Stacking::onBringToFrontClick() {
  const WindowHandle window = model::selectedTaskWindow(controls_);
  if (!window.isNull()) {
    desktop_.setWindowPos(window, platform::kHwndTopMost, 0, 0, 0, 0, kKeepPlace);
  }
}

void Stacking::onClickThroughClick() {
  const int button = index(ControlId::penetrate_btn);
  const bool enable = controls_[button].caption == text::kClickThrough;
  controls_.setCaption(button, std::string(enable ? text::kBlock : text::kClickThrough));
  const WindowHandle window = model::selectedTaskWindow(controls_);
  if (!window.isNull()) setClickThrough(desktop_, window, enable);
}

void setClickThrough(platform::DesktopPort& desktop, WindowHandle window, bool enable) {
  const auto style =
      static_cast<std::uint32_t>(desktop.getWindowLong(window, platform::kGwlExStyle));
  if (enable) {
    desktop.setWindowLong(window, platform::kGwlExStyle,
                          static_cast<std::int32_t>(style | kClickThroughStyles));
    // A window that has just become layered is not drawn at all until it
    // has layered attributes; one that was layered already keeps the level
    // it was given.
    if ((style & platform::kWsExLayered) == 0) {
      desktop.setLayeredWindowAttributes(window, 0, 255, platform::kLwaAlpha);
    }
  } else {
    // Only what turning it on added: the window's program may rely on its
    // other extended styles (accepting dropped files, tool window, ...).
    desktop.setWindowLong(window, platform::kGwlExStyle,
                          static_cast<std::int32_t>(style & ~kClickThroughStyles));
  }
}

}  // namespace vitrolux::effects
