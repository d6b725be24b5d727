#include "win32/control_timers.h"

#include <algorithm>

namespace vitrolux::platform::win32 {

ControlTimers::~ControlTimers() {
  if (!::IsWindow(frame_)) return;
  for (const int index : armed_) ::KillTimer(frame_, kControlTimerBase + index);
}

void ControlTimers::setInterval(int index, int milliseconds) {
  const UINT_PTR id = kControlTimerBase + static_cast<UINT_PTR>(index);
  const auto at = std::find(armed_.begin(), armed_.end(), index);
  if (milliseconds > 0) {
    // SetTimer on an id that runs replaces it, which restarts the delay.
    ::SetTimer(frame_, id, static_cast<UINT>(milliseconds), nullptr);
    if (at == armed_.end()) armed_.push_back(index);
  } else {
    ::KillTimer(frame_, id);
    if (at != armed_.end()) armed_.erase(at);
  }
}

int ControlTimers::controlOf(UINT_PTR id) {
  if (id < kControlTimerBase || id - kControlTimerBase > 0xFFFF) return -1;
  return static_cast<int>(id - kControlTimerBase);
}

}  // namespace vitrolux::platform::win32
