#include "win32/mouse_input.h"

#include <windowsx.h>

#include "ports/types.h"
#include "ui/twips.h"

namespace vitrolux::platform::win32 {
namespace {

float toTwips(int pixels, int dpi) {
  return static_cast<float>(pixelsToTwips(pixels, dpi > 0 ? dpi : kDefaultDpi));
}

}  // namespace

ButtonMessage buttonMessage(UINT message) {
  switch (message) {
    case WM_LBUTTONDOWN:
      return {ButtonAction::Press, kLeftButton};
    case WM_LBUTTONDBLCLK:
      return {ButtonAction::DoubleClick, kLeftButton};
    case WM_LBUTTONUP:
      return {ButtonAction::Release, kLeftButton};
    case WM_RBUTTONDOWN:
      return {ButtonAction::Press, kRightButton};
    case WM_RBUTTONDBLCLK:
      return {ButtonAction::DoubleClick, kRightButton};
    case WM_RBUTTONUP:
      return {ButtonAction::Release, kRightButton};
    case WM_MBUTTONDOWN:
      return {ButtonAction::Press, kMiddleButton};
    case WM_MBUTTONDBLCLK:
      return {ButtonAction::DoubleClick, kMiddleButton};
    case WM_MBUTTONUP:
      return {ButtonAction::Release, kMiddleButton};
    default:
      return {};
  }
}

int heldButtons(WPARAM keys) {
  int buttons = 0;
  if ((keys & MK_LBUTTON) != 0) buttons |= kLeftButton;
  if ((keys & MK_RBUTTON) != 0) buttons |= kRightButton;
  if ((keys & MK_MBUTTON) != 0) buttons |= kMiddleButton;
  return buttons;
}

MousePoint mousePoint(WPARAM keys, LPARAM position, int dpi) {
  int shift = 0;
  if ((keys & MK_SHIFT) != 0) shift |= kShiftMask;
  if ((keys & MK_CONTROL) != 0) shift |= kCtrlMask;
  // Alt is not among the MK_* bits.
  if (::GetKeyState(VK_MENU) < 0) shift |= kAltMask;
  return {shift, toTwips(GET_X_LPARAM(position), dpi), toTwips(GET_Y_LPARAM(position), dpi)};
}

int keyShiftState() {
  int shift = 0;
  if (::GetKeyState(VK_SHIFT) < 0) shift |= kShiftMask;
  if (::GetKeyState(VK_CONTROL) < 0) shift |= kCtrlMask;
  if (::GetKeyState(VK_MENU) < 0) shift |= kAltMask;
  return shift;
}

}  // namespace vitrolux::platform::win32
