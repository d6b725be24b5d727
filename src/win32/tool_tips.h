// The controls' tool tips: one tool-tip window for all of them, each control
// a tool of it while it has a tip.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "win32/unique_resource.h"

namespace vitrolux::platform::win32 {

class ToolTips {
 public:
  ToolTips(HINSTANCE instance, int dpi);
  ToolTips(const ToolTips&) = delete;
  ToolTips& operator=(const ToolTips&) = delete;

  // `text` becomes the tip of the control's window; an empty one takes its
  // tip away.
  void setTip(HWND control, const std::wstring& text);
  // Before the control's window goes.
  void forget(HWND control);
  // Long tips wrap at a width that follows the display's scale.
  void setDpi(int dpi);

 private:
  void create();

  HINSTANCE instance_;
  int dpi_;
  unique_hwnd window_;
  std::vector<HWND> tools_;
};

}  // namespace vitrolux::platform::win32
