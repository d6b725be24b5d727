// The display's DPI for a window: per monitor where the system knows it
// (Windows 10 1607 and later), else the system-wide value.
#pragma once

#include <windows.h>

namespace vitrolux::platform::win32 {

// GetDpiForWindow when the system has it, else the screen's LOGPIXELSX.
int dpiForWindow(HWND window);
// The DPI a new window on the primary monitor gets.
int systemDpi();

// While it lives, windows the calling thread creates may host child windows
// of any DPI awareness, each of which the system scales for itself (the
// thread's DPI hosting behaviour is mixed). Without it a window of a
// program aware of the scale in another way than ours cannot become our
// child: re-parenting it fails, or resets that whole program's awareness.
// Windows 10 1803 and later have it; elsewhere nothing changes.
class MixedDpiHosting {
 public:
  MixedDpiHosting();
  ~MixedDpiHosting();
  MixedDpiHosting(const MixedDpiHosting&) = delete;
  MixedDpiHosting& operator=(const MixedDpiHosting&) = delete;

  // Whether the system has the hosting behaviour.
  static bool available();

 private:
  DPI_HOSTING_BEHAVIOR previous_ = DPI_HOSTING_BEHAVIOR_INVALID;
};

}  // namespace vitrolux::platform::win32
