#include "win32/control_window.h"

#include "win32/control_windows.h"
#include "win32/window_binding.h"

namespace vitrolux::platform::win32 {
bool ControlWindow::registerClass(HINSTANCE instance, const wchar_t* name) {
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof(windowClass);
  // Double clicks arrive as such, so that the second press of a double click
  // is not taken for a second click.
  windowClass.style = CS_DBLCLKS;
  windowClass.lpfnWndProc = boundWindowProc<ControlWindow, &ControlWindow::handleMessage>;
  windowClass.hInstance = instance;
  // No class cursor: WM_SETCURSOR chooses between the arrow and the hand.
  windowClass.lpszClassName = name;
  return ::RegisterClassExW(&windowClass) != 0 || ::GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

const Control& ControlWindow::control() const {
  return owner_.control(index_);
}

bool ControlWindow::onSetCursor(UINT hitTest) const {
  if (hitTest != HTCLIENT) return false;
  ::SetCursor(control().handCursor ? owner_.handCursor() : ::LoadCursorW(nullptr, IDC_ARROW));
  return true;
}

void ControlWindow::paintBackground(HWND window, HDC dc) const {
  RECT client{};
  ::GetClientRect(window, &client);
  ::FillRect(dc, &client, owner_.backBrush(index_));
}

}  // namespace vitrolux::platform::win32
