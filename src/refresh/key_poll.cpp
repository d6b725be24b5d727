#include "refresh/key_poll.h"

namespace vitrolux::refresh {

std::string firstPressedKey(platform::DesktopPort& desktop) {
  for (int code = kFirstPolledKey; code <= kLastPolledKey; ++code) {
    if (desktop.getAsyncKeyState(code) != 0) return std::to_string(code);
  }
  return {};
}

}  // namespace vitrolux::refresh
