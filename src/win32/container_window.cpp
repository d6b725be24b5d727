#include "win32/container_window.h"

#include "ui/guard.h"
#include "win32/child_messages.h"
#include "win32/control_windows.h"
#include "win32/unique_resource.h"

namespace vitrolux::platform::win32 {

LRESULT ContainerWindow::handleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  const ButtonMessage button = buttonMessage(message);
  if (button.action == ButtonAction::Press || button.action == ButtonAction::DoubleClick) {
    onPress(button, wParam, lParam);
    return 0;
  }
  LRESULT result = 0;
  switch (message) {
    case WM_PAINT:
      onPaint(window);
      return 0;
    case WM_ERASEBKGND:
      return 1;  // all painted in WM_PAINT, in one go, so nothing flickers
    case WM_SETCURSOR:
      if (reinterpret_cast<HWND>(wParam) != window) {
        // A control inside asks first whether we choose its cursor.
        return routeChildMessage(owner(), message, wParam, lParam, result) ? result : FALSE;
      }
      if (onSetCursor(LOWORD(lParam))) return TRUE;
      break;
    case WM_COMMAND:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
      if (routeChildMessage(owner(), message, wParam, lParam, result)) return result;
      break;
    default:
      break;
  }
  return ::DefWindowProcW(window, message, wParam, lParam);
}

void ContainerWindow::onPaint(HWND window) {
  const unique_paint paint(window);
  paintBackground(window, paint.dc());
}

void ContainerWindow::onPress(ButtonMessage button, WPARAM wParam, LPARAM lParam) {
  owner().forgetPress();
  if (control().kind != ControlKind::PictureBox) return;
  const MousePoint at = mousePoint(wParam, lParam, owner().dpi());
  guarded(
      [&] { owner().events().onControlMouseDown(index(), button.button, at.shift, at.x, at.y); });
}

}  // namespace vitrolux::platform::win32
