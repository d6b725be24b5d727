// A label's window: its caption drawn on its back colour, and for a label
// used as a button, clicks.
#pragma once

#include "win32/control_window.h"
#include "win32/mouse_input.h"

namespace vitrolux::platform::win32 {

class LabelWindow final : public ControlWindow {
 public:
  // The window class whose windows this object handles, and its styles.
  static constexpr const wchar_t* kClassName = L"VitroluxLabel";
  static constexpr DWORD kStyle = 0;
  static constexpr DWORD kExStyle = 0;

  using ControlWindow::ControlWindow;

  LRESULT handleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void onPaint(HWND window);
  void onLeftButton(HWND window, ButtonAction action, LPARAM lParam);
};

}  // namespace vitrolux::platform::win32
