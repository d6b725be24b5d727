// The control classes the adapter draws itself: labels, images and
// containers. One object per window, bound to it at WM_NCCREATE and cleared
// at WM_NCDESTROY like the frame window; the objects belong to the control
// windows' registry, which made the windows.
#pragma once

#include <windows.h>

#include "ui/controls.h"

namespace vitrolux::platform::win32 {

class ControlWindows;

class ControlWindow {
 public:
  ControlWindow(ControlWindows& owner, int index) : owner_(owner), index_(index) {}
  virtual ~ControlWindow() = default;
  ControlWindow(const ControlWindow&) = delete;
  ControlWindow& operator=(const ControlWindow&) = delete;

  // Registers the window class `name`, all of whose messages come to the
  // handleMessage of the object its window was made with.
  static bool registerClass(HINSTANCE instance, const wchar_t* name);

  virtual LRESULT handleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) = 0;

 protected:
  ControlWindows& owner() const { return owner_; }
  int index() const { return index_; }
  const Control& control() const;
  // WM_SETCURSOR over the window itself: the hand where the control asks
  // for it, else the arrow. False outside the client area.
  bool onSetCursor(UINT hitTest) const;
  // The control's back colour over the whole window.
  void paintBackground(HWND window, HDC dc) const;

 private:
  ControlWindows& owner_;
  int index_;
};

}  // namespace vitrolux::platform::win32
