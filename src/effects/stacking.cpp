#include "effects/stacking.h"

#include <algorithm>

#include "model/foreign_windows.h"
#include "model/layout.h"
#include "model/task_rows.h"
#include "model/text.h"

namespace vitrolux::effects {
namespace {

namespace text = model::text;
using model::ControlId;
using model::index;
using platform::WindowHandle;

constexpr unsigned kKeepPlace = platform::kSwpNoSize | platform::kSwpNoMove;
constexpr std::uint32_t kClickThroughStyles = platform::kWsExLayered | platform::kWsExTransparent;

}  // namespace

void Stacking::pinFrame(bool pinned, Activation activation) {
  unsigned flags = kKeepPlace;
  if (activation == Activation::Keep) flags |= platform::kSwpNoActivate;
  desktop_.setWindowPos(frame_.frameWindow(),
                        pinned ? platform::kHwndTopMost : platform::kHwndNoTopMost, 0, 0, 0, 0,
                        flags);
  framePinned_ = pinned;
  controls_.setToolTip(index(ControlId::setTopMostBtn),
                       std::string(pinned ? text::kTipPin : text::kTipUnpin));
}

void Stacking::onPinClick() {
  // The click on the pin has brought the frame forward already; activating
  // it again would only wait for a hosted program that joined its input.
  pinFrame(!framePinned_, Activation::Keep);
}

void Stacking::onBringToFrontClick() {
  const WindowHandle window = model::selectedTaskWindow(controls_);
  if (!window.isNull()) {
    // Queued to the window's program: one that has stopped answering takes
    // it when it answers again, and the frame never waits for it.
    desktop_.setWindowPos(window, platform::kHwndTopMost, 0, 0, 0, 0,
                          kKeepPlace | platform::kSwpAsyncWindowPos);
  }
}

void Stacking::onClickThroughClick() {
  const WindowHandle window = model::selectedTaskWindow(controls_);
  // A window whose program does not answer (or that is gone) is left as it
  // is, and so is the button: it says what the next click does to it.
  if (!window.isNull() && !model::answers(desktop_, window)) return;
  clickThrough_ = !clickThrough_;
  controls_.setCaption(index(ControlId::penetrate_btn),
                       std::string(clickThrough_ ? text::kBlock : text::kClickThrough));
  if (!window.isNull()) setClickThrough(window, clickThrough_);
}

void Stacking::setClickThrough(WindowHandle window, bool enable) {
  const auto style =
      static_cast<std::uint32_t>(desktop_.getWindowLong(window, platform::kGwlExStyle));
  const bool wasLayered = (style & platform::kWsExLayered) != 0;
  const auto ours = std::find(madeLayered_.begin(), madeLayered_.end(), window);
  const bool layeredByUs = ours != madeLayered_.end();
  // Its program may rely on its other extended styles (accepting dropped
  // files, tool window, ...), which stay; so does a layered style that was
  // there before, which is what draws a window its program paints through
  // UpdateLayeredWindow, or one that a digit key faded.
  std::uint32_t wanted = style | kClickThroughStyles;
  if (!enable) {
    wanted = style & ~platform::kWsExTransparent;
    if (layeredByUs && !opacity_.fadedByUs(window)) wanted &= ~platform::kWsExLayered;
  }
  if (!enable && layeredByUs) madeLayered_.erase(ours);
  // Written only when it changes: each write waits for the window's program.
  if (wanted == style) return;
  // A window that has just become layered is not drawn at all until it has
  // layered attributes: it gets them in the same call. One that was layered
  // already keeps the level it was given, or its own drawing.
  std::optional<std::uint8_t> alpha;
  if (enable && !wasLayered) {
    alpha = 255;
    // A handle that names no window any more may come to name another one.
    std::erase_if(madeLayered_, [&](WindowHandle w) { return !model::exists(desktop_, w); });
    madeLayered_.push_back(window);
  }
  desktop_.setExStyleThenAlpha(window, wanted, alpha);
}

}  // namespace vitrolux::effects
