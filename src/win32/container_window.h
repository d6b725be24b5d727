// A container's window (the title-bar strip, the panels): its back colour,
// and the parent of the controls inside it, whose notifications it passes
// on. The title-bar strip reports presses; the panels only hold.
#pragma once

#include "win32/control_window.h"
#include "win32/mouse_input.h"

namespace vitrolux::platform::win32 {

class ContainerWindow final : public ControlWindow {
 public:
  // The window class whose windows this object handles, and its styles.
  static constexpr const wchar_t* kClassName = L"VitroluxContainer";
  static constexpr DWORD kStyle = WS_CLIPCHILDREN;
  static constexpr DWORD kExStyle = 0;

  using ControlWindow::ControlWindow;

  LRESULT handleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void onPaint(HWND window);
  void onPress(ButtonMessage button, WPARAM wParam, LPARAM lParam);
};

}  // namespace vitrolux::platform::win32
