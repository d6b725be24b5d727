// Mouse and key messages decoded into the arguments of the logic's events:
// button codes (left 1, right 2, middle 4), shift state (Shift 1, Ctrl 2,
// Alt 4) and positions in twips.
#pragma once

#include <windows.h>

namespace vitrolux::platform::win32 {

// The button a press or release message is about; 0 for other messages.
int buttonOf(UINT message);
bool isButtonDown(UINT message);
bool isButtonUp(UINT message);
// The buttons held, from the MK_* bits of a mouse message.
int heldButtons(WPARAM keys);
// Shift and Ctrl from the MK_* bits; Alt is not among them, so it is read
// from the keyboard state.
int mouseShiftState(WPARAM keys);
// Shift state for a key message, all from the keyboard state.
int keyShiftState();

// A pixel coordinate of a mouse message in twips at the window's DPI.
float pixelsToTwipsF(int pixels, int dpi);

}  // namespace vitrolux::platform::win32
