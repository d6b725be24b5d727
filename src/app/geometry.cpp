#include "app/geometry.h"

#include "model/frame_metrics.h"
#include "model/hosted_fit.h"
#include "model/layout.h"
#include "ui/guard.h"
#include "ui/twips.h"

namespace vitrolux::app {
namespace {

using model::ControlId;
using model::index;

constexpr int kRefreshIntervalMs = 1500;

using platform::FrameCursor;

// Where the pointer is against the band of width e along each edge. The
// tests are inclusive and made in single precision, as the pointer's
// position arrives.
struct Band {
  bool left = false;
  bool right = false;
  bool top = false;
  bool bottom = false;
  bool withinHeight = false;  // Y <= H
  bool withinWidth = false;   // X <= W

  Band(float e, float w, float h, float x, float y)
      : left(x <= e),
        right(x + e >= w),
        top(y <= e),
        bottom(y + e >= h),
        withinHeight(y <= h),
        withinWidth(x <= w) {}
};

// The sizing border a press in the band hands to the window system, in the
// order the corners and edges are tested; 0 outside the band.
int hitTestCode(const Band& b) {
  if (b.right && b.bottom) return platform::kHtBottomRight;
  if (b.bottom && b.left) return platform::kHtBottomLeft;
  if (b.left && b.top) return platform::kHtTopLeft;
  if (b.top && b.right) return platform::kHtTopRight;
  if (b.right && b.withinHeight) return platform::kHtRight;
  if (b.bottom && b.withinWidth) return platform::kHtBottom;
  if (b.left && b.withinHeight) return platform::kHtLeft;
  if (b.top && b.withinWidth) return platform::kHtTop;
  return 0;
}

// The sizing cursor over the band, matching the border a press there sizes.
FrameCursor cursorOver(const Band& b) {
  if ((b.left && b.top) || (b.right && b.bottom)) return FrameCursor::SizeNwSe;
  if ((b.top && b.right) || (b.bottom && b.left)) return FrameCursor::SizeNeSw;
  if ((b.left || b.right) && b.withinHeight) return FrameCursor::SizeWe;
  if ((b.top || b.bottom) && b.withinWidth) return FrameCursor::SizeNs;
  return FrameCursor::Arrow;
}

}  // namespace

void FrameGeometry::onMouseDown(int button, int /*shift*/, float x, float y) {
  const platform::TwipsRect frame = model::frameTwips(frame_);
  const Band band(static_cast<float>(state_.edgeWidth), static_cast<float>(frame.width),
                  static_cast<float>(frame.height), x, y);
  if (const int code = hitTestCode(band); code != 0) {
    // Any button in the band sizes: the window system's own loop takes over
    // until the user lets go. It needs the mouse, which the press gave us.
    frame_.releaseCapture();
    frame_.sendFrameMessage(platform::kWmNcLButtonDown, static_cast<std::uintptr_t>(code), 0);
    return;
  }
  if (button != platform::kLeftButton) return;
  dragging_ = true;
  dragStartX_ = platform::roundHalfEven(x);
  dragStartY_ = platform::roundHalfEven(y);
}

void FrameGeometry::onMouseMove(int button, int /*shift*/, float x, float y) {
  // The left button came up where the frame did not hear of it: the move
  // ended there, and this pointer only passes by.
  if ((button & platform::kLeftButton) == 0) dragging_ = false;
  const platform::TwipsRect frame = model::frameTwips(frame_);
  const Band band(static_cast<float>(state_.edgeWidth), static_cast<float>(frame.width),
                  static_cast<float>(frame.height), x, y);
  const FrameCursor cursor = cursorOver(band);
  frame_.setFrameCursor(cursor);
  // Over the band the pointer only shows where a press would size; a move
  // in progress goes on with the next step outside it.
  if (cursor != FrameCursor::Arrow || !dragging_) return;
  // The pointer is relative to the frame, which follows it: each step moves
  // the frame by the pointer's travel since the press's point.
  dragLeft_ = platform::roundHalfEven(frame.left - dragStartX_ + x);
  dragTop_ = platform::roundHalfEven(frame.top - dragStartY_ + y);
  const int dpi = frame_.dpi();
  desktop_.setWindowPos(frame_.frameWindow(), platform::kHwndTop,
                        platform::twipsToPixels(dragLeft_, dpi),
                        platform::twipsToPixels(dragTop_, dpi), 0, 0,
                        platform::kSwpNoSize | platform::kSwpNoZOrder | platform::kSwpNoActivate);
}

void FrameGeometry::onMouseUp(int /*button*/, int /*shift*/, float /*x*/, float /*y*/) {
  dragging_ = false;
}

void FrameGeometry::onCaptureLost() {
  // Without the capture the button's release may reach another window.
  dragging_ = false;
}

void FrameGeometry::onDoubleClick() {
  const platform::WindowHandle hosted = state_.hostedWindow;
  // A launch awaiting its capture has no window to fit yet.
  if (hosted.isNull()) return;
  const platform::Rect bounds = frame_.frameBounds();
  const platform::Rect fit =
      model::hostedFit(platform::Size{bounds.width(), bounds.height()}, frame_.dpi());
  // Queued to the hosted program, which may have stopped answering: it
  // takes the fit when it answers again, and the frame never waits for it.
  desktop_.setWindowPos(hosted, platform::kHwndTop, fit.left, fit.top, fit.width(), fit.height(),
                        platform::kSwpAsyncWindowPos);
}

void FrameGeometry::onResize() {
  // The title strip ends at the frame's right edge, whatever its width.
  platform::guarded([&] {
    const int strip = index(ControlId::title_strip);
    controls_.setLeft(strip, model::frameTwips(frame_).width - controls_[strip].rect.width);
  });
  // The task list refreshes while the frame is shown, and rests while it is
  // minimised; maximising leaves the timer as it was.
  platform::guarded([&] {
    const int timer = index(ControlId::process_timer);
    switch (frame_.frameState()) {
      case platform::WindowState::Normal:
        controls_.setInterval(timer, kRefreshIntervalMs);
        break;
      case platform::WindowState::Minimized:
        controls_.setInterval(timer, 0);
        break;
      case platform::WindowState::Maximized:
        break;
    }
  });
}

}  // namespace vitrolux::app
