// The timer controls, which have no window of their own: each runs as a
// timer of the frame's window, with the control's index above
// kControlTimerBase as its id.
#pragma once

#include <windows.h>

#include <vector>

namespace vitrolux::platform::win32 {

// Smaller ids are left to the frame's own timers (FramePort::setSystemTimer).
inline constexpr UINT_PTR kControlTimerBase = 1000;

class ControlTimers {
 public:
  explicit ControlTimers(HWND frame) : frame_(frame) {}
  // Stops those still running while the frame lives on.
  ~ControlTimers();
  ControlTimers(const ControlTimers&) = delete;
  ControlTimers& operator=(const ControlTimers&) = delete;

  // Arms the control's timer (again: the delay restarts), or stops it at 0.
  void setInterval(int index, int milliseconds);
  // The control whose timer has this id; -1 for another id.
  static int controlOf(UINT_PTR id);

 private:
  HWND frame_;
  std::vector<int> armed_;
};

}  // namespace vitrolux::platform::win32
