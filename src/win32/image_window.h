// An image's window: a stored picture, or an icon image's copy of an icon,
// at its own size from the top-left corner on the back colour. Image buttons
// report presses, moves, the pointer leaving, and clicks; icon images only
// show.
#pragma once

#include "win32/control_window.h"
#include "win32/mouse_input.h"

namespace vitrolux::platform::win32 {

class ImageWindow final : public ControlWindow {
 public:
  // The window class whose windows this object handles, and its styles.
  static constexpr const wchar_t* kClassName = L"VitroluxImage";
  static constexpr DWORD kStyle = 0;
  static constexpr DWORD kExStyle = 0;

  using ControlWindow::ControlWindow;

  LRESULT handleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void onPaint(HWND window);
  // False when the message goes on to the default handling.
  bool onMouseButton(HWND window, ButtonMessage button, WPARAM wParam, LPARAM lParam);
  void onMouseMove(HWND window, WPARAM wParam, LPARAM lParam);
  void onMouseLeave();
  // The stored picture as a packed bitmap in the resources, or null.
  const BITMAPINFO* storedPicture() const;
};

}  // namespace vitrolux::platform::win32
