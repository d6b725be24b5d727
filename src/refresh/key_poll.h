// The global key poll: which key of the whole desktop is down, whichever
// window has the keyboard focus.
#pragma once

#include <cstdint>
#include <optional>

#include "ports/desktop_port.h"

namespace vitrolux::refresh {

// The codes scanned, both included: 17 is Ctrl; Shift (16), the mouse
// buttons, Backspace, Tab and Enter lie below and are never looked at.
inline constexpr int kFirstPolledKey = 17;
inline constexpr int kLastPolledKey = 128;

// The virtual-key code of the lowest key from 17 to 128 whose state is not
// 0 (down now, or pressed since its last query), or nothing. The scan stops
// at the first hit, so the keys above it keep their "pressed since" bit for
// a later call.
std::optional<int> firstPressedKey(platform::DesktopPort& desktop);

// firstPressedKey at every tick, skipping the scan while nobody types:
// after a scan that found no key, nothing can be found before the
// session's next input.
class KeyPoll {
 public:
  explicit KeyPoll(platform::DesktopPort& desktop) : desktop_(desktop) {}
  std::optional<int> firstPressedKey();

 private:
  platform::DesktopPort& desktop_;
  // The last input's time as read just before a scan that found no key.
  std::optional<std::uint32_t> quietSince_;
};

}  // namespace vitrolux::refresh
