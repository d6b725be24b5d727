#include "win32/image_window.h"

#include "ui/guard.h"
#include "win32/control_windows.h"
#include "win32/unique_resource.h"

namespace vitrolux::platform::win32 {

LRESULT ImageWindow::handleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (const ButtonMessage button = buttonMessage(message); button.action != ButtonAction::None) {
    if (onMouseButton(window, button, wParam, lParam)) return 0;
    return ::DefWindowProcW(window, message, wParam, lParam);
  }
  switch (message) {
    case WM_PAINT:
      onPaint(window);
      return 0;
    case WM_ERASEBKGND:
      return 1;  // all painted in WM_PAINT, in one go, so nothing flickers
    case WM_SETCURSOR:
      if (onSetCursor(LOWORD(lParam))) return TRUE;
      break;
    case WM_MOUSEMOVE:
      if (control().kind == ControlKind::IconImage) break;
      onMouseMove(window, wParam, lParam);
      return 0;
    case WM_MOUSELEAVE:
      if (control().kind == ControlKind::IconImage) break;
      onMouseLeave();
      return 0;
    default:
      break;
  }
  return ::DefWindowProcW(window, message, wParam, lParam);
}

void ImageWindow::onPaint(HWND window) {
  const unique_paint paint(window);
  paintBackground(window, paint.dc());
  if (HICON icon = owner().shownIcon(index())) {
    // At its own size from the top-left corner, clipped to the image.
    ::DrawIconEx(paint.dc(), 0, 0, icon, 0, 0, 0, nullptr, DI_NORMAL);
    return;
  }
  const BITMAPINFO* picture = storedPicture();
  if (picture == nullptr) return;
  const BITMAPINFOHEADER& header = picture->bmiHeader;
  // The stored pictures are true-colour, so the bits follow the header.
  if (header.biBitCount < 16 || header.biCompression != BI_RGB) return;
  const void* bits = reinterpret_cast<const BYTE*>(picture) + header.biSize;
  const int height = header.biHeight < 0 ? -header.biHeight : header.biHeight;
  // As the layout stores it; the rest of the control shows the back colour.
  ::SetDIBitsToDevice(paint.dc(), 0, 0, static_cast<DWORD>(header.biWidth),
                      static_cast<DWORD>(height), 0, 0, 0, static_cast<UINT>(height), bits, picture,
                      DIB_RGB_COLORS);
}

bool ImageWindow::onMouseButton(HWND window, ButtonMessage button, WPARAM wParam, LPARAM lParam) {
  // An icon image only shows: a press on it does nothing, and does not
  // reach the frame's background behind it either.
  if (control().kind == ControlKind::IconImage) {
    owner().forgetPress();
    return true;
  }
  const bool left = button.button == kLeftButton;
  if (button.action == ButtonAction::DoubleClick && left) {
    // The second press of a double click: a double click, not a press.
    owner().forgetPress();
    guarded([&] { owner().events().onControlDoubleClick(index()); });
    return true;
  }
  if (button.action == ButtonAction::Release) {
    if (!left) return false;
    if (owner().endPress(index(), window, lParam)) {
      guarded([&] { owner().events().onClick(index()); });
    }
    return true;
  }
  if (button.action == ButtonAction::Press && left) owner().beginPress(index(), window);
  const MousePoint at = mousePoint(wParam, lParam, owner().dpi());
  guarded(
      [&] { owner().events().onControlMouseDown(index(), button.button, at.shift, at.x, at.y); });
  return true;
}

void ImageWindow::onMouseMove(HWND window, WPARAM wParam, LPARAM lParam) {
  // The window system tells of the pointer leaving, once per request:
  // asked at every move, the button needs no hold on the mouse.
  TRACKMOUSEEVENT leave{sizeof(leave), TME_LEAVE, window, 0};
  ::TrackMouseEvent(&leave);
  const int buttons = heldButtons(wParam);
  const MousePoint at = mousePoint(wParam, lParam, owner().dpi());
  guarded([&] { owner().events().onControlMouseMove(index(), buttons, at.shift, at.x, at.y); });
}

void ImageWindow::onMouseLeave() {
  guarded([&] { owner().events().onControlMouseLeave(index()); });
}

const BITMAPINFO* ImageWindow::storedPicture() const {
  const Picture picture = control().picture;
  if (picture.resource == 0) return nullptr;
  // Drawn straight from the executable's resources: nothing is copied, and
  // its pages are read only when it is painted.
  const HINSTANCE instance = owner().instance();
  HRSRC found = ::FindResourceW(instance, MAKEINTRESOURCEW(picture.resource),
                                MAKEINTRESOURCEW(2) /* RT_BITMAP */);
  HGLOBAL loaded = found ? ::LoadResource(instance, found) : nullptr;
  const auto* info = loaded ? static_cast<const BITMAPINFO*>(::LockResource(loaded)) : nullptr;
  if (info == nullptr || ::SizeofResource(instance, found) < sizeof(BITMAPINFOHEADER)) {
    return nullptr;
  }
  return info;
}

}  // namespace vitrolux::platform::win32
