// The window classes the adapter draws itself: labels (plain and clickable),
// images (stored pictures and image buttons) and containers (the picture box
// and the panels). Their messages are decoded here and sent on as events.
#include <windows.h>
#include <windowsx.h>

#include <string>

#include "ui/guard.h"
#include "win32/control_windows.h"
#include "win32/mouse_input.h"
#include "win32/window_binding.h"

namespace vitrolux::platform::win32 {
namespace {

bool registerClass(HINSTANCE instance, const wchar_t* name, WNDPROC procedure) {
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof(windowClass);
  // Double clicks arrive as such, so that the second press of a double click
  // is not taken for a second click.
  windowClass.style = CS_DBLCLKS;
  windowClass.lpfnWndProc = procedure;
  windowClass.hInstance = instance;
  // No class cursor: WM_SETCURSOR chooses between the arrow and the hand.
  windowClass.lpszClassName = name;
  return ::RegisterClassExW(&windowClass) != 0 || ::GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

std::wstring textOf(HWND window) {
  const int length = ::GetWindowTextLengthW(window);
  if (length <= 0) return {};
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  text.resize(static_cast<std::size_t>(
      ::GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
  return text;
}

bool pointInClient(HWND window, LPARAM lParam) {
  RECT client{};
  ::GetClientRect(window, &client);
  const POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  return ::PtInRect(&client, at) != FALSE;
}

}  // namespace

bool ControlWindows::registerClasses(HINSTANCE instance) {
  return registerClass(instance, kLabelClassName,
                       boundWindowProc<ControlWindows, &ControlWindows::labelMessage>) &&
         registerClass(instance, kImageClassName,
                       boundWindowProc<ControlWindows, &ControlWindows::imageMessage>) &&
         registerClass(instance, kContainerClassName,
                       boundWindowProc<ControlWindows, &ControlWindows::containerMessage>);
}

bool ControlWindows::commonMessage(HWND w, UINT message, WPARAM wParam, LPARAM lParam,
                                   LRESULT& result) {
  switch (message) {
    case WM_ERASEBKGND:
      // Everything is painted in WM_PAINT, in one go, so nothing flickers.
      result = 1;
      return true;
    case WM_SETCURSOR:
      if (reinterpret_cast<HWND>(wParam) != w) {
        // A child asks first whether we choose its cursor: only the hand.
        result = onChildSetCursor(reinterpret_cast<HWND>(wParam), lParam) ? TRUE : FALSE;
        return true;
      }
      if (onChildSetCursor(w, lParam)) {
        result = TRUE;
        return true;
      }
      if (LOWORD(lParam) == HTCLIENT) {
        ::SetCursor(::LoadCursorW(nullptr, IDC_ARROW));
        result = TRUE;
        return true;
      }
      return false;
    case WM_COMMAND:
      if (onCommand(wParam, lParam)) {
        result = 0;
        return true;
      }
      return false;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
      if (HBRUSH brush =
              onCtlColor(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam))) {
        result = reinterpret_cast<LRESULT>(brush);
        return true;
      }
      return false;
    default:
      return false;
  }
}

LRESULT ControlWindows::labelMessage(HWND w, UINT message, WPARAM wParam, LPARAM lParam) {
  if (!attached_) return ::DefWindowProcW(w, message, wParam, lParam);
  LRESULT result = 0;
  if (commonMessage(w, message, wParam, lParam, result)) return result;
  const int index = indexOf(w);
  switch (message) {
    case WM_PAINT:
      paintLabel(w, index);
      return 0;
    case WM_SETTEXT:
      result = ::DefWindowProcW(w, message, wParam, lParam);
      ::InvalidateRect(w, nullptr, FALSE);
      return result;
    case WM_LBUTTONDOWN:
      if (index >= 0 && controls_[index].kind == ControlKind::LabelButton) beginPress(w, index);
      return 0;
    case WM_LBUTTONDBLCLK:
      pressed_ = -1;
      if (index >= 0) guarded([&] { events_.onControlDoubleClick(index); });
      return 0;
    case WM_LBUTTONUP:
      if (index >= 0 && endPress(w, index, lParam)) guarded([&] { events_.onClick(index); });
      return 0;
    default:
      return ::DefWindowProcW(w, message, wParam, lParam);
  }
}

LRESULT ControlWindows::imageMessage(HWND w, UINT message, WPARAM wParam, LPARAM lParam) {
  if (!attached_) return ::DefWindowProcW(w, message, wParam, lParam);
  LRESULT result = 0;
  if (commonMessage(w, message, wParam, lParam, result)) return result;
  const int index = indexOf(w);
  if (index < 0) return ::DefWindowProcW(w, message, wParam, lParam);
  const ButtonMessage button = buttonMessage(message);
  if (controls_[index].kind == ControlKind::IconImage) {
    // An icon image only shows: a press on it does nothing, and neither
    // reaches the frame's background behind it.
    if (button.action != ButtonAction::None) {
      pressed_ = -1;
      return 0;
    }
    if (message != WM_PAINT) return ::DefWindowProcW(w, message, wParam, lParam);
  }
  if (button.action == ButtonAction::Press ||
      (button.action == ButtonAction::DoubleClick && button.button != kLeftButton)) {
    if (button.action == ButtonAction::Press && button.button == kLeftButton) beginPress(w, index);
    const MousePoint at = mousePoint(wParam, lParam, dpi_);
    guarded([&] { events_.onControlMouseDown(index, button.button, at.shift, at.x, at.y); });
    return 0;
  }
  if (button.action == ButtonAction::DoubleClick) {
    // The second press of a double click: a double click, not a press.
    pressed_ = -1;
    guarded([&] { events_.onControlDoubleClick(index); });
    return 0;
  }
  if (button.action == ButtonAction::Release && button.button == kLeftButton) {
    if (endPress(w, index, lParam)) guarded([&] { events_.onClick(index); });
    return 0;
  }
  switch (message) {
    case WM_PAINT:
      paintImage(w, index);
      return 0;
    case WM_MOUSEMOVE: {
      // The window system tells of the pointer leaving, once per request:
      // asked at every move, the button needs no hold on the mouse.
      TRACKMOUSEEVENT leave{sizeof(leave), TME_LEAVE, w, 0};
      ::TrackMouseEvent(&leave);
      const int buttons = heldButtons(wParam);
      const MousePoint at = mousePoint(wParam, lParam, dpi_);
      guarded([&] { events_.onControlMouseMove(index, buttons, at.shift, at.x, at.y); });
      return 0;
    }
    case WM_MOUSELEAVE:
      guarded([&] { events_.onControlMouseLeave(index); });
      return 0;
    default:
      return ::DefWindowProcW(w, message, wParam, lParam);
  }
}

LRESULT ControlWindows::containerMessage(HWND w, UINT message, WPARAM wParam, LPARAM lParam) {
  if (!attached_) return ::DefWindowProcW(w, message, wParam, lParam);
  LRESULT result = 0;
  if (commonMessage(w, message, wParam, lParam, result)) return result;
  const int index = indexOf(w);
  if (index < 0) return ::DefWindowProcW(w, message, wParam, lParam);
  const ButtonMessage button = buttonMessage(message);
  if (button.action == ButtonAction::Press || button.action == ButtonAction::DoubleClick) {
    pressed_ = -1;
    // The title-bar strip reports presses; the panels are only holders.
    if (controls_[index].kind == ControlKind::PictureBox) {
      const MousePoint at = mousePoint(wParam, lParam, dpi_);
      guarded([&] { events_.onControlMouseDown(index, button.button, at.shift, at.x, at.y); });
    }
    return 0;
  }
  switch (message) {
    case WM_PAINT: {
      const unique_paint paint(w);
      paintBackground(w, paint.dc(), index);
      return 0;
    }
    default:
      return ::DefWindowProcW(w, message, wParam, lParam);
  }
}

void ControlWindows::paintBackground(HWND w, HDC dc, int index) {
  RECT client{};
  ::GetClientRect(w, &client);
  ::FillRect(dc, &client, realised_[static_cast<std::size_t>(index)].back.get());
}

void ControlWindows::paintLabel(HWND w, int index) {
  const unique_paint paint(w);
  if (index < 0) return;
  const Control& c = controls_[index];
  paintBackground(w, paint.dc(), index);
  RECT client{};
  ::GetClientRect(w, &client);
  const unique_select_object font(paint.dc(), realised_[static_cast<std::size_t>(index)].font);
  ::SetTextColor(paint.dc(), colorRef(c.fore));
  ::SetBkMode(paint.dc(), TRANSPARENT);
  const UINT format = c.align == Align::Center
                          ? DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX
                          : DT_LEFT | DT_TOP | DT_WORDBREAK | DT_NOPREFIX;
  std::wstring text = textOf(w);
  ::DrawTextW(paint.dc(), text.c_str(), static_cast<int>(text.size()), &client, format);
}

void ControlWindows::paintImage(HWND w, int index) {
  const unique_paint paint(w);
  paintBackground(w, paint.dc(), index);
  if (HICON icon = realised_[static_cast<std::size_t>(index)].icon.get()) {
    // At its own size from the top-left corner, clipped to the image.
    ::DrawIconEx(paint.dc(), 0, 0, icon, 0, 0, 0, nullptr, DI_NORMAL);
    return;
  }
  const BITMAPINFO* picture = storedPicture(controls_[index].picture);
  if (picture == nullptr) return;
  const BITMAPINFOHEADER& header = picture->bmiHeader;
  // The stored pictures are true-colour, so the bits follow the header.
  if (header.biBitCount < 16 || header.biCompression != BI_RGB) return;
  const void* bits = reinterpret_cast<const BYTE*>(picture) + header.biSize;
  const int height = header.biHeight < 0 ? -header.biHeight : header.biHeight;
  // At its own size from the top-left corner, as the layout stores it; the
  // rest of the control shows the back colour.
  ::SetDIBitsToDevice(paint.dc(), 0, 0, static_cast<DWORD>(header.biWidth),
                      static_cast<DWORD>(height), 0, 0, 0, static_cast<UINT>(height), bits, picture,
                      DIB_RGB_COLORS);
}

void ControlWindows::beginPress(HWND w, int index) {
  pressed_ = index;
  ::SetCapture(w);
}

bool ControlWindows::endPress(HWND w, int index, LPARAM lParam) {
  const bool wasPressed = pressed_ == index;
  pressed_ = -1;
  if (wasPressed && ::GetCapture() == w) ::ReleaseCapture();
  return wasPressed && pointInClient(w, lParam);
}

}  // namespace vitrolux::platform::win32
