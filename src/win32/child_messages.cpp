#include "win32/child_messages.h"

#include "ui/guard.h"
#include "win32/control_windows.h"
#include "win32/list_box.h"
#include "win32/text_box.h"

namespace vitrolux::platform::win32 {
namespace {

bool onCommand(ControlWindows& controls, HWND child, UINT code) {
  const int index = controls.indexOf(child);
  if (index < 0) return false;
  switch (controls.control(index).kind) {
    case ControlKind::TextBox:
      if (TextBox* box = controls.textBox(index)) box->onNotification(code);
      break;
    case ControlKind::ListBox:
      if (ListBox* list = controls.listBox(index)) list->onNotification(code, controls.events());
      break;
    case ControlKind::CheckBox:
      if (code == BN_CLICKED) {
        const bool checked =
            ::SendMessageW(child, BM_GETCHECK, 0, 0) == static_cast<LRESULT>(BST_CHECKED);
        guarded([&] { controls.model().noteUserChecked(index, checked); });
      }
      break;
    default:
      break;
  }
  return true;
}

HBRUSH onColours(const ControlWindows& controls, HDC dc, HWND child) {
  const int index = controls.indexOf(child);
  if (index < 0) return nullptr;
  const Control& c = controls.control(index);
  ::SetTextColor(dc, colorRef(c.fore));
  ::SetBkColor(dc, colorRef(c.back));
  return controls.backBrush(index);
}

// Only the hand: any other cursor the child chooses itself (the text boxes'
// I-beam).
bool onCursor(const ControlWindows& controls, HWND child, UINT hitTest) {
  if (hitTest != HTCLIENT) return false;
  const int index = controls.indexOf(child);
  if (index < 0 || !controls.control(index).handCursor) return false;
  ::SetCursor(controls.handCursor());
  return true;
}

}  // namespace

bool routeChildMessage(ControlWindows& controls, UINT message, WPARAM wParam, LPARAM lParam,
                       LRESULT& result) {
  switch (message) {
    case WM_COMMAND:
      if (!onCommand(controls, reinterpret_cast<HWND>(lParam), HIWORD(wParam))) return false;
      result = 0;
      return true;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN: {
      HBRUSH brush =
          onColours(controls, reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
      if (brush == nullptr) return false;
      result = reinterpret_cast<LRESULT>(brush);
      return true;
    }
    case WM_SETCURSOR:
      if (!onCursor(controls, reinterpret_cast<HWND>(wParam), LOWORD(lParam))) return false;
      result = TRUE;
      return true;
    default:
      return false;
  }
}

}  // namespace vitrolux::platform::win32
