// The controls' tool tips: one tool-tip window for all of them, each control
// a tool of it while it has a tip. The tool-tip window belongs to the frame,
// to follow its stacking and go with it; where the system would then keep
// the frame out of the top-most band (Wine), it belongs to no one.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "win32/unique_resource.h"

namespace vitrolux::platform::win32 {

class ToolTips {
 public:
  ToolTips(HINSTANCE instance, HWND frame, int dpi);
  ~ToolTips();
  ToolTips(const ToolTips&) = delete;
  ToolTips& operator=(const ToolTips&) = delete;

  // `text` becomes the tip of the control's window; an empty one takes its
  // tip away.
  void setTip(HWND control, const std::wstring& text);
  // Before the control's window goes.
  void forget(HWND control);
  // Long tips wrap at a width that follows the display's scale.
  void setDpi(int dpi);
  // The window that owns the tool-tip window: the frame, or null.
  HWND owner() const;

 private:
  void create();
  HWND createWindow(HWND owner) const;

  HINSTANCE instance_;
  HWND frame_;
  int dpi_;
  unique_hwnd window_;
  std::vector<HWND> tools_;
};

}  // namespace vitrolux::platform::win32
