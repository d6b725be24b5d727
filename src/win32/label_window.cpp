#include "win32/label_window.h"

#include <string>

#include "ui/guard.h"
#include "win32/control_windows.h"
#include "win32/unique_resource.h"

namespace vitrolux::platform::win32 {
namespace {

std::wstring textOf(HWND window) {
  const int length = ::GetWindowTextLengthW(window);
  if (length <= 0) return {};
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  text.resize(static_cast<std::size_t>(
      ::GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
  return text;
}

}  // namespace

LRESULT LabelWindow::handleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (const ButtonMessage button = buttonMessage(message); button.button == kLeftButton) {
    onLeftButton(window, button.action, lParam);
    return 0;
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
    case WM_SETTEXT: {
      const LRESULT result = ::DefWindowProcW(window, message, wParam, lParam);
      ::InvalidateRect(window, nullptr, FALSE);
      return result;
    }
    default:
      break;
  }
  return ::DefWindowProcW(window, message, wParam, lParam);
}

void LabelWindow::onPaint(HWND window) {
  const unique_paint paint(window);
  paintBackground(window, paint.dc());
  const Control& c = control();
  RECT client{};
  ::GetClientRect(window, &client);
  const unique_select_object font(paint.dc(), owner().font(index()));
  ::SetTextColor(paint.dc(), colorRef(c.fore));
  ::SetBkMode(paint.dc(), TRANSPARENT);
  const UINT format = c.align == Align::Center
                          ? DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX
                          : DT_LEFT | DT_TOP | DT_WORDBREAK | DT_NOPREFIX;
  const std::wstring text = textOf(window);
  ::DrawTextW(paint.dc(), text.c_str(), static_cast<int>(text.size()), &client, format);
}

void LabelWindow::onLeftButton(HWND window, ButtonAction action, LPARAM lParam) {
  switch (action) {
    case ButtonAction::Press:
      if (control().kind == ControlKind::LabelButton) owner().beginPress(index(), window);
      break;
    case ButtonAction::DoubleClick:
      owner().forgetPress();
      guarded([&] { owner().events().onControlDoubleClick(index()); });
      break;
    case ButtonAction::Release:
      if (owner().endPress(index(), window, lParam)) {
        guarded([&] { owner().events().onClick(index()); });
      }
      break;
    case ButtonAction::None:
      break;
  }
}

}  // namespace vitrolux::platform::win32
