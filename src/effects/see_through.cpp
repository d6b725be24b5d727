#include "effects/see_through.h"

#include <algorithm>
#include <cstdlib>

#include "model/layout.h"
#include "model/text.h"

namespace vitrolux::effects {
namespace {

namespace text = model::text;
using platform::WindowHandle;

// Layered and WS_EX_TRANSPARENT: the system's hit testing passes over the
// window and everything in it, child windows of other programs included.
constexpr std::uint32_t kClickThroughStyles = platform::kWsExLayered | platform::kWsExTransparent;
constexpr std::uint8_t kOpaque = 255;
// A text of the user's quoted in a message is cut here.
constexpr std::size_t kQuotedBytes = 40;

bool contains(const platform::Rect& r, platform::Point p) {
  return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom;
}

// The start of a UTF-8 text, cut between characters.
std::string quoted(std::string_view text) {
  if (text.size() <= kQuotedBytes) return std::string(text);
  std::size_t end = kQuotedBytes;
  while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0u) == 0x80u) --end;
  return std::string(text.substr(0, end)) + "…";
}

}  // namespace

void SeeThrough::start(std::string_view setting) {
  model::HotKey hotKey = model::kSeeThroughHotKey;
  if (!setting.empty()) {
    if (const std::optional<model::HotKey> written = model::parseHotKey(setting)) {
      hotKey = *written;
    } else {
      frame_.showMessage(std::string(text::kHotKeyUnreadableBefore) + quoted(setting) +
                         std::string(text::kHotKeyUnreadableMiddle) + model::hotKeyName(hotKey) +
                         std::string(text::kHotKeyUnreadableAfter));
    }
  }
  const std::string name = model::hotKeyName(hotKey);
  registered_ = frame_.registerHotKey(kSeeThroughHotKeyId, hotKey.modifiers, hotKey.virtualKey);
  controls_.setToolTipNote(
      model::index(model::ControlId::setTopMostBtn),
      name + std::string(registered_ ? text::kTipSeeThrough : text::kTipHotKeyTaken));
  if (!registered_) {
    frame_.showMessage(std::string(text::kHotKeyTakenBefore) + name +
                       std::string(text::kHotKeyTakenAfter));
  }
}

void SeeThrough::stop() {
  if (active_) leave();
  if (registered_) frame_.unregisterHotKey(kSeeThroughHotKeyId);
  registered_ = false;
}

void SeeThrough::onHotKey(unsigned id) {
  if (id != kSeeThroughHotKeyId) return;
  if (active_) {
    leave();
  } else {
    enter();
  }
}

void SeeThrough::enter() {
  const WindowHandle frame = frame_.frameWindow();
  const auto style =
      static_cast<std::uint32_t>(desktop_.getWindowLong(frame, platform::kGwlExStyle));
  stylesBefore_ = style & kClickThroughStyles;
  // The level comes with the style: a window that has just become layered
  // is not drawn at all until it has one.
  desktop_.setExStyleThenAlpha(frame, style | kClickThroughStyles, level());
  // A capture still brings the mouse to its window wherever the pointer is:
  // a drag begun on the background, a title-bar button showing its hover.
  frame_.releaseCapture();
  active_ = true;
  peeking_ = false;
  rest_.reset();
  lookInterval_ = 0;
  lookAgainIn(kPointerLookMs);
}

void SeeThrough::leave() {
  frame_.killSystemTimer(kPeekTimerId);
  lookInterval_ = 0;
  active_ = false;
  peeking_ = false;
  rest_.reset();
  const WindowHandle frame = frame_.frameWindow();
  const auto style =
      static_cast<std::uint32_t>(desktop_.getWindowLong(frame, platform::kGwlExStyle));
  // Layered again only with the level it was given (before, or by a digit
  // meanwhile): layered without one, it would not be drawn at all.
  const std::optional<std::uint8_t> alpha = opacity_.frameAlpha();
  std::uint32_t wanted =
      (style & ~kClickThroughStyles) | (stylesBefore_ & platform::kWsExTransparent);
  if (alpha) wanted |= platform::kWsExLayered;
  desktop_.setExStyleThenAlpha(frame, wanted, alpha);
}

void SeeThrough::onPeekTimer() {
  if (!active_) return;
  const std::int64_t now = frame_.nowMs();
  const platform::Point at = frame_.cursorPos();
  if (!contains(frame_.frameBounds(), at)) {
    rest_.reset();
    if (peeking_) {
      peeking_ = false;
      show(level());
    }
  } else if (!peeking_) {
    if (!rest_ || std::abs(at.x - rest_->at.x) > kPeekRestSlopPixels ||
        std::abs(at.y - rest_->at.y) > kPeekRestSlopPixels) {
      rest_ = Rest{at, restSince(now)};
    }
    const std::int64_t due = rest_->since + kPeekRestMs;
    if (now >= due) {
      peeking_ = true;
      show(kOpaque);
    } else {
      lookAgainIn(due - now);
      return;
    }
  }
  lookAgainIn(kPointerLookMs);
}

std::int64_t SeeThrough::restSince(std::int64_t now) const {
  const std::optional<std::uint32_t> lastInput = desktop_.lastInputTime();
  if (!lastInput) return now;
  // Both clocks count milliseconds since the system started; the input's
  // is the low 32 bits of it.
  const std::uint32_t idle = static_cast<std::uint32_t>(now) - *lastInput;
  return now - static_cast<std::int64_t>(idle);
}

void SeeThrough::lookAgainIn(std::int64_t milliseconds) {
  const auto interval =
      static_cast<unsigned>(std::clamp<std::int64_t>(milliseconds, 1, kPointerLookMs));
  if (interval == lookInterval_) return;
  // Setting it again restarts it.
  frame_.setSystemTimer(kPeekTimerId, interval);
  lookInterval_ = interval;
}

void SeeThrough::onFrameLevelChanged() {
  if (active_) show(peeking_ ? kOpaque : level());
}

std::uint8_t SeeThrough::level() const {
  const int chosen = opacity_.currentOpacity();
  if (chosen <= 0 || chosen >= kOpaque) return kSeeThroughLevel;
  return static_cast<std::uint8_t>(chosen);
}

void SeeThrough::show(std::uint8_t alpha) {
  desktop_.setLayeredWindowAttributes(frame_.frameWindow(), 0, alpha, platform::kLwaAlpha);
}

}  // namespace vitrolux::effects
