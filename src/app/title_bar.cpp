#include "app/title_bar.h"

#include <utility>

#include "model/frame_metrics.h"
#include "model/pictures.h"

namespace vitrolux::app {
namespace {

using model::ControlId;
using model::index;
using platform::Picture;
namespace picture = model::picture;

constexpr double kTaskBarTwips = 580;

struct Pictures {
  Picture normal;
  Picture hover;
};

Pictures picturesOf(ControlId button) {
  switch (button) {
    case ControlId::min_btn:
      return {picture::kMinNormal, picture::kMinHover};
    case ControlId::full_screen_btn:
      return {picture::kFullScreenNormal, picture::kFullScreenHover};
    default:
      return {picture::kCloseNormal, picture::kCloseHover};
  }
}

}  // namespace

bool pointerOnButton(double x, double y, double width, double height) {
  return x >= 0 && x <= width && y >= 0 && y <= height;
}

platform::TwipsRect fullScreenTwips(const platform::Rect& monitor, int dpi) {
  platform::TwipsRect twips = model::toTwips(monitor, dpi);
  twips.height -= kTaskBarTwips;
  return twips;
}

void TitleBar::onMouseMove(ControlId button, int, int, float x, float y) {
  const int at = index(button);
  // Each button shows its normal or its hover picture from the catalogue.
  const Pictures pictures = picturesOf(button);
  const platform::TwipsRect& size = controls_[at].rect;
  // Moves reach the button from outside while a press on it holds the
  // mouse.
  const bool over = pointerOnButton(x, y, size.width, size.height);
  controls_.setPicture(at, over ? pictures.hover : pictures.normal);
}

void TitleBar::onMouseLeave(ControlId button) {
  controls_.setPicture(index(button), picturesOf(button).normal);
}

void TitleBar::onMouseDown(ControlId button, int, int, float, float) {
  switch (button) {
    case ControlId::min_btn:
      frame_.setFrameState(platform::WindowState::Minimized);
      break;
    case ControlId::full_screen_btn:
      toggleFullScreen();
      break;
    case ControlId::close_btn:
      uiSettings_.writeUICfg();
      endProgram_();
      break;
    default:
      // A press on the strip between the buttons does nothing, not even
      // start a drag of the frame.
      break;
  }
}

void TitleBar::toggleFullScreen() {
  const platform::Rect now = frame_.frameBounds();
  // The monitor that holds the frame; the frame is full screen exactly when
  // it is as wide as that monitor.
  const std::optional<platform::Monitor> monitor =
      desktop_.monitorFromRect(now, platform::kMonitorDefaultToNearest);
  if (!monitor) return;
  if (now.width() != monitor->bounds.width()) {
    stacking_.pinFrame(false, effects::Activation::Take);
    // "ui.txt" keeps the size and place to come back to.
    uiSettings_.writeUICfg();
    beforeFullScreen_ = now;
    const platform::TwipsRect full = fullScreenTwips(monitor->bounds, frame_.dpi());
    model::setFrameTwips(frame_, desktop_, model::FrameSide::Width, full.width);
    model::setFrameTwips(frame_, desktop_, model::FrameSide::Height, full.height);
    model::setFrameTwips(frame_, desktop_, model::FrameSide::Left, full.left);
    model::setFrameTwips(frame_, desktop_, model::FrameSide::Top, full.top);
  } else {
    stacking_.pinFrame(true, effects::Activation::Take);
    uiSettings_.loadUICfg();
    // A digit key pressed in full screen saved the full-screen place over
    // the one to come back to; the button would then never leave full
    // screen. The place from before is still known here.
    const std::optional<platform::Rect> before = std::exchange(beforeFullScreen_, std::nullopt);
    const platform::Rect after = frame_.frameBounds();
    if (before && after.width() == monitor->bounds.width()) {
      desktop_.setWindowPos(frame_.frameWindow(), platform::kHwndTop, before->left, before->top,
                            before->width(), before->height(),
                            platform::kSwpNoZOrder | platform::kSwpNoActivate);
    }
  }
}

}  // namespace vitrolux::app
