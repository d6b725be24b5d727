#include "win32/mouse_input.h"

#include "ui/twips.h"
#include "ports/types.h"

namespace vitrolux::platform::win32 {

int buttonOf(UINT message) {
  switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
      return kLeftButton;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_RBUTTONDBLCLK:
      return kRightButton;
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
    case WM_MBUTTONDBLCLK:
      return kMiddleButton;
    default:
      return 0;
  }
}

bool isButtonDown(UINT message) {
  return message == WM_LBUTTONDOWN || message == WM_RBUTTONDOWN || message == WM_MBUTTONDOWN;
}

bool isButtonUp(UINT message) {
  return message == WM_LBUTTONUP || message == WM_RBUTTONUP || message == WM_MBUTTONUP;
}

int heldButtons(WPARAM keys) {
  int buttons = 0;
  if ((keys & MK_LBUTTON) != 0) buttons |= kLeftButton;
  if ((keys & MK_RBUTTON) != 0) buttons |= kRightButton;
  if ((keys & MK_MBUTTON) != 0) buttons |= kMiddleButton;
  return buttons;
}

int mouseShiftState(WPARAM keys) {
  int shift = 0;
  if ((keys & MK_SHIFT) != 0) shift |= kShiftMask;
  if ((keys & MK_CONTROL) != 0) shift |= kCtrlMask;
  if (::GetKeyState(VK_MENU) < 0) shift |= kAltMask;
  return shift;
}

int keyShiftState() {
  int shift = 0;
  if (::GetKeyState(VK_SHIFT) < 0) shift |= kShiftMask;
  if (::GetKeyState(VK_CONTROL) < 0) shift |= kCtrlMask;
  if (::GetKeyState(VK_MENU) < 0) shift |= kAltMask;
  return shift;
}

float pixelsToTwipsF(int pixels, int dpi) {
  return static_cast<float>(pixelsToTwips(pixels, dpi > 0 ? dpi : kDefaultDpi));
}

}  // namespace vitrolux::platform::win32
