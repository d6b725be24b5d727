#include "refresh/key_poll.h"

namespace vitrolux::refresh {

std::optional<int> firstPressedKey(platform::DesktopPort& desktop) {
  for (int code = kFirstPolledKey; code <= kLastPolledKey; ++code) {
    if (desktop.getAsyncKeyState(code) != 0) return code;
  }
  return std::nullopt;
}

std::optional<int> KeyPoll::firstPressedKey() {
  // Read before the scan: input that comes during it moves the time on, so
  // the next tick scans again.
  const std::optional<std::uint32_t> input = desktop_.lastInputTime();
  if (input && quietSince_ && *input == *quietSince_) return std::nullopt;
  const std::optional<int> key = refresh::firstPressedKey(desktop_);
  quietSince_ = key ? std::nullopt : input;
  return key;
}

}  // namespace vitrolux::refresh
